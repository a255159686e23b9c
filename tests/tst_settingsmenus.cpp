// The menus above the settings and start windows: settings files saved,
// opened (marking what differs from the sensor) and compared; the port list
// with the adapters behind the numbers.
#include "distancewindow.h"
#include "files/settingsfile.h"
#include "findcontrol.h"
#include "fulldisk.h"
#include "levelwindow.h"
#include "protocol/commandframe.h"
#include "ptypeer.h"
#include "replies.h"
#include "scriptedlink.h"
#include "serialports.h"
#include "session/sensorsession.h"
#include "settingsfiles.h"
#include "shots.h"
#include "windowtesting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenuBar>
#include <QMessageBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace veltra;

namespace {

// Closes whatever message box comes up while `action` runs; its text, or
// empty when none came.
template <typename Action>
QString closingBoxes(Action action)
{
    QString seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&seen] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            seen = box->text();
            box->close();
        }
    });
    poll.start();
    action();
    return seen;
}

// Answers every message box that comes up while `action` runs with the
// button of that text (or closes it); each box's text and informative text.
template <typename Action>
QStringList answeringBoxes(const QString &button, Action action)
{
    QStringList seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&seen, &button] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen << box->text() + u'\n' + box->informativeText();
        saveShot(box, box->objectName());
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == button) {
                b->click();
                return;
            }
        }
        box->close();
    });
    poll.start();
    action();
    return seen;
}

// A level window on a scripted sensor that has been read once.
struct LevelRun {
    // Connects and reads; false when the window never let Read be pressed.
    bool start()
    {
        if (!session.connectTo(QStringLiteral("1"), QStringLiteral("19200"))
            || !QTest::qWaitFor([this] { return named<QPushButton>(window, "Command5")->isEnabled(); }, 1000))
            return false;
        read(levelReply(40, 21));
        return named<QPushButton>(window, "Command4")->isEnabled();
    }
    void read(const QByteArray &reply)
    {
        link.queueReply(reply);
        named<QPushButton>(window, "Command5")->click();
    }
    ScriptedLink link;
    SensorSession session{link};
    LevelWindow window{session};
};

QStringList menuTitles(const QMenuBar *bar)
{
    QStringList titles;
    for (QAction *action : bar->actions())
        titles << action->text();
    return titles;
}

QStringList actionTexts(const QMenuBar *bar, int menu)
{
    QStringList texts;
    for (QAction *action : bar->actions().at(menu)->menu()->actions())
        texts << action->text() + (action->shortcut().isEmpty() ? QString() : u' ' + action->shortcut().toString());
    return texts;
}

} // namespace

class TestSettingsMenus : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void menusAboveTheClientArea();
    void savedFileOpensIntoTheFields();
    void handEditedReadableValueIsTaken();
    void openedFileKeepsItsMeaning_data();
    void openedFileKeepsItsMeaning();
    void unusableFilesChangeNothing_data();
    void unusableFilesChangeNothing();
    void saveAppliesWritesChecks();
    void comparisonMarksExactlyTheDifferingRows();
    void distanceWindowSavesAndOpens();
    void portListShowsTheDevice();

private:
    QTemporaryDir m_dir;
};

void TestSettingsMenus::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("VELTRA_PORTS_DIR", QFile::encodeName(m_dir.filePath(QStringLiteral("ports"))));
}

