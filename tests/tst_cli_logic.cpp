// The command-line program's logic without a port: settings blocks taken
// from replies, writes prepared with the windows' checks and requests,
// read-back comparison and backup files.
#include "failure.h"
#include "files/settingscompare.h"
#include "files/settingsfile.h"
#include "parallel.h"
#include "portselection.h"
#include "protocol/measurementrow.h"
#include "protocol/sensorsettings.h"
#include "replies.h"
#include "settingsedit.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <initializer_list>
#include <sys/stat.h>

using namespace veltra;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// DVT-14C11 at 19200: slave 5, date 1/15/98, Empty 300, Full 250, Low DO 50, Hi DO 90.
const QByteArray kLevel23 = blockReply({40, 5, 0, 1, 15, 98, 23, 1, 44, 0, 250, 0, 50, 0, 90, 8, 10});
// DVZ-900 at 9600: slave 17, OGR Medium, Empty 200, Full 300, switch 150, Hi DO 250.
const QByteArray kDistance = blockReply({30, 17, 1, 5, 12, 24, 90, 0, 200, 1, 44, 0, 150, 0, 250});

SensorSettings block(const QByteArray &reply)
{
    QString why;
    const auto parsed = SensorSettings::fromReply(QString::fromLatin1(reply), &why);
    if (!parsed)
        qFatal("test block refused: %s", qPrintable(why));
    return *parsed;
}

QByteArray withField(QByteArray reply, int field, const QByteArray &piece)
{
    return reply.replace(3 * (field - 1), 3, piece);
}

} // namespace

class TestCliLogic : public QObject
{
    Q_OBJECT
private slots:
    void sessionFailuresAsExitCodes();
    void blockFromReply_data();
    void blockFromReply();
    void prepareWrite_data();
    void prepareWrite();
    void restorePlan_data();
    void restorePlan();
    void backupRoundTrip_data();
    void backupRoundTrip();
    void backupRefused_data();
    void backupRefused();
    void repeatedKeys_data();
    void repeatedKeys();
    void backupFileLoad();
    void portLists_data();
    void portLists();
    void worstOfSeveralExitCodes();
    void csvFieldsQuoteWhatNeedsIt();
};

// clang-format off
void TestCliLogic::blockFromReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("model"); // empty: refused
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("empty");
    QTest::addColumn<QString>("reason");

    QTest::newRow("level") << kLevel23 << "DVT-14C11" << "cm" << 300 << "";
    QTest::newRow("distance") << kDistance << "DVZ-900" << "cm" << 200 << "";
    QTest::newRow("millimetre row") << levelReply(30, 105, 1) << "DVT-14" << "mm" << 300 << "";
    QTest::newRow("level code without row") << levelReply(30, 110) << "unknown" << "cm" << 300 << "";
    QTest::newRow("trailing line end ignored") << kLevel23 + "\r\n" << "DVT-14C11" << "cm" << 300 << "";
    QTest::newRow("no answer") << QByteArray() << "" << "" << 0 << "did not answer";
    QTest::newRow("cut short") << kLevel23.left(45) << "" << "" << 0 << "cut short after 45 characters";
    QTest::newRow("damaged field") << withField(kLevel23, 9, "4x4") << "" << "" << 0 << "field 9 reads \"4x4\"";
    QTest::newRow("over a byte") << withField(kLevel23, 2, "300") << "" << "" << 0 << "field 2";
    QTest::newRow("unknown model") << levelReply(30, 28) << "" << "" << 0 << "model code \"28\"";
    QTest::newRow("shifted by noise") << "~#*" + kLevel23 << "" << "" << 0 << "field 1 reads \"~#*\"";
    // One stray character shifts every field; each piece may still look like a number.
    QTest::newRow("blank in front") << " " + kLevel23 << "" << "" << 0 << "field 2 reads \"0  \"";
    QTest::newRow("digit in front") << "1" + kLevel23 << "" << "" << 0 << "field 1 reads \"1 4\"";
    QTest::newRow("digits left-aligned") << withField(kLevel23, 5, "15 ") << "" << "" << 0 << "field 5";
    QTest::newRow("blank inside") << withField(kLevel23, 8, "1 4") << "" << "" << 0 << "field 8";
    QTest::newRow("control character shown escaped") << withField(kLevel23, 3, " \x01" "0") << "" << "" << 0 << "\\x01";
}
// clang-format on

