// Settings files (sensor/settingsfile.h) in the format backup writes and as
// a person may edit them, and the comparison of a sensor's block with a
// file's (sensor/settingscompare.h).
#include "replies.h"
#include "sensorblock.h"
#include "settingscompare.h"
#include "settingsfile.h"

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
// DVZ-900 at 9600: slave 17, OGR Medium, Empty 200, Full 300, switch 150, Hi DO 250.
const QByteArray kDistance = blockReply({30, 17, 1, 5, 12, 24, 90, 0, 200, 1, 44, 0, 150, 0, 250});
const QDateTime kTaken(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC);

SensorBlock block(const QByteArray &reply)
{
    QString why;
    const auto parsed = SensorBlock::fromReply(QString::fromLatin1(reply), &why);
    if (!parsed)
        qFatal("test block refused: %s", qPrintable(why));
    return *parsed;
}

QByteArray level23File()
{
    return SettingsFile::serialize(block(kLevel23), kTaken, QStringLiteral("7.0.0"));
}

// The text with only the first `from` replaced: "settings" comes before
// "codes", so this edits the readable value alone.
QByteArray replaceFirst(QByteArray text, const QByteArray &from, const QByteArray &to)
{
    const qsizetype at = text.indexOf(from);
    if (at < 0)
        qFatal("test text lacks %s", from.constData());
    return text.replace(at, from.size(), to);
}

QByteArray replaceLast(QByteArray text, const QByteArray &from, const QByteArray &to)
{
    const qsizetype at = text.lastIndexOf(from);
    if (at < 0)
        qFatal("test text lacks %s", from.constData());
    return text.replace(at, from.size(), to);
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void layout();
    void handEdited_data();
    void handEdited();
    void refused_data();
    void refused();
    void saveReplacesWhole();
    void saveFailsCleanly();
    void compareMarksDifferingRows();
    void compareIgnoresModel();
    void compareOtherFamily();
    void readableValues();
};

// clang-format off
void TestSettingsFile::roundTrip_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("level") << kLevel23;
    QTest::newRow("distance") << kDistance;
    QTest::newRow("largest values") << blockReply({70, 247, 2, 12, 31, 255, 105, 255, 255, 255, 255, 255, 255, 255, 255, 4, 1});
    QTest::newRow("millimetre model") << blockReply({60, 1, 1, 7, 4, 3, 106, 3, 232, 0, 100, 0, 20, 1, 0, 6, 1});
}
// clang-format on

void TestSettingsFile::roundTrip()
{
    QFETCH(QByteArray, reply);
    const SensorBlock original = block(reply);
    QString why;
    const auto again = SettingsFile::parse(SettingsFile::serialize(original, kTaken, QStringLiteral("7.0.0")), &why);
    QVERIFY2(again, qPrintable(why));
    QCOMPARE(again->family(), original.family());
    QCOMPARE(again->fieldCount(), original.fieldCount());
    for (int k = 1; k <= original.fieldCount(); ++k)
        QCOMPARE(again->field(k), original.field(k));
    QCOMPARE(again->modelName(), original.modelName());
}

void TestSettingsFile::layout()
{
    const QByteArray text = level23File();
    const QJsonObject root = QJsonDocument::fromJson(text).object();
    QCOMPARE(root.value("format").toInt(), 2);
    QCOMPARE(root.value("family").toString(), QStringLiteral("level"));
    QCOMPARE(root.value("model").toObject().value("code").toInt(), 23);
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
    QCOMPARE(settings.value("day").toInt(), 15);
    QVERIFY(!settings.contains("model"));
    const QJsonObject codes = root.value("codes").toObject();
    QCOMPARE(codes.value("baud").toInt(), 40);
    QCOMPARE(codes.value("ogr").toInt(), 0);
    QCOMPARE(codes.value("omb").toInt(), 8);
    QCOMPARE(codes.value("resolution").toInt(), 10);
    QCOMPARE(codes.value("model").toInt(), 23);
    QCOMPARE(codes.value("empty").toInt(), 300);

    // Written in this order for the reader: the format first, each object's
    // settings in block order.
    QVERIFY(text.startsWith("{\n    \"format\": 2,\n"));
    qsizetype last = text.indexOf("\"settings\"");
    for (const char *name : {"\"baud\"", "\"slave\"", "\"ogr\"", "\"month\"", "\"empty\"", "\"hi-do\"", "\"omb\""}) {
        const qsizetype at = text.indexOf(name, last);
        QVERIFY2(at > last, name);
        last = at;
    }
    QVERIFY(text.indexOf("\"codes\"") > last);
}

