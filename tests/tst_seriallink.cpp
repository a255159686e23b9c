// The real link on a pseudo-terminal: bytes both ways, reading without an
// event loop, the receive notification, rate changes, failures; and Pause.
#include "bytetext.h"
#include "protocol/commandframe.h"
#include "ptypeer.h"
#include "qserialportlink.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace veltra;

class TestSerialLink : public QObject
{
    Q_OBJECT
private slots:
    void sendsExactBytesAndReadsWithoutEventLoop();
    void charactersDuringSleepAreKeptAndRaiseNoLateEvent();
    void receiveEventAtTwelveCharacters();
    void lateCharactersComeWithTheNextRead();
    void setSettingsChangesRateAndKeepsBuffer();
    void refusesLineSettingsOutsideTheTable();
    void missingDeviceIsNoSuchPort();
    void secondOpenerFindsPortBusy();
    void reopenClosesFirst();
    void unpluggedDeviceIsReported();
    void checkConnectionKeepsWhatArrivedAndNoticesALoss();
    void reopenTakesTheSameDeviceNeverAnother();
    void pathThatIsNoTerminalIsNotSerial();
    void pauseZeroReturnsAtOnce();
    void pauseWaitsAndPumpsEvents();
};

static PortId ptyPort(const PtyPeer &peer)
{
    return PortId{0, peer.device()};
}

void TestSerialLink::sendsExactBytesAndReadsWithoutEventLoop()
{
    PtyPeer peer;
    QVERIFY(peer.isValid());
    QSerialPortLink link;
    QVERIFY2(link.open(ptyPort(peer), QStringLiteral("9600,n,8,1")), qPrintable(link.lastError().reason()));
    QVERIFY(link.isOpen());
    QCOMPARE(peer.speed(), speed_t(B9600));

    QVERIFY(link.send(CommandFrame::connectRequest()));
    QCOMPARE(peer.read(4), CommandFrame::connectRequest());

    // Every byte value arrives as the character with that code.
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    peer.write(all);
    link.sleep(100);
    const QString reply = link.receiveAll();
    QCOMPARE(reply.size(), 256);
    QCOMPARE(textToBytes(reply), all);
    QVERIFY(!link.lastError().isError());
}

void TestSerialLink::charactersDuringSleepAreKeptAndRaiseNoLateEvent()
{
    PtyPeer peer;
    QSerialPortLink link;
    QVERIFY(link.open(ptyPort(peer), QStringLiteral("19200,n,8,1")));
    QSignalSpy spy(&link, &SerialLink::receiveEvent);
    peer.write(QByteArray(" 30  5  0  1 15 98 20"));
    link.sleep(100);
    QCOMPARE(link.receiveAll(), QStringLiteral(" 30  5  0  1 15 98 20"));
    QTest::qWait(200);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(link.receiveAll(), QString());
}

void TestSerialLink::receiveEventAtTwelveCharacters()
{
    PtyPeer peer;
    QSerialPortLink link;
    QVERIFY(link.open(ptyPort(peer), QStringLiteral("9600,n,8,1")));
    QSignalSpy spy(&link, &SerialLink::receiveEvent);
    peer.write(QByteArray(11, 'x'));
    QTest::qWait(150);
    QCOMPARE(spy.count(), 0);
    peer.write(QByteArray("y"));
    QTRY_VERIFY(spy.count() >= 1);
    QCOMPARE(spy.first().first().toInt(), SerialLink::kEventReceive);
    QCOMPARE(link.receiveAll().size(), 12);
}

void TestSerialLink::lateCharactersComeWithTheNextRead()
{
    PtyPeer peer;
    QSerialPortLink link;
    QVERIFY(link.open(ptyPort(peer), QStringLiteral("9600,n,8,1")));
    peer.write("R002");
    link.sleep(50);
    QCOMPARE(link.receiveAll(), QStringLiteral("R002"));
    peer.write("50cm025");
    link.sleep(50);
    QCOMPARE(link.receiveAll(), QStringLiteral("50cm025"));
}