void TestCliLogic::blockFromReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, model);
    QFETCH(QString, unit);
    QFETCH(int, empty);
    QFETCH(QString, reason);

    QString why;
    const auto parsed = SensorSettings::fromReply(QString::fromLatin1(reply), &why);
    QCOMPARE(parsed.has_value(), !model.isEmpty());
    if (!parsed) {
        QVERIFY2(why.contains(reason), qPrintable(why));
        return;
    }
    QCOMPARE(parsed->modelName(), model);
    QCOMPARE(parsed->unit(), unit);
    QCOMPARE(parsed->value(Setting::Empty), empty);
}

// clang-format off
void TestCliLogic::prepareWrite_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("assignments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");      // Usage: a part of it; Refused: all of it
    QTest::addColumn<QByteArray>("request");    // Ready only
    QTest::addColumn<QString>("lineSettings");  // Ready only

    const int ready = int(PreparedWrite::Status::Ready);
    const int usage = int(PreparedWrite::Status::Usage);
    const int refused = int(PreparedWrite::Status::Refused);
    const QByteArray none;

    QTest::newRow("short request")
        << kLevel23 << QStringList{"empty=290", "ogr=low", "omb=NARROW"} << ready << ""
        << bytes({254, 250, 252, 91, 40, 5, 2, 1, 15, 98, 23, 1, 34, 0, 250, 0, 50, 0, 90, 4}) << "19200,n,8,1";
    QTest::newRow("new rate followed")
        << kLevel23 << QStringList{"baud=115200"} << ready << ""
        << bytes({254, 250, 252, 91, 70, 5, 0, 1, 15, 98, 23, 1, 44, 0, 250, 0, 50, 0, 90, 8}) << "115200,n,8,1";
    QTest::newRow("long request with the resolution")
        << levelReply(30, 105, 10) << QStringList{"resolution=mm", "full=2500"} << ready << ""
        << bytes({254, 250, 252, 91, 30, 5, 0, 1, 15, 98, 105, 1, 44, 9, 196, 0, 50, 0, 90, 8, 1}) << "9600,n,8,1";
    QTest::newRow("fixed resolution is short")
        << levelReply(30, 108) << QStringList{"slave=7"} << ready << ""
        << bytes({254, 250, 252, 91, 30, 7, 0, 1, 15, 98, 108, 1, 44, 0, 250, 0, 50, 0, 90, 8}) << "9600,n,8,1";
    QTest::newRow("distance")
        << kDistance << QStringList{"switch=275", "ogr=Low"} << ready << ""
        << bytes({254, 250, 252, 91, 30, 17, 2, 5, 12, 24, 90, 0, 200, 1, 44, 1, 19, 0, 250}) << "9600,n,8,1";
    // Thresholds hidden by the window go back unchecked, as it sends them.
    QTest::newRow("hidden thresholds unchecked")
        << blockReply({30, 5, 0, 1, 15, 98, 20, 1, 44, 0, 250, 0, 0, 0, 0, 8, 10}) << QStringList{"empty=290"} << ready
        << "" << bytes({254, 250, 252, 91, 30, 5, 0, 1, 15, 98, 20, 1, 34, 0, 250, 0, 0, 0, 0, 8}) << "9600,n,8,1";
    QTest::newRow("run-control thresholds unchecked")
        << blockReply({30, 5, 0, 1, 15, 98, 81, 1, 44, 0, 250, 0, 0, 0, 0, 8, 10}) << QStringList{"empty=290"} << ready
        << "" << bytes({254, 250, 252, 91, 30, 5, 0, 1, 15, 98, 81, 1, 34, 0, 250, 0, 0, 0, 0, 8}) << "9600,n,8,1";

    QTest::newRow("baud not a rate") << kLevel23 << QStringList{"baud=4800"} << refused
                                     << "baud must be one of 9600, 19200, 38400, 57600, 115200, not \"4800\". Nothing was sent."
                                     << none << "";
    QTest::newRow("baud empty") << kLevel23 << QStringList{"baud="} << refused
                                << "baud must be one of 9600, 19200, 38400, 57600, 115200, not \"\". Nothing was sent."
                                << none << "";
    QTest::newRow("slave 248") << kLevel23 << QStringList{"slave=248"} << refused
                               << "slave must be 1 to 247 once rounded, not \"248\". Nothing was sent." << none << "";
    QTest::newRow("slave rounds to 248") << kLevel23 << QStringList{"slave=247.6"} << refused
                                         << "slave must be 1 to 247 once rounded, not \"247.6\". Nothing was sent."
                                         << none << "";
    QTest::newRow("empty 10001") << kLevel23 << QStringList{"empty=10001"} << refused
                                 << "empty must be 1 to 10000 once rounded, not \"10001\". Nothing was sent." << none << "";
    QTest::newRow("empty 10000.6 sent as 10001") << kLevel23 << QStringList{"empty=10000.6"} << refused
                                                 << "empty must be 1 to 10000 once rounded, not \"10000.6\". Nothing was sent."
                                                 << none << "";
    QTest::newRow("empty 0.4 sent as 0") << kLevel23 << QStringList{"empty=0.4"} << refused
                                         << "empty must be 1 to 10000 once rounded, not \"0.4\". Nothing was sent."
                                         << none << "";
    QTest::newRow("full 0") << kLevel23 << QStringList{"full=0"} << refused
                            << "full must be 1 to 9500 once rounded, not \"0\". Nothing was sent." << none << "";
    QTest::newRow("thresholds equal once rounded") << kLevel23 << QStringList{"low-do=100", "hi-do=100.5"} << refused
        << "low-do and hi-do must be 1 to 32767 with hi-do greater than low-do once rounded, not low-do \"100\" and "
           "hi-do \"100.5\". Nothing was sent."
        << none << "";
    QTest::newRow("shown thresholds checked")
        << blockReply({30, 5, 0, 1, 15, 98, 21, 1, 44, 0, 250, 0, 0, 0, 0, 8, 10}) << QStringList{"empty=290"}
        << refused
        << "low-do and hi-do must be 1 to 32767 with hi-do greater than low-do once rounded, not low-do \"0\" and "
           "hi-do \"0\". Nothing was sent."
        << none << "";
    QTest::newRow("first failure only") << kLevel23 << QStringList{"full=0", "slave=0"} << refused
                                        << "slave must be 1 to 247 once rounded, not \"0\". Nothing was sent." << none << "";
    QTest::newRow("switch 600") << kDistance << QStringList{"switch=600"} << refused
                                << "switch must be 61 to 599 once rounded, not \"600\". Nothing was sent." << none << "";
    QTest::newRow("switch 599.5 sent as 600") << kDistance << QStringList{"switch=599.5"} << refused
                                              << "switch must be 61 to 599 once rounded, not \"599.5\". Nothing was sent."
                                              << none << "";
    QTest::newRow("cannot be encoded") << kLevel23 << QStringList{"hi-do=40000"} << refused
                                       << "low-do and hi-do must be 1 to 32767 with hi-do greater than low-do once "
                                          "rounded, not low-do \"50\" and hi-do \"40000\". Nothing was sent."
                                       << none << "";

    QTest::newRow("unknown name") << kLevel23 << QStringList{"colour=red"} << usage << "no setting \"colour\"" << none << "";
    QTest::newRow("switch on a level sensor") << kLevel23 << QStringList{"switch=100"} << usage << "no setting \"switch\""
                                              << none << "";
    QTest::newRow("thresholds the model lacks") << levelReply(30, 20) << QStringList{"low-do=10"} << usage
                                                << "no setting \"low-do\"" << none << "";
    QTest::newRow("resolution of a fixed unit") << kLevel23 << QStringList{"resolution=mm"} << usage
                                                << "no setting \"resolution\"" << none << "";
    QTest::newRow("empty on the distance sensor") << kDistance << QStringList{"empty=100"} << usage
                                                  << "no setting \"empty\"" << none << "";
    QTest::newRow("twice") << kLevel23 << QStringList{"empty=1", "EMPTY=2"} << usage << "set twice" << none << "";
    QTest::newRow("text after a number") << kLevel23 << QStringList{"empty=12abc"} << usage << "must be a number"
                                         << none << "";
    QTest::newRow("no such choice") << kLevel23 << QStringList{"ogr=loud"} << usage << "High, Medium, Low" << none << "";
    QTest::newRow("no equals sign") << kLevel23 << QStringList{"empty"} << usage << "not NAME=VALUE" << none << "";
}
// clang-format on

