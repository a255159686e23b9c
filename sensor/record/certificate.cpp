#include "certificate.h"

#include "files/wholefile.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

namespace veltra {

namespace {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString cell(const std::optional<SensorSettings> &settings, const BlockSetting &setting)
{
    return settings ? escaped(valueWithUnit(*settings, setting)) : QStringLiteral("&mdash;");
}

QString certificateHtml(const RecordEntry &entry)
{
    QString html;
    html += QStringLiteral("<h2>Commissioning certificate</h2>");
    html += QStringLiteral("<table cellpadding='3'>");
    const auto row = [&html](const QString &name, const QString &value) {
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(name, escaped(value));
    };
    row(QStringLiteral("Sensor"), QStringLiteral("%1 (model code %2, %3 sensor)")
                                      .arg(entry.modelName)
                                      .arg(entry.modelCode)
                                      .arg(familyName(entry.family)));
    row(QStringLiteral("Production date"), entry.productionDate + QStringLiteral(" (month/day/year)"));
    row(QStringLiteral("Verdict"), entry.verdict);
    if (!entry.message.isEmpty())
        row(QStringLiteral("Message"), entry.message);
    row(QStringLiteral("Written"), entry.time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss 'UTC'")));
    row(QStringLiteral("Station"), entry.station);
    row(QStringLiteral("Operator"), entry.operatorName);
    row(QStringLiteral("Port"), entry.device.isEmpty() || entry.device == entry.port
                                    ? entry.port
                                    : QStringLiteral("%1 (%2)").arg(entry.port, entry.device));
    if (!entry.adapter.isEmpty())
        row(QStringLiteral("Adapter"), entry.adapter);
    row(QStringLiteral("Program"), QStringLiteral("veltra %1, %2").arg(entry.programVersion, entry.source));
    row(QStringLiteral("Record entry"), entry.id);
    html += QStringLiteral("</table><h3>Settings</h3>");
    html += QStringLiteral("<table border='1' cellspacing='0' cellpadding='4' width='100%'>"
                           "<tr><th align='left'>Setting</th><th align='left'>Before</th>"
                           "<th align='left'>Written</th><th align='left'>Read back</th></tr>");
    for (const BlockSetting &setting : blockSettings(entry.family)) {
        const bool changed = entry.before && entry.sent && entry.before->value(setting) != entry.sent->value(setting);
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3%4%5</td><td>%6</td></tr>")
                    .arg(escaped(QLatin1String(setting.title)), cell(entry.before, setting),
                         changed ? QStringLiteral("<b>") : QString(), cell(entry.sent, setting),
                         changed ? QStringLiteral("</b>") : QString(), cell(entry.readBack, setting));
    }
    html += QStringLiteral("</table>");
    html += QStringLiteral("<p>Settings in bold were changed by this write.</p>");
    html += QStringLiteral("<p><br><br>Signature: ______________________________&nbsp;&nbsp;&nbsp;"
                           "Date: ______________</p>");
    return html;
}

} // namespace

QByteArray certificatePdf(const RecordEntry &entry)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QStringLiteral("Commissioning certificate %1").arg(entry.shortId()));
        writer.setCreator(QStringLiteral("veltra %1").arg(entry.programVersion));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        writer.setResolution(300);
        QTextDocument document;
        // No ligatures: the certificate's text stays searchable and copyable
        // ("certificate", not "certi\ufb01cate").
        QFont font = document.defaultFont();
        font.setStyleStrategy(QFont::PreferNoShaping);
        document.setDefaultFont(font);
        document.setHtml(certificateHtml(entry));
        QPainter painter(&writer);
        // The document is laid out in points; the page is 300 dots an inch.
        const double scale = writer.resolution() / 72.0;
        painter.scale(scale, scale);
        document.setPageSize(QSizeF(writer.width() / scale, writer.height() / scale));
        document.drawContents(&painter);
    }
    return bytes;
}

QString certificateFileName(const RecordEntry &entry)
{
    QString model = entry.modelName;
    model.replace(u'/', u'-');
    return QStringLiteral("%1_%2_%3.pdf")
        .arg(model, entry.time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHHmmss")), entry.shortId());
}

bool writeCertificate(const RecordEntry &entry, const QString &path, QString *why)
{
    return writeWholeFile(path, certificatePdf(entry), why);
}

} // namespace veltra
