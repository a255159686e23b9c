// veltra-sim as a process: its pseudo-terminal seen through the program's
// own serial link, its comN link, its exit paths.
#include "linesettings.h"
#include "protocol/commandframe.h"
#include "qserialportlink.h"
#include "simprocess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace veltra;

namespace {

QString lineSettingsFor(int rate)
{
    return QStringLiteral("%1,n,8,1").arg(rate);
}

// Everything that arrives within the wait.
QString collect(SerialLink &link, int waitMs)
{
    QString text;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < waitMs) {
        QTest::qWait(20);
        text += link.receiveAll();
    }
    return text;
}

// Sends a request and collects what arrives within the wait.
QString exchange(SerialLink &link, const QByteArray &request, int waitMs)
{
    if (!link.send(request))
        return QStringLiteral("<send failed>");
    return collect(link, waitMs);
}

// Sends a request and waits until `marker` shows up, or the time is up.
QString exchangeUntil(SerialLink &link, const QByteArray &request, const QString &marker, int timeoutMs = 3000)
{
    if (!link.send(request))
        return QStringLiteral("<send failed>");
    QString text;
    QElapsedTimer clock;
    clock.start();
    while (!text.contains(marker) && clock.elapsed() < timeoutMs) {
        QTest::qWait(10);
        text += link.receiveAll();
    }
    return text;
}

} // namespace

class TestSimPty : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void answersOnlyAtItsRate_data();
    void answersOnlyAtItsRate();
    void followsAWrittenRate();
    void lateAnswersArriveLate();
    void runStateRaisesTheReceiveEvent();
    void portLinkLifecycle();
    void unplugAfterRequests();
    void badOptionsExitWithTwo_data();
    void badOptionsExitWithTwo();
};

void TestSimPty::initTestCase()
{
    const QString sim = qEnvironmentVariable("VELTRA_SIM");
    QVERIFY2(!sim.isEmpty(), "VELTRA_SIM must name the built veltra-sim (ctest sets it)");
    QVERIFY2(QFileInfo(sim).isExecutable(), qPrintable(sim));
}

void TestSimPty::answersOnlyAtItsRate_data()
{
    QTest::addColumn<int>("simRate");
    QTest::addColumn<int>("openRate");

    QTest::newRow("9600 at 9600") << 9600 << 9600;
    QTest::newRow("115200 at 115200") << 115200 << 115200;
    QTest::newRow("9600 at 19200") << 9600 << 19200;
    QTest::newRow("38400 at 9600") << 38400 << 9600;
}

void TestSimPty::answersOnlyAtItsRate()
{
    QFETCH(int, simRate);
    QFETCH(int, openRate);

    QTemporaryDir ports;
    Sim sim(ports);
    const QString device = sim.start({"--model", "21", "--baud", QString::number(simRate), "--port", "4"});
    QVERIFY(device.startsWith(QLatin1String("/dev/")));

    QSerialPortLink link;
    QVERIFY2(link.open(PortId{4, {}}, lineSettingsFor(openRate)), qPrintable(link.lastError().reason()));
    if (openRate != simRate) {
        QCOMPARE(exchange(link, CommandFrame::connectRequest(), 300), QString());
        // Same port, the handshake's next step: the rate alone was the reason.
        QVERIFY(link.setSettings(lineSettingsFor(simRate)));
    }
    const QString reply = exchangeUntil(link, CommandFrame::connectRequest(), QStringLiteral("\r\n"));
    QVERIFY2(CommandFrame::isConnectReply(reply), qPrintable(reply));
    QCOMPARE(exchangeUntil(link, CommandFrame::readSettingsRequest(), QStringLiteral(" 10")),
             QStringLiteral("%1  1  0 12  8 26 21  1 44  1 24  0 50  0250  8 10")
                 .arg(QString::fromLatin1(baudRowForRate(simRate)->code)));
}

void TestSimPty::followsAWrittenRate()
{
    QTemporaryDir ports;
    Sim sim(ports);
    QVERIFY(!sim.start({"--model", "90", "--port", "2"}).isEmpty());

    QSerialPortLink link;
    QVERIFY(link.open(PortId{2, {}}, lineSettingsFor(9600)));
    // Baud code 50 (38400), slave 17, OGR 1, date 12/24/0, model 90, E 200,
    // F 300, switch point 150, Hi DO 250.
    QByteArray payload;
    for (int b : {50, 17, 1, 12, 24, 0, 90, 0, 200, 1, 44, 0, 150, 0, 250})
        payload.append(static_cast<char>(b));
    QVERIFY(link.send(CommandFrame::writeSettingsRequest(payload)));
    link.sleep(500); // as the program does before it follows the rate
    QCOMPARE(exchange(link, CommandFrame::readSettingsRequest(), 300), QString());
    QVERIFY(link.setSettings(lineSettingsFor(38400)));
    QCOMPARE(exchangeUntil(link, CommandFrame::readSettingsRequest(), QStringLiteral("250")),
             QStringLiteral(" 50 17  1 12 24  0 90  0200  1 44  0150  0250"));
}

