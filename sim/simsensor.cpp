#include "simsensor.h"

#include "bytetext.h"
#include "linesettings.h"
#include "protocol/commandframe.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace veltra {
namespace {

const QByteArray &frameHeader()
{
    static const QByteArray header = [] {
        QByteArray bytes;
        for (std::uint8_t b : FrameHeader::kBytes)
            bytes.append(static_cast<char>(b));
        return bytes;
    }();
    return header;
}

int byteAt(const QByteArray &bytes, qsizetype index)
{
    return static_cast<std::uint8_t>(bytes.at(index));
}

int baudCodeFor(int rate)
{
    const BaudRow *row = baudRowForRate(rate);
    return row ? QByteArray(row->code).trimmed().toInt() : 0;
}

bool isWordStart(int field)
{
    for (const BlockSetting &setting : kBlockSettings) {
        if (setting.word && setting.field == field)
            return true;
    }
    return false;
}

void putWord(QByteArray &block, int high, int value)
{
    const auto pair = CommandFrame::splitWord(value);
    block[(high - 1)] = static_cast<char>(pair.high);
    block[(high - 1) + 1] = static_cast<char>(pair.low);
}

// A row's unit, as its blocking distance shows it ("200 mm", "20 Cm").
bool inMillimetres(const ModelEntry &row)
{
    return QByteArray(row.blockingText).endsWith(" mm");
}

// The model's name, or its code when the catalogue has no row for it. Both
// rows of 105-107 carry the same name, so the resolution does not matter.
QByteArray modelName(int modelCode)
{
    const ModelEntry *row = ModelCatalogue::findByCode(QString::number(modelCode), QString::number(kResolutionCm));
    return row ? QByteArray(row->name) : QByteArray::number(modelCode);
}

// Junk for the leading-noise fault. No letters, so it can never be taken
// for the "DVT" of a connect reply or the "R" of a measurement.
constexpr char kNoise[] = "~#*+";

} // namespace

SimModelDefaults simModelDefaults(int modelCode, int resolutionCode, int baudRate)
{
    SimModelDefaults d;
    d.temperature = 25;
    const int baudCode = baudCodeFor(baudRate) ? baudCodeFor(baudRate) : 30;

    if (modelCode == kDistanceModelCode) {
        d.identity = QByteArray("DVT-SIM ") + ModelCatalogue::kDistanceModelName + " V7";
        d.block = QByteArray(kDistanceFieldCount, '\0');
        d.block[fieldOf(Setting::Ogr) - 1] = 1;
        putWord(d.block, fieldOf(Setting::Empty), 0);
        putWord(d.block, fieldOf(Setting::Full), 0);
        putWord(d.block, fieldOf(Setting::LowDo), 150); // switch point
        putWord(d.block, fieldOf(Setting::HiDo), 0);
        d.distance = 250;
    } else {
        const ModelEntry *row = ModelCatalogue::findByCode(QString::number(modelCode), QString::number(resolutionCode));
        // Distances are in the unit of the block: the row's own, or for a
        // code without a row the one resolutionCode names. A millimetre
        // sensor keeps the same geometry, so its numbers are ten times larger.
        const bool millimetres = row ? inMillimetres(*row) : resolutionCode == kResolutionMm;
        const int scale = millimetres ? 10 : 1;
        // The "DVT" lets the handshake find every model, DVQ and DVK included.
        d.identity = QByteArray("DVT-SIM ") + modelName(modelCode) + " V7";
        d.block = QByteArray(kLevelFieldCount, '\0');
        d.block[fieldOf(Setting::Ogr) - 1] = 0;
        // A model with a row starts at the top of its range.
        putWord(d.block, fieldOf(Setting::Empty), row ? row->emptyLimit : 300 * scale);
        putWord(d.block, fieldOf(Setting::Full), row ? row->fullLimit : 30 * scale);
        putWord(d.block, fieldOf(Setting::LowDo), 50 * scale);
        putWord(d.block, fieldOf(Setting::HiDo), 250 * scale);
        d.block[fieldOf(Setting::Omb) - 1] = 8;
        d.block[fieldOf(Setting::Resolution) - 1] = static_cast<char>(resolutionCode & 0xff);
        // 100 cm lies between the blocking distance and the empty limit of
        // every row, so the level comes out positive.
        d.distance = 100 * scale;
    }
    d.block[fieldOf(Setting::Baud) - 1] = static_cast<char>(baudCode);
    d.block[fieldOf(Setting::Slave) - 1] = 1;
    d.block[fieldOf(Setting::Month) - 1] = 12;
    d.block[fieldOf(Setting::Day) - 1] = 8;
    d.block[fieldOf(Setting::Year) - 1] = 26;
    d.block[fieldOf(Setting::Model) - 1] = static_cast<char>(modelCode & 0xff);
    return d;
}

int simDefaultResolution(int modelCode)
{
    // The resolution code only picks among the rows of 105-107; "10" finds
    // the single row of any other listed code.
    const ModelEntry *row = ModelCatalogue::findByCode(QString::number(modelCode), QString::number(kResolutionCm));
    return row && inMillimetres(*row) ? kResolutionMm : kResolutionCm;
}

