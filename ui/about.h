#pragma once

#include <QSettings>
#include <QString>

class QWidget;

namespace veltra::ui {

// The program's one name, on every message window it opens.
inline QString programTitle()
{
    return QStringLiteral("Veltra Sensor Program V7");
}

// Where the program keeps what it remembers between runs (the last port,
// the trend's interval, the folder of the last file).
inline QSettings programSettings()
{
    return QSettings(QStringLiteral("Veltra"), QStringLiteral("veltra-sensor"));
}

// The folder a file dialog opens in: where the last file was saved or
// opened, else `fallback`; and remembering a file's folder for next time.
QString lastFolder(const QString &fallback);
void rememberFolder(const QString &filePath);

// Help > About: the program's version, where port numbers are looked up,
// and its licence.
void showAbout(QWidget *parent);

} // namespace veltra::ui
