#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace veltra {

// Replies are text with one character per received byte; requests are the
// bytes themselves. These keep the two views in step.
QString bytesToText(const QByteArray &bytes);
QByteArray textToBytes(const QString &text);

// Received characters as one printable line, for messages and logs:
// printable ASCII as it is, \r, \n and \\ escaped, every other byte as \xNN.
QString escapedText(QStringView text);

} // namespace veltra