SimSensor::SimSensor(int modelCode, int resolutionCode, int baudRate)
    : m_distanceModel(modelCode == kDistanceModelCode)
{
    if (!baudRowForRate(baudRate))
        baudRate = kBaudTable.front().rate;
    const SimModelDefaults d = simModelDefaults(modelCode, resolutionCode, baudRate);
    m_block = d.block;
    m_baudRate = baudRate;
    m_distance = d.distance;
    m_temperature = d.temperature;
}

bool SimSensor::setBaudRate(int rate)
{
    if (!baudRowForRate(rate))
        return false;
    m_baudRate = rate;
    setField(fieldOf(Setting::Baud), baudCodeFor(rate));
    return true;
}

int SimSensor::field(int field) const
{
    const int index = (field - 1);
    return index < m_block.size() ? byteAt(m_block, index) : -1;
}

bool SimSensor::setField(int field, int value)
{
    const int index = (field - 1);
    if (index >= m_block.size() || value < 0 || value > 255)
        return false;
    m_block[index] = static_cast<char>(value);
    return true;
}

int SimSensor::word(int high) const
{
    if (!isWordStart(high) || (high - 1) + 1 >= m_block.size())
        return -1;
    return field(high) * 256 + byteAt(m_block, (high - 1) + 1);
}

bool SimSensor::setWord(int high, int value)
{
    if (!isWordStart(high) || (high - 1) + 1 >= m_block.size() || value < 0 || value > 0xffff)
        return false;
    putWord(m_block, high, value);
    return true;
}

bool SimSensor::setDistance(int distance)
{
    if (distance < 0 || distance > 99999)
        return false;
    m_distance = distance;
    return true;
}

bool SimSensor::setTemperature(int temperature)
{
    if (temperature < -99 || temperature > 999)
        return false;
    m_temperature = temperature;
    return true;
}

QByteArray SimSensor::receive(const QByteArray &bytes, int lineRate)
{
    m_rateChanged = false;
    if (bytes.isEmpty() || unplugDue())
        return {};
    if (lineRate != m_baudRate) {
        log(QStringLiteral("<- %1 bytes at %2 baud, listening at %3: not heard")
                .arg(bytes.size())
                .arg(lineRate)
                .arg(m_baudRate));
        m_buffer.clear(); // garbage on the line spoils a frame in progress
        return {};
    }
    m_buffer.append(bytes);
    QByteArray answer;
    parse(answer);
    return answer;
}

bool SimSensor::waitingForMore() const
{
    return m_buffer.size() >= 4 && m_buffer.startsWith(frameHeader())
           && byteAt(m_buffer, 3) == static_cast<int>(Command::WriteSettings);
}

QByteArray SimSensor::quietGap()
{
    m_rateChanged = false;
    if (!waitingForMore())
        return {};
    const int have = static_cast<int>(m_buffer.size()) - 4;
    if (have == shortWriteSize()) {
        storeWrite(m_buffer.mid(4));
    } else {
        log(QStringLiteral("<- write with %1 of %2 bytes: ignored").arg(have).arg(longWriteSize()));
    }
    m_buffer.clear();
    return {};
}

int SimSensor::longWriteSize() const
{
    return fieldCount();
}

int SimSensor::shortWriteSize() const
{
    // Level sensors also take the block without its last (resolution) byte.
    return m_distanceModel ? -1 : fieldCount() - 1;
}

void SimSensor::parse(QByteArray &answer)
{
    const QByteArray &header = frameHeader();
    while (!m_buffer.isEmpty()) {
        const qsizetype at = m_buffer.indexOf(header);
        if (at < 0) {
            // Keep a tail that may be the start of a header split across reads.
            qsizetype keep = 0;
            for (qsizetype n = header.size() - 1; n > 0 && keep == 0; --n) {
                if (m_buffer.endsWith(header.left(n)))
                    keep = n;
            }
            if (m_buffer.size() > keep)
                log(QStringLiteral("<- %1 junk bytes skipped").arg(m_buffer.size() - keep));
            m_buffer = m_buffer.right(keep);
            return;
        }
        if (at > 0) {
            log(QStringLiteral("<- %1 junk bytes skipped").arg(at));
            m_buffer.remove(0, at);
        }
        if (m_buffer.size() < 4)
            return;

        const int command = byteAt(m_buffer, 3);
        if (command == static_cast<int>(Command::WriteSettings)) {
            const qsizetype have = m_buffer.size() - 4;
            qsizetype take = 0;
            if (shortWriteSize() > 0 && have > shortWriteSize()
                && byteAt(m_buffer, 4 + shortWriteSize()) == byteAt(header, 0))
                take = shortWriteSize(); // a header where the resolution code would be: the next frame
            else if (have >= longWriteSize())
                take = longWriteSize();
            if (take == 0)
                return; // the rest of the frame is still on its way
            storeWrite(m_buffer.mid(4, take));
            m_buffer.remove(0, 4 + take);
            if (m_rateChanged) {
                // Whatever followed was sent at the old rate.
                m_buffer.clear();
                return;
            }
        } else {
            m_buffer.remove(0, 4);
            handle(command, answer);
        }
        if (unplugDue()) {
            m_buffer.clear();
            return;
        }
    }
}

