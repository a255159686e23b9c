// The simulated sensor's protocol side: factory settings, replies, stored
// writes, rates, framing and faults, driven without a terminal.
#include "protocol/commandframe.h"
#include "protocol/modelcatalogue.h"
#include "simoptions.h"
#include "simsensor.h"

#include <QTest>

#include <initializer_list>

using namespace veltra;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

QByteArray request(Command command)
{
    return CommandFrame::build(command);
}

// The write request of a level sensor: baud 19200, slave 5, OGR 2, date
// 6/15/3, model 105, Empty 250, Full 30, Low DO 100, Hi DO 200, OMB 4, cm.
const QByteArray kLevelPayload = bytes({40, 5, 2, 6, 15, 3, 105, 0, 250, 0, 30, 0, 100, 0, 200, 4, 10});
const QByteArray kLevelReply = " 40  5  2  6 15  3105  0250  0 30  0100  0200  4 10";

// A distance block: 9600, slave 17, OGR 1, 5/12/24, E 200, F 300,
// switch point 150, Hi DO 250.
const QByteArray kDistancePayload = bytes({30, 17, 1, 5, 12, 24, 90, 0, 200, 1, 44, 0, 150, 0, 250});
const QByteArray kDistanceReply = " 30 17  1  5 12 24 90  0200  1 44  0150  0250";

QByteArray withBaudCode(QByteArray payload, int code)
{
    payload[0] = static_cast<char>(code);
    return payload;
}

QStringList args(const QString &line)
{
    QStringList list{QStringLiteral("veltra-sim")};
    if (!line.isEmpty())
        list += line.split(u' ');
    return list;
}

} // namespace

class TestSimSensor : public QObject
{
    Q_OBJECT
private slots:
    void settingsReplyOfFreshSensor_data();
    void settingsReplyOfFreshSensor();
    void fieldsFromTheCommandLine_data();
    void fieldsFromTheCommandLine();
    void commandLineChecks_data();
    void commandLineChecks();
    void measurementText_data();
    void measurementText();
    void distanceWave();
    void everyModelAnswersConnectWithTheFamily_data();
    void everyModelAnswersConnectWithTheFamily();
    void defaultsComeFromTheCatalogue_data();
    void defaultsComeFromTheCatalogue();
    void everyCodeIdentificationAcceptsStarts();

    void writeFramesAreStored_data();
    void writeFramesAreStored();
    void shortWriteFollowedAtOnceByARequest();
    void incompleteWriteIsDropped_data();
    void incompleteWriteIsDropped();
    void rateAfterWrite_data();
    void rateAfterWrite();
    void requestAfterRateChangeInSameReadIsNotHeard();

    void wrongRateIsNotHeard_data();
    void wrongRateIsNotHeard();
    void wrongRateSpoilsAFrameInProgress();
    void framing_data();
    void framing();

    void prefixGoesInFrontOfTheNthAnswerOnly();
    void faultsShapeEveryAnswer_data();
    void faultsShapeEveryAnswer();
    void silentSensorStillStoresWrites();
    void unplugAfterRequests_data();
    void unplugAfterRequests();
    void runState_data();
    void runState();
};

void TestSimSensor::settingsReplyOfFreshSensor_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<int>("baud");
    QTest::addColumn<QByteArray>("expected");

    // Listed level models: Empty and Full at the catalogue limits, Low DO
    // 50 and Hi DO 250 (or 500 and 2500 mm).
    QTest::newRow("level, centimetres") << 21 << 10 << 9600
                                        << QByteArray(" 30  1  0 12  8 26 21  1 44  1 24  0 50  0250  8 10");
    QTest::newRow("level, millimetres") << 37 << 1 << 38400
                                        << QByteArray(" 50  1  0 12  8 26 37 23112 22 68  1244  9196  8  1");
    QTest::newRow("centimetre model told millimetres keeps its row")
        << 33 << 1 << 38400 << QByteArray(" 50  1  0 12  8 26 33  2 88  2 58  0 50  0250  8  1");
    QTest::newRow("distance") << 90 << 10 << 19200 << QByteArray(" 40  1  1 12  8 26 90  0  0  0  0  0150  0  0");
    QTest::newRow("unlisted code 0") << 0 << 10 << 115200
                                     << QByteArray(" 70  1  0 12  8 26  0  1 44  0 30  0 50  0250  8 10");
    QTest::newRow("unlisted code 255") << 255 << 10 << 57600
                                       << QByteArray(" 60  1  0 12  8 26255  1 44  0 30  0 50  0250  8 10");
}