void TestCliLogic::prepareWrite()
{
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, assignments);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QByteArray, request);
    QFETCH(QString, lineSettings);

    const PreparedWrite prepared = veltra::prepareWrite(block(reply), assignments, QStringLiteral("9600"));
    QCOMPARE(int(prepared.status), status);
    switch (prepared.status) {
    case PreparedWrite::Status::Ready:
        QCOMPARE(prepared.plan.request, request);
        QCOMPARE(prepared.plan.lineSettings, lineSettings);
        break;
    case PreparedWrite::Status::Refused:
        QCOMPARE(prepared.message, message); // the setting's name and the values it may hold
        break;
    case PreparedWrite::Status::Usage:
        QVERIFY2(prepared.message.contains(message), qPrintable(prepared.message));
        break;
    }
}

// clang-format off
void TestCliLogic::restorePlan_data()
{
    QTest::addColumn<QByteArray>("sensor");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("convert");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("target");       // Ready: what the sensor is to hold
    QTest::addColumn<QString>("message");         // otherwise: all of it
    QTest::addColumn<QStringList>("notApplied");  // file settings the sensor keeps its own of

    const int ready = int(RestorePlan::Status::Ready);
    const int unit = int(RestorePlan::Status::UnitDiffers);
    const int refused = int(RestorePlan::Status::Refused);
    const QByteArray none;
    // DVT-14C11 backup: 38400, slave 9, OGR Low, 3/4/21, Empty 270, Full 200, Low DO 60, Hi DO 120, OMB Widish.
    const QByteArray saved = blockReply({50, 9, 2, 3, 4, 21, 23, 1, 14, 0, 200, 0, 60, 0, 120, 6, 10});

    QTest::newRow("same model") << kLevel23 << saved << false << ready << saved << "" << QStringList{};
    QTest::newRow("another model keeps its code")
        << blockReply({30, 1, 0, 1, 1, 1, 33, 1, 44, 0, 250, 0, 50, 0, 90, 8, 10}) << saved << false << ready
        << withField(saved, 7, " 33") << "" << QStringList{"model"};
    QTest::newRow("thresholds the model lacks stay")
        << levelReply(30, 20) << saved << false << ready
        << blockReply({50, 9, 2, 3, 4, 21, 20, 1, 14, 0, 200, 0, 50, 0, 90, 6, 10}) << ""
        << QStringList{"model", "low-do", "hi-do"};
    QTest::newRow("resolution of a fixed unit stays")
        << kLevel23 << withField(saved, 17, "  1") << false << ready << saved << "" << QStringList{"resolution"};
    QTest::newRow("resolution chosen with the file's unit")
        << levelReply(30, 105, 10) << withField(withField(saved, 7, "105"), 17, "  1") << false << ready
        << withField(withField(saved, 7, "105"), 17, "  1") << "" << QStringList{};
    QTest::newRow("distance: only what its window sets")
        << kDistance << blockReply({40, 18, 2, 6, 7, 25, 90, 0, 100, 0, 150, 0, 99, 0, 111}) << false << ready
        << blockReply({40, 18, 2, 6, 7, 25, 90, 0, 200, 1, 44, 0, 99, 0, 250}) << ""
        << QStringList{"empty", "full", "hi-do"};
    // A sensor must accept a backup of its own, odd codes and all.
    QTest::newRow("odd values held pass")
        << blockReply({45, 0, 3, 0, 0, 0, 23, 1, 44, 0, 250, 0, 50, 0, 90, 3, 10})
        << blockReply({45, 0, 3, 0, 0, 0, 23, 1, 44, 0, 250, 0, 50, 0, 90, 3, 10}) << false << ready
        << blockReply({45, 0, 3, 0, 0, 0, 23, 1, 44, 0, 250, 0, 50, 0, 90, 3, 10}) << "" << QStringList{};

    QTest::newRow("centimetres onto millimetres") << levelReply(30, 24) << saved << false << unit << none
        << "f holds centimetres; this DVT-14M00 works in millimetres." << QStringList{};
    QTest::newRow("centimetres converted")
        << levelReply(30, 24) << saved << true << ready
        << blockReply({50, 9, 2, 3, 4, 21, 24, 10, 140, 7, 208, 0, 50, 0, 90, 6, 10}) << "" << QStringList{"model", "low-do", "hi-do"};
    QTest::newRow("millimetres without a whole centimetre")
        << kLevel23 << withField(withField(saved, 7, " 27"), 9, " 15") << true << refused << none
        << "f holds millimetres; this DVT-14C11 works in centimetres. Its empty of 271 mm has no exact value in "
           "centimetres." << QStringList{};
    QTest::newRow("saved slave fails its check") << kLevel23 << withField(saved, 2, "  0") << false << refused << none
        << "The file's slave must be 1 to 247 once rounded, not \"0\"." << QStringList{};
    QTest::newRow("baud code changed to no rate") << kLevel23 << withField(saved, 1, " 45") << false << refused << none
        << "The file's baud must be one of 9600, 19200, 38400, 57600, 115200, not \"code 45\"." << QStringList{};
    QTest::newRow("date changed to no date") << kLevel23 << withField(saved, 4, "  0") << false << refused << none
        << "The file's month must be 1 to 12, not \"0\"." << QStringList{};
    QTest::newRow("thresholds in the wrong order")
        << kLevel23 << withField(saved, 13, "200") << false << refused << none
        << "The file's low-do and hi-do must be 1 to 32767 with hi-do greater than low-do once rounded, not low-do "
           "\"200\" and hi-do \"120\"." << QStringList{};
}
// clang-format on

