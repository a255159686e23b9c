#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace veltra {

// Failure notice (designer name Form5): no sensor answered, or the port could not be used.
// "Close" and the close box both lead back to the start window.
class FailureNotice : public QWidget
{
    Q_OBJECT
public:
    explicit FailureNotice(QWidget *parent = nullptr);

    // Why the handshake failed, in one plain line; empty hides the line.
    void setReason(const QString &reason);
    QString reason() const;

    QLabel *labelReason() const { return m_labelReason; }

signals:
    // The notice is gone; the start window is to be shown again.
    void backToStart();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Command5_Click();

    QLabel *m_failedText = nullptr;
    QLabel *m_labelReason = nullptr;
    QPushButton *m_okButton = nullptr;
};

} // namespace veltra
