// veltra-cli's write and restore, whole, on a scripted link whose sensor
// answers what the input says. The input is parts separated by '|':
//   0  the command ("write" or "restore") and any further arguments, blank
//      separated ("write --baud 19200"); --port 1 is always given
//   1  the sensor's reply to the read request
//   2  what the sensor does with a write: "" or "store" keeps what it is
//      sent (and moves to the baud rate written), "keep" ignores it, any
//      other text is its reply to every later read request
//   3… write: one --set argument each; restore: the backup file's text
//      (the rest of the input, '|' included)
// The sensor answers only at its own rate: the rate of its stored baud code,
// else 9600.
#include "bytetext.h"
#include "cli.h"
#include "fuzzcheck.h"
#include "linesettings.h"
#include "protocol/commandframe.h"
#include "scriptedlink.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

using namespace veltra;

namespace {

std::unique_ptr<QTemporaryDir> g_folder;
QString g_backupPath;

constexpr int kWriteCommand = 91;

using fuzz::byteField;

// Whether a reply is a whole block a window would open: the distance block
// (model 90, 15 fields) or a level block (17 fields) with a level code.
bool isUsableBlock(const QString &reply)
{
    const std::optional<int> model = byteField(reply, 7);
    if (!model)
        return false;
    const bool levelCode = (*model >= 20 && *model <= 27) || (*model >= 30 && *model <= 37)
                           || (*model >= 40 && *model <= 47) || (*model >= 50 && *model <= 53)
                           || (*model >= 60 && *model <= 67) || (*model >= 70 && *model <= 73)
                           || (*model >= 80 && *model <= 82) || (*model >= 91 && *model <= 112);
    if (*model != 90 && !levelCode)
        return false;
    const int fields = *model == 90 ? 15 : 17;
    for (int k = 1; k <= fields; ++k) {
        if (!byteField(reply, k))
            return false;
    }
    return true;
}

QString rateFor(const QString &reply)
{
    const std::optional<int> code = byteField(reply, 1);
    const BaudRow *row = code ? baudRowForCode(*code) : nullptr;
    return QLatin1String(row ? row->lineSettings : kBaudTable.front().lineSettings);
}

struct Sensor {
    enum class OnWrite { Store, Keep, Answer };
    QString reply;    // what a read request gets
    QString readBack; // what read requests get after a write (Answer)
    OnWrite onWrite = OnWrite::Store;
    QString lineSettings;
    bool written = false;