void TestSettingsMenus::menusAboveTheClientArea()
{
    ScriptedLink link;
    SensorSession session(link);
    LevelWindow level(session);
    DistanceWindow distance(session);
    for (QWidget *window : {static_cast<QWidget *>(&level), static_cast<QWidget *>(&distance)}) {
        auto *bar = window->findChild<QMenuBar *>(QStringLiteral("MenuBar"), Qt::FindDirectChildrenOnly);
        QVERIFY(bar);
        QCOMPARE(bar->geometry().top(), 0);
        QCOMPARE(ui::clientTop(window), bar->height());
        QVERIFY(bar->height() > 0);
        QCOMPARE(menuTitles(bar), (QStringList{"&File", "&View", "&Help"}));
        QCOMPARE(actionTexts(bar, 0), (QStringList{"&Save Settings… Ctrl+S", "&Open Settings… Ctrl+O",
                                                   "&Compare with File…", "", "&Verify", "Cer&tificate…"}));
        QCOMPARE(actionTexts(bar, 1), (QStringList{"&Trend… Ctrl+T", "Traffic &Log…", "&History…"}));
        QCOMPARE(actionTexts(bar, 2),
                 (QStringList{"&User Guide F1", "Save &Diagnostic Report…", "&Serial Ports", "&About", "&Language"}));
        // Nothing to save, compare, verify or plot before a Read; the
        // traffic, the history and the report are there from the start.
        for (QAction *action : bar->actions().at(0)->menu()->actions())
            QVERIFY(action->isSeparator() || !action->isEnabled());
        QVERIFY(!bar->actions().at(1)->menu()->actions().at(0)->isEnabled());
        QVERIFY(bar->actions().at(1)->menu()->actions().at(1)->isEnabled());
        QVERIFY(bar->actions().at(1)->menu()->actions().at(2)->isEnabled());
        QVERIFY(bar->actions().at(2)->menu()->actions().at(0)->isEnabled());
        // Every control lies below the bar.
        for (QWidget *child : window->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child != bar && !child->isWindow())
                QVERIFY2(child->y() >= bar->height(), qPrintable(child->objectName()));
        }
    }
    QCOMPARE(level.size(), QSize(12270 / 15, 7245 / 15 + ui::clientTop(&level)));
}

void TestSettingsMenus::savedFileOpensIntoTheFields()
{
    LevelRun run;
    QVERIFY(run.start());
    LevelWindow &w = run.window;
    // The file actions come with the Read; Verify waits for a Write.
    for (QAction *action : w.settingsMenu().menuBar()->actions().at(0)->menu()->actions().mid(0, 3))
        QVERIFY(action->isEnabled());
    QVERIFY(!w.settingsMenu().verifyAction()->isEnabled());

    // The operator changes Empty and the OGR box, and saves.
    named<QLineEdit>(w, "Text2")->setText(QStringLiteral("290"));
    named<QComboBox>(w, "Combo3")->setCurrentText(QStringLiteral("Low"));
    const QString path = m_dir.filePath(QStringLiteral("level.json"));
    QVERIFY(w.settingsMenu().saveTo(path));
    QVERIFY(run.link.sent().size() == 1); // the read only: saving sends nothing

    // A Read brings the sensor's values back; opening the file shows the saved ones.
    run.read(levelReply(40, 21));
    QCOMPARE(named<QLineEdit>(w, "Text2")->text(), QStringLiteral("300"));
    run.link.clearJournal();
    QVERIFY(w.settingsMenu().openFrom(path));
    QVERIFY(run.link.journal().isEmpty());
    QCOMPARE(named<QLineEdit>(w, "Text2")->text(), QStringLiteral("290"));
    QCOMPARE(named<QComboBox>(w, "Combo3")->currentText(), QStringLiteral("Low"));
    QCOMPARE(named<QLineEdit>(w, "Text3")->text(), QStringLiteral("250"));
    QCOMPARE(named<QComboBox>(w, "Combo2")->currentText(), QStringLiteral("DVT-14C01"));
    const QList<QWidget *> marked = w.settingsMenu().markedFields();
    QCOMPARE(marked.size(), 2);
    QVERIFY(marked.contains(named<QLineEdit>(w, "Text2")));
    QVERIFY(marked.contains(named<QComboBox>(w, "Combo3")->lineEdit()));
    QCOMPARE(named<QLineEdit>(w, "Text2")->palette().color(QPalette::Base), ui::fromFileColour());

    // Write sends the file's values and the marks go.
    QVERIFY(closingBoxes([&w] { named<QPushButton>(w, "Command4")->click(); }).isEmpty());
    const QByteArray request = run.link.sent().constLast();
    QCOMPARE(request.at(4 + 2), char(2));  // OGR code of "Low"
    QCOMPARE(request.at(4 + 7), char(1));  // Empty 290: high byte
    QCOMPARE(request.at(4 + 8), char(34)); //            low byte
    QVERIFY(w.settingsMenu().markedFields().isEmpty());
    QVERIFY(named<QLineEdit>(w, "Text2")->palette().color(QPalette::Base) != ui::fromFileColour());
}

