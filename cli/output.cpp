#include "output.h"

#include <QJsonDocument>
#include <QTextStream>

#include <algorithm>

namespace veltra {

QString portDescription(const QString &text, const QString &device)
{
    return device.isEmpty() || device == text ? text : QStringLiteral("%1 (%2)").arg(text, device);
}

QJsonValue numberOrNull(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? QJsonValue(value) : QJsonValue();
}

QJsonValue textOrNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonObject modelJson(const QString &code, const QString &name)
{
    return {{QStringLiteral("code"), numberOrNull(code)}, {QStringLiteral("name"), name}};
}

void printJson(QTextStream &out, const QJsonObject &object)
{
    out << QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
    out.flush();
}

void printTable(QTextStream &out, const QList<QStringList> &rows)
{
    QList<qsizetype> widths;
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i + 1 < row.size(); ++i) {
            if (widths.size() <= i)
                widths.append(0);
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? row[i].leftJustified(widths[i] + 2) : row[i];
        while (line.endsWith(u' '))
            line.chop(1);
        out << line << Qt::endl;
    }
}

} // namespace veltra
