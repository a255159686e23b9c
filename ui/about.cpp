#include "about.h"

#include "portmap.h"

#include <QApplication>
#include <QMessageBox>

namespace veltra::ui {

void showAbout(QWidget *parent)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("About Veltra Sensor Program"),
                    QStringLiteral("Veltra Sensor Program %1").arg(QApplication::applicationVersion()), QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("About"));
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(
        QStringLiteral("Configures and tests Veltra ultrasonic level and distance sensors.\n\n"
                       "Port numbers: port N is the device the link comN in %1 points to; without such a link, the "
                       "N-th serial device the system lists, USB and ACM adapters first. A device path may be typed "
                       "instead of a number.\n\n"
                       "Licence: GNU General Public License, version 3 or later.")
            .arg(PortMap::portsDir()));
    box.exec();
}

} // namespace veltra::ui
