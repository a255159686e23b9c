#pragma once

#include <QWidget>

#include <functional>

class QComboBox;
class QMenuBar;
class QFrame;
class QLabel;
class QPushButton;

namespace veltra {

class SensorSession;

// The start window (designer name Form1): the operator picks a port and
// presses "Set com port"; the handshake runs on the session, which tells
// the other windows the rate it found.
class StartWindow : public QWidget
{
    Q_OBJECT
public:
    StartWindow(SensorSession &session, std::function<void()> endProgram, QWidget *parent = nullptr);

    // The port box text as the operator left it.
    QString portText() const;
    // Puts a port in the box: its list entry when it has one, else as typed text.
    void setPortText(const QString &text);

    // Where the port box's tooltip comes from (PortMap::describe by default).
    // Asked each time the tooltip is about to show, never before: describing
    // the ports enumerates the system's serial devices.
    void setPortTipSource(std::function<QString()> source);

    SensorSession &session() const { return m_session; }

public slots:
    // The connection handshake (startwindow_connect.cpp).
    void Command1_Click();

signals:
    // The sensor answered: the connected notice takes over.
    void sensorFound();
    // No sensor answered, or the port could not be used; reason says why in
    // one plain line.
    void sensorNotFound(const QString &reason);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    QMenuBar *menuBar() const { return m_menuBar; }

private:
    void makeMenus();
    QMenuBar *m_menuBar = nullptr; // Help: About, Serial Ports
    SensorSession &m_session;
    std::function<void()> m_endProgram;
    std::function<QString()> m_portTipSource;

    QLabel *m_title = nullptr;              // Label1
    QFrame *m_upperRule = nullptr;          // Line1
    QLabel *m_portCaption = nullptr;        // Label2
    QComboBox *m_portBox = nullptr;         // Combo1
    QPushButton *m_connectButton = nullptr; // Command1
    QFrame *m_lowerRule = nullptr;          // Line2
    QLabel *m_maker = nullptr;              // Label3
    QLabel *m_web = nullptr;                // Label4
    QLabel *m_version = nullptr;            // Label5
};

} // namespace veltra