void TestSimSensor::settingsReplyOfFreshSensor()
{
    QFETCH(int, model);
    QFETCH(int, resolution);
    QFETCH(int, baud);
    QFETCH(QByteArray, expected);

    SimSensor sensor(model, resolution, baud);
    QCOMPARE(sensor.receive(request(Command::ReadSettings), baud), expected);
}

void TestSimSensor::fieldsFromTheCommandLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("level block")
        << "--model 20 --set slave=5 --set month=1 --set day=15 --set year=98 --set empty=300 --set full=250 "
           "--set lowdo=50 --set hido=90"
        << QByteArray(" 30  5  0  1 15 98 20  1 44  0250  0 50  0 90  8 10");
    QTest::newRow("distance block")
        << "--model 90 --set slave=17 --set ogr=1 --set month=5 --set day=12 --set year=24 --set empty=200 "
           "--set full=300 --set switch=150 --set hido=250"
        << kDistanceReply;
    QTest::newRow("codes and the largest word")
        << "--model 106 --resolution 1 --baud 57600 --set ogr=2 --set omb=4 --set empty=65535 --set hido=256"
        << QByteArray(" 60  1  2 12  8 26106255255 21224  1244  1  0  4  1");
    QTest::newRow("stored baud code apart from the rate")
        << "--model 21 --baud 19200 --set baud=0" << QByteArray("  0  1  0 12  8 26 21  1 44  1 24  0 50  0250  8 10");
    QTest::newRow("field names ignore case") << "--model 21 --set SLAVE=247 --set Resolution=1"
                                             << QByteArray(" 30247  0 12  8 26 21  1 44  1 24  0 50  0250  8  1");
}

void TestSimSensor::fieldsFromTheCommandLine()
{
    QFETCH(QString, line);
    QFETCH(QByteArray, expected);

    const SimCommandLine parsed = parseSimCommandLine(args(line));
    QCOMPARE(parsed.text, QString());
    QCOMPARE(parsed.outcome, SimCommandLine::Outcome::Run);
    SimSensor sensor = makeSimSensor(parsed.options);
    QCOMPARE(sensor.receive(request(Command::ReadSettings), parsed.options.baud), expected);
}

void TestSimSensor::commandLineChecks_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<SimCommandLine::Outcome>("outcome");

    using O = SimCommandLine::Outcome;
    QTest::newRow("no options") << "" << O::Run;
    QTest::newRow("help") << "--help" << O::Help;
    QTest::newRow("every fault") << "--late 300 --short 4 --noise 2 --silent --unplug-after 3" << O::Run;
    QTest::newRow("cold sensor") << "--temperature -99 --distance 99999" << O::Run;
    QTest::newRow("rate outside the table") << "--baud 4800" << O::Error;
    QTest::newRow("rate not a number") << "--baud fast" << O::Error;
    QTest::newRow("model above a byte") << "--model 256" << O::Error;
    QTest::newRow("negative model") << "--model -1" << O::Error;
    QTest::newRow("resolution neither 10 nor 1") << "--resolution 5" << O::Error;
    QTest::newRow("resolution of the distance model") << "--model 90 --resolution 1" << O::Error;
    QTest::newRow("level code without a row") << "--model 112" << O::Run;
    QTest::newRow("level code without a row, millimetres") << "--model 109 --resolution 1" << O::Run;
    QTest::newRow("OMB of the distance model") << "--model 90 --set omb=8" << O::Error;
    QTest::newRow("unknown field") << "--set depth=3" << O::Error;
    QTest::newRow("field without value") << "--set slave" << O::Error;
    QTest::newRow("byte field above 255") << "--set slave=256" << O::Error;
    QTest::newRow("word above 65535") << "--set empty=65536" << O::Error;
    QTest::newRow("port 0") << "--port 0" << O::Error;
    QTest::newRow("unplug after none") << "--unplug-after 0" << O::Error;
    QTest::newRow("too cold") << "--temperature -100" << O::Error;
    QTest::newRow("too far") << "--distance 100000" << O::Error;
    QTest::newRow("unknown option") << "--frobnicate" << O::Error;
    QTest::newRow("stray argument") << "extra" << O::Error;
    QTest::newRow("prefix") << "--prefix read:2:\\x20 --prefix measure:1:R0025" << O::Run;
    QTest::newRow("prefix of an unknown command") << "--prefix write:1:x" << O::Error;
    QTest::newRow("prefix of the 0th answer") << "--prefix read:0:x" << O::Error;
    QTest::newRow("prefix without text") << "--prefix read:1:" << O::Error;
    QTest::newRow("prefix with a bad escape") << "--prefix read:1:\\q" << O::Error;
    QTest::newRow("prefix with a cut escape") << "--prefix read:1:\\x2" << O::Error;
}

