#include "simoptions.h"

#include "linesettings.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QElapsedTimer>

#include <memory>

namespace veltra {
namespace {

// The settings --set can change: every setting of the block but the model
// code (--model sets that), named as veltra-cli names them without the
// hyphen ("lowdo", "hido"). Either family's name for the Low DO place works
// on any model.
QString simName(const BlockSetting &setting)
{
    return QString::fromLatin1(setting.name).remove(u'-');
}

bool settable(const BlockSetting &setting)
{
    return setting.id != Setting::Model;
}

QString fieldNameList()
{
    QStringList names;
    for (const BlockSetting &setting : kBlockSettings) {
        if (settable(setting))
            names << simName(setting);
    }
    return names.join(QLatin1String(", "));
}

// A whole decimal number within [lo, hi], or an error naming the option.
bool readInt(const QString &text, int lo, int hi, const QString &what, int *out, QString *error)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < lo || value > hi) {
        *error
            = QStringLiteral("%1 must be a whole number from %2 to %3, not \"%4\"").arg(what).arg(lo).arg(hi).arg(text);
        return false;
    }
    *out = value;
    return true;
}

bool readWave(const QString &text, SimDistanceWave *out, QString *error)
{
    const QStringList parts = text.split(u':');
    const QString shape = parts.value(0).trimmed().toLower();
    bool periodOk = false;
    const double period = parts.value(2).trimmed().toDouble(&periodOk);
    int amplitude = 0;
    if (parts.size() != 3 || (shape != u"sine" && shape != u"ramp")) {
        *error = QStringLiteral("--wave must be sine:AMPLITUDE:PERIOD or ramp:AMPLITUDE:PERIOD, not \"%1\"").arg(text);
        return false;
    }
    if (!readInt(parts[1], 0, 99999, QStringLiteral("--wave's amplitude"), &amplitude, error))
        return false;
    if (!periodOk || !(period >= 0.1) || period > 86400) {
        *error
            = QStringLiteral("--wave's period must be a number of seconds from 0.1 to 86400, not \"%1\"").arg(parts[2]);
        return false;
    }
    out->shape = shape == u"sine" ? SimDistanceWave::Shape::Sine : SimDistanceWave::Shape::Ramp;
    out->amplitude = amplitude;
    out->periodSeconds = period;
    return true;
}

bool readSetting(const QString &text, int model, SimSetting *out, QString *error)
{
    const qsizetype eq = text.indexOf(u'=');
    const QString name = text.left(eq).trimmed().toLower();
    const BlockSetting *found = nullptr;
    for (const BlockSetting &setting : kBlockSettings) {
        if (settable(setting) && name == simName(setting))
            found = &setting;
    }
    if (eq < 0 || !found) {
        *error = QStringLiteral("--set takes FIELD=VALUE with FIELD one of %1, not \"%2\"").arg(fieldNameList(), text);
        return false;
    }
    const int fieldCount = model == kDistanceModelCode ? kDistanceFieldCount : kLevelFieldCount;
    if (found->field > fieldCount) {
        *error = QStringLiteral("the distance model has no field \"%1\"").arg(name);
        return false;
    }
    out->field = found->field;
    out->word = found->word;
    return readInt(text.mid(eq + 1), 0, found->word ? 0xffff : 255, QStringLiteral("--set %1").arg(name), &out->value,
                   error);
}

