#include "recordentry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSysInfo>
#include <QUuid>

#include <pwd.h>
#include <unistd.h>

namespace veltra {

QString loginName()
{
    if (const passwd *entry = ::getpwuid(::geteuid()); entry && entry->pw_name && *entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? QStringLiteral("unknown") : user;
}

QString stationName()
{
    const QString name = QSysInfo::machineHostName();
    return name.isEmpty() ? QStringLiteral("unknown") : name;
}

QString valueWithUnit(const SensorSettings &settings, const BlockSetting &setting)
{
    const QString value = describeValue(setting, settings.value(setting));
    if (setting.distanceUnit && !settings.unit().isEmpty())
        return value + u' ' + settings.unit();
    return value;
}

QString settingsCodesText(const SensorSettings &settings)
{
    QJsonObject codes;
    for (const BlockSetting &setting : blockSettings(settings.family()))
        codes.insert(QLatin1String(setting.name), settings.value(setting));
    return QString::fromUtf8(QJsonDocument(codes).toJson(QJsonDocument::Compact));
}

std::optional<SensorSettings> settingsFromCodesText(SensorFamily family, const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject codes = document.object();
    SensorSettings settings(family);
    for (const BlockSetting &setting : blockSettings(family)) {
        const int value = codes.value(QLatin1String(setting.name)).toInt();
        settings.setValue(setting.id, std::clamp(value, 0, setting.maximum()));
    }
    return settings;
}

RecordEntry RecordEntry::forSensor(const SensorSettings &before, const QString &source, const QString &programVersion)
{
    RecordEntry entry;
    entry.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    entry.time = QDateTime::currentDateTimeUtc();
    entry.station = stationName();
    entry.operatorName = loginName();
    entry.programVersion = programVersion;
    entry.source = source;
    entry.family = before.family();
    entry.modelCode = before.value(Setting::Model);
    entry.modelName = before.modelName();
    entry.productionDate = QStringLiteral("%1/%2/%3")
                               .arg(before.value(Setting::Month))
                               .arg(before.value(Setting::Day))
                               .arg(before.value(Setting::Year));
    entry.before = before;
    return entry;
}

QString RecordEntry::timeText() const
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

namespace {

QJsonValue settingsJson(const std::optional<SensorSettings> &settings)
{
    if (!settings)
        return QJsonValue();
    QJsonObject codes;
    QJsonObject readable;
    for (const BlockSetting &setting : blockSettings(settings->family())) {
        codes.insert(QLatin1String(setting.name), settings->value(setting));
        readable.insert(QLatin1String(setting.name), valueWithUnit(*settings, setting));
    }
    return QJsonObject{{QStringLiteral("codes"), codes}, {QStringLiteral("settings"), readable}};
}

} // namespace

QJsonObject RecordEntry::toJson() const
{
    return {
        {QStringLiteral("id"), id},
        {QStringLiteral("time"), timeText()},
        {QStringLiteral("station"), station},
        {QStringLiteral("operator"), operatorName},
        {QStringLiteral("programVersion"), programVersion},
        {QStringLiteral("source"), source},
        {QStringLiteral("port"), port},
        {QStringLiteral("device"), device},
        {QStringLiteral("adapter"), adapter},
        {QStringLiteral("family"), familyName(family)},
        {QStringLiteral("model"),
         QJsonObject{{QStringLiteral("code"), modelCode}, {QStringLiteral("name"), modelName}}},
        {QStringLiteral("productionDate"), productionDate},
        {QStringLiteral("before"), settingsJson(before)},
        {QStringLiteral("sent"), settingsJson(sent)},
        {QStringLiteral("readBack"), settingsJson(readBack)},
        {QStringLiteral("verdict"), verdict},
        {QStringLiteral("message"), message},
        {QStringLiteral("exitCode"), exitCode},
    };
}

QStringList RecordEntry::changes() const
{
    QStringList lines;
    if (!before || !sent)
        return lines;
    for (const BlockSetting &setting : blockSettings(family)) {
        if (before->value(setting) != sent->value(setting)) {
            lines << QStringLiteral("%1 %2 -> %3")
                         .arg(QLatin1String(setting.name), valueWithUnit(*before, setting),
                              valueWithUnit(*sent, setting));
        }
    }
    return lines;
}

} // namespace veltra