void TestSettingsMenus::handEditedReadableValueIsTaken()
{
    LevelRun run;
    QVERIFY(run.start());
    const QString path = m_dir.filePath(QStringLiteral("edited.json"));
    QVERIFY(run.window.settingsMenu().saveTo(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    file.close();
    QJsonObject settings = root.value(QStringLiteral("settings")).toObject();
    QVERIFY(!settings.isEmpty());
    settings.insert(QStringLiteral("ogr"), QStringLiteral("Medium"));
    settings.insert(QStringLiteral("full"), 200);
    root.insert(QStringLiteral("settings"), settings);
    // The codes of the edited values go, so the readable ones stand alone.
    QJsonObject codes = root.value(QStringLiteral("codes")).toObject();
    codes.remove(QStringLiteral("ogr"));
    codes.remove(QStringLiteral("full"));
    root.insert(QStringLiteral("codes"), codes);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QJsonDocument(root).toJson());
    file.close();

    QVERIFY(run.window.settingsMenu().openFrom(path));
    QCOMPARE(named<QComboBox>(run.window, "Combo3")->currentText(), QStringLiteral("Medium"));
    QCOMPARE(named<QLineEdit>(run.window, "Text3")->text(), QStringLiteral("200"));
    QCOMPARE(run.window.settingsMenu().markedFields().size(), 2);
}

// clang-format off
void TestSettingsMenus::openedFileKeepsItsMeaning_data()
{
    QTest::addColumn<QByteArray>("sensor"); // the block the window read
    QTest::addColumn<QByteArray>("file");   // the block the file holds
    QTest::addColumn<QString>("button");    // the answer to the unit question
    QTest::addColumn<QString>("empty");     // Empty and Low DO afterwards
    QTest::addColumn<QString>("lowDo");
    QTest::addColumn<QString>("message");   // part of what the boxes said; empty: no box

    const QByteArray mm = blockReply({40, 5, 0, 1, 15, 98, 24, 11, 84, 0, 250, 0, 50, 0, 90, 8, 1}); // Empty 2900 mm
    QTest::newRow("millimetres cancelled") << levelReply(40, 21) << mm << "Cancel" << "300" << "50"
        << "mm.json holds millimetres; this DVT-14C01 works in centimetres. Nothing was changed.";
    QTest::newRow("millimetres converted") << levelReply(40, 21) << mm << "Convert" << "290" << "5"
        << "converted from millimetres to centimetres";
    QTest::newRow("thresholds the model lacks") << levelReply(40, 20)
        << blockReply({40, 5, 0, 1, 15, 98, 21, 1, 44, 0, 250, 0, 7, 0, 9, 8, 10}) << "OK" << "300" << "50"
        << "Low DO (7): a DVT-14C00 has no switching outputs";
    QTest::newRow("same unit, nothing to say") << levelReply(40, 21)
        << blockReply({40, 5, 0, 1, 15, 98, 21, 1, 34, 0, 250, 0, 50, 0, 90, 8, 10}) << "OK" << "290" << "50" << "";
}
// clang-format on

void TestSettingsMenus::openedFileKeepsItsMeaning()
{
    QFETCH(QByteArray, sensor);
    QFETCH(QByteArray, file);
    QFETCH(QString, button);
    QFETCH(QString, empty);
    QFETCH(QString, lowDo);
    QFETCH(QString, message);

    LevelRun run;
    QVERIFY(run.start());
    run.read(sensor);
    QString why;
    const auto saved = SensorSettings::fromReply(QString::fromLatin1(file), &why);
    QVERIFY2(saved, qPrintable(why));
    const QString path = m_dir.filePath(saved->unit() == u"mm" ? QStringLiteral("mm.json") : QStringLiteral("cm.json"));
    QVERIFY(SettingsFile::save(path, *saved, QDateTime::currentDateTimeUtc(), QStringLiteral("7"), &why));

    bool opened = false;
    const QStringList said = answeringBoxes(button, [&] { opened = run.window.settingsMenu().openFrom(path); });
    QCOMPARE(opened, button != u"Cancel");
    QCOMPARE(said.isEmpty(), message.isEmpty());
    QVERIFY2(said.join(u'\n').contains(message), qPrintable(said.join(u'\n')));
    QCOMPARE(named<QLineEdit>(run.window, "Text2")->text(), empty);
    QCOMPARE(named<QLineEdit>(run.window, "Text4")->text(), lowDo);
}

void TestSettingsMenus::unusableFilesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("not JSON") << QByteArray("{\"family\": \"level\", ");
    QTest::newRow("distance family") << QByteArray(
        R"({"family":"distance","settings":{"baud":30,"slave":1,"ogr":1,"month":1,"day":1,"year":26,)"
        R"("model":90,"empty":0,"full":0,"switch":150,"hi-do":0}})");
    QTest::newRow("out of range") << QByteArray(
        R"({"family":"level","settings":{"baud":40,"slave":1,"ogr":0,"month":13,"day":1,"year":26,)"
        R"("model":21,"empty":300,"full":280,"low-do":50,"hi-do":90,"omb":8,"resolution":10}})");
}

