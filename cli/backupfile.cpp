#include "backupfile.h"

#include "numbers.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>

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

} // namespace

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
        {kModel, QJsonObject{{QStringLiteral("code"), block.value("model")}, {QStringLiteral("name"), block.modelName()}}},
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
    const QJsonValue modelCode = root.value(kModel).toObject().value(QStringLiteral("code"));
    if (!modelCode.isUndefined() && modelCode.toDouble(-1) != block.value("model")) {
        refuse(why, QStringLiteral("The backup's model code and its \"model\" setting disagree."));
        return std::nullopt;
    }
    return block;
}

} // namespace veltra::BackupFile
