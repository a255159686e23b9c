#include "settingsfiles.h"

#include "about.h"
#include "files/settingscompare.h"
#include "files/settingsfile.h"
#include "guidewindow.h"
#include "historywindow.h"
#include "inputerror.h"
#include "language.h"
#include "linkfailure.h"
#include "menubar.h"
#include "numbers.h"
#include "protocol/commandframe.h"
#include "serialports.h"
#include "session/sensorsession.h"
#include "trafficlogwindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace veltra::ui {

namespace {

// Made when a dialog opens, so it is in the language installed by then.
QString settingsFilter()
{
    return QCoreApplication::translate("Settings", "Sensor settings (*.json);;All files (*)");
}

void showProblem(QWidget *parent, const QString &objectName, const QString &text, const QString &why)
{
    QMessageBox box(QMessageBox::Warning, programTitle(), text, QMessageBox::Ok, parent);
    box.setObjectName(objectName);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(why);
    box.exec();
}

} // namespace

QString askSaveSettingsPath(QWidget *parent, const SensorSettings &block)
{
    const QString suggested
        = QStringLiteral("%1-%2.json").arg(block.modelName(), QDate::currentDate().toString(Qt::ISODate));
    const QString path
        = QFileDialog::getSaveFileName(parent, QCoreApplication::translate("Settings", "Save Settings"),
                                       lastFolder(QDir::currentPath()) + u'/' + suggested, settingsFilter());
    rememberFolder(path);
    return path;
}

QString askOpenSettingsPath(QWidget *parent, const QString &title)
{
    const QString path = QFileDialog::getOpenFileName(parent, title, lastFolder(QDir::currentPath()), settingsFilter());
    rememberFolder(path);
    return path;
}

bool saveSettingsFile(QWidget *parent, const QString &path, const SensorSettings &block)
{
    QString why;
    if (SettingsFile::save(path, block, QDateTime::currentDateTimeUtc(), QApplication::applicationVersion(), &why))
        return true;
    showProblem(parent, QStringLiteral("SaveFailed"),
                QCoreApplication::translate("Settings", "The settings could not be saved to %1.")
                    .arg(QFileInfo(path).fileName()),
                shown(why));
    return false;
}

std::optional<SensorSettings> loadSettingsFile(QWidget *parent, const QString &path, SensorFamily family)
{
    QString why;
    std::optional<SensorSettings> block = SettingsFile::load(path, &why);
    if (!block)
        why = shown(why);
    if (block && block->family() != family) {
        why = QCoreApplication::translate("Settings",
                                          "It holds the settings of a %1 sensor; this window is for a %2 sensor.")
                  .arg(shown(familyName(block->family())), shown(familyName(family)));
        block.reset();
    }
    if (!block) {
        showProblem(parent, QStringLiteral("OpenFailed"),
                    QCoreApplication::translate("Settings", "%1 cannot be used: nothing was changed.")
                        .arg(QFileInfo(path).fileName()),
                    why);
    }
    return block;
}

namespace {

// A setting as the settings windows label it: "Empty (cm)", "OGR", "Model".
QString windowLabel(const BlockSetting &setting, const QString &unit)
{
    QString label = QLatin1String(setting.title);
    if (label.endsWith(QLatin1String(" code")))
        label.chop(5);
    if (setting.distanceUnit && !unit.isEmpty())
        return QStringLiteral("%1 (%2)").arg(shown(label), unit);
    return shown(label);
}

} // namespace

