// The settings windows' File menu end to end against veltra-sim: what an
// opened file may change, and Compare with File against what the sensor
// holds now.
#include "distancewindow.h"
#include "findcontrol.h"
#include "messageboxes.h"
#include "programrun.h"
#include "serialports.h"
#include "session/sensorsession.h"
#include "settingsfiles.h"
#include "shots.h"
#include "trafficlogwindow.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableWidget>
#include <QTimer>

using namespace veltra;

namespace {

// Sets settings in a saved file, readable value and code alike.
bool editFile(const QString &path, const QJsonObject &values)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    file.close();
    QJsonObject settings = root.value("settings").toObject();
    QJsonObject codes = root.value("codes").toObject();
    for (auto it = values.begin(); it != values.end(); ++it) {
        settings.insert(it.key(), it.value());
        codes.insert(it.key(), it.value());
    }
    root.insert("settings", settings);
    root.insert("codes", codes);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(QJsonDocument(root).toJson()) > 0;
}

int reads(Sim &sim)
{
    QTest::qWait(150);
    return int(sim.log().count(QStringLiteral("<- read settings")));
}

} // namespace

class TestWindowFiles : public QObject
{
    Q_OBJECT
private slots:
    void openedFileChangesOnlyWhatIsShown();
    void distanceWindowKeepsItsDate();
};

void TestWindowFiles::openedFileChangesOnlyWhatIsShown()
{
    ProgramRun run;
    // Model 20 hides its switching thresholds; no window shows the date.
    QVERIFY(run.openLevelWindow({"--model", "20", "--baud", "19200"}));
    LevelWindow &form2 = run.program.levelWindow();
    named<QPushButton>(form2, "Command5")->click();
    const SensorSettings before = *form2.settingsMenu().lastRead();
    QTemporaryDir dir;
    const QString original = dir.filePath(QStringLiteral("original.json"));
    const QString edited = dir.filePath(QStringLiteral("edited.json"));
    QVERIFY(form2.settingsMenu().saveTo(original));
    QVERIFY(form2.settingsMenu().saveTo(edited));
    QVERIFY(editFile(edited, {{"month", 3}, {"day", 4}, {"year", 20}, {"low-do", 77}, {"hi-do", 199}, {"empty", 290}}));

    // Opening says what it does not take; only the shown field is marked.
    const QString said = closingBoxes([&] { QVERIFY(form2.settingsMenu().openFrom(edited)); }).join(u'\n');
    QVERIFY2(said.contains(QStringLiteral("The stored date (3/4/20): not taken")), qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral("Low DO (77): ")), qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral("Hi DO (199): ")), qPrintable(said));
    auto *empty = named<QLineEdit>(form2, "Text2");
    QCOMPARE(form2.settingsMenu().markedFields(), QList<QWidget *>{empty});
    QVERIFY2(empty->toolTip().contains(QStringLiteral("300")) && empty->toolTip().contains(QStringLiteral("290")),
             qPrintable(empty->toolTip()));

    // Write sends the shown change and nothing else.
    QCOMPARE(closingBoxes([&] { named<QPushButton>(form2, "Command4")->click(); }), QStringList());
    QVERIFY(empty->toolTip().isEmpty());

    // Compare reads the sensor (not the Read from before the Write): it
    // holds 290, the original file 300.
    const int readsBefore = reads(run.sim);
    QDialog *dialog = nullptr;
    QCOMPARE(closingBoxes([&] { dialog = form2.settingsMenu().compareWith(original); }), QStringList());
    QVERIFY(dialog);
    QCOMPARE(reads(run.sim), readsBefore + 1);
    auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("ComparisonTable"));
    QVERIFY(table->horizontalHeaderItem(1)->text().startsWith(QStringLiteral("In the sensor (read ")));
    QStringList differing;
    for (int r = 0; r < table->rowCount(); ++r) {
        if (table->item(r, 1)->background().color() == ui::fromFileColour())
            differing << table->item(r, 0)->text() + u'=' + table->item(r, 1)->text();
    }
    QCOMPARE(differing, QStringList{QStringLiteral("Empty (cm)=290")});
    saveShot(dialog, QStringLiteral("compare"));
    delete dialog;
    // The other tool windows, for a look at them (VELTRA_SHOT_DIR).
    ui::TrafficLogWindow *traffic = ui::showTrafficLog(run.program.session().traffic());
    saveShot(traffic, QStringLiteral("traffic-log"));
    traffic->close();
    QDialog *ports = ui::showSerialPorts(&form2, 15);
    saveShot(ports, QStringLiteral("serial-ports"));
    ports->close();

    named<QPushButton>(form2, "Command5")->click();
    const SensorSettings after = *form2.settingsMenu().lastRead();
    for (const BlockSetting &setting : blockSettings(SensorFamily::Level)) {
        const int expected = setting.id == Setting::Empty ? 290 : before.value(setting);
        QVERIFY2(after.value(setting) == expected, setting.name);
    }
}

void TestWindowFiles::distanceWindowKeepsItsDate()
{
    ProgramRun run;
    QVERIFY(run.openDistanceWindow({"--model", "90", "--baud", "19200"}));
    DistanceWindow &form6 = run.program.distanceWindow();
    named<QPushButton>(form6, "Command5")->click();
    const SensorSettings before = *form6.settingsMenu().lastRead();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("distance.json"));
    QVERIFY(form6.settingsMenu().saveTo(path));
    QVERIFY(editFile(path, {{"month", 3}, {"day", 4}, {"year", 20}}));
    const QString said = closingBoxes([&] { QVERIFY(form6.settingsMenu().openFrom(path)); }).join(u'\n');
    QVERIFY2(said.contains(QStringLiteral("The stored date (3/4/20): not taken")), qPrintable(said));
    QVERIFY(form6.settingsMenu().markedFields().isEmpty());
    closingBoxes([&] { named<QPushButton>(form6, "Command4")->click(); });
    named<QPushButton>(form6, "Command5")->click();
    for (Setting date : {Setting::Month, Setting::Day, Setting::Year})
        QCOMPARE(form6.settingsMenu().lastRead()->value(date), before.value(date));
}

QTEST_MAIN(TestWindowFiles)
#include "tst_windowfiles_e2e.moc"
