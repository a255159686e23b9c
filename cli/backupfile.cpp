#include "backupfile.h"

#include "linesettings.h"
#include "numbers.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>
#include <QSet>

#include <cmath>
#include <vector>

namespace veltra::BackupFile {

namespace {

const QString kFamily = QStringLiteral("family");
const QString kModel = QStringLiteral("model");
const QString kSettings = QStringLiteral("settings");

std::optional<SensorFamily> familyFromName(const QString &name)
{
    for (SensorFamily family : {SensorFamily::Level, SensorFamily::Distance}) {
        if (name == familyName(family))
            return family;
    }
    return std::nullopt;
}

// A JSON value as it would appear in the file, for messages.
QString jsonText(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Double:
        return NumberToText(value.toDouble());
    case QJsonValue::String:
        return QStringLiteral("\"%1\"").arg(value.toString());
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Null:
        return QStringLiteral("null");
    default:
        return value.isArray() ? QStringLiteral("an array") : QStringLiteral("an object");
    }
}

bool refuse(QString *why, const QString &reason)
{
    *why = reason;
    return false;
}

// The first setting whose code no table defines, or an impossible date, as
// a reason; empty when every code is one a sensor can hold.
QString undefinedCode(const SensorBlock &block)
{
    const auto check = [&block](const char *name, bool defined, const QString &allowed) {
        return defined ? QString()
                       : QStringLiteral("The backup's \"%1\" must be %2, not %3.")
                             .arg(QLatin1String(name), allowed)
                             .arg(block.value(name));
    };
    QStringList reasons{
        check("baud", baudRowForCode(block.value("baud")) != nullptr,
              QStringLiteral("a baud code 30, 40, 50, 60 or 70")),
        check("ogr", !ModelCatalogue::ogrTextForCode(block.value("ogr")).isEmpty(), QStringLiteral("0, 1 or 2")),
        check("month", block.value("month") >= 1 && block.value("month") <= 12, QStringLiteral("1 to 12")),
        check("day", block.value("day") >= 1 && block.value("day") <= 31, QStringLiteral("1 to 31")),
    };
    if (block.family() == SensorFamily::Level) {
        reasons << check("omb", !ModelCatalogue::ombTextForCode(block.value("omb")).isEmpty(),
                         QStringLiteral("8, 6 or 4"))
                << check("resolution", !ModelCatalogue::resolutionTextForCode(block.value("resolution")).isEmpty(),
                         QStringLiteral("10 or 1"));
    }
    for (const QString &reason : reasons) {
        if (!reason.isEmpty())
            return reason;
    }
    return {};
}

} // namespace

std::optional<QString> firstRepeatedKey(const QByteArray &json)
{
    struct Container {
        bool object = false;
        bool wantKey = false;
        QSet<QString> keys;
    };
    std::vector<Container> open;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '"') {
            // Find the string's end; its characters are read below.
            const qsizetype start = i;
            for (++i; i < json.size() && json[i] != '"'; ++i) {
                if (json[i] == '\\')
                    ++i;
            }
            if (open.empty() || !open.back().object || !open.back().wantKey)
                continue;
            // A key is read by the JSON reader itself, so two spellings of one
            // key ("a" and "\u0061", odd bytes) compare as the reader sees them.
            const QByteArray token = '[' + json.mid(start, i - start + 1) + ']';
            const QString key = QJsonDocument::fromJson(token).array().at(0).toString();
            if (open.back().keys.contains(key))
                return key;
            open.back().keys.insert(key);
            open.back().wantKey = false;
        } else if (c == '{' || c == '[') {
            open.push_back({c == '{', c == '{', {}});
        } else if (c == '}' || c == ']') {
            if (!open.empty())
                open.pop_back();
        } else if (c == ',' && !open.empty() && open.back().object) {
            open.back().wantKey = true;
        }
    }
    return std::nullopt;
}

std::optional<SensorBlock> load(const QString &path, QString *why)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        refuse(why, QStringLiteral("Cannot read %1: no such file.").arg(path));
        return std::nullopt;
    }
    // Devices, pipes and folders are refused unread: /dev/zero never ends.
    if (!info.isFile()) {
        refuse(why, QStringLiteral("%1 is not a regular file.").arg(path));
        return std::nullopt;
    }
    if (info.size() > kMaxFileSize) {
        refuse(why, QStringLiteral("%1 is too large for a backup (%2 bytes; at most %3).")
                        .arg(path)
                        .arg(info.size())
                        .arg(kMaxFileSize));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        refuse(why, QStringLiteral("Cannot read %1: %2.").arg(path, file.errorString()));
        return std::nullopt;
    }
    // Read no further than the limit, in case the file grew meanwhile.
    const QByteArray json = file.read(kMaxFileSize + 1);
    if (json.size() > kMaxFileSize) {
        refuse(why, QStringLiteral("%1 is too large for a backup (at most %2 bytes).").arg(path).arg(kMaxFileSize));
        return std::nullopt;
    }
    QString reason;
    auto block = parse(json, &reason);
    if (!block)
        refuse(why, QStringLiteral("%1: %2").arg(path, reason));
    return block;
}

