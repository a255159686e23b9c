// The settings windows' entries in the commissioning record, end to end
// against veltra-sim: a Write, File > Verify, a Write the checks refuse, a
// write cut short by a pulled adapter, File > Certificate… and View >
// History….
#include "distancewindow.h"
#include "findcontrol.h"
#include "historywindow.h"
#include "menubar.h"
#include "messageboxes.h"
#include "programrun.h"
#include "record/commissioningrecord.h"
#include "settingsfiles.h"
#include "shots.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

using namespace veltra;

namespace {

// Every entry of the record the programs are configured with, oldest first.
QList<RecordEntry> recorded()
{
    QString why;
    RecordDatabase record(*RecordTarget::configured(QString(), &why));
    if (!record.open(&why))
        qWarning() << why;
    return record.history({}, &why).value_or(QList<RecordEntry>());
}

void closeLinkFailure()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == u"LinkFailure")
            widget->close();
    }
}

} // namespace

class TestRecordE2e : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void levelWriteVerifyRefuseAndCertificate();
    void lostWriteFailsAndVerifyFindsTheDifference();
    void distanceWindowRecordsToo();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRecordE2e::init()
{
    // A record of each test's own.
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("VELTRA_RECORD", QFile::encodeName(m_dir->filePath(QStringLiteral("record.sqlite"))));
}

void TestRecordE2e::levelWriteVerifyRefuseAndCertificate()
{
    ProgramRun run;
    QVERIFY(run.openLevelWindow({"--model", "21", "--baud", "19200"}));
    LevelWindow &form2 = run.program.levelWindow();
    ui::SettingsMenu &menu = form2.settingsMenu();
    named<QPushButton>(form2, "Command5")->click();
    const SensorSettings before = *menu.lastRead();
    QVERIFY(!menu.verifyAction()->isEnabled());
    QVERIFY(!menu.certificateAction()->isEnabled());

    // Write: one entry, nothing said.
    named<QLineEdit>(form2, "Text2")->setText(QStringLiteral("290"));
    QCOMPARE(closingBoxes([&] { named<QPushButton>(form2, "Command4")->click(); }), QStringList());
    QList<RecordEntry> kept = recorded();
    QCOMPARE(kept.size(), 1);
    const RecordEntry written = kept.first();
    QCOMPARE(written.verdict, QStringLiteral("not verified"));
    QCOMPARE(written.source, QStringLiteral("level window"));
    QCOMPARE(written.before, std::optional(before));
    QVERIFY(!written.readBack);
    QCOMPARE(written.changes(), QStringList{QStringLiteral("empty 300 %1 -> 290 %1").arg(before.unit())});
    QCOMPARE(written.modelName, before.modelName());
    QCOMPARE(written.port, QStringLiteral("1"));
    QCOMPARE(written.device, run.link.device());
    QCOMPARE(written.operatorName, loginName());
    QVERIFY(menu.verifyAction()->isEnabled());
    QVERIFY(menu.certificateAction()->isEnabled());
    // The File menu now, for a look at it (VELTRA_SHOT_DIR).
    QMenu *fileMenu = menu.menuBar()->actions().at(0)->menu();
    fileMenu->popup(form2.mapToGlobal(QPoint(0, ui::clientTop(&form2))));
    saveShot(fileMenu, QStringLiteral("level-file-menu"));
    fileMenu->hide();

    // Verify reads the sensor again: it holds what was written.
    QStringList said = closingBoxes([&] { menu.verifyAction()->trigger(); });
    QCOMPARE(said.size(), 1);
    QVERIFY2(said.first().startsWith(QStringLiteral("Verified: ")), qPrintable(said.first()));
    kept = recorded();
    QCOMPARE(kept.size(), 2);
    const RecordEntry verified = kept.last();
    QCOMPARE(verified.verdict, QStringLiteral("verified"));
    QCOMPARE(verified.before, written.before);
    QCOMPARE(verified.sent, written.sent);
    QCOMPARE(verified.readBack->value(Setting::Empty), 290);
    QCOMPARE(menu.lastEntry()->id, verified.id); // what Certificate… prints

    // Certificate… of that entry.
    const QString pdf = m_dir->filePath(QStringLiteral("certificate.pdf"));
    QVERIFY(menu.certificateTo(pdf));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5).startsWith("%PDF"));

    // A slave address out of range: refused with the message the operator saw.
    named<QLineEdit>(form2, "Text13")->setText(QStringLiteral("999"));
    said = closingBoxes([&] { named<QPushButton>(form2, "Command4")->click(); });
    QCOMPARE(said.size(), 1);
    QVERIFY(said.first().startsWith(QStringLiteral("slave address not in range or empty")));
    kept = recorded();
    QCOMPARE(kept.size(), 3);
    const RecordEntry refused = kept.last();
    QCOMPARE(refused.verdict, QStringLiteral("refused"));
    QCOMPARE(refused.exitCode, 4);
    // Its words, without the control characters that end the prompt.
    QCOMPARE(refused.message, QStringLiteral("slave address not in range or empty"));
    QCOMPARE(refused.before, std::optional(before));
    QVERIFY(!refused.sent && !refused.readBack);

    // View > History… lists the three, the newest selected.
    menu.menuBar()->findChild<QAction *>(QStringLiteral("HistoryAction"))->trigger();
    ui::HistoryWindow *history = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<ui::HistoryWindow *>(widget))
            history = window;
    }
    QVERIFY(history && history->isVisible());
    QCOMPARE(history->entries().size(), 3);
    QCOMPARE(history->selectedEntry()->id, refused.id);
    saveShot(history, QStringLiteral("history-after-writes"));
    history->close();
}