void SimSensor::handle(int command, QByteArray &answer)
{
    switch (static_cast<Command>(command)) {
    case Command::Connect:
        ++m_requests;
        m_running = false;
        log(QStringLiteral("<- connect"));
        answer.append(shaped(Command::Connect, connectReply()));
        return;
    case Command::ReadSettings:
        ++m_requests;
        m_running = false;
        log(QStringLiteral("<- read settings"));
        answer.append(shaped(Command::ReadSettings, settingsReply()));
        return;
    case Command::Measure:
        ++m_requests;
        log(QStringLiteral("<- measure"));
        answer.append(shaped(Command::Measure, measurementText()));
        return;
    case Command::Run:
        ++m_requests;
        m_running = true;
        log(QStringLiteral("<- run: sending measurements every %1 ms").arg(kRunIntervalMs));
        return;
    case Command::WriteSettings:
        break; // taken apart by parse()
    }
    log(QStringLiteral("<- unknown command %1: ignored").arg(command));
}

void SimSensor::storeWrite(const QByteArray &payload)
{
    ++m_requests;
    if (payload.size() == fieldCount())
        m_block = payload;
    else
        m_block = payload + m_block.right(fieldCount() - payload.size());
    log(QStringLiteral("<- write settings (%1 bytes): %2")
            .arg(payload.size())
            .arg(QString::fromLatin1(settingsReply())));

    const BaudRow *row = baudRowForCode(field(fieldOf(Setting::Baud)));
    if (row && row->rate != m_baudRate) {
        m_baudRate = row->rate;
        m_rateChanged = true;
        log(QStringLiteral("   now at %1 baud").arg(m_baudRate));
    } else if (!row) {
        log(QStringLiteral("   baud code %1 is not a rate; staying at %2 baud")
                .arg(field(fieldOf(Setting::Baud)))
                .arg(m_baudRate));
    }
}

QByteArray SimSensor::shaped(Command command, QByteArray reply)
{
    if (m_faults.silent)
        return {};
    const int nth = ++m_answered[command];
    if (m_faults.shortLength >= 0)
        reply.truncate(m_faults.shortLength);
    QByteArray noise;
    for (int i = 0; i < m_faults.noise; ++i)
        noise.append(kNoise[i % (sizeof(kNoise) - 1)]);
    for (const SimReplyPrefix &prefix : m_faults.prefixes) {
        if (prefix.command == command && prefix.nth == nth) {
            noise.prepend(prefix.text);
            log(QStringLiteral("   answer %1 to this command gets \"%2\" in front")
                    .arg(nth)
                    .arg(simPrintable(prefix.text)));
        }
    }
    return noise + reply;
}

QByteArray SimSensor::runTick() const
{
    if (!m_running || m_faults.silent || unplugDue())
        return {};
    return measurementText();
}

bool SimSensor::unplugDue() const
{
    return m_faults.unplugAfter > 0 && m_requests >= m_faults.unplugAfter;
}

QByteArray SimSensor::connectReply() const
{
    const int resolution = m_distanceModel ? kResolutionCm : field(fieldOf(Setting::Resolution));
    return simModelDefaults(field(fieldOf(Setting::Model)), resolution, m_baudRate).identity + "\r\n";
}

QByteArray SimSensor::settingsReply() const
{
    QByteArray text;
    text.reserve(3 * m_block.size());
    for (qsizetype i = 0; i < m_block.size(); ++i)
        text.append(QByteArray::number(byteAt(m_block, i)).rightJustified(3, ' '));
    return text;
}

int SimDistanceWave::distanceAt(int base, qint64 elapsedMs) const
{
    if (shape == Shape::Steady || !(periodSeconds > 0))
        return base;
    const double phase = std::fmod(double(elapsedMs) / 1000.0 / periodSeconds, 1.0);
    const double offset = shape == Shape::Sine ? amplitude * std::sin(2 * M_PI * phase) : amplitude * phase;
    return std::clamp(int(std::lround(base + offset)), 0, 99999);
}

QByteArray SimSensor::measurementText() const
{
    QByteArray text("R");
    const int distance = m_clock ? m_wave.distanceAt(m_distance, m_clock()) : m_distance;
    text.append(QByteArray::number(distance).rightJustified(5, '0'));
    // The two characters the reader skips: the unit of the distance.
    const bool millimetres = !m_distanceModel && field(fieldOf(Setting::Resolution)) == kResolutionMm;
    text.append(millimetres ? "mm" : "cm");
    if (m_temperature < 0)
        text.append('-' + QByteArray::number(-m_temperature).rightJustified(2, '0'));
    else
        text.append(QByteArray::number(m_temperature).rightJustified(3, '0'));
    text.append("\r\n");
    return text;
}

void SimSensor::log(const QString &line) const
{
    if (m_log)
        m_log(line);
}

QString simPrintable(const QByteArray &bytes)
{
    return escapedText(bytesToText(bytes));
}

} // namespace veltra