void TestCliLogic::restorePlan()
{
    QFETCH(QByteArray, sensor);
    QFETCH(QByteArray, file);
    QFETCH(bool, convert);
    QFETCH(int, status);
    QFETCH(QByteArray, target);
    QFETCH(QString, message);
    QFETCH(QStringList, notApplied);

    const RestorePlan plan = planRestore(block(sensor), block(file), QStringLiteral("f"), convert);
    QCOMPARE(plan.message, message);
    QCOMPARE(int(plan.status), status);
    if (plan.status != RestorePlan::Status::Ready)
        return;
    QCOMPARE(plan.target.replyText(), QString::fromLatin1(target));
    QStringList kept;
    for (const RestoreRow &row : plan.notApplied())
        kept << QLatin1String(row.setting->name);
    QCOMPARE(kept, notApplied);
    // What is left to change passes the checks a write applies.
    QVERIFY(!firstFailedCheck(plan.target, block(sensor), CheckScope::Restore));
}

// clang-format off
void TestCliLogic::backupRoundTrip_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("settingCount");
    QTest::newRow("level") << kLevel23 << 13;
    QTest::newRow("distance") << kDistance << 11;
    QTest::newRow("largest values")
        << blockReply({70, 247, 2, 12, 31, 255, 105, 255, 255, 255, 255, 255, 255, 255, 255, 4, 1})
                                    << 13;
    // What a sensor holds outside the tables is saved and read back as it is.
    QTest::newRow("values outside the tables")
        << blockReply({45, 0, 3, 0, 0, 0, 23, 1, 44, 0, 250, 0, 50, 0, 90, 3, 5}) << 13;
}
// clang-format on