QDialog *showComparison(QWidget *parent, const RestorePlan &plan, const QString &fileName, const QDateTime &readAt)
{
    const QList<SettingComparison> rows = compareSettings(plan);
    // The model never counts (a restore keeps the sensor's own), but a
    // file from another model is marked all the same.
    const auto marked = [](const SettingComparison &row) {
        return row.differs || (row.setting->kind == SettingKind::Model && row.sensorValue != row.fileValue);
    };
    const bool otherModel = std::any_of(rows.begin(), rows.end(), [&marked](const SettingComparison &row) {
        return row.setting->kind == SettingKind::Model && marked(row);
    });

    auto *dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("Comparison"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QCoreApplication::translate("Settings", "Compare with %1").arg(fileName));
    closeWithKeys(dialog);

    QString said = anyDiffers(rows) ? QCoreApplication::translate("Settings", "The marked settings differ.")
                                    : QCoreApplication::translate("Settings", "The sensor holds the file's settings.");
    if (otherModel)
        said += QCoreApplication::translate("Settings", " The file is of another model; the sensor keeps its own.");
    auto *summary = new QLabel(said, dialog);
    summary->setWordWrap(true);
    auto *table = new QTableWidget(int(rows.size()), 3, dialog);
    table->setObjectName(QStringLiteral("ComparisonTable"));
    table->setHorizontalHeaderLabels({QCoreApplication::translate("Settings", "Setting"),
                                      QCoreApplication::translate("Settings", "In the sensor (read %1)")
                                          .arg(readAt.toString(QStringLiteral("HH:mm:ss"))),
                                      QCoreApplication::translate("Settings", "In the file")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int r = 0; r < int(rows.size()); ++r) {
        const SettingComparison &row = rows.at(r);
        const QString file = row.note.isEmpty() ? shown(row.fileValue)
                                                : QCoreApplication::translate("Settings", "%1 (not used: %2)")
                                                      .arg(shown(row.fileValue), shown(row.note));
        const QString cells[] = {windowLabel(*row.setting, plan.target.unit()), shown(row.sensorValue), file};
        for (int c = 0; c < 3; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (marked(row))
                item->setBackground(fromFileColour());
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);

    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(summary);
    layout->addWidget(table);
    // Room for every row and column at the font in use.
    const int rowHeight = table->verticalHeader()->defaultSectionSize();
    dialog->resize(std::max(460, table->horizontalHeader()->length() + 40), summary->sizeHint().height()
                                                                                + table->horizontalHeader()->height()
                                                                                + rowHeight * int(rows.size()) + 60);
    dialog->show();
    return dialog;
}

std::optional<RestorePlan> planForWindow(QWidget *parent, const SensorSettings &sensor, const SensorSettings &file,
                                         const QString &fileName, const QString &nothingDone)
{
    RestorePlan plan = planRestore(sensor, file, fileName, false);
    if (plan.status == RestorePlan::Status::UnitDiffers) {
        QMessageBox box(QMessageBox::Question, programTitle(),
                        QStringLiteral("%1 %2").arg(shown(plan.message), nothingDone), QMessageBox::Cancel, parent);
        box.setObjectName(QStringLiteral("UnitDiffers"));
        box.setTextFormat(Qt::PlainText);
        box.setInformativeText(QCoreApplication::translate(
            "Settings", "Convert converts the file's values exactly (x10, or /10 when whole)."));
        QPushButton *convert
            = box.addButton(QCoreApplication::translate("Settings", "Convert"), QMessageBox::AcceptRole);
        box.setDefaultButton(QMessageBox::Cancel);
        box.exec();
        if (box.clickedButton() != convert)
            return std::nullopt;
        plan = planRestore(sensor, file, fileName, true);
    }
    if (plan.status != RestorePlan::Status::Ready) {
        showProblem(parent, QStringLiteral("OpenFailed"),
                    QCoreApplication::translate("Settings", "%1 cannot be used: nothing was changed.").arg(fileName),
                    shown(plan.message));
        return std::nullopt;
    }
    return plan;
}

QColor fromFileColour()
{
    return QColor(255, 236, 160);
}

SettingsMenu::SettingsMenu(QWidget *window, Window hooks)
    : QObject(window)
    , m_window(window)
    , m_hooks(std::move(hooks))
{
    m_bar = new QMenuBar(window);
    m_bar->setObjectName(QStringLiteral("MenuBar"));
    QMenu *file = m_bar->addMenu(QCoreApplication::translate("Menus", "&File"));
    m_save = file->addAction(QCoreApplication::translate("Menus", "&Save Settings…"), this, [this] {
        const QString path = askSaveSettingsPath(m_window, *lastRead());
        if (!path.isEmpty())
            saveTo(path);
    });
    m_save->setShortcut(QKeySequence::Save);
    m_open = file->addAction(QCoreApplication::translate("Menus", "&Open Settings…"), this, [this] {
        const QString path = askOpenSettingsPath(m_window, QCoreApplication::translate("Settings", "Open Settings"));
        if (!path.isEmpty())
            openFrom(path);
    });
    m_open->setShortcut(QKeySequence::Open);
    m_compare = file->addAction(QCoreApplication::translate("Menus", "&Compare with File…"), this, [this] {
        const QString path
            = askOpenSettingsPath(m_window, QCoreApplication::translate("Settings", "Compare with File"));
        if (!path.isEmpty())
            compareWith(path);
    });
    file->addSeparator();
    m_verify = file->addAction(QCoreApplication::translate("Menus", "&Verify"), this, [this] { verify(); });
    m_verify->setObjectName(QStringLiteral("VerifyAction"));
    m_verify->setEnabled(false);
    m_certificate = file->addAction(QCoreApplication::translate("Menus", "Cer&tificate…"), this, [this] {
        if (m_lastEntry)
            saveCertificateAs(m_window, *m_lastEntry);
    });
    m_certificate->setObjectName(QStringLiteral("CertificateAction"));
    m_certificate->setEnabled(false);
    QMenu *view = m_bar->addMenu(QCoreApplication::translate("Menus", "&View"));
    if (m_hooks.openTrend) {
        m_trend
            = view->addAction(QCoreApplication::translate("Menus", "&Trend…"), this, [this] { m_hooks.openTrend(); });
        m_trend->setShortcut(QKeySequence(QStringLiteral("Ctrl+T")));
    }
    if (m_hooks.session)
        addTrafficLogAction(view, m_hooks.session->traffic());
    addHistoryAction(view);
    // Until a Read there is nothing to save, mark against, compare with or
    // work a level out with.
    for (QAction *action : fromReadActions()) {
        action->setEnabled(false);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    QMenu *help = m_bar->addMenu(QCoreApplication::translate("Menus", "&Help"));
    addGuideAction(help, m_hooks.family == SensorFamily::Level ? QStringLiteral("level-window.md")
                                                               : QStringLiteral("distance-window.md"));
    if (m_hooks.session)
        addDiagnosticReportAction(help, m_window, *m_hooks.session);
    // As many port numbers as the start window's port box offers.
    help->addAction(QCoreApplication::translate("Menus", "&Serial Ports"), this,
                    [this] { showSerialPorts(m_window, 15); });
    help->addAction(QCoreApplication::translate("Menus", "&About"), this, [this] { showAbout(m_window); });
    addLanguageMenu(help, m_window);
    placeMenuBar(window, m_bar);
}

void SettingsMenu::readDone(const QString &block)
{
    clearMarks();
    QString why;
    m_hooks.editor->setLastRead(SensorSettings::fromReply(block, &why));
    for (QAction *action : fromReadActions())
        action->setEnabled(lastRead().has_value());
}

QList<QAction *> SettingsMenu::fromReadActions() const
{
    QList<QAction *> actions{m_save, m_open, m_compare};
    if (m_trend)
        actions << m_trend;
    return actions;
}

void SettingsMenu::writeDone()
{
    clearMarks();
}

bool SettingsMenu::saveTo(const QString &path)
{
    const std::optional<SensorSettings> block = m_hooks.blockFromFields();
    return block && saveSettingsFile(m_window, path, *block);
}

bool SettingsMenu::openFrom(const QString &path)
{
    if (!lastRead())
        return false;
    const std::optional<SensorSettings> file = loadSettingsFile(m_window, path, m_hooks.family);
    if (!file)
        return false;
    const QString fileName = QFileInfo(path).fileName();
    const std::optional<RestorePlan> plan = planForWindow(
        m_window, *lastRead(), *file, fileName, QCoreApplication::translate("Settings", "Nothing was changed."));
    if (!plan)
        return false;
    // The fields show what a restore would write: the file's values where
    // the sensor's model lets them change, the sensor's own elsewhere (its
    // model above all: that is what the sensor is). A difference no field of
    // this window shows (the stored date, a setting hidden for this model)
    // is not taken: Write sends nothing the operator was not shown.
    clearMarks();
    SensorSettings target = plan->target;
    QStringList unseen;
    const QList<SettingComparison> rows = compareSettings(*plan);
    bool dateDiffers = false;
    for (const SettingComparison &row : rows) {
        QWidget *control = m_hooks.controlFor(row.setting->id);
        if (!row.differs || (control && control->isVisibleTo(m_window)))
            continue;
        target.setValue(row.setting->id, lastRead()->value(*row.setting));
        if (row.setting->kind == SettingKind::Date) {
            dateDiffers = true;
            continue;
        }
        unseen << QCoreApplication::translate(
                      "Settings", "%1 (%2): not taken, no field of this window shows it; the sensor keeps %3.")
                      .arg(shown(QLatin1String(row.setting->title)), shown(row.fileValue), shown(row.sensorValue));
    }
    if (dateDiffers) {
        const auto date = [](const SensorSettings &s) {
            return QStringLiteral("%1/%2/%3")
                .arg(s.value(Setting::Month))
                .arg(s.value(Setting::Day))
                .arg(s.value(Setting::Year));
        };
        unseen.prepend(QCoreApplication::translate("Settings",
                                                   "The stored date (%1): not taken, no field of this window shows it; "
                                                   "the sensor keeps %2.")
                           .arg(date(plan->target), date(*lastRead())));
    }
    m_hooks.spread(target);

    for (const SettingComparison &row : rows) {
        QWidget *control = row.differs ? m_hooks.controlFor(row.setting->id) : nullptr;
        if (!control || !control->isVisibleTo(m_window))
            continue;
        // A box is marked through its text field.
        auto *box = qobject_cast<QComboBox *>(control);
        QWidget *field = box && box->lineEdit() ? box->lineEdit() : control;
        m_marks.insert(field, {field->palette(), field->toolTip()});
        QPalette marked = field->palette();
        marked.setColor(QPalette::Base, fromFileColour());
        field->setPalette(marked);
        field->setToolTip(QCoreApplication::translate("Settings", "In the sensor (last Read): %1\nIn %2: %3")
                              .arg(shown(row.sensorValue), fileName, shown(row.fileValue)));
    }
    // What the file holds that this model will not take is said, not dropped unseen.
    QStringList unused = unseen;
    for (const RestoreRow &row : plan->notApplied()) {
        unused << QStringLiteral("%1 (%2): %3")
                      .arg(shown(QLatin1String(row.setting->title)), shown(describeValue(*row.setting, row.file)),
                           shown(row.skipped));
    }
    if (plan->converted) {
        unused.prepend(QCoreApplication::translate("Settings", "The file's distances were converted from %1 to %2.")
                           .arg(shown(unitWords(plan->fileUnit)), shown(unitWords(plan->sensorUnit))));
    }
    if (!unused.isEmpty()) {
        QMessageBox box(
            QMessageBox::Information, programTitle(),
            QCoreApplication::translate("Settings", "%1: some of the file's settings are not used.").arg(fileName),
            QMessageBox::Ok, m_window);
        box.setObjectName(QStringLiteral("NotApplied"));
        box.setTextFormat(Qt::PlainText);
        box.setInformativeText(unused.join(u'\n'));
        box.exec();
    }
    return true;
}

QDialog *SettingsMenu::compareWith(const QString &path)
{
    if (!lastRead())
        return nullptr;
    // The file first: one that cannot be used costs no exchange.
    const std::optional<SensorSettings> file = loadSettingsFile(m_window, path, m_hooks.family);
    if (!file)
        return nullptr;
    const QString nothingDone = QCoreApplication::translate("Settings", "Nothing was compared.");
    const std::optional<SensorSettings> sensor = readSensor(nothingDone);
    if (!sensor)
        return nullptr;
    const QDateTime readAt = QDateTime::currentDateTime();
    const QString fileName = QFileInfo(path).fileName();
    const std::optional<RestorePlan> plan = planForWindow(m_window, *sensor, *file, fileName, nothingDone);
    if (!plan)
        return nullptr;
    return showComparison(m_window, *plan, fileName, readAt);
}

std::optional<SensorSettings> SettingsMenu::readSensor(const QString &nothingDone)
{
    SensorSession *session = m_hooks.session;
    if (!session)
        return lastRead();
    if (!m_hooks.portFree()) {
        showProblem(m_window, QStringLiteral("PortInUse"),
                    QCoreApplication::translate("Settings", "The port is in use: the sensor cannot be read now. %1")
                        .arg(nothingDone),
                    QCoreApplication::translate(
                        "Settings", "Stop the trend, or wait until the sensor stops sending, and try again."));
        return std::nullopt;
    }
    if (!reopenLostLink(m_window, *session, m_hooks.baudBoxText()))
        return std::nullopt;
    std::optional<SensorSettings> sensor = session->readSettings();
    if (sensor && sensor->family() != m_hooks.family) {
        showProblem(m_window, QStringLiteral("ReadFailed"),
                    QCoreApplication::translate(
                        "Settings", "The sensor on the port is a %1 sensor (%2); this window is for a %3 sensor. %4")
                        .arg(shown(familyName(sensor->family())), sensor->modelName(),
                             shown(familyName(m_hooks.family)), nothingDone),
                    QString());
        return std::nullopt;
    }
    if (!sensor && !reportLinkFailure(m_window, *session)) {
        showProblem(
            m_window, QStringLiteral("ReadFailed"),
            QCoreApplication::translate("Settings", "The sensor's settings could not be read. %1").arg(nothingDone),
            session->failure().message.isEmpty()
                ? QCoreApplication::translate("Settings", "It sent no whole settings block.")
                : shown(session->failure().message));
    }
    return sensor;
}

void SettingsMenu::clearMarks()
{
    for (auto it = m_marks.cbegin(); it != m_marks.cend(); ++it) {
        it.key()->setPalette(it.value().palette);
        it.key()->setToolTip(it.value().toolTip);
    }
    m_marks.clear();
}

void showSettings(const SensorSettings &settings, std::initializer_list<SettingField> fields,
                  std::initializer_list<WordFields> words)
{
    for (const SettingField &each : fields)
        each.field->setText(settings.text(each.setting));
    for (const WordFields &each : words) {
        each.high->setText(QString::number(settings.field(fieldOf(each.setting))));
        each.low->setText(QString::number(settings.field(fieldOf(each.setting) + 1)));
    }
}

std::optional<SensorSettings> settingsToSave(QWidget *parent, const SensorSettings &settings)
{
    for (const BlockSetting &setting : blockSettings(settings.family())) {
        const int value = settings.value(setting);
        if (value < 0 || value > setting.maximum()) {
            showInputError(parent, QCoreApplication::translate("Settings", "%1 cannot be saved: %2 is outside 0 to %3.")
                                       .arg(shown(QLatin1String(setting.title)), QString::number(value),
                                            QString::number(setting.maximum())));
            return std::nullopt;
        }
    }
    return settings;
}

} // namespace veltra::ui