void TestSerialLink::setSettingsChangesRateAndKeepsBuffer()
{
    PtyPeer peer;
    QSerialPortLink link;
    QVERIFY(link.open(ptyPort(peer), QStringLiteral("9600,n,8,1")));
    peer.write("kept");
    QThread::msleep(50);
    QVERIFY(link.setSettings(QStringLiteral("115200,n,8,1")));
    QCOMPARE(peer.speed(), speed_t(B115200));
    QCOMPARE(link.lineSettings(), QStringLiteral("115200,n,8,1"));
    QVERIFY(link.isOpen());
    QCOMPARE(link.receiveAll(), QStringLiteral("kept"));
}

void TestSerialLink::refusesLineSettingsOutsideTheTable()
{
    PtyPeer peer;
    QSerialPortLink link;
    QVERIFY(!link.open(ptyPort(peer), QStringLiteral("4800,n,8,1")));
    QCOMPARE(link.lastError().kind, LinkError::Kind::BadSettings);
    QVERIFY(!link.isOpen());
    QVERIFY(link.open(ptyPort(peer), QStringLiteral("9600,n,8,1")));
    QVERIFY(!link.setSettings(QStringLiteral("9600,e,7,2")));
    QCOMPARE(link.lastError().kind, LinkError::Kind::BadSettings);
    QCOMPARE(link.lineSettings(), QStringLiteral("9600,n,8,1"));
}

void TestSerialLink::missingDeviceIsNoSuchPort()
{
    QSerialPortLink link;
    QVERIFY(!link.open(PortId{0, QStringLiteral("/dev/veltra-no-such-device")}, QStringLiteral("9600,n,8,1")));
    QCOMPARE(link.lastError().kind, LinkError::Kind::NoSuchPort);
    QVERIFY(link.lastError().reason().startsWith(QStringLiteral("No such port")));

    QTemporaryDir empty;
    qputenv("VELTRA_PORTS_DIR", empty.path().toUtf8());
    QVERIFY(!link.open(PortId{15000, {}}, QStringLiteral("9600,n,8,1")));
    QCOMPARE(link.lastError().kind, LinkError::Kind::NoSuchPort);
    qunsetenv("VELTRA_PORTS_DIR");
    QVERIFY(!link.send(CommandFrame::connectRequest()));
    QCOMPARE(link.lastError().kind, LinkError::Kind::NotOpen);
}

void TestSerialLink::secondOpenerFindsPortBusy()
{
    PtyPeer peer;
    QSerialPortLink first;
    QSerialPortLink second;
    QVERIFY(first.open(ptyPort(peer), QStringLiteral("9600,n,8,1")));
    QVERIFY(!second.open(ptyPort(peer), QStringLiteral("9600,n,8,1")));
    QCOMPARE(second.lastError().kind, LinkError::Kind::Busy);
    QVERIFY(second.lastError().reason().contains(QStringLiteral("busy")));
}

void TestSerialLink::reopenClosesFirst()
{
    PtyPeer peer;
    QSerialPortLink link;
    QVERIFY(link.open(ptyPort(peer), QStringLiteral("9600,n,8,1")));
    // A second Open on an open link must not fail on the link's own lock.
    QVERIFY2(link.open(ptyPort(peer), QStringLiteral("9600,n,8,1")), qPrintable(link.lastError().reason()));
    QVERIFY(link.isOpen());
}

void TestSerialLink::unpluggedDeviceIsReported()
{
    auto peer = std::make_unique<PtyPeer>();
    QSerialPortLink link;
    QVERIFY(link.open(ptyPort(*peer), QStringLiteral("9600,n,8,1")));
    peer->unplug();
    link.sleep(20);
    link.receiveAll();
    QCOMPARE(link.lastError().kind, LinkError::Kind::Io);
    QVERIFY(!link.send(CommandFrame::measureRequest()));
    QCOMPARE(link.lastError().kind, LinkError::Kind::Io);
    QVERIFY(!link.isOpen());
}