void TestSimPty::lateAnswersArriveLate()
{
    QTemporaryDir ports;
    Sim sim(ports);
    QVERIFY(!sim.start({"--late", "600"}).isEmpty());

    QSerialPortLink link;
    QVERIFY(link.open(PortId{1, {}}, lineSettingsFor(9600)));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(exchange(link, CommandFrame::measureRequest(), 200), QString());
    QString text;
    while (!text.contains(u'\n') && clock.elapsed() < 3000) {
        QTest::qWait(10);
        text += link.receiveAll();
    }
    QCOMPARE(text, QStringLiteral("R00100cm025\r\n"));
    QVERIFY2(clock.elapsed() >= 600, qPrintable(QString::number(clock.elapsed())));
}

void TestSimPty::runStateRaisesTheReceiveEvent()
{
    QTemporaryDir ports;
    Sim sim(ports);
    QVERIFY(!sim.start({"--model", "81", "--distance", "321"}).isEmpty());

    QSerialPortLink link;
    QVERIFY(link.open(PortId{1, {}}, lineSettingsFor(9600)));
    QSignalSpy events(&link, &SerialLink::receiveEvent);
    QVERIFY(link.send(CommandFrame::runRequest()));
    QTRY_VERIFY_WITH_TIMEOUT(!events.isEmpty(), 2000);
    QCOMPARE(events.first().first().toInt(), SerialLink::kEventReceive);
    QTest::qWait(250);
    const QString stream = link.receiveAll();
    QVERIFY2(stream.startsWith(QLatin1String("R00321cm025\r\nR00321cm025\r\n")), qPrintable(stream));

    // A connect ends the stream; what was already on its way may still come.
    QVERIFY(exchangeUntil(link, CommandFrame::connectRequest(), QStringLiteral("DVT")).contains(u"DVT"));
    QTest::qWait(50);
    link.receiveAll();
    QCOMPARE(collect(link, 300), QString());
}

void TestSimPty::portLinkLifecycle()
{
    QTemporaryDir ports;
    const QString stale = ports.path() + QStringLiteral("/com3");
    QVERIFY(QFile::link(QStringLiteral("/dev/pts/no-such-device"), stale));

    Sim sim(ports);
    const QString device = sim.start({"--port", "3"});
    QVERIFY(!device.isEmpty());
    const QFileInfo link(sim.linkPath(3));
    QVERIFY(link.isSymLink());
    QCOMPARE(link.symLinkTarget(), device);
    QVERIFY(QFileInfo::exists(device));

    sim.process().terminate();
    QVERIFY(sim.process().waitForFinished(3000));
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process().exitCode(), 0);
    QVERIFY(!QFileInfo(sim.linkPath(3)).isSymLink());
    QVERIFY(QFileInfo::exists(ports.path())); // the folder itself stays
}

void TestSimPty::unplugAfterRequests()
{
    QTemporaryDir ports;
    Sim sim(ports);
    QVERIFY(!sim.start({"--unplug-after", "2"}).isEmpty());

    QSerialPortLink link;
    QVERIFY(link.open(PortId{1, {}}, lineSettingsFor(9600)));
    QVERIFY(exchangeUntil(link, CommandFrame::connectRequest(), QStringLiteral("\n")).contains(u"DVT"));
    QVERIFY(sim.process().state() == QProcess::Running);
    // The last answer waits for the program's read before the device goes,
    // even when the program reads only after its fixed sleep.
    QVERIFY(link.send(CommandFrame::measureRequest()));
    link.sleep(500);
    QCOMPARE(link.receiveAll(), QStringLiteral("R00100cm025\r\n"));
    QVERIFY(sim.process().waitForFinished(3000));
    QCOMPARE(sim.process().exitCode(), 0);
    QVERIFY(!QFileInfo(sim.linkPath(1)).isSymLink());

    // The program sees its device vanish: its link notices the hang-up and
    // closes, and nothing more can be sent.
    QTRY_VERIFY_WITH_TIMEOUT(!link.isOpen(), 2000);
    QVERIFY(!link.send(CommandFrame::connectRequest()));
}

void TestSimPty::badOptionsExitWithTwo_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("rate") << QStringList{"--baud", "4800"};
    QTest::newRow("model") << QStringList{"--model", "300"};
    QTest::newRow("unknown option") << QStringList{"--frobnicate"};
}

void TestSimPty::badOptionsExitWithTwo()
{
    QFETCH(QStringList, arguments);

    QTemporaryDir ports;
    Sim sim(ports);
    QCOMPARE(sim.start(arguments), QString());
    QTRY_COMPARE_WITH_TIMEOUT(sim.process().state(), QProcess::NotRunning, 3000);
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process().exitCode(), 2);
    QVERIFY(!sim.process().readAllStandardError().isEmpty());
    QVERIFY(QDir(ports.path()).isEmpty()); // no link made
}

QTEST_GUILESS_MAIN(TestSimPty)
#include "tst_simpty.moc"