void TestSimSensor::prefixGoesInFrontOfTheNthAnswerOnly()
{
    const SimCommandLine parsed = parseSimCommandLine(args(
        QStringLiteral("--model 21 --prefix read:2:\\x20 --prefix read:3:7\\r\\n --prefix measure:1:~ --noise 1")));
    QCOMPARE(parsed.text, QString());
    SimSensor sensor = makeSimSensor(parsed.options);
    const QByteArray block = sensor.settingsReply();
    QCOMPARE(sensor.receive(request(Command::ReadSettings), 9600), "~" + block);
    QCOMPARE(sensor.receive(request(Command::ReadSettings), 9600), " ~" + block);
    QCOMPARE(sensor.receive(request(Command::ReadSettings), 9600), "7\r\n~" + block);
    QCOMPARE(sensor.receive(request(Command::ReadSettings), 9600), "~" + block);
    // Counted per command: the first measurement answer is measure's first.
    QCOMPARE(sensor.receive(request(Command::Measure), 9600), "~~" + sensor.measurementText());
    QCOMPARE(sensor.receive(request(Command::Measure), 9600), "~" + sensor.measurementText());
}

void TestSimSensor::commandLineChecks()
{
    QFETCH(QString, line);
    QFETCH(SimCommandLine::Outcome, outcome);

    const SimCommandLine parsed = parseSimCommandLine(args(line));
    QCOMPARE(parsed.outcome, outcome);
    // Errors and help always come with a text for the user; a run has none.
    QCOMPARE(parsed.text.isEmpty(), outcome == SimCommandLine::Outcome::Run);
}