void TestCliLogic::backupRoundTrip()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, settingCount);

    const SensorSettings original = block(reply);
    const QDateTime taken(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC);
    const QByteArray json = SettingsFile::serialize(original, taken, QStringLiteral("7.0.0"));
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    // Readable settings leave the model to "model"; the codes hold it too.
    QCOMPARE(root.value("settings").toObject().size(), settingCount - 1);
    QCOMPARE(root.value("codes").toObject().size(), settingCount);
    QCOMPARE(root.value("format").toInt(), 2);
    QCOMPARE(root.value("time").toString(), QStringLiteral("2024-05-06T07:08:09Z"));
    QCOMPARE(root.value("programVersion").toString(), QStringLiteral("7.0.0"));
    QCOMPARE(root.value("model").toObject().value("name").toString(), original.modelName());

    QString why;
    const auto restored = SettingsFile::parse(json, &why);
    QVERIFY2(restored, qPrintable(why));
    QCOMPARE(restored->family(), original.family());
    for (int k = 1; k <= original.fieldCount(); ++k)
        QCOMPARE(restored->field(k), original.field(k));
}

// clang-format off
void TestCliLogic::backupRefused_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("reason");

    const QByteArray level = R"({"family": "level", "settings": {"baud": 30, "slave": 5, "ogr": 0, "month": 1, "day": 2,
        "year": 3, "model": 23, "empty": 300, "full": 250, "low-do": 50, "hi-do": 90, "omb": 8, "resolution": 10}})";
    QString why;
    QVERIFY2(SettingsFile::parse(level, &why).has_value(), qPrintable(why));

    QTest::newRow("cut off") << level.left(60) << "not valid JSON";
    QTest::newRow("array") << QByteArray("[1, 2]") << "not a JSON object";
    QTest::newRow("no family") << QByteArray(level).replace("\"level\"", "\"tank\"") << "names no sensor family";
    QTest::newRow("field missing") << QByteArray(level).replace("\"full\": 250, ", "") << "lacks the setting \"full\"";
    QTest::newRow("byte too large") << QByteArray(level).replace("\"slave\": 5", "\"slave\": 256")
                                    << "\"slave\" must be a whole number from 0 to 255, not 256";
    QTest::newRow("word too large") << QByteArray(level).replace("\"empty\": 300", "\"empty\": 65536")
                                    << "from 0 to 65535, not 65536";
    QTest::newRow("negative") << QByteArray(level).replace("\"ogr\": 0", "\"ogr\": -1") << "not -1";
    QTest::newRow("fraction") << QByteArray(level).replace("\"day\": 2", "\"day\": 2.5") << "not 2.5";
    QTest::newRow("text") << QByteArray(level).replace("\"day\": 2", "\"day\": \"2\"") << "not \"2\"";
    QTest::newRow("setting of the other family") << QByteArray(level).replace("\"omb\": 8", "\"omb\": 8, \"switch\": 1")
                                                 << "does not have: \"switch\"";
    QTest::newRow("model of the other family") << QByteArray(level).replace("\"model\": 23", "\"model\": 90")
                                               << "model code 90 is not a level sensor's";
    QTest::newRow("model nobody knows") << QByteArray(level).replace("\"model\": 23", "\"model\": 28")
                                        << "model code 28";
    QTest::newRow("model entries disagree")
        << QByteArray(level).replace("{\"family\"", "{\"model\": {\"code\": 21}, \"family\"") << "disagree";

    // "unit" is for the reader, but must not say another unit than the model.
    const QByteArray format2 = SettingsFile::serialize(block(kLevel23), QDateTime(), QStringLiteral("7"));
    QTest::newRow("unit says another") << QByteArray(format2).replace("\"unit\": \"cm\"", "\"unit\": \"mm\"")
                                       << "\"unit\" says mm, but its model and resolution (DVT-14C11) work in centimetres";

    // A key given twice would be read as its last value, unseen.
    QTest::newRow("setting twice") << QByteArray(level).replace("\"empty\": 300", "\"empty\": 300, \"empty\": 9000")
                                   << "names \"empty\" twice";
    QTest::newRow("setting twice, once escaped")
        << QByteArray(level).replace("\"empty\": 300", "\"empty\": 300, \"\\u0065mpty\": 9000") << "names \"empty\" twice";
    QTest::newRow("family twice") << QByteArray(level).replace("{\"family\": \"level\"", "{\"family\": \"distance\", \"family\": \"level\"")
                                  << "names \"family\" twice";
}
// clang-format on

