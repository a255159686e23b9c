#include "files/diagnosticreport.h"

#include "files/settingsfile.h"
#include "files/wholefile.h"
#include "portlist.h"
#include "portmap.h"
#include "protocol/sensorsettings.h"
#include "session/sensorsession.h"

#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSysInfo>

namespace veltra {

namespace {

// The port numbers the report lists, as many as the port box offers.
constexpr int kReportedPorts = 15;

QJsonValue lastBlock(const SensorSession &session, const QString &version)
{
    const QString raw = session.lastBlockReply();
    if (raw.isEmpty())
        return QJsonValue();
    QJsonObject block{{QStringLiteral("raw"), raw}};
    QString why;
    if (const auto decoded = SensorSettings::fromReply(raw, &why)) {
        const QJsonObject file
            = QJsonDocument::fromJson(SettingsFile::serialize(*decoded, QDateTime::currentDateTimeUtc(), version))
                  .object();
        for (const char *key : {"family", "model", "unit", "settings", "codes"})
            block.insert(QLatin1String(key), file.value(QLatin1String(key)));
    } else {
        block.insert(QStringLiteral("problem"), why);
    }
    return block;
}

} // namespace

QJsonObject diagnosticReport(SensorSession &session, const QString &program, const QString &version,
                             const ReportSubject &subject)
{
    QJsonArray ports;
    for (const PortEntry &p : listPorts(kReportedPorts)) {
        ports.append(QJsonObject{{QStringLiteral("port"), p.number},
                                 {QStringLiteral("device"), p.device},
                                 {QStringLiteral("description"), p.description},
                                 {QStringLiteral("manufacturer"), p.manufacturer},
                                 {QStringLiteral("vendorProductId"), p.vendorProductId},
                                 {QStringLiteral("serialNumber"), p.serialNumber}});
    }
    const auto textOrNull = [](const QString &text) { return text.isEmpty() ? QJsonValue() : QJsonValue(text); };
    return {
        {QStringLiteral("subject"), QJsonObject{{QStringLiteral("port"), textOrNull(subject.port)},
                                                {QStringLiteral("device"), textOrNull(subject.device)},
                                                {QStringLiteral("result"), textOrNull(subject.result)}}},
        {QStringLiteral("report"), QStringLiteral("veltra diagnostic report")},
        {QStringLiteral("format"), 1},
        {QStringLiteral("created"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)},
        {QStringLiteral("program"), QJsonObject{{QStringLiteral("name"), program},
                                                {QStringLiteral("title"), QStringLiteral("Veltra Sensor Program V7")},
                                                {QStringLiteral("version"), version}}},
        {QStringLiteral("system"),
         QJsonObject{{QStringLiteral("os"), QSysInfo::prettyProductName()},
                     {QStringLiteral("kernel"), QSysInfo::kernelType() + u' ' + QSysInfo::kernelVersion()},
                     {QStringLiteral("cpu"), QSysInfo::currentCpuArchitecture()},
                     {QStringLiteral("qt"), QString::fromLatin1(qVersion())},
                     {QStringLiteral("qtBuild"), QStringLiteral(QT_VERSION_STR)}}},
        {QStringLiteral("portsFolder"), PortMap::portsDir()},
        {QStringLiteral("ports"), ports},
        {QStringLiteral("lastBlock"), lastBlock(session, version)},
        {QStringLiteral("traffic"), session.traffic().toJson()},
    };
}

QByteArray diagnosticReportText(const QJsonObject &report)
{
    QJsonObject rest = report;
    const QJsonValue subject = rest.take(QStringLiteral("subject"));
    QByteArray text = QJsonDocument(QJsonObject{{QStringLiteral("subject"), subject}}).toJson(QJsonDocument::Indented);
    if (rest.isEmpty())
        return text;
    // "{ subject }" and "{ the rest }" joined into one object.
    text.chop(int(qstrlen("\n}\n")));
    return text + ",\n" + QJsonDocument(rest).toJson(QJsonDocument::Indented).mid(int(qstrlen("{\n")));
}

bool saveDiagnosticReport(const QString &path, const QJsonObject &report, QString *error)
{
    return writeWholeFile(path, diagnosticReportText(report), error);
}

} // namespace veltra
