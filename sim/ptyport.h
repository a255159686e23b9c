#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace veltra {

// The simulator's end of a pseudo-terminal (Unix only). The program under
// test opens the slave device as its serial port; the simulator reads and
// writes the master. The line rate is whatever the program set on its end.
class PtyPort : public QObject
{
    Q_OBJECT
public:
    explicit PtyPort(QObject *parent = nullptr);
    ~PtyPort() override;

    // Makes the terminal pair, raw, with the slave at initialRate until the
    // program sets its own. False, with a reason, when the system refuses.
    bool open(int initialRate, QString *error);
    void close();
    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    // The rate the program's end runs at; 0 for a rate outside the baud table.
    int lineRate() const;
    // False when the program's side could not take all of the bytes; the rest
    // are dropped, as a line would lose them.
    bool write(const QByteArray &bytes);
    // Bytes written to the program that it has not read yet.
    int unreadByProgram() const;

signals:
    // Bytes the program sent, with the rate its port was set to when they came.
    void received(const QByteArray &bytes, int lineRate);

private:
    void onReadable();

    int m_master = -1;
    int m_slave = -1; // held open so the master never sees a hang-up
    QString m_slavePath;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace veltra