// clang-format off
void TestSettingsFile::handEdited_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("value");

    const QByteArray file = level23File();
    QTest::newRow("ogr readable") << replaceFirst(file, "\"ogr\": \"High\"", "\"ogr\": \"Low\"") << "ogr" << 2;
    QTest::newRow("ogr in small letters") << replaceFirst(file, "\"ogr\": \"High\"", "\"ogr\": \"medium\"") << "ogr" << 1;
    QTest::newRow("baud rate") << replaceFirst(file, "\"baud\": 19200", "\"baud\": 9600") << "baud" << 30;
    QTest::newRow("empty readable") << replaceFirst(file, "\"empty\": 300", "\"empty\": 290") << "empty" << 290;
    QTest::newRow("omb readable") << replaceFirst(file, "\"omb\": \"Wide\"", "\"omb\": \"Narrow\"") << "omb" << 4;
    QTest::newRow("resolution readable") << replaceFirst(file, "\"resolution\": \"Cm\"", "\"resolution\": \"mm\"")
                                         << "resolution" << 1;
    // The readable value wins over a code that says otherwise.
    QTest::newRow("code edited, readable kept") << replaceLast(file, "\"ogr\": 0", "\"ogr\": 1") << "ogr" << 0;
    QTest::newRow("empty code edited, readable kept") << replaceLast(file, "\"empty\": 300", "\"empty\": 310")
                                                      << "empty" << 300;
    // Either may be left out.
    QTest::newRow("readable left out") << replaceFirst(file, "\"slave\": 5,", "") << "slave" << 5;
    QTest::newRow("code left out, readable edited")
        << replaceFirst(replaceLast(file, "\"full\": 250,", ""), "\"full\": 250", "\"full\": 260") << "full" << 260;
    QTest::newRow("readable null keeps the code") << replaceFirst(file, "\"ogr\": \"High\"", "\"ogr\": null") << "ogr" << 0;
    QTest::newRow("model only in model")
        << replaceLast(file, "\"model\": 23,", "") << "model" << 23;
    QTest::newRow("format 1 named") << QByteArray(R"({"format": 1, "family": "distance", "settings": {"baud": 30,
        "slave": 7, "ogr": 1, "month": 1, "day": 2, "year": 3, "model": 90, "empty": 300, "full": 250, "switch": 99,
        "hi-do": 90}})") << "switch" << 99;
}
// clang-format on

void TestSettingsFile::handEdited()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, setting);
    QFETCH(int, value);
    QString why;
    const auto parsed = SettingsFile::parse(json, &why);
    QVERIFY2(parsed, qPrintable(why + u'\n' + QString::fromUtf8(json)));
    QCOMPARE(parsed->value(setting.toLatin1().constData()), value);
    // Every other setting is as it was written.
    if (parsed->family() == SensorFamily::Level) {
        const SensorBlock original = block(kLevel23);
        for (const BlockSetting &other : blockSettings(SensorFamily::Level)) {
            if (QLatin1String(other.name) != setting)
                QCOMPARE(parsed->value(other), original.value(other));
        }
    }
}

