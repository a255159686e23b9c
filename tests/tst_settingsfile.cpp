// Settings files (sensor/files/settingsfile.h) as backup writes them and as a
// person may edit them, and a sensor's block compared with a file's
// (sensor/files/settingscompare.h).
#include "files/settingscompare.h"
#include "files/settingsfile.h"
#include "protocol/sensorsettings.h"
#include "replies.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace veltra;

namespace {

// DVT-14C11 at 19200: slave 5, OGR High, date 1/15/98, Empty 300, Full 250,
// Low DO 50, Hi DO 90, OMB Wide, resolution Cm.
const QByteArray kLevel23 = blockReply({40, 5, 0, 1, 15, 98, 23, 1, 44, 0, 250, 0, 50, 0, 90, 8, 10});
const QByteArray kDistance = blockReply({30, 17, 1, 5, 12, 24, 90, 0, 200, 1, 44, 0, 150, 0, 250});
const QDateTime kTaken(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC);

SensorSettings block(const QByteArray &reply)
{
    QString why;
    const auto parsed = SensorSettings::fromReply(QString::fromLatin1(reply), &why);
    if (!parsed)
        qFatal("test block refused: %s", qPrintable(why));
    return *parsed;
}

const QByteArray kFile = SettingsFile::serialize(block(kLevel23), kTaken, QStringLiteral("7.0.0"));

// "settings" comes before "codes": the first match edits the readable
// value, the last the code.
QByteArray edit(QByteArray text, const QByteArray &from, const QByteArray &to, bool code = false)
{
    const qsizetype at = code ? text.lastIndexOf(from) : text.indexOf(from);
    if (at < 0)
        qFatal("test text lacks %s", from.constData());
    return text.replace(at, from.size(), to);
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void layout();
    void handEdited_data();
    void handEdited();
    void refused_data();
    void refused();
    void saveReplacesWhole();
    void compareMarksDifferingRows();
};

void TestSettingsFile::layout()
{
    // Reading it back: tst_cli_logic's backupRoundTrip.
    const QJsonObject root = QJsonDocument::fromJson(kFile).object();
    QCOMPARE(root.value("format").toInt(), 2);
    QCOMPARE(root.value("model").toObject().value("name").toString(), QStringLiteral("DVT-14C11"));
    QCOMPARE(root.value("unit").toString(), QStringLiteral("cm"));
    QCOMPARE(root.value("time").toString(), QStringLiteral("2024-05-06T07:08:09Z"));
    QCOMPARE(root.value("programVersion").toString(), QStringLiteral("7.0.0"));
    const QJsonObject settings = root.value("settings").toObject();
    QCOMPARE(settings.value("baud").toInt(), 19200);
    QCOMPARE(settings.value("ogr").toString(), QStringLiteral("High"));
    QCOMPARE(settings.value("omb").toString(), QStringLiteral("Wide"));
    QCOMPARE(settings.value("resolution").toString(), QStringLiteral("Cm"));
    QCOMPARE(settings.value("empty").toInt(), 300);
    QVERIFY(!settings.contains("model"));
    const QJsonObject codes = root.value("codes").toObject();
    QCOMPARE(codes.value("baud").toInt(), 40);
    QCOMPARE(codes.value("omb").toInt(), 8);
    QCOMPARE(codes.value("model").toInt(), 23);
    // The format first; each object in block order.
    QVERIFY(kFile.startsWith("{\n    \"format\": 2,\n"));
    QVERIFY(kFile.indexOf("\"slave\"") < kFile.indexOf("\"ogr\""));
    QVERIFY(kFile.indexOf("\"hi-do\"") < kFile.indexOf("\"omb\""));
}

// clang-format off
void TestSettingsFile::handEdited_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("value");

    // An edit in one of the two objects, the other's entry taken out or edited alike.
    QTest::newRow("ogr readable") << edit(edit(kFile, "\"ogr\": \"High\"", "\"ogr\": \"Low\""), "\"ogr\": 0,", "", true)
                                  << "ogr" << 2;
    QTest::newRow("omb in small letters, both")
        << edit(edit(kFile, "\"omb\": \"Wide\"", "\"omb\": \"narrow\""), "\"omb\": 8", "\"omb\": 4", true) << "omb" << 4;
    QTest::newRow("baud rate, both") << edit(edit(kFile, "\"baud\": 19200", "\"baud\": 9600"), "\"baud\": 40", "\"baud\": 30", true)
                                     << "baud" << 30;
    QTest::newRow("empty readable") << edit(edit(kFile, "\"empty\": 300", "\"empty\": 290"), "\"empty\": 300,", "", true)
                                    << "empty" << 290;
    QTest::newRow("code edited, readable taken out") << edit(edit(kFile, "\"ogr\": 0", "\"ogr\": 1", true), "\"ogr\": \"High\",", "")
                                                     << "ogr" << 1;
    QTest::newRow("code left out") << edit(kFile, "\"full\": 250,", "", true) << "full" << 250;
    QTest::newRow("readable null keeps the code") << edit(kFile, "\"ogr\": \"High\"", "\"ogr\": null") << "ogr" << 0;
    // A computed value a hair off a whole number is that number.
    QTest::newRow("a hair above a whole number") << edit(edit(kFile, "\"empty\": 300", "\"empty\": 290.0000000000001"), "\"empty\": 300,", "\"empty\": 289.99999999999994,", true)
                                                 << "empty" << 290;
}
// clang-format on