    QByteArray answer(const QByteArray &request, const QString &current)
    {
        if (current != lineSettings || request.size() < 4)
            return {};
        switch (Command(static_cast<unsigned char>(request.at(3)))) {
        case Command::Connect:
            return "DVT-FUZZ\r\n";
        case Command::ReadSettings:
            return textToBytes(written && onWrite == OnWrite::Answer ? readBack : reply);
        case Command::WriteSettings:
            written = true;
            if (onWrite == OnWrite::Store) {
                // Each byte sent replaces its field; the rest stays.
                for (qsizetype i = 4; i < request.size(); ++i) {
                    const qsizetype at = 3 * (i - 4);
                    if (reply.size() < at + 3)
                        reply = reply.leftJustified(at + 3, u' ');
                    reply.replace(at, 3, QString::number(static_cast<unsigned char>(request.at(i))).rightJustified(3));
                }
                lineSettings = rateFor(reply);
            }
            return {};
        case Command::Measure:
        case Command::Run:
            return {};
        }
        return {};
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    g_folder = std::make_unique<QTemporaryDir>();
    if (!g_folder->isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        std::abort();
    }
    g_backupPath = g_folder->filePath(QStringLiteral("backup.json"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString input = fuzz::latin1(data, size);
    fuzz::note(input);
    const QStringList parts = input.split(u'|');

    QStringList words = parts.value(0).split(u' ', Qt::SkipEmptyParts);
    const bool restore = !words.isEmpty() && words.first() == u"restore";
    if (words.isEmpty() || !restore)
        words.prepend(QStringLiteral("write"));
    else
        words.first() = QStringLiteral("restore");
    // At most a few extra arguments: the options are what is fuzzed, not
    // the length of the line.
    QStringList arguments{QStringLiteral("veltra-cli"), words.first(), QStringLiteral("--port"), QStringLiteral("1")};
    arguments += words.mid(1, 4);

    Sensor sensor;
    sensor.reply = parts.value(1);
    sensor.lineSettings = rateFor(sensor.reply);
    const QString behaviour = parts.value(2);
    if (behaviour.isEmpty() || behaviour == u"store") {
        sensor.onWrite = Sensor::OnWrite::Store;
    } else if (behaviour == u"keep") {
        sensor.onWrite = Sensor::OnWrite::Keep;
    } else {
        sensor.onWrite = Sensor::OnWrite::Answer;
        sensor.readBack = behaviour;
    }
    const QString firstReply = sensor.reply;

    if (restore) {
        QFile file(g_backupPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(textToBytes(parts.mid(3).join(u'|')));
        file.close();
        arguments << g_backupPath;
    } else {
        for (const QString &set : parts.mid(3, 8))
            arguments << QStringLiteral("--set") << set;
    }

    ScriptedLink link;
    link.setResponder(
        [&sensor](const QByteArray &request, const QString &current) { return sensor.answer(request, current); });
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    Cli cli(link, outStream, errStream);
    cli.setClock([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC); });
    const int code = cli.run(arguments);
    outStream.flush();
    errStream.flush();

    FUZZ_CHECK(code == 0 || (code >= 2 && code <= 6));
    // --help (or -h among the options) prints the command's help and does
    // nothing else.
    if (out.startsWith(QStringLiteral("Usage: veltra-cli"))) {
        FUZZ_CHECK(code == 0);
        FUZZ_CHECK(link.sent().isEmpty());
        return 0;
    }

    QList<QByteArray> writes;
    for (const QByteArray &request : link.sent()) {
        FUZZ_CHECK(request.size() >= 4);
        if (static_cast<unsigned char>(request.at(3)) == kWriteCommand)
            writes << request;
    }
    // A write goes out whole or not at all, and only once.
    FUZZ_CHECK(writes.size() <= 1);
    for (const QByteArray &w : writes) {
        FUZZ_CHECK(w.size() == 19 || w.size() == 20 || w.size() == 21);
        FUZZ_CHECK(w.startsWith(CommandFrame::writeSettingsRequest({})));
    }
    // Only a write that was sent can end in success or a differing read-back.
    FUZZ_CHECK((code == 0 || code == 6) == !writes.isEmpty());
    // A damaged or unknown block read before the write stops everything.
    if (!isUsableBlock(firstReply))
        FUZZ_CHECK(writes.isEmpty());
    if (writes.isEmpty())
        return 0;

    const QByteArray &request = writes.first();
    const int model = *byteField(firstReply, 7);
    FUZZ_CHECK(request.size() == 4 + (model == 90 ? 15 : 16) || (model != 90 && request.size() == 21));
    // The sensor keeps the model it is.
    FUZZ_CHECK(static_cast<unsigned char>(request.at(4 + 6)) == model);

    // Success means the sensor was read back holding every byte sent.
    const QString heldAfter = sensor.onWrite == Sensor::OnWrite::Answer ? sensor.readBack : sensor.reply;
    if (code == 0) {
        FUZZ_CHECK(isUsableBlock(heldAfter));
        for (qsizetype i = 4; i < request.size(); ++i)
            FUZZ_CHECK(byteField(heldAfter, int(i - 3)) == static_cast<unsigned char>(request.at(i)));
    }
    // A differing read-back is a block that holds something else, or none.
    if (code == 6 && isUsableBlock(heldAfter) && *byteField(heldAfter, 7) == model) {
        bool differs = false;
        for (qsizetype i = 4; i < request.size(); ++i)
            differs = differs || byteField(heldAfter, int(i - 3)) != static_cast<unsigned char>(request.at(i));
        FUZZ_CHECK(differs);
    }
    // A sensor that stores what it is sent always reads back right.
    if (sensor.onWrite == Sensor::OnWrite::Store)
        FUZZ_CHECK(code == 0);
    return 0;
}