QJsonObject toJson(const SensorBlock &block, const QDateTime &taken, const QString &toolVersion)
{
    QJsonObject settings;
    for (const BlockSetting &setting : blockSettings(block.family()))
        settings.insert(QLatin1String(setting.name), block.value(setting));

    return QJsonObject{
        {QStringLiteral("tool"), QStringLiteral("veltra-cli")},
        {QStringLiteral("toolVersion"), toolVersion},
        {QStringLiteral("time"), taken.toUTC().toString(Qt::ISODate)},
        {kFamily, familyName(block.family())},
        {kModel,
         QJsonObject{{QStringLiteral("code"), block.value("model")}, {QStringLiteral("name"), block.modelName()}}},
        {kSettings, settings},
    };
}

QByteArray serialize(const SensorBlock &block, const QDateTime &taken, const QString &toolVersion)
{
    return QJsonDocument(toJson(block, taken, toolVersion)).toJson(QJsonDocument::Indented);
}

std::optional<SensorBlock> parse(const QByteArray &json, QString *why)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        refuse(why, QStringLiteral("The backup is not valid JSON: %1 at offset %2.")
                        .arg(error.errorString())
                        .arg(error.offset));
        return std::nullopt;
    }
    if (!document.isObject()) {
        refuse(why, QStringLiteral("The backup is not a JSON object."));
        return std::nullopt;
    }
    if (const auto repeated = firstRepeatedKey(json)) {
        refuse(why, QStringLiteral("The backup names \"%1\" twice in one object.").arg(*repeated));
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    const auto family = familyFromName(root.value(kFamily).toString());
    if (!family) {
        refuse(why, QStringLiteral("The backup names no sensor family (\"family\": \"level\" or \"distance\")."));
        return std::nullopt;
    }
    const QJsonValue settingsValue = root.value(kSettings);
    if (!settingsValue.isObject()) {
        refuse(why, QStringLiteral("The backup holds no \"settings\" object."));
        return std::nullopt;
    }
    const QJsonObject settings = settingsValue.toObject();

    std::vector<int> values;
    for (const BlockSetting &setting : blockSettings(*family)) {
        const QString name = QLatin1String(setting.name);
        const QJsonValue v = settings.value(name);
        if (v.isUndefined()) {
            refuse(why, QStringLiteral("The backup lacks the setting \"%1\".").arg(name));
            return std::nullopt;
        }
        const double number = v.toDouble(-1);
        if (!v.isDouble() || number != std::floor(number) || number < 0 || number > setting.maximum()) {
            refuse(why, QStringLiteral("The backup's \"%1\" must be a whole number from 0 to %2, not %3.")
                            .arg(name)
                            .arg(setting.maximum())
                            .arg(jsonText(v)));
            return std::nullopt;
        }
        values.push_back(static_cast<int>(number));
    }
    for (auto it = settings.begin(); it != settings.end(); ++it) {
        if (!findBlockSetting(*family, it.key())) {
            refuse(why, QStringLiteral("The backup holds a setting a %1 sensor does not have: \"%2\".")
                            .arg(familyName(*family), it.key()));
            return std::nullopt;
        }
    }

    const SensorBlock block = SensorBlock::fromValues(*family, values);
    const QString code = block.modelCode();
    const ModelWindow window = ModelCatalogue::windowForModelCode(code);
    const bool sameFamily = (*family == SensorFamily::Distance) == (window == ModelWindow::Distance);
    if (window == ModelWindow::None || !sameFamily) {
        refuse(why, QStringLiteral("The backup's model code %1 is not a %2 sensor's.").arg(code, familyName(*family)));
        return std::nullopt;
    }
    if (const QString bad = undefinedCode(block); !bad.isEmpty()) {
        refuse(why, bad);
        return std::nullopt;
    }
    const QJsonValue modelCode = root.value(kModel).toObject().value(QStringLiteral("code"));
    if (!modelCode.isUndefined() && modelCode.toDouble(-1) != block.value("model")) {
        refuse(why, QStringLiteral("The backup's model code and its \"model\" setting disagree."));
        return std::nullopt;
    }
    return block;
}

} // namespace veltra::BackupFile
