// SensorSession: the one object that talks to a sensor, for the windows and
// the command line. Every exchange keeps its request, wait and order; what
// it learns is announced; a failed port is reported, not passed over. Also
// the settings-block description every part of the program reads.
#include "protocol/commandframe.h"
#include "protocol/settingsblock.h"
#include "replies.h"
#include "scriptedlink.h"
#include "session/sensorsession.h"

#include <QSignalSpy>
#include <QTest>

using namespace veltra;

namespace {

// A sensor that answers the connect request only at one rate.
ScriptedLink::Responder sensorAt(const QString &lineSettings)
{
    return [lineSettings](const QByteArray &request, const QString &current) {
        if (request == CommandFrame::connectRequest() && current == lineSettings)
            return QByteArray("DVT-14C00\r\n");
        return QByteArray();
    };
}

QStringList namesOf(SensorFamily family)
{
    QStringList names;
    for (const BlockSetting &setting : blockSettings(family))
        names << QLatin1String(setting.name);
    return names;
}

} // namespace

class TestSession : public QObject
{
    Q_OBJECT
private slots:
    void handshakeAnnouncesEachReplyAndTheRate();
    void handshakeWithoutSensorSaysWhy();
    void exchangesKeepTheirRequestsAndWaits();
    void identifyAnnouncesOnlyWholeBlocks();
    void readBlockRefusesDamagedReplies();
    void lostPortIsReportedAndOpenedAgain();
    void blockDescriptionCoversEveryField();
};

void TestSession::handshakeAnnouncesEachReplyAndTheRate()
{
    ScriptedLink link;
    link.setResponder(sensorAt(QStringLiteral("38400,n,8,1")));
    SensorSession session(link);
    QSignalSpy replies(&session, &SensorSession::replyReceived);
    QSignalSpy connected(&session, &SensorSession::connected);

    const HandshakeResult result = session.handshake(QStringLiteral("1"));

    QVERIFY(result.found());
    QCOMPARE(result.baudText, QStringLiteral("38400"));
    // Cleared once the port is open, then one reply per rate tried.
    QStringList texts;
    for (const QList<QVariant> &args : replies)
        texts << args.at(0).toString();
    QCOMPARE(texts, (QStringList{"", "", "", "DVT-14C00\r\n"}));
    QCOMPARE(connected.count(), 1);
    QCOMPARE(connected.at(0).at(0).toString(), QStringLiteral("38400"));
    QCOMPARE(session.baudText(), QStringLiteral("38400"));
    QCOMPARE(session.lastReply(), QStringLiteral("DVT-14C00\r\n"));
    QCOMPARE(session.failure().kind, SessionFailure::Kind::None);
}

void TestSession::handshakeWithoutSensorSaysWhy()
{
    ScriptedLink link;
    SensorSession session(link);
    QSignalSpy connected(&session, &SensorSession::connected);

    QVERIFY(!session.connectTo(QStringLiteral("1")));
    QCOMPARE(connected.count(), 0);
    QCOMPARE(session.failure().kind, SessionFailure::Kind::NoSensor);
    QVERIFY(session.failure().message.startsWith(QStringLiteral("No sensor answered")));
    QVERIFY(!link.isOpen());

    // A port that cannot be opened is a port failure, with the link's reason.
    link.failNextOpen(LinkError::Kind::Busy);
    QVERIFY(!session.connectTo(QStringLiteral("1")));
    QCOMPARE(session.failure().kind, SessionFailure::Kind::Link);
    QCOMPARE(session.failure().linkError.kind, LinkError::Kind::Busy);

    // A baud rate that is not one of the five names nothing to open.
    QVERIFY(!session.connectTo(QStringLiteral("1"), QStringLiteral("4800")));
    QCOMPARE(session.failure().kind, SessionFailure::Kind::BadRequest);
}

void TestSession::exchangesKeepTheirRequestsAndWaits()
{
    ScriptedLink link;
    SensorSession session(link);
    QVERIFY(session.connectTo(QStringLiteral("1"), QStringLiteral("19200")));
    QCOMPARE(link.journal(), (QStringList{"open 1 19200,n,8,1", "sleep 500"}));

    const auto check = [&link](const QStringList &journal, const QList<QByteArray> &sent) {
        QCOMPARE(link.journal(), journal);
        QCOMPARE(link.sent(), sent);
        link.clearJournal();
    };
    link.clearJournal();

    link.queueReply(levelReply(40, 21));
    QCOMPARE(session.readReply(), std::optional<QString>(QString::fromLatin1(levelReply(40, 21))));
    check({"send", "sleep 500", "receive"}, {CommandFrame::readSettingsRequest()});

    link.queueReply("R00250xx 25");
    QCOMPARE(session.measure(), std::optional<QString>(QStringLiteral("R00250xx 25")));
    check({"send", "sleep 500", "receive"}, {CommandFrame::measureRequest()});

    const QByteArray request = CommandFrame::writeSettingsRequest(QByteArray(16, '\1'));
    QVERIFY(session.write(request));
    check({"send", "sleep 500"}, {request});

    // A model without a write layout sends nothing, but waits the same.
    QVERIFY(session.write({}));
    check({"sleep 500"}, {});

    QVERIFY(session.switchRate({}));
    check({}, {});
    QVERIFY(session.switchRate(QStringLiteral("9600,n,8,1")));
    check({"settings 9600,n,8,1"}, {});

    QVERIFY(session.followWrite(QStringLiteral("19200,n,8,1")));
    check({"settings 19200,n,8,1", "receive"}, {});

    QVERIFY(session.run());
    check({"send", "sleep 200", "check"}, {CommandFrame::runRequest()});

    session.close();
    check({"close"}, {});
}