// clang-format off
void TestSettingsFile::refused_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("reason");

    const QByteArray file = level23File();
    QTest::newRow("unknown choice") << replaceFirst(file, "\"ogr\": \"High\"", "\"ogr\": \"Lowest\"")
                                    << "\"ogr\" must be High, Medium or Low, not \"Lowest\" (in \"settings\")";
    QTest::newRow("not a rate") << replaceFirst(file, "\"baud\": 19200", "\"baud\": 19201")
                                << "\"baud\" must be 9600, 19200, 38400, 57600 or 115200, not 19201";
    QTest::newRow("rate as text") << replaceFirst(file, "\"baud\": 19200", "\"baud\": \"19200\"") << "not \"19200\"";
    QTest::newRow("choice as code") << replaceFirst(file, "\"omb\": \"Wide\"", "\"omb\": 8") << "not 8 (in \"settings\")";
    QTest::newRow("readable month 13") << replaceFirst(file, "\"month\": 1,", "\"month\": 13,")
                                       << "\"month\" must be 1 to 12, not 13 (in \"settings\")";
    QTest::newRow("readable empty too large") << replaceFirst(file, "\"empty\": 300", "\"empty\": 70000")
                                              << "\"empty\" must be a whole number from 0 to 65535, not 70000";
    // A damaged code is refused though the readable value next to it is fine.
    QTest::newRow("code without a name") << replaceLast(file, "\"ogr\": 0", "\"ogr\": 7")
                                         << "\"ogr\" must be 0, 1 or 2, not 7 (in \"codes\")";
    QTest::newRow("day code 0") << replaceLast(file, "\"day\": 15", "\"day\": 0") << "\"day\" must be 1 to 31, not 0";
    QTest::newRow("readable null, no code") << replaceLast(replaceFirst(file, "\"ogr\": \"High\"", "\"ogr\": null"),
                                                           "\"ogr\": 0,", "")
                                            << "not null";
    QTest::newRow("in neither") << replaceLast(replaceFirst(file, "\"full\": 250,", ""), "\"full\": 250,", "")
                                << "lacks the setting \"full\"";
    QTest::newRow("no objects") << QByteArray(R"({"format": 2, "family": "level", "model": {"code": 23}})")
                                << "holds no \"settings\" object";
    QTest::newRow("codes not an object") << replaceFirst(file, "\"codes\": {", "\"codes\": [1], \"x\": {")
                                         << "\"codes\" is not an object";
    QTest::newRow("setting of the other family") << replaceLast(file, "\"omb\": 8", "\"omb\": 8, \"switch\": 100")
                                                 << "does not have: \"switch\"";
    QTest::newRow("model among readable") << replaceFirst(file, "\"slave\": 5", "\"slave\": 5, \"model\": 23")
                                          << "gives the model in \"model\"";
    QTest::newRow("model codes disagree") << replaceLast(file, "\"model\": 23", "\"model\": 21") << "disagree";
    QTest::newRow("model of the other family")
        << replaceLast(replaceFirst(file, "\"code\": 23", "\"code\": 90"), "\"model\": 23", "\"model\": 90")
        << "model code 90 is not a level sensor's";
    QTest::newRow("no model code") << replaceLast(replaceFirst(file, "\"code\": 23, ", ""), "\"model\": 23,", "")
                                   << "lacks the model code";
    QTest::newRow("newer format") << replaceFirst(file, "\"format\": 2", "\"format\": 3")
                                  << "format 3 is not one this program reads";
    QTest::newRow("format as text") << replaceFirst(file, "\"format\": 2", "\"format\": \"2\"") << "format \"2\"";
    QTest::newRow("setting twice") << replaceFirst(file, "\"empty\": 300", "\"empty\": 300, \"empty\": 290")
                                   << "names \"empty\" twice";
    QTest::newRow("format twice") << replaceFirst(file, "\"format\": 2", "\"format\": 2, \"format\": 2")
                                  << "names \"format\" twice";
    QTest::newRow("foreign family") << replaceFirst(file, "\"level\"", "\"tank\"") << "names no sensor family";
    QTest::newRow("cut short") << file.chopped(30) << "not valid JSON";
}
// clang-format on

void TestSettingsFile::refused()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, reason);
    QString why;
    QVERIFY2(!SettingsFile::parse(json, &why).has_value(), qPrintable(QString::fromUtf8(json)));
    QVERIFY2(why.contains(reason), qPrintable(why));
}

void TestSettingsFile::saveReplacesWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sensor.json"));
    // A longer file in the way: the saved one must not keep its tail.
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(10000, 'x'));
    old.close();

    QString why;
    QVERIFY2(SettingsFile::save(path, block(kDistance), kTaken, QStringLiteral("7.0.0"), &why), qPrintable(why));
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), SettingsFile::serialize(block(kDistance), kTaken, QStringLiteral("7.0.0")));
    // No temporary file is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("sensor.json")});

    const auto loaded = SettingsFile::load(path, &why);
    QVERIFY2(loaded, qPrintable(why));
    QCOMPARE(loaded->value("switch"), 150);
}

void TestSettingsFile::saveFailsCleanly()
{
    QTemporaryDir dir;
    QString why;
    // A folder that does not exist, and one that is a file.
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/sensor.json"));
    QVERIFY(!SettingsFile::save(missing, block(kLevel23), kTaken, QStringLiteral("7"), &why));
    QVERIFY2(why.startsWith(QStringLiteral("Cannot write ") + missing), qPrintable(why));
    QVERIFY(!QFile::exists(missing));

    const QString existing = dir.filePath(QStringLiteral("old.json"));
    QVERIFY(SettingsFile::save(existing, block(kLevel23), kTaken, QStringLiteral("7"), &why));
    QVERIFY(!SettingsFile::save(existing + QStringLiteral("/inside.json"), block(kDistance), kTaken,
                                QStringLiteral("7"), &why));
    const auto kept = SettingsFile::load(existing, &why);
    QVERIFY2(kept, qPrintable(why));
    QCOMPARE(kept->family(), SensorFamily::Level);
}