void TestSettingsFile::handEdited()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, setting);
    QFETCH(int, value);
    QString why;
    const auto parsed = SettingsFile::parse(json, &why);
    QVERIFY2(parsed, qPrintable(why));
    // That setting as edited, every other as written.
    const SensorSettings original = block(kLevel23);
    for (const BlockSetting &each : blockSettings(SensorFamily::Level)) {
        const bool edited = QLatin1String(each.name) == setting;
        QCOMPARE(parsed->value(each), edited ? value : original.value(each));
    }
}

// clang-format off
void TestSettingsFile::refused_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("reason");

    QTest::newRow("unknown choice") << edit(kFile, "\"ogr\": \"High\"", "\"ogr\": \"Lowest\"")
                                    << "\"ogr\" must be High, Medium or Low, not \"Lowest\" (in \"settings\")";
    QTest::newRow("half a centimetre") << edit(kFile, "\"empty\": 300,", "\"empty\": 300.5,", true)
                                       << "\"empty\" must be a whole number from 0 to 65535, not 300.5 (in \"codes\")";
    QTest::newRow("not a rate") << edit(kFile, "\"baud\": 19200", "\"baud\": 19201")
                                << "\"baud\" must be 9600, 19200, 38400, 57600 or 115200, not 19201";
    // An edit made in one place only is not guessed at.
    QTest::newRow("readable edited alone") << edit(kFile, "\"ogr\": \"High\"", "\"ogr\": \"Low\"")
                                           << "ogr says Low but its code is 0";
    QTest::newRow("code edited alone") << edit(kFile, "\"ogr\": 0", "\"ogr\": 1", true)
                                       << "ogr says High but its code is 1";
    QTest::newRow("readable month 13") << edit(kFile, "\"month\": 1,", "\"month\": 13,") << "month says 13 but its code is 1";
    QTest::newRow("in neither") << edit(edit(kFile, "\"full\": 250,", ""), "\"full\": 250,", "", true)
                                << "lacks the setting \"full\"";
    QTest::newRow("model codes disagree") << edit(kFile, "\"model\": 23", "\"model\": 21", true) << "disagree";
    QTest::newRow("newer format") << edit(kFile, "\"format\": 2", "\"format\": 3")
                                  << "format 3 is not one this program reads";
    QTest::newRow("setting twice") << edit(kFile, "\"empty\": 300", "\"empty\": 300, \"empty\": 290")
                                   << "names \"empty\" twice";
}
// clang-format on

void TestSettingsFile::refused()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, reason);
    QString why;
    QVERIFY(!SettingsFile::parse(json, &why).has_value());
    QVERIFY2(why.contains(reason), qPrintable(why));
}

void TestSettingsFile::saveReplacesWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sensor.json"));
    QFile old(path); // longer than the new file: none of its tail may remain
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(10000, 'x'));
    old.close();

    QString why;
    QVERIFY2(SettingsFile::save(path, block(kDistance), kTaken, QStringLiteral("7"), &why), qPrintable(why));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), SettingsFile::serialize(block(kDistance), kTaken, QStringLiteral("7")));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("sensor.json")});

    // Into a folder that does not exist: refused, nothing made.
    const QString missing = dir.filePath(QStringLiteral("no/such/sensor.json"));
    QVERIFY(!SettingsFile::save(missing, block(kLevel23), kTaken, QStringLiteral("7"), &why));
    QVERIFY2(why.startsWith(QStringLiteral("Cannot write ") + missing), qPrintable(why));
    QVERIFY(!QFile::exists(missing));
}

void TestSettingsFile::compareMarksDifferingRows()
{
    const SensorSettings sensor = block(kLevel23);
    QVERIFY(!anyDiffers(compareSettings(planRestore(sensor, sensor, "f", false))));
    QCOMPARE(planRestore(sensor, block(kDistance), "f", false).status, RestorePlan::Status::Refused);

    // Model 21 with OGR Low, Empty 290 and Hi DO 91.
    const SensorSettings file = block(blockReply({40, 5, 2, 1, 15, 98, 21, 1, 34, 0, 250, 0, 50, 0, 91, 8, 10}));
    const QList<SettingComparison> rows = compareSettings(planRestore(sensor, file, "f", false));
    QCOMPARE(rows.size(), 13);
    QStringList differing;
    const auto settings = blockSettings(SensorFamily::Level);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows.at(i).setting, &settings[i]); // block order
        if (rows.at(i).differs)
            differing << QLatin1String(rows.at(i).setting->name);
    }
    // The model is not among them: restore keeps the sensor's.
    QCOMPARE(differing, (QStringList{"ogr", "empty", "hi-do"}));
    QCOMPARE(rows.at(2).fileValue, QStringLiteral("Low"));
    QCOMPARE(rows.at(7).sensorValue, QStringLiteral("300"));
    QCOMPARE(rows.at(6).sensorValue, QStringLiteral("DVT-14C11 (code 23)"));
    QVERIFY(rows.at(6).fileValue.endsWith(QStringLiteral("(code 21)")));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