void TestCliLogic::repeatedKeys_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("key"); // null: none repeated
    QTest::newRow("none") << QByteArray(R"({"a": 1, "b": {"a": 2}, "c": [{"a": 3}, {"a": 4}]})") << QString();
    QTest::newRow("nested") << QByteArray(R"({"a": 1, "b": {"x": 2, "x": 3}})") << "x";
    QTest::newRow("in an array's object") << QByteArray(R"([{"k": 1}, {"k": 1, "k": 2}])") << "k";
    QTest::newRow("string values are not keys") << QByteArray(R"({"a": "a", "b": "a"})") << QString();
    QTest::newRow("escaped quote in a key") << QByteArray(R"({"a\"b": 1, "a\"b": 2})") << "a\"b";
    QTest::newRow("empty key twice") << QByteArray(R"({"": 1, "": 2})") << QStringLiteral("");
}

void TestCliLogic::repeatedKeys()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, key);
    const std::optional<QString> repeated = SettingsFile::firstRepeatedKey(json);
    QCOMPARE(repeated.has_value(), !key.isNull());
    if (repeated)
        QCOMPARE(*repeated, key);
}

void TestCliLogic::backupFileLoad()
{
    QTemporaryDir dir;
    const QByteArray good
        = SettingsFile::serialize(block(kLevel23), QDateTime::currentDateTimeUtc(), QStringLiteral("7"));
    const auto writeFile = [&dir](const QString &name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    };
    writeFile(QStringLiteral("good.json"), good);
    QString why;
    QVERIFY2(SettingsFile::load(dir.filePath("good.json"), &why), qPrintable(why));

    // Padding keeps it valid JSON: only the size refuses it.
    writeFile(QStringLiteral("large.json"), good + QByteArray(SettingsFile::kMaxFileSize, ' '));
    QVERIFY(!SettingsFile::load(dir.filePath("large.json"), &why));
    QVERIFY2(why.contains("too large"), qPrintable(why));

    QVERIFY(!SettingsFile::load(dir.filePath("missing.json"), &why));
    QVERIFY2(why.contains("no such file"), qPrintable(why));

    // Refused unread: reading /dev/zero would never end.
    for (const QString &path : {QStringLiteral("/dev/zero"), dir.path()}) {
        QVERIFY(!SettingsFile::load(path, &why));
        QVERIFY2(why.contains("not a regular file"), qPrintable(why));
    }
    const QByteArray fifo = QFile::encodeName(dir.filePath("fifo"));
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    QVERIFY(!SettingsFile::load(dir.filePath("fifo"), &why));
    QVERIFY2(why.contains("not a regular file"), qPrintable(why));
}