void TestSettingsMenus::unusableFilesChangeNothing()
{
    QFETCH(QByteArray, content);
    LevelRun run;
    QVERIFY(run.start());
    const QString path = m_dir.filePath(QStringLiteral("bad.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();

    named<QLineEdit>(run.window, "Text2")->setText(QStringLiteral("295"));
    bool opened = true;
    const QString message = closingBoxes([&] { opened = run.window.settingsMenu().openFrom(path); });
    QVERIFY(!opened);
    QCOMPARE(message, QStringLiteral("bad.json cannot be used: nothing was changed."));
    QCOMPARE(named<QLineEdit>(run.window, "Text2")->text(), QStringLiteral("295"));
    QVERIFY(run.window.settingsMenu().markedFields().isEmpty());
    run.link.queueReply(levelReply(40, 21)); // compare reads the sensor once the file is usable
    QCOMPARE(closingBoxes([&] { QVERIFY(!run.window.settingsMenu().compareWith(path)); }), message);
}

void TestSettingsMenus::saveAppliesWritesChecks()
{
    LevelRun run;
    QVERIFY(run.start());
    const QString path = m_dir.filePath(QStringLiteral("refused.json"));
    QFile::remove(path);
    named<QLineEdit>(run.window, "Text13")->setText(QStringLiteral("0"));
    bool saved = true;
    const QString message = closingBoxes([&] { saved = run.window.settingsMenu().saveTo(path); });
    QVERIFY(!saved);
    QVERIFY(message.startsWith(QStringLiteral("slave address not in range or empty")));
    QVERIFY(!QFile::exists(path));

    // A file in the way is replaced only by a complete one.
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    named<QLineEdit>(run.window, "Text13")->setText(QStringLiteral("7"));
    QVERIFY(run.window.settingsMenu().saveTo(path));
    QVERIFY(old.open(QIODevice::ReadOnly));
    const QByteArray whole = old.readAll();
    old.close();
    QCOMPARE(QJsonDocument::fromJson(whole).object().value(QStringLiteral("family")).toString(),
             QStringLiteral("level"));

    // On a full disk the save fails, says so, and the file is as it was.
    named<QLineEdit>(run.window, "Text13")->setText(QStringLiteral("8"));
    {
        const FullDisk full(64);
        saved = true;
        const QString failed = closingBoxes([&] { saved = run.window.settingsMenu().saveTo(path); });
        QVERIFY(!saved);
        QVERIFY2(failed.startsWith(QStringLiteral("The settings could not be saved to refused.json")),
                 qPrintable(failed));
    }
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), whole);
}