// "\\x20", "\\r", "\\n", "\\\\" and plain characters, as bytes; false on a bad escape.
bool unescape(const QString &text, QByteArray *out)
{
    const QByteArray in = text.toLatin1();
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] != '\\') {
            out->append(in[i]);
            continue;
        }
        if (++i >= in.size())
            return false;
        switch (in[i]) {
        case 'r':
            out->append('\r');
            break;
        case 'n':
            out->append('\n');
            break;
        case '\\':
            out->append('\\');
            break;
        case 'x': {
            bool ok = false;
            const int byte = in.mid(i + 1, 2).toInt(&ok, 16);
            if (!ok || i + 2 >= in.size())
                return false;
            out->append(static_cast<char>(byte));
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

// --prefix COMMAND:N:TEXT
bool readPrefix(const QString &text, SimReplyPrefix *out, QString *error)
{
    const QString command = text.section(u':', 0, 0);
    const QString nth = text.section(u':', 1, 1);
    const QString characters = text.section(u':', 2);
    const struct {
        const char *name;
        Command command;
    } commands[] = {{"connect", Command::Connect}, {"read", Command::ReadSettings}, {"measure", Command::Measure}};
    bool known = false;
    for (const auto &c : commands) {
        if (command == QLatin1String(c.name)) {
            out->command = c.command;
            known = true;
        }
    }
    QByteArray bytes;
    if (!known || text.count(u':') < 2 || characters.isEmpty() || !unescape(characters, &bytes)) {
        *error = QStringLiteral("--prefix takes COMMAND:N:TEXT with COMMAND connect, read or measure and TEXT "
                                "characters or escapes (\\x20, \\r, \\n, \\\\), not \"%1\"")
                     .arg(text);
        return false;
    }
    out->text = bytes;
    return readInt(nth, 1, 1'000'000, QStringLiteral("--prefix's N"), &out->nth, error);
}

} // namespace

SimCommandLine parseSimCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated Veltra ultrasonic sensor on a pseudo-terminal.\n"
                       "Prints the device path as its first line, links it as comN in the ports folder\n"
                       "($VELTRA_PORTS_DIR, else ~/.config/veltra/ports) and serves until SIGINT or SIGTERM."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption model(
        QStringLiteral("model"),
        QStringLiteral("Model code 0..255; 90 is the distance sensor, a level model of the catalogue "
                       "starts with its name and range. Default 20."),
        QStringLiteral("CODE"), QStringLiteral("20"));
    const QCommandLineOption resolution(
        QStringLiteral("resolution"),
        QStringLiteral("Level models: 10 (centimetres) or 1 (millimetres); picks the row of models 105 to 107. "
                       "Default: the model's own unit."),
        QStringLiteral("10|1"));
    const QCommandLineOption baud(QStringLiteral("baud"),
                                  QStringLiteral("Line rate: 9600 (default), 19200, 38400, 57600 or 115200."),
                                  QStringLiteral("RATE"), QStringLiteral("9600"));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Port number N: the link is named comN. Default 1."),
                                  QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption set(QStringLiteral("set"),
                                 QStringLiteral("Set a stored field (repeatable). FIELD: %1. "
                                                "empty, full, lowdo/switch and hido take 0..65535, the others 0..255; "
                                                "baud stores a code without changing the line rate.")
                                     .arg(fieldNameList()),
                                 QStringLiteral("FIELD=VALUE"));
    const QCommandLineOption distance(QStringLiteral("distance"), QStringLiteral("Measured distance 0..99999."),
                                      QStringLiteral("D"));
    const QCommandLineOption temperature(QStringLiteral("temperature"),
                                         QStringLiteral("Measured temperature -99..999."), QStringLiteral("T"));
    const QCommandLineOption wave(
        QStringLiteral("wave"),
        QStringLiteral("Let the measured distance change: a sine around --distance of AMPLITUDE (0..99999), or a "
                       "ramp that climbs from --distance by AMPLITUDE and starts again, once every PERIOD seconds "
                       "(0.1..86400); sine:50:60 swings 50 either way each minute."),
        QStringLiteral("sine|ramp:AMPLITUDE:PERIOD"));
    const QCommandLineOption late(QStringLiteral("late"), QStringLiteral("Answer this many milliseconds late."),
                                  QStringLiteral("MS"));
    const QCommandLineOption shortReplies(QStringLiteral("short"), QStringLiteral("Cut every answer to N characters."),
                                          QStringLiteral("N"));
    const QCommandLineOption noise(QStringLiteral("noise"),
                                   QStringLiteral("Put N junk characters in front of every answer."),
                                   QStringLiteral("N"));
    const QCommandLineOption silent(QStringLiteral("silent"),
                                    QStringLiteral("Never answer (writes are still stored)."));
    const QCommandLineOption unplug(QStringLiteral("unplug-after"),
                                    QStringLiteral("After N requests close the device and exit."), QStringLiteral("N"));
    const QCommandLineOption prefix(
        QStringLiteral("prefix"),
        QStringLiteral("Put TEXT in front of the Nth answer (from 1) to COMMAND (connect, read or measure); "
                       "repeatable. TEXT may use \\x20, \\r, \\n and \\\\: read:1:\\x20 puts a blank in front of the "
                       "first settings reply."),
        QStringLiteral("COMMAND:N:TEXT"));
    const QCommandLineOption adapter(
        QStringLiteral("adapter"),
        QStringLiteral("Stand behind a USB adapter: link NAME (as /dev/serial/by-id names them, "
                       "usb-FTDI_FT232R_USB_UART_A10K5XYZ-if00-port0) to the device in $VELTRA_BYID_DIR, else "
                       "/dev/serial/by-id, while serving."),
        QStringLiteral("NAME"));
    parser.addOptions({help, model, resolution, baud, port, set, distance, temperature, wave, late, shortReplies, noise,
                       silent, unplug, prefix, adapter});

    SimCommandLine result;
    if (!parser.parse(arguments)) {
        result.text = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.outcome = SimCommandLine::Outcome::Help;
        result.text = parser.helpText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.text = QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().constFirst());
        return result;
    }

    SimOptions &o = result.options;
    QString &error = result.text;
    if (!readInt(parser.value(model), 0, 255, QStringLiteral("--model"), &o.model, &error))
        return result;
    if (parser.isSet(resolution)) {
        if (o.model == kDistanceModelCode) {
            error = QStringLiteral("--resolution applies to level models only");
            return result;
        }
        const QString text = parser.value(resolution).trimmed();
        if (text != QLatin1String("10") && text != QLatin1String("1")) {
            error = QStringLiteral("--resolution must be 10 or 1, not \"%1\"").arg(parser.value(resolution));
            return result;
        }
        o.resolution = text.toInt();
    }
    if (!readInt(parser.value(baud), 0, 1'000'000, QStringLiteral("--baud"), &o.baud, &error))
        return result;
    if (!baudRowForRate(o.baud)) {
        error
            = QStringLiteral("--baud must be 9600, 19200, 38400, 57600 or 115200, not \"%1\"").arg(parser.value(baud));
        return result;
    }
    if (!readInt(parser.value(port), 1, 999, QStringLiteral("--port"), &o.port, &error))
        return result;
    for (const QString &text : parser.values(set)) {
        SimSetting setting{};
        if (!readSetting(text, o.model, &setting, &error))
            return result;
        o.settings.push_back(setting);
    }
    int value = 0;
    if (parser.isSet(distance)) {
        if (!readInt(parser.value(distance), 0, 99999, QStringLiteral("--distance"), &value, &error))
            return result;
        o.distance = value;
    }
    if (parser.isSet(temperature)) {
        if (!readInt(parser.value(temperature), -99, 999, QStringLiteral("--temperature"), &value, &error))
            return result;
        o.temperature = value;
    }
    if (parser.isSet(wave) && !readWave(parser.value(wave), &o.wave, &error))
        return result;
    if (parser.isSet(late)
        && !readInt(parser.value(late), 0, 60000, QStringLiteral("--late"), &o.faults.lateMs, &error))
        return result;
    if (parser.isSet(shortReplies)
        && !readInt(parser.value(shortReplies), 0, 9999, QStringLiteral("--short"), &o.faults.shortLength, &error))
        return result;
    if (parser.isSet(noise)
        && !readInt(parser.value(noise), 0, 9999, QStringLiteral("--noise"), &o.faults.noise, &error))
        return result;
    o.faults.silent = parser.isSet(silent);
    o.adapter = parser.value(adapter);
    if (o.adapter.contains(u'/') || o.adapter.startsWith(u'.')) {
        result.text = QStringLiteral("--adapter takes a link name, not a path: \"%1\"").arg(o.adapter);
        return result;
    }
    if (parser.isSet(unplug)
        && !readInt(parser.value(unplug), 1, 1'000'000, QStringLiteral("--unplug-after"), &o.faults.unplugAfter,
                    &error))
        return result;

    for (const QString &text : parser.values(prefix)) {
        SimReplyPrefix p;
        if (!readPrefix(text, &p, &error))
            return result;
        o.faults.prefixes.push_back(p);
    }

    result.outcome = SimCommandLine::Outcome::Run;
    error.clear();
    return result;
}

SimSensor makeSimSensor(const SimOptions &options)
{
    SimSensor sensor(options.model, options.resolution.value_or(simDefaultResolution(options.model)), options.baud);
    for (const SimSetting &s : options.settings) {
        if (s.word)
            sensor.setWord(s.field, s.value);
        else
            sensor.setField(s.field, s.value);
    }
    if (options.distance)
        sensor.setDistance(*options.distance);
    if (options.temperature)
        sensor.setTemperature(*options.temperature);
    if (options.wave.shape != SimDistanceWave::Shape::Steady) {
        auto started = std::make_shared<QElapsedTimer>();
        started->start();
        sensor.setDistanceWave(options.wave);
        sensor.setClock([started] { return started->elapsed(); });
    }
    sensor.setFaults(options.faults);
    return sensor;
}

} // namespace veltra
