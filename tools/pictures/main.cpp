// Pictures of the program's windows as an operator meets them, for the user
// guide and for checking a translation or a text size by eye: each scene
// runs the whole program against a veltra-sim of its own and saves what a
// window (or the message it opened) looks like.
//   veltra-pictures --out DIR [--lang en|fa] [SCENE...]
// The text size follows the desktop (QT_FONT_DPI, Xft.dpi).
#include "about.h"
#include "caretrest.h"
#include "failurenotice.h"
#include "fonts.h"
#include "guidewindow.h"
#include "historywindow.h"
#include "language.h"
#include "messageboxes.h"
#include "programrun.h"
#include "progresswindow.h"
#include "protocol/modelcatalogue.h"
#include "runnotice.h"
#include "serialports.h"
#include "session/sensorsession.h"
#include "settingsfiles.h"
#include "trafficlogwindow.h"
#include "trendwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMessageBox>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

using namespace veltra;

namespace {

QString g_out;

bool save(QWidget *window, const QString &name)
{
    // Laid out to the end first: a label's new text may still move what is below it.
    QTest::qWait(200);
    const QString path = QDir(g_out).filePath(name + QStringLiteral(".png"));
    if (!window->grab().save(path)) {
        qWarning("cannot write %s", qPrintable(path));
        return false;
    }
    return true;
}

// Runs `action` and saves the message window it opens (modal or not) as
// `name`, then closes it.
bool saveMessage(const QString &name, const std::function<void()> &action)
{
    bool saved = false;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box) {
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (qobject_cast<QMessageBox *>(top) && top->isVisible())
                    box = top;
            }
        }
        if (!box || saved)
            return;
        QTest::qWait(100); // laid out and drawn
        saved = save(box, name);
        box->close();
    });
    poll.start();
    action();
    return QTest::qWaitFor([&saved] { return saved; }, 3000);
}

void click(QWidget &window, const char *button)
{
    named<QPushButton>(window, QString::fromLatin1(button))->click();
}

bool levelRead(ProgramRun &run)
{
    if (!run.openLevelWindow({"--model", "23", "--distance", "120", "--temperature", "21"}))
        return false;
    click(run.program.levelWindow(), "Command5");
    return true;
}

bool distanceRead(ProgramRun &run)
{
    if (!run.openDistanceWindow({"--model", "90", "--distance", "250", "--temperature", "21"}))
        return false;
    click(run.program.distanceWindow(), "Command5");
    return true;
}