void TestSettingsMenus::comparisonMarksExactlyTheDifferingRows()
{
    LevelRun run;
    QVERIFY(run.start());
    const QString path = m_dir.filePath(QStringLiteral("compare.json"));
    named<QLineEdit>(run.window, "Text2")->setText(QStringLiteral("280"));
    named<QLineEdit>(run.window, "Text5")->setText(QStringLiteral("95"));
    QVERIFY(run.window.settingsMenu().saveTo(path));

    run.link.queueReply(levelReply(40, 21));
    QDialog *dialog = run.window.settingsMenu().compareWith(path);
    QVERIFY(dialog);
    auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("ComparisonTable"));
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 13);
    QStringList marked;
    for (int r = 0; r < table->rowCount(); ++r) {
        if (table->item(r, 1)->background().color() == ui::fromFileColour())
            marked << table->item(r, 0)->text();
    }
    QCOMPARE(marked, (QStringList{"Empty (cm)", "Hi DO (cm)"}));
    const int empty = 7;
    QCOMPARE(table->item(empty, 1)->text(), QStringLiteral("300"));
    QCOMPARE(table->item(empty, 2)->text(), QStringLiteral("280"));
    delete dialog;
}

void TestSettingsMenus::distanceWindowSavesAndOpens()
{
    ScriptedLink link;
    SensorSession session(link);
    DistanceWindow w(session);
    QVERIFY(session.connectTo(QStringLiteral("1"), QStringLiteral("9600")));
    const QByteArray reply = blockReply({30, 3, 1, 5, 6, 26, 90, 0, 0, 0, 0, 0, 150, 0, 0});
    link.queueReply(reply);
    named<QPushButton>(w, "Command5")->click();
    QCOMPARE(named<QLineEdit>(w, "Text4")->text(), QStringLiteral("150"));

    named<QLineEdit>(w, "Text4")->setText(QStringLiteral("200"));
    const QString path = m_dir.filePath(QStringLiteral("distance.json"));
    QVERIFY(w.settingsMenu().saveTo(path));
    link.queueReply(reply);
    named<QPushButton>(w, "Command5")->click();
    QCOMPARE(named<QLineEdit>(w, "Text4")->text(), QStringLiteral("150"));
    QVERIFY(w.settingsMenu().openFrom(path));
    QCOMPARE(named<QLineEdit>(w, "Text4")->text(), QStringLiteral("200"));
    QCOMPARE(w.settingsMenu().markedFields(), QList<QWidget *>{named<QLineEdit>(w, "Text4")});

    // A level file is not for this window.
    LevelRun level;
    QVERIFY(level.start());
    const QString levelPath = m_dir.filePath(QStringLiteral("level-for-distance.json"));
    QVERIFY(level.window.settingsMenu().saveTo(levelPath));
    QVERIFY(closingBoxes([&] {
                QVERIFY(!w.settingsMenu().openFrom(levelPath));
            }).contains(QStringLiteral("nothing was changed")));
    QCOMPARE(named<QLineEdit>(w, "Text4")->text(), QStringLiteral("200"));
}

void TestSettingsMenus::portListShowsTheDevice()
{
    PtyPeer peer;
    QVERIFY(peer.isValid());
    QDir().mkpath(m_dir.filePath(QStringLiteral("ports")));
    const QString link = m_dir.filePath(QStringLiteral("ports/com2"));
    QFile::remove(link);
    QVERIFY(QFile::link(peer.device(), link));

    ui::PortBox box;
    for (int port = 1; port <= 15; ++port)
        box.addItem(QString::number(port));
    box.setEditText(QStringLiteral("1"));
    QVERIFY(box.detailsAt(1).isEmpty()); // nothing is looked up before the list drops down
    box.refreshDetails();
    QVERIFY2(box.detailsAt(1).startsWith(peer.device()), qPrintable(box.detailsAt(1)));
    QCOMPARE(box.itemText(1), QStringLiteral("2")); // the item itself stays the number
    QCOMPARE(box.currentText(), QStringLiteral("1"));

    QDialog *dialog = ui::showSerialPorts(nullptr, 15);
    auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("SerialPortsTable"));
    QVERIFY(table);
    bool found = false;
    for (int r = 0; r < table->rowCount(); ++r)
        found = found || (table->item(r, 0)->text() == u"2" && table->item(r, 1)->text() == peer.device());
    QVERIFY(found);
    delete dialog;
    QFile::remove(link);
}

QTEST_MAIN(TestSettingsMenus)
#include "tst_settingsmenus.moc"