void TestSession::identifyAnnouncesOnlyWholeBlocks()
{
    ScriptedLink link;
    SensorSession session(link);
    QVERIFY(session.connectTo(QStringLiteral("1"), QStringLiteral("9600")));
    QSignalSpy identified(&session, &SensorSession::identified);

    link.queueReply(levelReply(40, 21));
    const std::optional<Identification> level = session.identify();
    QVERIFY(level);
    QCOMPARE(level->modelCode, QStringLiteral("21"));
    QCOMPARE(level->window, ModelWindow::Level);
    QCOMPARE(identified.count(), 1);
    QCOMPARE(identified.at(0).at(0).value<Identification>().modelCode, QStringLiteral("21"));

    // One stray character in front shifts every field: no model, no announcement.
    link.queueReply("x" + levelReply(40, 21));
    const std::optional<Identification> damaged = session.identify();
    QVERIFY(damaged);
    QVERIFY(damaged->damaged);
    QCOMPARE(identified.count(), 1);
    QCOMPARE(session.lastReply(), QStringLiteral("x") + QString::fromLatin1(levelReply(40, 21)));
}

void TestSession::readBlockRefusesDamagedReplies()
{
    ScriptedLink link;
    SensorSession session(link);
    QVERIFY(session.connectTo(QStringLiteral("1"), QStringLiteral("9600")));

    link.queueReply(levelReply(30, 105, 1));
    const std::optional<SensorSettings> block = session.readSettings();
    QVERIFY(block);
    QCOMPARE(block->family(), SensorFamily::Level);
    QCOMPARE(block->value(Setting::Resolution), 1);
    QCOMPARE(block->value(Setting::Empty), 1 * 256 + 44);

    link.queueReply(levelReply(30, 105).left(40));
    QVERIFY(!session.readSettings());
    QCOMPARE(session.failure().kind, SessionFailure::Kind::Damaged);
    QVERIFY(session.failure().message.contains(QStringLiteral("cut short after 40 characters")));
}

void TestSession::lostPortIsReportedAndOpenedAgain()
{
    ScriptedLink link;
    SensorSession session(link);

    // Never opened: nothing to open again; the exchange reports it.
    QVERIFY(session.reopenIfLost(QStringLiteral("19200")));
    QVERIFY(link.journal().isEmpty());
    QVERIFY(!session.readReply());
    QCOMPARE(session.linkError().kind, LinkError::Kind::NotOpen);

    QVERIFY(session.connectTo(QStringLiteral("1"), QStringLiteral("9600")));
    link.unplug();
    QVERIFY(!session.measure());
    QCOMPARE(session.failure().kind, SessionFailure::Kind::Link);
    QVERIFY(!session.isOpen());
    QVERIFY(!session.run());
    QVERIFY(!session.checkConnection());

    // Opened again at the rate asked for, else the rate it last ran at.
    link.clearJournal();
    QVERIFY(session.reopenIfLost(QStringLiteral("19200")));
    QCOMPARE(link.journal(), QStringList{"open 1 19200,n,8,1"});
    QVERIFY(session.isOpen());
    link.unplug();
    link.clearJournal();
    QVERIFY(session.reopenIfLost(QStringLiteral("NON")));
    QCOMPARE(link.journal(), QStringList{"open 1 19200,n,8,1"});

    // Still gone: the failure is the link's.
    link.unplug();
    link.failNextOpen(LinkError::Kind::NoSuchPort);
    QVERIFY(!session.reopenIfLost(QStringLiteral("9600")));
    QCOMPARE(session.linkError().kind, LinkError::Kind::NoSuchPort);
}

void TestSession::blockDescriptionCoversEveryField()
{
    QCOMPARE(namesOf(SensorFamily::Level), (QStringList{"baud", "slave", "ogr", "month", "day", "year", "model",
                                                        "empty", "full", "low-do", "hi-do", "omb", "resolution"}));
    QCOMPARE(namesOf(SensorFamily::Distance), (QStringList{"baud", "slave", "ogr", "month", "day", "year", "model",
                                                           "empty", "full", "switch", "hi-do"}));
    QCOMPARE(blockFieldCount(SensorFamily::Level), 17);
    QCOMPARE(blockFieldCount(SensorFamily::Distance), 15);

    // Each family's settings cover its fields once each, in order, with no gap.
    for (SensorFamily family : {SensorFamily::Level, SensorFamily::Distance}) {
        int next = 1;
        for (const BlockSetting &setting : blockSettings(family)) {
            QCOMPARE(setting.field, next);
            QCOMPARE(blockSetting(setting.id).name, setting.name);
            next = setting.lastField() + 1;
        }
        QCOMPARE(next, blockFieldCount(family) + 1);
    }
    QCOMPARE(fieldOf(Setting::Model), 7);
    QCOMPARE(fieldOf(Setting::Switch), fieldOf(Setting::LowDo));
    QVERIFY(!findBlockSetting(SensorFamily::Distance, QStringLiteral("omb")));
    QVERIFY(!findBlockSetting(SensorFamily::Level, QStringLiteral("switch")));
    QCOMPARE(findBlockSetting(SensorFamily::Level, QStringLiteral("hi-do"))->field, 14);
}

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