void TestSettingsFile::compareMarksDifferingRows()
{
    const SensorBlock sensor = block(kLevel23);
    const QList<SettingComparison> same = compareSettings(sensor, sensor);
    QCOMPARE(same.size(), 13);
    QVERIFY(!anyDiffers(same));
    const auto levelSettings = blockSettings(SensorFamily::Level);
    for (qsizetype i = 0; i < same.size(); ++i) {
        QCOMPARE(same.at(i).setting, &levelSettings[i]); // block order
        QCOMPARE(same.at(i).sensorValue, same.at(i).fileValue);
    }

    // OGR Low, Empty 290 and Hi DO 91 in the file.
    const SensorBlock file = block(blockReply({40, 5, 2, 1, 15, 98, 23, 1, 34, 0, 250, 0, 50, 0, 91, 8, 10}));
    const QList<SettingComparison> rows = compareSettings(sensor, file);
    QCOMPARE(rows.size(), 13);
    QVERIFY(anyDiffers(rows));
    QStringList differing;
    for (const SettingComparison &row : rows) {
        if (row.differs)
            differing << QLatin1String(row.setting->name);
        else
            QCOMPARE(row.sensorValue, row.fileValue);
    }
    QCOMPARE(differing, (QStringList{"ogr", "empty", "hi-do"}));
    QCOMPARE(rows.at(2).sensorValue, QStringLiteral("High"));
    QCOMPARE(rows.at(2).fileValue, QStringLiteral("Low"));
    QCOMPARE(rows.at(7).sensorValue, QStringLiteral("300"));
    QCOMPARE(rows.at(7).fileValue, QStringLiteral("290"));
}

void TestSettingsFile::compareIgnoresModel()
{
    // The same settings taken from a DVT-14C11 (23) and a model 21.
    const SensorBlock sensor = block(kLevel23);
    const SensorBlock file = block(blockReply({40, 5, 0, 1, 15, 98, 21, 1, 44, 0, 250, 0, 50, 0, 90, 8, 10}));
    const QList<SettingComparison> rows = compareSettings(sensor, file);
    QVERIFY(!anyDiffers(rows));
    const SettingComparison &model = rows.at(6);
    QCOMPARE(model.setting->id, Setting::Model);
    QVERIFY(!model.differs);
    QCOMPARE(model.sensorValue, QStringLiteral("DVT-14C11 (code 23)"));
    QVERIFY(model.fileValue.endsWith(QStringLiteral("(code 21)")));
}

void TestSettingsFile::compareOtherFamily()
{
    QVERIFY(compareSettings(block(kLevel23), block(kDistance)).isEmpty());
    const QList<SettingComparison> rows = compareSettings(block(kDistance), block(kDistance));
    QCOMPARE(rows.size(), 11);
    QCOMPARE(rows.at(9).setting->id, Setting::Switch);
    QCOMPARE(rows.at(9).sensorValue, QStringLiteral("150"));
}

void TestSettingsFile::readableValues()
{
    const BlockSetting &baud = blockSetting(Setting::Baud);
    QCOMPARE(describeValue(baud, 70), QStringLiteral("115200"));
    QCOMPARE(describeValue(baud, 35), QStringLiteral("code 35"));
    QCOMPARE(choiceText(baud, 35), QString());
    QCOMPARE(describeValue(blockSetting(Setting::Ogr), 1), QStringLiteral("Medium"));
    QCOMPARE(describeValue(blockSetting(Setting::Omb), 6), QStringLiteral("Widish"));
    QCOMPARE(describeValue(blockSetting(Setting::Resolution), 1), QStringLiteral("mm"));
    QCOMPARE(describeValue(blockSetting(Setting::Resolution), 2), QStringLiteral("code 2"));
    QCOMPARE(describeValue(blockSetting(Setting::Empty), 300), QStringLiteral("300"));
    QCOMPARE(choiceText(blockSetting(Setting::Empty), 300), QString());
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
