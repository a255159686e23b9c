// Settings files (sensor/files/settingsfile.h): SettingsFile::parse, serialize and
// firstRepeatedKey. An accepted file holds only codes the tables define,
// survives being written out and read again, and stops being accepted once
// any of its keys is repeated.
#include "files/settingsfile.h"
#include "fuzzcheck.h"
#include "linesettings.h"
#include "protocol/modelcatalogue.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace veltra;

namespace {

const QDateTime kTaken(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC);

// "key":value as it appears inside an object, escapes and all.
QByteArray member(const QString &key, const QJsonValue &value)
{
    const QByteArray object = QJsonDocument(QJsonObject{{key, value}}).toJson(QJsonDocument::Compact);
    return object.mid(1, object.size() - 2);
}

void checkCodes(const SensorSettings &block)
{
    for (const BlockSetting &setting : blockSettings(block.family())) {
        const int v = block.value(setting);
        FUZZ_CHECK(v >= 0 && v <= setting.maximum());
    }
    // Codes outside the tables are read as they stand; the restore judges them.
    const ModelWindow window = ModelCatalogue::windowForModelCode(block.modelCode());
    if (block.family() == SensorFamily::Level) {
        FUZZ_CHECK(window == ModelWindow::Level);
    } else {
        FUZZ_CHECK(window == ModelWindow::Distance);
    }
}

void checkSameBlock(const SensorSettings &a, const SensorSettings &b)
{
    FUZZ_CHECK(a.family() == b.family());
    FUZZ_CHECK(a.fieldCount() == b.fieldCount());
    for (int k = 1; k <= a.fieldCount(); ++k)
        FUZZ_CHECK(a.field(k) == b.field(k));
    for (const BlockSetting &setting : blockSettings(a.family()))
        FUZZ_CHECK(a.value(setting) == b.value(setting));
}

bool accepted(const QByteArray &json)
{
    QString why;
    const auto block = SettingsFile::parse(json, &why);
    FUZZ_CHECK(block.has_value() == why.isEmpty());
    return block.has_value();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    fuzz::note(fuzz::latin1(json));

    QString why;
    const std::optional<SensorSettings> block = SettingsFile::parse(json, &why);
    FUZZ_CHECK(block.has_value() == why.isEmpty());

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    const bool validJson = error.error == QJsonParseError::NoError;
    // firstRepeatedKey is only asked about valid JSON.
    if (validJson && SettingsFile::firstRepeatedKey(json).has_value())
        FUZZ_CHECK(!block);
    if (!block)
        return 0;
    FUZZ_CHECK(validJson && document.isObject());

    checkCodes(*block);

    // Written out again, it reads back as the same block.
    const QByteArray again = SettingsFile::serialize(*block, kTaken, QStringLiteral("7.0.0"));
    QString whyAgain;
    const std::optional<SensorSettings> reread = SettingsFile::parse(again, &whyAgain);
    fuzz::note(fuzz::latin1(again));
    FUZZ_CHECK(reread.has_value());
    checkSameBlock(*block, *reread);
    fuzz::note(fuzz::latin1(json));

    // Any key of the backup named twice in its object makes it no backup,
    // though a JSON reader would quietly keep the last value.
    const QJsonObject root = document.object();
    const qsizetype open = json.indexOf('{');
    FUZZ_CHECK(open >= 0);
    for (auto it = root.begin(); it != root.end(); ++it) {
        QByteArray twice = json;
        twice.insert(open + 1, member(it.key(), it.value()) + ',');
        fuzz::note(fuzz::latin1(twice));
        FUZZ_CHECK(!accepted(twice));
    }
    // The same inside "settings" and "codes": the file rebuilt member by
    // member, one setting written twice with the same value.
    for (const QString &name : {QStringLiteral("settings"), QStringLiteral("codes")}) {
        if (!root.value(name).isObject())
            continue;
        const QJsonObject settings = root.value(name).toObject();
        QByteArray head = "{";
        for (auto it = root.begin(); it != root.end(); ++it) {
            if (it.key() != name)
                head += member(it.key(), it.value()) + ',';
        }
        QByteArray members;
        for (auto it = settings.begin(); it != settings.end(); ++it)
            members += (members.isEmpty() ? "" : ",") + member(it.key(), it.value());
        const QByteArray open = head + member(name, QJsonObject()).chopped(1); // "name":{
        const QByteArray rebuilt = open + members + "}}";
        fuzz::note(fuzz::latin1(rebuilt));
        FUZZ_CHECK(accepted(rebuilt));
        for (auto it = settings.begin(); it != settings.end(); ++it) {
            const QByteArray twice = open + members + ',' + member(it.key(), it.value()) + "}}";
            fuzz::note(fuzz::latin1(twice));
            FUZZ_CHECK(!accepted(twice));
        }
    }
    return 0;
}