void TestSimSensor::distanceWave()
{
    SimDistanceWave sine{SimDistanceWave::Shape::Sine, 50, 40};
    QCOMPARE(sine.distanceAt(200, 0), 200);
    QCOMPARE(sine.distanceAt(200, 10'000), 250); // a quarter period
    QCOMPARE(sine.distanceAt(200, 30'000), 150);
    QCOMPARE(sine.distanceAt(200, 40'000), 200); // and again
    QCOMPARE(sine.distanceAt(20, 30'000), 0);    // kept at 0 and above
    SimDistanceWave ramp{SimDistanceWave::Shape::Ramp, 40, 4};
    QCOMPARE(ramp.distanceAt(100, 0), 100);
    QCOMPARE(ramp.distanceAt(100, 3'000), 130);
    QCOMPARE(ramp.distanceAt(100, 4'000), 100);
    QCOMPARE(ramp.distanceAt(99990, 3'000), 99999);
    QCOMPARE(SimDistanceWave().distanceAt(123, 5'000), 123);

    // The measure answer follows the clock.
    SimSensor sensor(21, 10, 9600);
    sensor.setDistance(200);
    qint64 now = 0;
    sensor.setDistanceWave(sine);
    sensor.setClock([&now] { return now; });
    QVERIFY(sensor.measurementText().startsWith("R00200"));
    now = 10'000;
    QVERIFY(sensor.measurementText().startsWith("R00250"));

    // From the command line.
    const SimCommandLine line = parseSimCommandLine({"veltra-sim", "--wave", "ramp:40:2.5"});
    QCOMPARE(int(line.outcome), int(SimCommandLine::Outcome::Run));
    QCOMPARE(int(line.options.wave.shape), int(SimDistanceWave::Shape::Ramp));
    QCOMPARE(line.options.wave.amplitude, 40);
    QCOMPARE(line.options.wave.periodSeconds, 2.5);
    for (const char *bad : {"sine:50", "square:5:5", "sine:-1:5", "sine:5:0", "ramp:5:x"})
        QCOMPARE(int(parseSimCommandLine({"veltra-sim", "--wave", bad}).outcome), int(SimCommandLine::Outcome::Error));
}

void TestSimSensor::measurementText_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<int>("distance");
    QTest::addColumn<int>("temperature");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("level, cm") << 21 << 10 << 250 << 25 << QByteArray("R00250cm025\r\n");
    QTest::newRow("level, mm") << 106 << 1 << 2500 << 7 << QByteArray("R02500mm007\r\n");
    QTest::newRow("distance, zeros") << 90 << 10 << 0 << 0 << QByteArray("R00000cm000\r\n");
    QTest::newRow("largest values") << 90 << 10 << 99999 << 999 << QByteArray("R99999cm999\r\n");
    QTest::newRow("below freezing") << 21 << 10 << 250 << -5 << QByteArray("R00250cm-05\r\n");
}

void TestSimSensor::measurementText()
{
    QFETCH(int, model);
    QFETCH(int, resolution);
    QFETCH(int, distance);
    QFETCH(int, temperature);
    QFETCH(QByteArray, expected);

    SimSensor sensor(model, resolution, 9600);
    QVERIFY(sensor.setDistance(distance));
    QVERIFY(sensor.setTemperature(temperature));
    QCOMPARE(sensor.receive(request(Command::Measure), 9600), expected);
}

void TestSimSensor::everyModelAnswersConnectWithTheFamily_data()
{
    QTest::addColumn<int>("model");
    for (int model : {0, 20, 81, 90, 108, 112, 255})
        QTest::addRow("code %d", model) << model;
}

void TestSimSensor::everyModelAnswersConnectWithTheFamily()
{
    QFETCH(int, model);
    SimSensor sensor(model, 10, 38400);
    const QByteArray reply = sensor.receive(request(Command::Connect), 38400);
    QVERIFY2(CommandFrame::isConnectReply(QString::fromLatin1(reply)), reply.constData());
    QVERIFY(reply.endsWith("\r\n"));
}

// clang-format off
void TestSimSensor::defaultsComeFromTheCatalogue_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("identity"); // connect reply without the line end
    QTest::addColumn<int>("empty");
    QTest::addColumn<int>("full");
    QTest::addColumn<int>("resolution"); // -1: the block has no such field
    QTest::addColumn<int>("distance");

    QTest::newRow("DVT-14C00") << "--model 20" << QByteArray("DVT-SIM DVT-14C00 V7") << 300 << 280 << 10 << 100;
    QTest::newRow("DVT-14M00 reports mm") << "--model 24" << QByteArray("DVT-SIM DVT-14M00 V7") << 3000 << 2800 << 1
                                          << 1000;
    QTest::newRow("DVT-18M11") << "--model 47" << QByteArray("DVT-SIM DVT-18M11 V7") << 10000 << 9500 << 1 << 1000;
    QTest::newRow("DVT-19C11") << "--model 53" << QByteArray("DVT-SIM DVT-19C11 V7") << 1500 << 1440 << 10 << 100;
    QTest::newRow("DVQ-32M00") << "--model 64" << QByteArray("DVT-SIM DVQ-32M00 V7") << 2000 << 1500 << 1 << 1000;
    QTest::newRow("DVQ-34C11") << "--model 73" << QByteArray("DVT-SIM DVQ-34C11 V7") << 400 << 350 << 10 << 100;
    QTest::newRow("DVK-16") << "--model 81" << QByteArray("DVT-SIM DVK-16 V7") << 600 << 570 << 10 << 100;
    QTest::newRow("DVT-19C-1") << "--model 104" << QByteArray("DVT-SIM DVT-19C-1 V7") << 1500 << 1440 << 10 << 100;
    QTest::newRow("105 in cm unless told") << "--model 105" << QByteArray("DVT-SIM DVT-14 V7") << 300 << 270 << 10
                                           << 100;
    QTest::newRow("105 mm") << "--model 105 --resolution 1" << QByteArray("DVT-SIM DVT-14 V7") << 3000 << 2700 << 1
                            << 1000;
    QTest::newRow("106 cm: limit 560") << "--model 106 --resolution 10" << QByteArray("DVT-SIM DVT-16 V7") << 600
                                       << 560 << 10 << 100;
    QTest::newRow("106 mm: limit 5600") << "--model 106 --resolution 1" << QByteArray("DVT-SIM DVT-16 V7") << 6000
                                        << 5600 << 1 << 1000;
    QTest::newRow("107 mm") << "--model 107 --resolution 1" << QByteArray("DVT-SIM DVT-18 V7") << 10000 << 9500 << 1
                            << 1000;
    QTest::newRow("DVT-19 fixed") << "--model 108" << QByteArray("DVT-SIM DVT-19 V7") << 1200 << 1150 << 10 << 100;
    // An explicit code is stored as it is; the row still gives the values.
    QTest::newRow("millimetre model told cm") << "--model 24 --resolution 10" << QByteArray("DVT-SIM DVT-14M00 V7")
                                              << 3000 << 2800 << 10 << 1000;
    // Codes without a row keep the generic block.
    QTest::newRow("109 generic") << "--model 109" << QByteArray("DVT-SIM 109 V7") << 300 << 30 << 10 << 100;
    QTest::newRow("112 generic mm") << "--model 112 --resolution 1" << QByteArray("DVT-SIM 112 V7") << 3000 << 300
                                    << 1 << 1000;
    QTest::newRow("distance model") << "--model 90" << QByteArray("DVT-SIM DVZ-900 V7") << 0 << 0 << -1 << 250;
}
// clang-format on

void TestSimSensor::defaultsComeFromTheCatalogue()
{
    QFETCH(QString, line);
    QFETCH(QByteArray, identity);
    QFETCH(int, empty);
    QFETCH(int, full);
    QFETCH(int, resolution);
    QFETCH(int, distance);

    const SimCommandLine parsed = parseSimCommandLine(args(line));
    QCOMPARE(parsed.text, QString());
    SimSensor sensor = makeSimSensor(parsed.options);
    QCOMPARE(sensor.receive(request(Command::Connect), 9600), identity + "\r\n");
    QCOMPARE(sensor.word(fieldOf(Setting::Empty)), empty);
    QCOMPARE(sensor.word(fieldOf(Setting::Full)), full);
    QCOMPARE(sensor.field(fieldOf(Setting::Resolution)), resolution);
    QCOMPARE(sensor.distance(), distance);
}

void TestSimSensor::everyCodeIdentificationAcceptsStarts()
{
    // The simulator must be able to play whatever the program would open a
    // window for, rows or not.
    int accepted = 0;
    for (int code = 0; code <= 255; ++code) {
        const ModelWindow window = ModelCatalogue::windowForModelCode(QString::number(code));
        if (window == ModelWindow::None)
            continue;
        ++accepted;
        const SimCommandLine parsed = parseSimCommandLine(args(QStringLiteral("--model %1").arg(code)));
        QVERIFY2(parsed.outcome == SimCommandLine::Outcome::Run, qPrintable(parsed.text));
        SimSensor sensor = makeSimSensor(parsed.options);
        const QByteArray connect = sensor.receive(request(Command::Connect), 9600);
        QVERIFY2(CommandFrame::isConnectReply(QString::fromLatin1(connect)), connect.constData());
        const QByteArray settings = sensor.receive(request(Command::ReadSettings), 9600);
        QCOMPARE(settings.size(), window == ModelWindow::Distance ? 45 : 51);
        QCOMPARE(settings.mid(18, 3), QByteArray::number(code).rightJustified(3, ' '));
    }
    // 20-27, 30-37, 40-47, 50-53, 60-67, 70-73, 80-82, 90, 91-112.
    QCOMPARE(accepted, 66);
}

void TestSimSensor::writeFramesAreStored_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("chunk"); // bytes per read; 0: the whole frame at once
    QTest::addColumn<bool>("needsQuietGap");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("level, long form") << 21 << 1 << kLevelPayload << 0 << false << kLevelReply;
    QTest::newRow("level, long form byte by byte") << 21 << 1 << kLevelPayload << 1 << false << kLevelReply;
    QByteArray keptMm = kLevelReply;
    keptMm.replace(48, 3, "  1");
    QTest::newRow("level, short form keeps millimetres") << 21 << 1 << kLevelPayload.left(16) << 0 << true << keptMm;
    QTest::newRow("level, short form in pieces") << 21 << 10 << kLevelPayload.left(16) << 5 << true << kLevelReply;
    QTest::newRow("distance") << 90 << 10 << kDistancePayload << 0 << false << kDistanceReply;
    QTest::newRow("distance in pieces") << 90 << 10 << kDistancePayload << 7 << false << kDistanceReply;
}

void TestSimSensor::writeFramesAreStored()
{
    QFETCH(int, model);
    QFETCH(int, resolution);
    QFETCH(QByteArray, payload);
    QFETCH(int, chunk);
    QFETCH(bool, needsQuietGap);
    QFETCH(QByteArray, expected);

    SimSensor sensor(model, resolution, 9600);
    const QByteArray before = sensor.settingsReply();
    const QByteArray frame = CommandFrame::writeSettingsRequest(payload);
    const qsizetype step = chunk > 0 ? chunk : frame.size();
    for (qsizetype at = 0; at < frame.size(); at += step) {
        QCOMPARE(sensor.receive(frame.mid(at, step), 9600), QByteArray()); // writes are not answered
        if (at + step < frame.size())
            QCOMPARE(sensor.settingsReply(), before); // nothing stored from a part
    }
    QCOMPARE(sensor.waitingForMore(), needsQuietGap);
    if (needsQuietGap) {
        QCOMPARE(sensor.settingsReply(), before);
        QCOMPARE(sensor.quietGap(), QByteArray());
        QVERIFY(!sensor.waitingForMore());
    }
    QCOMPARE(sensor.requestCount(), 1);
    QCOMPARE(sensor.receive(request(Command::ReadSettings), sensor.baudRate()), expected);
}

void TestSimSensor::shortWriteFollowedAtOnceByARequest()
{
    // No quiet gap: the next header shows the short frame ended.
    SimSensor sensor(21, 10, 9600);
    const QByteArray payload = withBaudCode(kLevelPayload.left(16), 30); // same rate: the request is heard
    QByteArray expected = kLevelReply;
    expected.replace(0, 3, " 30");
    const QByteArray answer
        = sensor.receive(CommandFrame::writeSettingsRequest(payload) + request(Command::ReadSettings), 9600);
    QCOMPARE(answer, expected);
    QVERIFY(!sensor.waitingForMore());
}

void TestSimSensor::incompleteWriteIsDropped_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("payloadBytes");

    QTest::newRow("level, 10 bytes") << 21 << 10;
    QTest::newRow("level, 15 bytes") << 21 << 15;
    QTest::newRow("distance has no short form") << 90 << 14;
    QTest::newRow("header and command only") << 90 << 0;
}

void TestSimSensor::incompleteWriteIsDropped()
{
    QFETCH(int, model);
    QFETCH(int, payloadBytes);

    SimSensor sensor(model, 10, 9600);
    const QByteArray before = sensor.settingsReply();
    const QByteArray payload = (model == kDistanceModelCode ? kDistancePayload : kLevelPayload).left(payloadBytes);
    sensor.receive(CommandFrame::writeSettingsRequest(payload), 9600);
    QVERIFY(sensor.waitingForMore());
    sensor.quietGap();
    QVERIFY(!sensor.waitingForMore());
    QCOMPARE(sensor.baudRate(), 9600);
    // The sensor listens for frames again, with its block untouched.
    QCOMPARE(sensor.receive(request(Command::ReadSettings), 9600), before);
}

void TestSimSensor::rateAfterWrite_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<int>("fromRate");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("toRate");

    QTest::newRow("level 9600 to 19200") << 21 << 9600 << 40 << 19200;
    QTest::newRow("level 115200 to 9600") << 21 << 115200 << 30 << 9600;
    QTest::newRow("distance 9600 to 115200") << 90 << 9600 << 70 << 115200;
    QTest::newRow("same code") << 90 << 57600 << 60 << 57600;
    QTest::newRow("code 0 keeps the rate") << 90 << 38400 << 0 << 38400;
    QTest::newRow("code 45 keeps the rate") << 21 << 19200 << 45 << 19200;
}

void TestSimSensor::rateAfterWrite()
{
    QFETCH(int, model);
    QFETCH(int, fromRate);
    QFETCH(int, code);
    QFETCH(int, toRate);

    SimSensor sensor(model, 10, fromRate);
    const QByteArray payload = withBaudCode(model == kDistanceModelCode ? kDistancePayload : kLevelPayload, code);
    sensor.receive(CommandFrame::writeSettingsRequest(payload), fromRate);
    QCOMPARE(sensor.rateChanged(), toRate != fromRate);
    QCOMPARE(sensor.baudRate(), toRate);
    QCOMPARE(sensor.field(fieldOf(Setting::Baud)), code);

    const QByteArray codeText = QByteArray::number(code).rightJustified(3, ' ');
    if (toRate != fromRate)
        QCOMPARE(sensor.receive(request(Command::ReadSettings), fromRate), QByteArray());
    QCOMPARE(sensor.receive(request(Command::ReadSettings), toRate).left(3), codeText);
    QVERIFY(!sensor.rateChanged()); // reported once, by the write
}

void TestSimSensor::requestAfterRateChangeInSameReadIsNotHeard()
{
    SimSensor sensor(21, 10, 9600);
    const QByteArray answer
        = sensor.receive(CommandFrame::writeSettingsRequest(kLevelPayload) + request(Command::Connect), 9600);
    QCOMPARE(answer, QByteArray());
    QVERIFY(sensor.rateChanged());
    QCOMPARE(sensor.requestCount(), 1);
}

void TestSimSensor::wrongRateIsNotHeard_data()
{
    QTest::addColumn<int>("sensorRate");
    QTest::addColumn<int>("lineRate");
    QTest::addColumn<QByteArray>("frame");

    QTest::newRow("connect at 19200 to 9600") << 9600 << 19200 << request(Command::Connect);
    QTest::newRow("connect at 9600 to 115200") << 115200 << 9600 << request(Command::Connect);
    QTest::newRow("read at 38400 to 57600") << 57600 << 38400 << request(Command::ReadSettings);
    QTest::newRow("measure at an unknown rate") << 9600 << 0 << request(Command::Measure);
    QTest::newRow("run") << 19200 << 9600 << request(Command::Run);
    QTest::newRow("write") << 9600 << 38400 << CommandFrame::writeSettingsRequest(kLevelPayload);
}

void TestSimSensor::wrongRateIsNotHeard()
{
    QFETCH(int, sensorRate);
    QFETCH(int, lineRate);
    QFETCH(QByteArray, frame);

    SimSensor sensor(21, 10, sensorRate);
    const QByteArray before = sensor.settingsReply();
    QCOMPARE(sensor.receive(frame, lineRate), QByteArray());
    QCOMPARE(sensor.requestCount(), 0);
    QVERIFY(!sensor.isRunning());
    QVERIFY(!sensor.waitingForMore());
    QCOMPARE(sensor.baudRate(), sensorRate);
    QCOMPARE(sensor.settingsReply(), before);
}

void TestSimSensor::wrongRateSpoilsAFrameInProgress()
{
    SimSensor sensor(21, 10, 9600);
    const QByteArray read = request(Command::ReadSettings);
    QCOMPARE(sensor.receive(read.left(2), 9600), QByteArray());
    QCOMPARE(sensor.receive(read.mid(2), 19200), QByteArray());
    // The end of the frame again at the right rate: its start is gone.
    QCOMPARE(sensor.receive(read.mid(2), 9600), QByteArray());
    QCOMPARE(sensor.receive(read, 9600), sensor.settingsReply());
    QCOMPARE(sensor.requestCount(), 1);
}

void TestSimSensor::framing_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<QByteArray>("expected");

    SimSensor reference(21, 10, 9600);
    const QByteArray settings = reference.settingsReply();
    const QByteArray measurement = reference.measurementText();
    const QByteArray connect = reference.connectReply();
    const QByteArray read = request(Command::ReadSettings);

    QTest::newRow("text before the header") << QList<QByteArray>{"abc" + read} << settings;
    QTest::newRow("stray header bytes") << QList<QByteArray>{bytes({254, 254, 250, 254, 250, 252, 58})} << settings;
    QTest::newRow("header split over reads")
        << QList<QByteArray>{bytes({254}), bytes({250}), bytes({252}), bytes({58})} << settings;
    QTest::newRow("junk, then a header split over reads")
        << QList<QByteArray>{bytes({1, 2, 254, 250}), bytes({252, 63})} << measurement;
    QTest::newRow("two requests in one read")
        << QList<QByteArray>{request(Command::Connect) + request(Command::Measure)} << connect + measurement;
    QTest::newRow("junk between requests")
        << QList<QByteArray>{request(Command::Connect) + "xyz" + request(Command::Measure)} << connect + measurement;
    QTest::newRow("unknown command skipped") << QList<QByteArray>{bytes({254, 250, 252, 99}) + read} << settings;
    QTest::newRow("junk only") << QList<QByteArray>{"hello", bytes({0, 255, 12, 58})} << QByteArray();
}

void TestSimSensor::framing()
{
    QFETCH(QList<QByteArray>, reads);
    QFETCH(QByteArray, expected);

    SimSensor sensor(21, 10, 9600);
    QByteArray answers;
    for (const QByteArray &read : reads)
        answers += sensor.receive(read, 9600);
    QCOMPARE(answers, expected);
}

void TestSimSensor::faultsShapeEveryAnswer_data()
{
    QTest::addColumn<int>("shortLength");
    QTest::addColumn<int>("noise");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QByteArray>("requests");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray connect = request(Command::Connect);
    const QByteArray measure = request(Command::Measure);
    const QByteArray read = request(Command::ReadSettings);

    QTest::newRow("short connect") << 5 << 0 << false << connect << QByteArray("DVT-S");
    QTest::newRow("short settings") << 10 << 0 << false << read << QByteArray(" 30  1  0 ");
    QTest::newRow("cut to nothing") << 0 << 0 << false << connect << QByteArray();
    QTest::newRow("short applies to each answer") << 3 << 0 << false << connect + measure << QByteArray("DVTR00");
    QTest::newRow("noise before a measurement") << -1 << 3 << false << measure << QByteArray("~#*R00100cm025\r\n");
    QTest::newRow("noise and short") << 4 << 6 << false << read << QByteArray("~#*+~# 30 ");
    QTest::newRow("silent") << -1 << 0 << true << connect + read + measure << QByteArray();
    QTest::newRow("silent wins over noise") << -1 << 5 << true << measure << QByteArray();
}

void TestSimSensor::faultsShapeEveryAnswer()
{
    QFETCH(int, shortLength);
    QFETCH(int, noise);
    QFETCH(bool, silent);
    QFETCH(QByteArray, requests);
    QFETCH(QByteArray, expected);

    SimSensor sensor(21, 10, 9600);
    SimFaults faults;
    faults.shortLength = shortLength;
    faults.noise = noise;
    faults.silent = silent;
    sensor.setFaults(faults);
    QCOMPARE(sensor.receive(requests, 9600), expected);
}

void TestSimSensor::silentSensorStillStoresWrites()
{
    SimSensor sensor(21, 10, 9600);
    SimFaults faults;
    faults.silent = true;
    sensor.setFaults(faults);
    sensor.receive(CommandFrame::writeSettingsRequest(kLevelPayload), 9600);
    QCOMPARE(sensor.baudRate(), 19200);
    QCOMPARE(sensor.settingsReply(), kLevelReply);
    sensor.receive(request(Command::Run), 19200);
    QVERIFY(sensor.isRunning());
    QCOMPARE(sensor.runTick(), QByteArray());
}

void TestSimSensor::unplugAfterRequests_data()
{
    QTest::addColumn<int>("unplugAfter");
    QTest::addColumn<QList<QByteArray>>("reads"); // all at 9600
    QTest::addColumn<QList<bool>>("answered");
    QTest::addColumn<bool>("due");

    const QByteArray connect = request(Command::Connect);
    QTest::newRow("two answered, then nothing")
        << 2 << QList<QByteArray>{connect, connect, connect} << QList<bool>{true, true, false} << true;
    QTest::newRow("not yet") << 3 << QList<QByteArray>{connect, connect} << QList<bool>{true, true} << false;
    QTest::newRow("a write counts")
        << 2 << QList<QByteArray>{CommandFrame::writeSettingsRequest(withBaudCode(kLevelPayload, 30)), connect, connect}
        << QList<bool>{false, true, false} << true;
    QTest::newRow("a request in the same read as the last one is not heard")
        << 1 << QList<QByteArray>{connect + connect} << QList<bool>{true} << true;
    QTest::newRow("junk does not count") << 1 << QList<QByteArray>{"junk", bytes({254, 250, 252, 99}), connect}
                                         << QList<bool>{false, false, true} << true;
}

void TestSimSensor::unplugAfterRequests()
{
    QFETCH(int, unplugAfter);
    QFETCH(QList<QByteArray>, reads);
    QFETCH(QList<bool>, answered);
    QFETCH(bool, due);

    SimSensor sensor(21, 10, 9600);
    SimFaults faults;
    faults.unplugAfter = unplugAfter;
    sensor.setFaults(faults);
    for (qsizetype i = 0; i < reads.size(); ++i) {
        const QByteArray answer = sensor.receive(reads.at(i), 9600);
        QCOMPARE(answer, answered.at(i) ? sensor.connectReply() : QByteArray());
    }
    QCOMPARE(sensor.unplugDue(), due);
}

void TestSimSensor::runState_data()
{
    QTest::addColumn<QByteArray>("next");
    QTest::addColumn<bool>("stillRunning");

    QTest::newRow("connect ends it") << request(Command::Connect) << false;
    QTest::newRow("read settings ends it") << request(Command::ReadSettings) << false;
    QTest::newRow("measure keeps it") << request(Command::Measure) << true;
    QTest::newRow("a write keeps it") << CommandFrame::writeSettingsRequest(withBaudCode(kLevelPayload, 30)) << true;
    QTest::newRow("unheard connect keeps it") << QByteArray() << true;
}

void TestSimSensor::runState()
{
    QFETCH(QByteArray, next);
    QFETCH(bool, stillRunning);

    SimSensor sensor(81, 10, 9600);
    QVERIFY(!sensor.isRunning());
    QCOMPARE(sensor.runTick(), QByteArray());
    QCOMPARE(sensor.receive(request(Command::Run), 9600), QByteArray()); // not answered
    QVERIFY(sensor.isRunning());
    const QByteArray tick = sensor.runTick();
    QCOMPARE(tick, QByteArray("R00100cm025\r\n"));
    QVERIFY(tick.size() >= 12); // enough to raise the program's receive event

    if (next.isEmpty())
        sensor.receive(request(Command::Connect), 19200);
    else
        sensor.receive(next, 9600);
    QCOMPARE(sensor.isRunning(), stillRunning);
    QCOMPARE(sensor.runTick().isEmpty(), !stillRunning);
}

QTEST_GUILESS_MAIN(TestSimSensor)
#include "tst_simsensor.moc"