void TestCliLogic::backupRefused()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, reason);
    QString why;
    QVERIFY(!SettingsFile::parse(json, &why).has_value());
    QVERIFY2(why.contains(reason), qPrintable(why));
}

void TestCliLogic::sessionFailuresAsExitCodes()
{
    // Scripts rely on these: 3 nothing usable answered, 2 a port or rate the
    // command line cannot take, 5 a port that cannot be opened.
    const auto codeOf = [](SessionFailure::Kind kind, LinkError::Kind link = LinkError::Kind::None) {
        SessionFailure failure{kind, LinkError{link, {}, {}}, QStringLiteral("why")};
        return failureOf(failure).code;
    };
    QCOMPARE(codeOf(SessionFailure::Kind::None), ExitCode::Success);
    QCOMPARE(codeOf(SessionFailure::Kind::NoSensor), ExitCode::NoSensor);
    QCOMPARE(codeOf(SessionFailure::Kind::Damaged), ExitCode::NoSensor);
    QCOMPARE(codeOf(SessionFailure::Kind::BadRequest), ExitCode::Usage);
    QCOMPARE(codeOf(SessionFailure::Kind::Link, LinkError::Kind::Busy), ExitCode::PortFailed);
    QCOMPARE(codeOf(SessionFailure::Kind::Link, LinkError::Kind::NotSerial), ExitCode::PortFailed);
    QCOMPARE(codeOf(SessionFailure::Kind::Link, LinkError::Kind::Io), ExitCode::NoSensor);
    QCOMPARE(codeOf(SessionFailure::Kind::Link, LinkError::Kind::BadPortText), ExitCode::Usage);
    SessionFailure damaged{SessionFailure::Kind::Damaged, {}, QStringLiteral("The reply was cut short.")};
    QCOMPARE(failureOf(damaged).message, damaged.message);
}