// The settings the window shows saved to a file, then Empty and Full changed
// in it: the file an operator opens or compares. Empty on failure.
QString savedAndEdited(ProgramRun &run)
{
    const QString path = run.ports.filePath(QStringLiteral("tank-3.json"));
    if (!run.program.levelWindow().settingsMenu().saveTo(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    file.close();
    for (const char *part : {"settings", "codes"}) {
        QJsonObject values = root.value(QLatin1String(part)).toObject();
        values.insert(QStringLiteral("empty"), 280);
        values.insert(QStringLiteral("full"), 240);
        root.insert(QLatin1String(part), values);
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(QJsonDocument(root).toJson()) <= 0)
        return {};
    return path;
}

// The model catalogue as the guide's Markdown table.
QString modelsMarkdown()
{
    QString text = QStringLiteral(
        "# Models\n\n"
        "<!-- Made by veltra-pictures --models from the program's own catalogue; `make guide` writes it anew. -->\n\n"
        "Every level sensor model the program knows, as the level window treats it. The model code is the number "
        "the sensor reports; the window that opens and the fields it shows follow from it. Empty is the distance "
        "from the sensor down to the empty point of the tank and Full the level of a full tank, measured up from "
        "that point, both in the model's unit; the window shows the largest of each beside it. The blocking distance "
        "(BD) is the zone right in front of the sensor where it cannot measure.\n\n"
        "| Code | Model | Unit | Blocking distance | Empty up to | Full up to | Digital outputs (Low DO, Hi DO) "
        "| 4–20 mA output | RUN |\n"
        "|---:|---|---|---|---:|---:|---|---|---|\n");
    const auto yesNo = [](bool yes) { return yes ? QStringLiteral("yes") : QStringLiteral("no"); };
    for (const ModelEntry &row : ModelCatalogue::entries()) {
        const QString empty = QString::fromLatin1(row.emptyCaption);
        const QString unit = empty.endsWith(QLatin1String("mm")) ? QStringLiteral("mm") : QStringLiteral("cm");
        text += QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 | %9 |\n")
                    .arg(row.code)
                    .arg(QString::fromLatin1(row.name), unit, QString::fromLatin1(row.blockingText))
                    .arg(row.emptyLimit)
                    .arg(row.fullLimit)
                    .arg(yesNo(row.hasDigitalOutputs), yesNo(row.hasAnalogOutput),
                         yesNo(row.kind == ModelKind::RunControl));
    }
    text += QStringLiteral("\nModel code %1 is the distance sensor %2: it opens the distance sensor window "
                           "(see [The distance sensor window](distance-window.md)).\n")
                .arg(ModelCatalogue::kDistanceModelCode)
                .arg(QLatin1String(ModelCatalogue::kDistanceModelName));
    return text;
}

struct Scene {
    const char *name;
    std::function<bool(ProgramRun &)> take;
};

const std::vector<Scene> &scenes()
{
    static const std::vector<Scene> all = {
        {"start",
         [](ProgramRun &run) {
             if (run.sim.start({"--model", "23"}).isEmpty())
                 return false;
             run.program.start();
             return save(&run.program.startWindow(), QStringLiteral("start"));
         }},
        {"connected",
         [](ProgramRun &run) {
             if (run.sim.start({"--model", "23"}).isEmpty())
                 return false;
             run.program.start();
             click(run.program.startWindow(), "Command1");
             return save(&run.program.connectedNotice(), QStringLiteral("connected"));
         }},
        {"no-sensor",
         [](ProgramRun &run) {
             if (run.sim.start({"--silent"}).isEmpty())
                 return false;
             run.program.start();
             click(run.program.startWindow(), "Command1");
             return QTest::qWaitFor([&run] { return run.program.failureNotice().isVisible(); }, 10000)
                    && save(&run.program.failureNotice(), QStringLiteral("no-sensor"));
         }},
        {"level-read",
         [](ProgramRun &run) {
             return levelRead(run) && save(&run.program.levelWindow(), QStringLiteral("level-read"));
         }},
        {"level-get-level",
         [](ProgramRun &run) {
             if (!levelRead(run))
                 return false;
             click(run.program.levelWindow(), "Command1");
             return save(&run.program.levelWindow(), QStringLiteral("level-get-level"));
         }},
        {"level-write-refused",
         [](ProgramRun &run) {
             if (!levelRead(run))
                 return false;
             named<QLineEdit>(run.program.levelWindow(), QStringLiteral("Text2"))->clear();
             return saveMessage(QStringLiteral("level-write-refused"),
                                [&run] { click(run.program.levelWindow(), "Command4"); });
         }},
        {"distance-read",
         [](ProgramRun &run) {
             return distanceRead(run) && save(&run.program.distanceWindow(), QStringLiteral("distance-read"));
         }},
        {"distance-write-refused",
         [](ProgramRun &run) {
             if (!distanceRead(run))
                 return false;
             named<QLineEdit>(run.program.distanceWindow(), QStringLiteral("Text4"))->clear();
             return saveMessage(QStringLiteral("distance-write-refused"),
                                [&run] { click(run.program.distanceWindow(), "Command4"); });
         }},
        {"damaged-reply",
         [](ProgramRun &run) {
             if (!run.openLevelWindow({"--model", "23", "--prefix", "read:2:4"}))
                 return false;
             return saveMessage(QStringLiteral("damaged-reply"),
                                [&run] { click(run.program.levelWindow(), "Command5"); });
         }},
        {"progress",
         [](ProgramRun &run) {
             if (!levelRead(run))
                 return false;
             named<QLineEdit>(run.program.levelWindow(), QStringLiteral("Text2"))->setText(QStringLiteral("290"));
             click(run.program.levelWindow(), "Command4");
             // Within its first second, however slowly the window came up.
             if (!QTest::qWaitFor([&run] { return run.program.progressWindow().isVisible(); }, 5000))
                 return false;
             QTest::qWait(300);
             return save(&run.program.progressWindow(), QStringLiteral("progress"));
         }},
        {"run-notice",
         [](ProgramRun &run) {
             if (!run.openLevelWindow({"--model", "80"}))
                 return false;
             click(run.program.levelWindow(), "Command5");
             click(run.program.levelWindow(), "Command2");
             return save(&run.program.runNotice(), QStringLiteral("run-notice"));
         }},
        {"trend",
         [](ProgramRun &run) {
             if (!run.openLevelWindow({"--model", "23", "--distance", "150", "--wave", "sine:40:20"}))
                 return false;
             click(run.program.levelWindow(), "Command5");
             auto *menu = run.program.levelWindow().findChild<ui::SettingsMenu *>();
             menu->trendAction()->trigger();
             auto *trend = run.program.levelWindow().findChild<TrendWindow *>();
             if (!trend)
                 return false;
             trend->setIntervalSeconds(1);
             trend->setLiveSpanSeconds(60);
             trend->start();
             QTest::qWait(61000); // a minute of points
             const bool saved = save(trend, QStringLiteral("trend"));
             // Closing a chart that holds points asks first; this one goes unasked.
             trend->stop();
             delete trend;
             return saved;
         }},
        {"traffic-log",
         [](ProgramRun &run) {
             if (!levelRead(run))
                 return false;
             click(run.program.levelWindow(), "Command1");
             return save(ui::showTrafficLog(run.program.session().traffic()), QStringLiteral("traffic-log"));
         }},
        {"history",
         [](ProgramRun &run) {
             if (!levelRead(run))
                 return false;
             // A refused write, then one that is sent and verified.
             auto *empty = named<QLineEdit>(run.program.levelWindow(), QStringLiteral("Text2"));
             empty->clear();
             closingBoxes([&run] { click(run.program.levelWindow(), "Command4"); });
             empty->setText(QStringLiteral("290"));
             click(run.program.levelWindow(), "Command4");
             auto &menu = run.program.levelWindow().settingsMenu();
             if (!QTest::qWaitFor([&menu] { return menu.verifyAction()->isEnabled(); }, 10000))
                 return false;
             closingBoxes([&menu] { menu.verifyAction()->trigger(); });
             return save(ui::showHistory(), QStringLiteral("history"));
         }},
        {"serial-ports",
         [](ProgramRun &run) {
             if (run.sim.start({"--model", "23"}).isEmpty())
                 return false;
             run.program.start();
             return save(ui::showSerialPorts(&run.program.startWindow(), 15), QStringLiteral("serial-ports"));
         }},
        {"level-file-marked",
         [](ProgramRun &run) {
             if (!levelRead(run))
                 return false;
             const QString path = savedAndEdited(run);
             if (path.isEmpty())
                 return false;
             closingBoxes([&run, &path] { run.program.levelWindow().settingsMenu().openFrom(path); });
             return save(&run.program.levelWindow(), QStringLiteral("level-file-marked"));
         }},
        {"compare",
         [](ProgramRun &run) {
             if (!levelRead(run))
                 return false;
             const QString path = savedAndEdited(run);
             QDialog *dialog = nullptr;
             closingBoxes([&] { dialog = run.program.levelWindow().settingsMenu().compareWith(path); });
             const bool saved = dialog && save(dialog, QStringLiteral("compare"));
             delete dialog;
             return saved;
         }},
        {"user-guide",
         [](ProgramRun &) {
             QWidget *guide = ui::showGuide(QStringLiteral("level-window.md"));
             guide->resize(1000, 700);
             QTest::qWait(300);
             return save(guide, QStringLiteral("user-guide"));
         }},
        {"about",
         [](ProgramRun &run) {
             if (run.sim.start({"--model", "23"}).isEmpty())
                 return false;
             run.program.start();
             // The ports folder as an operator's desktop has it, not this run's own.
             qunsetenv("VELTRA_PORTS_DIR");
             qputenv("HOME", "/home/operator");
             return saveMessage(QStringLiteral("about"), [&run] { ui::showAbout(&run.program.startWindow()); });
         }},
    };
    return all;
}

} // namespace

int main(int argc, char **argv)
{
    // Settings, the record and its history start empty for every scene, so a
    // picture shows only what its scene did.
    QTemporaryDir home;
    const auto homeFor = [&home](const QString &scene) {
        for (const char *var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
            qputenv(var, QDir(home.path()).filePath(scene + u'/' + QString::fromLatin1(var)).toLocal8Bit());
    };
    homeFor(QStringLiteral("start-up"));
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(VELTRA_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Saves pictures of veltra-sensor's windows."));
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Folder for the pictures."),
                                 QStringLiteral("DIR"));
    const QCommandLineOption lang(QStringLiteral("lang"), QStringLiteral("en or fa."), QStringLiteral("LANG"),
                                  QStringLiteral("en"));
    const QCommandLineOption models(QStringLiteral("models"),
                                    QStringLiteral("Also write the model catalogue as Markdown to FILE."),
                                    QStringLiteral("FILE"));
    parser.addOption(models);
    parser.addOption(out);
    parser.addOption(lang);
    parser.addPositionalArgument(QStringLiteral("scene"), QStringLiteral("Scenes to take (default: all)."));
    parser.process(app);
    if (!parser.isSet(out) || !ui::isLanguage(parser.value(lang)))
        parser.showHelp(2);
    g_out = parser.value(out);
    QDir().mkpath(g_out);
    // Started as the program starts.
    QApplication::setQuitOnLastWindowClosed(false);
    ui::installLanguage(parser.value(lang));
    ui::installFontSubstitutions();
    ui::restCaretWhenIdle(&app);

    if (parser.isSet(models)) {
        QSaveFile file(parser.value(models));
        if (!file.open(QIODevice::WriteOnly) || file.write(modelsMarkdown().toUtf8()) < 0 || !file.commit()) {
            fprintf(stderr, "cannot write %s\n", qPrintable(parser.value(models)));
            return 1;
        }
    }
    const QStringList wanted = parser.positionalArguments();
    int failed = 0;
    for (const Scene &scene : scenes()) {
        const QString name = QString::fromLatin1(scene.name);
        if (!wanted.isEmpty() && !wanted.contains(name))
            continue;
        homeFor(name);
        ProgramRun run;
        const bool taken = scene.take(run);
        printf("%s %s\n", taken ? "saved " : "FAILED", qPrintable(name));
        failed += !taken;
        // Whatever the scene left open goes with it.
        for (QWidget *top : QApplication::topLevelWidgets())
            top->close();
    }
    return failed ? 1 : 0;
}
