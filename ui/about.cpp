#include "about.h"

#include "language.h"
#include "portmap.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace veltra::ui {

void showAbout(QWidget *parent)
{
    QMessageBox box(
        QMessageBox::Information, QCoreApplication::translate("About", "About %1").arg(programTitle()),
        QCoreApplication::translate("About", "%1\nVersion %2").arg(programTitle(), QApplication::applicationVersion()),
        QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("About"));
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(
        QCoreApplication::translate(
            "About", "Configures and tests Veltra ultrasonic level and distance sensors.\n\n"
                     "Port numbers: port N is the device the link comN in %1 points to; without such a link, the "
                     "N-th serial device the system lists, USB and ACM adapters first. A device path may be typed "
                     "instead of a number.\n\n"
                     "Licence: GNU General Public License, version 3 or later.")
            .arg(leftToRightInside(PortMap::portsDir())));
    box.exec();
}

QString lastFolder(const QString &fallback)
{
    const QString folder = programSettings().value(QStringLiteral("lastFolder")).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallback;
}

void rememberFolder(const QString &filePath)
{
    if (!filePath.isEmpty())
        programSettings().setValue(QStringLiteral("lastFolder"), QFileInfo(filePath).absolutePath());
}

} // namespace veltra::ui
