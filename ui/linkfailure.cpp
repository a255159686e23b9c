#include "linkfailure.h"

#include "seriallink.h"

#include <QMessageBox>

namespace veltra {

bool reportLinkFailure(QWidget *parent, const SerialLink &link)
{
    const LinkError &error = link.lastError();
    if (error.kind != LinkError::Kind::Io && error.kind != LinkError::Kind::NotOpen)
        return false;
    // Not modal: the windows keep working (and can be closed) behind it.
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Veltra Sensor Program V7"),
                                QStringLiteral("The connection to the sensor was lost."), QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("LinkFailure"));
    box->setInformativeText(error.reason()
                            + QStringLiteral("\nCheck the cable and the adapter, then start the program again."));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
    return true;
}

} // namespace veltra
