// The connection handshake against a scripted link: order of steps, waits,
// the five rates, and every failure path.
#include "protocol/commandframe.h"
#include "scriptedlink.h"
#include "session/handshake.h"

#include <QTest>

using namespace veltra;

namespace {

// A sensor that answers the connect request only at its own line settings.
ScriptedLink::Responder sensorAt(const QString &lineSettings, const QByteArray &reply = "DVT-14C00\r\n")
{
    return [lineSettings, reply](const QByteArray &request, const QString &current) {
        if (request == CommandFrame::connectRequest() && current == lineSettings)
            return reply;
        return QByteArray();
    };
}

} // namespace

class TestHandshake : public QObject
{
    Q_OBJECT
private slots:
    void findsSensorAtEachRate_data();
    void findsSensorAtEachRate();
    void stepsComeInOrderWithTheirWaits();
    void noAnswerClosesThePort();
    void portTextThatIsNotAPortSendsNothing_data();
    void portTextThatIsNotAPortSendsNothing();
    void openFailureKeepsTheReason_data();
    void openFailureKeepsTheReason();
    void retryAfterFailureStartsFromTheTop();
    void replyFieldHoldsEachReply();
};

// clang-format off
void TestHandshake::findsSensorAtEachRate_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<int>("requests");
    QTest::newRow("9600") << "9600,n,8,1" << "9600" << 1;
    QTest::newRow("19200") << "19200,n,8,1" << "19200" << 2;
    QTest::newRow("38400") << "38400,n,8,1" << "38400" << 3;
    QTest::newRow("57600") << "57600,n,8,1" << "57600" << 4;
    QTest::newRow("115200") << "115200,n,8,1" << "115200" << 5;
}
// clang-format on

void TestHandshake::findsSensorAtEachRate()
{
    QFETCH(QString, settings);
    QFETCH(QString, baud);
    QFETCH(int, requests);
    ScriptedLink link;
    link.setResponder(sensorAt(settings));
    const HandshakeResult result = Handshake::run(link, QStringLiteral("3"), [](const QString &) {});
    QVERIFY(result.found());
    QCOMPARE(result.baudText, baud);
    QCOMPARE(link.sent().size(), requests);
    for (const QByteArray &request : link.sent())
        QCOMPARE(request, CommandFrame::connectRequest());
    QVERIFY(link.isOpen());
    QCOMPARE(link.lineSettings(), settings);
    QCOMPARE(link.openedPort().number, 3);
    QVERIFY(result.reason().isEmpty());
}

void TestHandshake::stepsComeInOrderWithTheirWaits()
{
    ScriptedLink link;
    link.setResponder(sensorAt(QStringLiteral("115200,n,8,1")));
    Handshake::run(link, QStringLiteral("1"), [](const QString &) {});
    const QStringList expected{
        "open 1 9600,n,8,1",
        "sleep 500",
        "send",
        "sleep 500",
        "receive",
        "settings 19200,n,8,1",
        "send",
        "sleep 200",
        "receive",
        "settings 38400,n,8,1",
        "send",
        "sleep 200",
        "receive",
        "settings 57600,n,8,1",
        "send",
        "sleep 200",
        "receive",
        "settings 115200,n,8,1",
        "send",
        "sleep 200",
        "receive",
    };
    QCOMPARE(link.journal(), expected);
}

void TestHandshake::noAnswerClosesThePort()
{
    ScriptedLink link;
    const HandshakeResult result = Handshake::run(link, QStringLiteral("1"), [](const QString &) {});
    QCOMPARE(result.outcome, HandshakeResult::Outcome::NoAnswer);
    QVERIFY(!link.isOpen());
    QCOMPARE(link.journal().last(), QStringLiteral("close"));
    QCOMPARE(link.sent().size(), 5);
    QCOMPARE(link.sleptMilliseconds(), 500 + 500 + 4 * 200);
    QVERIFY(result.reason().contains(QStringLiteral("No sensor answered")));
}

void TestHandshake::portTextThatIsNotAPortSendsNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("letters") << "COMx";
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   ";
}

void TestHandshake::portTextThatIsNotAPortSendsNothing()
{
    QFETCH(QString, text);
    ScriptedLink link;
    link.setResponder(sensorAt(QStringLiteral("9600,n,8,1")));
    const HandshakeResult result = Handshake::run(link, text, [](const QString &) {});
    QCOMPARE(result.outcome, HandshakeResult::Outcome::Error);
    QCOMPARE(result.error.kind, LinkError::Kind::BadPortText);
    QVERIFY(link.journal().isEmpty());
    QVERIFY(!result.reason().isEmpty());
}

void TestHandshake::openFailureKeepsTheReason_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("words");
    QTest::newRow("no such port") << int(LinkError::Kind::NoSuchPort) << "No such port";
    QTest::newRow("busy") << int(LinkError::Kind::Busy) << "busy";
    QTest::newRow("permission") << int(LinkError::Kind::PermissionDenied) << "dialout";
}

void TestHandshake::openFailureKeepsTheReason()
{
    QFETCH(int, kind);
    QFETCH(QString, words);
    ScriptedLink link;
    link.failNextOpen(LinkError::Kind(kind));
    const HandshakeResult result = Handshake::run(link, QStringLiteral("4"), [](const QString &) {});
    QCOMPARE(result.outcome, HandshakeResult::Outcome::Error);
    QVERIFY(link.sent().isEmpty());
    QVERIFY2(result.reason().contains(words), qPrintable(result.reason()));
}

void TestHandshake::retryAfterFailureStartsFromTheTop()
{
    ScriptedLink link;
    QCOMPARE(Handshake::run(link, QStringLiteral("2"), [](const QString &) {}).outcome,
             HandshakeResult::Outcome::NoAnswer);
    link.clearJournal();
    link.setResponder(sensorAt(QStringLiteral("38400,n,8,1")));
    const HandshakeResult second = Handshake::run(link, QStringLiteral("2"), [](const QString &) {});
    QVERIFY(second.found());
    QCOMPARE(second.baudText, QStringLiteral("38400"));
    QCOMPARE(link.journal().first(), QStringLiteral("open 2 9600,n,8,1"));
    QCOMPARE(link.sent().size(), 3);
}

void TestHandshake::replyFieldHoldsEachReply()
{
    ScriptedLink link;
    link.queueReply("garbage");
    link.queueReply("dvt ok");
    QStringList field;
    const HandshakeResult result = Handshake::run(link, QStringLiteral("1"), [&](const QString &t) { field << t; });
    QVERIFY(result.found());
    QCOMPARE(result.baudText, QStringLiteral("19200"));
    // Cleared before the first request, then each reply as it came.
    QCOMPARE(field, (QStringList{QString(), "garbage", "dvt ok"}));
}

QTEST_GUILESS_MAIN(TestHandshake)
#include "tst_handshake.moc"