void TestSerialLink::checkConnectionKeepsWhatArrivedAndNoticesALoss()
{
    auto peer = std::make_unique<PtyPeer>();
    QSerialPortLink link;
    QVERIFY(link.open(ptyPort(*peer), QStringLiteral("9600,n,8,1")));
    peer->write("answer to a write");
    link.sleep(50);
    QVERIFY(link.checkConnection());
    QCOMPARE(link.receiveAll(), QStringLiteral("answer to a write"));

    peer->unplug();
    link.sleep(20);
    QVERIFY(!link.checkConnection());
    QCOMPARE(link.lastError().kind, LinkError::Kind::Io);
    QVERIFY(link.wasLost());
    QVERIFY(!link.isOpen());
    // Plain words, never the system's own error text.
    QVERIFY2(link.lastError().reason().contains(QStringLiteral("unplugged or stopped answering")),
             qPrintable(link.lastError().reason()));
    QVERIFY(link.lastError().reason().contains(peer->device()));
}

void TestSerialLink::reopenTakesTheSameDeviceNeverAnother()
{
    QTemporaryDir ports;
    qputenv("VELTRA_PORTS_DIR", ports.path().toLocal8Bit());
    const QString com5 = ports.filePath(QStringLiteral("com5"));
    auto first = std::make_unique<PtyPeer>();
    QVERIFY(QFile::link(first->device(), com5));

    QSerialPortLink link;
    QVERIFY(link.open(PortId{5, {}}, QStringLiteral("19200,n,8,1")));
    QCOMPARE(link.device(), first->device());
    first->unplug();
    link.sleep(20);
    link.receiveAll();
    QVERIFY(link.wasLost());

    // Gone, link and all: no other device stands in for port 5.
    QFile::remove(com5);
    first.reset();
    QVERIFY(!link.reopen(QStringLiteral("9600,n,8,1")));
    QVERIFY(!link.isOpen());
    QVERIFY(link.lastError().kind == LinkError::Kind::NoSuchPort || link.lastError().kind == LinkError::Kind::Io);

    // Back, behind the same number with a new device name.
    PtyPeer second;
    QVERIFY(QFile::link(second.device(), com5));
    QVERIFY2(link.reopen(QStringLiteral("9600,n,8,1")), qPrintable(link.lastError().reason()));
    QCOMPARE(link.device(), second.device());
    QCOMPARE(link.port()->number, 5);
    QVERIFY(link.port()->path.isEmpty());
    QCOMPARE(second.speed(), speed_t(B9600));
    QVERIFY(!link.wasLost());
    qunsetenv("VELTRA_PORTS_DIR");
}

void TestSerialLink::pathThatIsNoTerminalIsNotSerial()
{
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QSerialPortLink link;
    for (const QString &path :
         {QStringLiteral("/dev/null"), QStringLiteral("/dev/zero"), plain.fileName(), dir.path()}) {
        QVERIFY(!link.open(PortId{0, path}, QStringLiteral("9600,n,8,1")));
        QCOMPARE(link.lastError().kind, LinkError::Kind::NotSerial);
        QCOMPARE(link.lastError().reason(), QStringLiteral("%1 is not a serial device.").arg(path));
    }
}

void TestSerialLink::pauseZeroReturnsAtOnce()
{
    bool ran = false;
    QTimer::singleShot(0, this, [&] { ran = true; });
    Pause(0);
    Pause(-5);
    QVERIFY(!ran); // no events processed, so no wait either
    QTRY_VERIFY(ran);
}

void TestSerialLink::pauseWaitsAndPumpsEvents()
{
    int ticks = 0;
    QTimer timer;
    timer.setInterval(100);
    connect(&timer, &QTimer::timeout, this, [&] { ++ticks; });
    timer.start();
    QElapsedTimer clock;
    clock.start();
    Pause(1);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 990, qPrintable(QString::number(elapsed)));
    // Events were pumped throughout, and only for about a second: a slow
    // machine gives fewer ticks, never more.
    QVERIFY2(ticks >= 7 && ticks <= 12, qPrintable(QString::number(ticks)));
}

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