// clang-format off
void TestCliLogic::portLists_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("all");
    QTest::addColumn<QStringList>("ports"); // empty: refused
    QTest::addColumn<QString>("why");
    QTest::newRow("one") << "3" << false << QStringList{"3"} << "";
    QTest::newRow("path") << "/dev/ttyUSB0" << false << QStringList{"/dev/ttyUSB0"} << "";
    QTest::newRow("list and range") << "1,3,5-8" << false << QStringList{"1", "3", "5", "6", "7", "8"} << "";
    QTest::newRow("blanks around items") << " 2 , 4 " << false << QStringList{"2", "4"} << "";
    QTest::newRow("paths in a list") << "/dev/ttyUSB0,2,/dev/ttyACM1" << false
                                     << QStringList{"/dev/ttyUSB0", "2", "/dev/ttyACM1"} << "";
    QTest::newRow("served once") << "3,1-4,3" << false << QStringList{"3", "1", "2", "4"} << "";
    QTest::newRow("one-port range") << "7-7" << false << QStringList{"7"} << "";
    QTest::newRow("all") << "all" << true << QStringList{} << "";
    QTest::newRow("highest") << "32767" << false << QStringList{"32767"} << "";
    QTest::newRow("backwards") << "8-5" << false << QStringList{} << "runs backwards";
    QTest::newRow("empty item") << "1,,2" << false << QStringList{} << "empty item";
    QTest::newRow("trailing comma") << "1," << false << QStringList{} << "empty item";
    QTest::newRow("zero in a range") << "0-3" << false << QStringList{} << "not two port numbers";
    QTest::newRow("open range") << "3-" << false << QStringList{} << "not two port numbers";
    QTest::newRow("all in a list") << "1,all" << false << QStringList{} << "mixes all";
    QTest::newRow("words in a list") << "1,usb" << false << QStringList{} << "\"usb\", which is neither";
    QTest::newRow("too many") << "1-300" << false << QStringList{} << "more than 256";
    QTest::newRow("too many, piece by piece") << "1-200,201-300" << false << QStringList{} << "more than 256";
    QTest::newRow("beyond the highest") << "32768" << false << QStringList{} << "not \"32768\"";
    QTest::newRow("relative path") << "dev/ttyUSB0" << false << QStringList{} << "not \"dev/ttyUSB0\"";
    QTest::newRow("sign") << "+3" << false << QStringList{} << "not \"+3\"";
}
// clang-format on

void TestCliLogic::portLists()
{
    QFETCH(QString, text);
    QFETCH(bool, all);
    QFETCH(QStringList, ports);
    QFETCH(QString, why);
    QString error;
    const std::optional<PortSelection> selection = parsePortSelection(text, &error);
    if (!why.isEmpty()) {
        QVERIFY(!selection);
        QVERIFY2(error.contains(why), qPrintable(error));
        QVERIFY(error.startsWith(QStringLiteral("--port must be")));
        return;
    }
    QVERIFY2(selection, qPrintable(error));
    QCOMPARE(selection->all, all);
    QCOMPARE(selection->ports, ports);
    QCOMPARE(selection->isSingle(), !all && ports.size() == 1);
}

void TestCliLogic::worstOfSeveralExitCodes()
{
    QCOMPARE(worstExitCode({}), 0);
    QCOMPARE(worstExitCode({0, 0}), 0);
    QCOMPARE(worstExitCode({0, 7, 0}), 7);
    // A sensor that may not hold what was sent outweighs everything; a file
    // not written, then no contact, a difference, a refusal and a usage error.
    QCOMPARE(worstExitCode({6, 2}), 6);
    QCOMPARE(worstExitCode({2, 6, 8}), 6);
    QCOMPARE(worstExitCode({3, 8}), 8);
    QCOMPARE(worstExitCode({7, 3}), 3);
    QCOMPARE(worstExitCode({3, 5}), 5);
    QCOMPARE(worstExitCode({4, 7}), 7);
    QCOMPARE(worstExitCode({2, 4}), 4);
    QCOMPARE(worstExitCode({0, 99}), 99);
}

void TestCliLogic::csvFieldsQuoteWhatNeedsIt()
{
    QCOMPARE(csvField(QStringLiteral("ok")), QStringLiteral("ok"));
    QCOMPARE(csvField(QString()), QString());
    QCOMPARE(csvField(QStringLiteral("No sensor, port 3")), QStringLiteral("\"No sensor, port 3\""));
    QCOMPARE(csvField(QStringLiteral("say \"x\"")), QStringLiteral("\"say \"\"x\"\"\""));
    QCOMPARE(csvField(QStringLiteral("two\nlines")), QStringLiteral("\"two\nlines\""));
}

QTEST_GUILESS_MAIN(TestCliLogic)
#include "tst_cli_logic.moc"
