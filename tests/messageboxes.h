#pragma once

// Message boxes that come up while a test action runs: answered or closed on
// a short timer, so a modal box never blocks the test.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

namespace {

// Runs `action`, answering each message box with the button of that text
// (closing it when there is none); each box's text and informative text.
template <typename Action>
QStringList answeringBoxes(const QString &button, Action action)
{
    QStringList seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&seen, &button] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen << box->text() + u'\n' + box->informativeText();
        for (QAbstractButton *b : box->buttons()) {
            if (!button.isEmpty() && b->text() == button) {
                b->click();
                return;
            }
        }
        box->close();
    });
    poll.start();
    action();
    return seen;
}

template <typename Action>
QStringList closingBoxes(Action action)
{
    return answeringBoxes(QString(), action);
}

} // namespace
