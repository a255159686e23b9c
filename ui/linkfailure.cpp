#include "linkfailure.h"

#include "about.h"
#include "bytetext.h"
#include "language.h"
#include "protocol/identification.h"
#include "session/sensorsession.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

namespace veltra {

namespace {

// One window per kind of trouble, reused while it is open. Not modal: the
// windows keep working (and can be closed) behind it.
QMessageBox *messageWindow(QPointer<QMessageBox> &slot, QWidget *parent, const QString &objectName)
{
    if (slot) {
        slot->raise();
        slot->activateWindow();
        return slot;
    }
    slot = new QMessageBox(QMessageBox::Warning, ui::programTitle(), QString(), QMessageBox::Ok, parent);
    slot->setObjectName(objectName);
    slot->setTextFormat(Qt::PlainText);
    slot->setAttribute(Qt::WA_DeleteOnClose);
    slot->setWindowModality(Qt::NonModal);
    return slot;
}

// What went wrong, below a first sentence that already says the
// connection was lost: the link's own reason would say so again.
QString lostDetail(const LinkError &error)
{
    if (error.kind == LinkError::Kind::Io) {
        return error.device.isEmpty()
                   ? QCoreApplication::translate("LinkFailure", "The adapter was unplugged or stopped answering.")
                   : QCoreApplication::translate("LinkFailure", "The adapter (%1) was unplugged or stopped answering.")
                         .arg(ui::leftToRightInside(error.device));
    }
    return ui::shown(error.reason());
}

QPointer<QMessageBox> g_linkFailure;
QPointer<QMessageBox> g_damagedReply;

} // namespace

namespace {

// Looks for the lost adapter four times a second while the message window
// is open; Cancel (closing the window) ends the wait.
void waitForAdapter(QMessageBox *box, SensorSession &session)
{
    if (box->findChild<QTimer *>(QStringLiteral("AdapterWait")))
        return; // already waiting
    const AdapterIdentity adapter = *session.link().adapter();
    const QString expectedModel = session.lastIdentification() ? session.lastIdentification()->modelCode : QString();
    box->setInformativeText(QCoreApplication::translate("LinkFailure", "Waiting for the adapter %1 to come back…")
                                .arg(ui::leftToRightInside(adapter.display())));
    box->setStandardButtons(QMessageBox::Cancel);
    auto *timer = new QTimer(box);
    timer->setObjectName(QStringLiteral("AdapterWait"));
    timer->setInterval(250);
    QObject::connect(timer, &QTimer::timeout, box, [box, timer, &session, adapter, expectedModel] {
        if (!session.reopenIfLost(QString())) {
            if (session.linkError().kind == LinkError::Kind::AdapterChoice) {
                box->setInformativeText(ui::shown(session.linkError().reason())
                                        + QCoreApplication::translate("LinkFailure", "\nWaiting for the adapter %1…")
                                              .arg(ui::leftToRightInside(adapter.display())));
            }
            return;
        }
        timer->stop();
        // Back: the same model must answer before the window goes on.
        const std::optional<Identification> id = session.identify();
        if (id && !id->damaged && !expectedModel.isEmpty() && id->modelCode != expectedModel) {
            box->setText(QCoreApplication::translate("LinkFailure", "Another sensor answers on the adapter."));
            box->setInformativeText(
                QCoreApplication::translate("LinkFailure",
                                            "It is model code %1, not %2: nothing was written to it. Choose "
                                            "the port and connect again to work with it.")
                    .arg(ui::leftToRightInside(id->modelCode), ui::leftToRightInside(expectedModel)));
            box->setStandardButtons(QMessageBox::Ok);
            return;
        }
        box->close();
    });
    timer->start();
}

} // namespace

bool reportLinkFailure(QWidget *parent, SensorSession &session, LinkAction action)
{
    const LinkError &error = session.linkError();
    if (error.kind != LinkError::Kind::Io && error.kind != LinkError::Kind::NotOpen)
        return false;
    QMessageBox *box = messageWindow(g_linkFailure, parent, QStringLiteral("LinkFailure"));
    switch (action) {
    case LinkAction::Exchange:
        box->setText(QCoreApplication::translate("LinkFailure", "The connection to the sensor was lost."));
        break;
    case LinkAction::Write:
        box->setText(QCoreApplication::translate(
            "LinkFailure", "The connection to the sensor was lost while writing: the write may not have "
                           "reached the sensor."));
        break;
    case LinkAction::WriteNotSent:
        box->setText(
            QCoreApplication::translate("LinkFailure", "The connection to the sensor was lost: nothing was written."));
        break;
    }
    box->setInformativeText(lostDetail(error)
                            + QCoreApplication::translate(
                                "LinkFailure", "\nCheck the cable and plug the adapter back in, then press Read: the "
                                               "port is opened again and the sensor's settings are read."));
    if (error.kind == LinkError::Kind::Io && session.link().adapter())
        waitForAdapter(box, session);
    box->show();
    return true;
}

bool reopenLostLink(QWidget *parent, SensorSession &session, const QString &baudBoxText)
{
    if (session.reopenIfLost(baudBoxText))
        return true;
    // Not back yet, or taken by another program meanwhile.
    QMessageBox *box = messageWindow(g_linkFailure, parent, QStringLiteral("LinkFailure"));
    box->setText(QCoreApplication::translate(
        "LinkFailure", "The connection to the sensor was lost, and the port cannot be opened again yet."));
    box->setInformativeText(
        lostDetail(session.linkError())
        + QCoreApplication::translate("LinkFailure",
                                      "\nCheck the cable and plug the adapter back in, then press Read again."));
    const LinkError::Kind kind = session.linkError().kind;
    if ((kind == LinkError::Kind::AdapterGone || kind == LinkError::Kind::AdapterChoice) && session.link().adapter())
        waitForAdapter(box, session);
    box->show();
    return false;
}

void reportDamagedReply(QWidget *parent, const QString &reply, const QString &again)
{
    QMessageBox *box = messageWindow(g_damagedReply, parent, QStringLiteral("DamagedReply"));
    box->setText(reply.isEmpty()
                     ? QCoreApplication::translate("LinkFailure", "The sensor did not answer the read request.")
                     : QCoreApplication::translate("LinkFailure", "The sensor's reply was damaged."));
    box->setInformativeText(
        QCoreApplication::translate("LinkFailure", "Nothing was changed: every field keeps its value. Press %1 again.")
            .arg(again));
    box->setDetailedText(reply.isEmpty() ? QString()
                                         : QCoreApplication::translate("LinkFailure", "Received %1 characters:\n%2")
                                               .arg(reply.size())
                                               .arg(escapedText(reply)));
    box->show();
}

} // namespace veltra