void TestRecordE2e::lostWriteFailsAndVerifyFindsTheDifference()
{
    ProgramRun run;
    // Connect, the notice's read, Read and the write: the adapter goes with it.
    QVERIFY(run.openLevelWindow({"--model", "21", "--baud", "19200", "--unplug-after", "4"}));
    LevelWindow &form2 = run.program.levelWindow();
    named<QPushButton>(form2, "Command5")->click();
    named<QLineEdit>(form2, "Text2")->setText(QStringLiteral("290"));
    closingBoxes([&] { named<QPushButton>(form2, "Command4")->click(); });
    QList<RecordEntry> kept = recorded();
    QCOMPARE(kept.size(), 1);
    QCOMPARE(kept.first().verdict, QStringLiteral("failed"));
    QCOMPARE(kept.first().exitCode, 3);
    QCOMPARE(kept.first().sent->value(Setting::Empty), 290);
    QVERIFY2(kept.first().message.contains(run.link.device()), qPrintable(kept.first().message));
    closeLinkFailure();

    // Back with another Empty: Verify opens the port again and finds it.
    Sim back(run.ports);
    QVERIFY(!back.start({"--model", "21", "--baud", "19200", "--set", "empty=280"}).isEmpty());
    const QString unit = form2.settingsMenu().lastRead()->unit();
    const QStringList said = closingBoxes([&] { form2.settingsMenu().verifyAction()->trigger(); });
    const QString difference = QStringLiteral("empty: sent 290 %1, the sensor holds 280 %1").arg(unit);
    QCOMPARE(said.size(), 1);
    QVERIFY2(said.first().contains(difference), qPrintable(said.first()));
    kept = recorded();
    QCOMPARE(kept.size(), 2);
    QCOMPARE(kept.last().verdict, QStringLiteral("differs"));
    QCOMPARE(kept.last().exitCode, 6);
    QCOMPARE(kept.last().message, difference);
    QCOMPARE(kept.last().readBack->value(Setting::Empty), 280);
}

void TestRecordE2e::distanceWindowRecordsToo()
{
    ProgramRun run;
    QVERIFY(run.openDistanceWindow({"--model", "90", "--baud", "19200"}));
    DistanceWindow &form6 = run.program.distanceWindow();
    named<QPushButton>(form6, "Command5")->click();
    QCOMPARE(closingBoxes([&] { named<QPushButton>(form6, "Command4")->click(); }), QStringList());
    named<QLineEdit>(form6, "Text13")->setText(QStringLiteral("0"));
    QCOMPARE(closingBoxes([&] { named<QPushButton>(form6, "Command4")->click(); }).size(), 1);
    QStringList verdicts;
    for (const RecordEntry &entry : recorded())
        verdicts << entry.source + u' ' + entry.verdict;
    QCOMPARE(verdicts, (QStringList{"distance window not verified", "distance window refused"}));
}

QTEST_MAIN(TestRecordE2e)
#include "tst_record_e2e.moc"
