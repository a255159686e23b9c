#pragma once

#include "protocol/sensorsettings.h"
#include "protocol/settingsplan.h"
#include "record/recordentry.h"
#include "session/settingseditor.h"

#include <QColor>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPalette>
#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>

class QAction;
class QLineEdit;

namespace veltra {
class SensorSession;
}
class QDialog;
class QMenuBar;
class QWidget;

namespace veltra::ui {

// The menu bar of a settings window: File > Save Settings… (Ctrl+S), Open
// Settings… (Ctrl+O), Compare with File…, Verify, Certificate…, View >
// Trend… (Ctrl+T), Traffic Log…, History… and Help > About. The file actions
// and the trend work from the last Read and are enabled by it; Verify by a
// Write of this window, Certificate… by its last entry in the commissioning
// record.
class SettingsMenu : public QObject
{
    Q_OBJECT
public:
    // What the window lends the menu.
    struct Window {
        SensorFamily family;
        // The values the window shows, after the checks Write applies; empty
        // (the window has shown why) when one fails.
        std::function<std::optional<SensorSettings>()> blockFromFields;
        // A whole block spread over the fields as a Read shows it.
        std::function<void(const SensorSettings &settings)> spread;
        // The field that shows a setting; nullptr when none does.
        std::function<QWidget *(Setting)> controlFor;
        // View > Trend…; none when unset.
        std::function<void()> openTrend = {};
        // The window's settings editor: it keeps the last Read the file
        // actions work from.
        SettingsEditor *editor = nullptr;
        // View > Traffic Log… and Help > Save Diagnostic Report…: the
        // session's record; none when unset. Compare with File reads the
        // sensor through it.
        SensorSession *session = nullptr;
        // Compare with File's read: whether the port is free for it (no
        // trend measuring, no sensor sending), and the rate a lost port is
        // opened again at.
        std::function<bool()> portFree = [] { return true; };
        std::function<QString()> baudBoxText = [] { return QString(); };
    };

    // Makes the bar and places it above the window's client area.
    SettingsMenu(QWidget *window, Window hooks);

    // A whole block was read: it is what the file actions compare with, and
    // any marks from an opened file go.
    void readDone(const QString &block);
    // The sensor now holds what the fields show: the marks go.
    void writeDone();

    // Write's entry in the commissioning record, made once the request went
    // out or could not: what was sent (`plan`, `sent`), the last Read before
    // it, and what came of it. Both windows call it; the write itself is
    // never held up or undone by the record.
    void recordWrite(const WritePlan &plan, const SensorSettings &sent, SettingsEditor::WriteResult::Outcome outcome);
    // A Write the window's checks refused, nothing sent: `message` is what
    // the operator was shown.
    void recordRefusedWrite(const QString &message);
    // File > Verify: reads the sensor, compares it with this window's last
    // Write and records the verdict ("verified" or "differs"); the new entry,
    // or none when the sensor could not be read (the operator was told).
    std::optional<RecordEntry> verify();
    // File > Certificate… for the window's last entry, to `path`.
    bool certificateTo(const QString &path);
    // The window's last entry kept in the record (a Write or a Verify).
    const std::optional<RecordEntry> &lastEntry() const { return m_lastEntry; }

    bool saveTo(const QString &path);
    bool openFrom(const QString &path);
    QDialog *compareWith(const QString &path);

    QMenuBar *menuBar() const { return m_bar; }
    const std::optional<SensorSettings> &lastRead() const { return m_hooks.editor->lastRead(); }
    QAction *trendAction() const { return m_trend; }
    QAction *verifyAction() const { return m_verify; }
    QAction *certificateAction() const { return m_certificate; }
    QList<QWidget *> markedFields() const { return m_marks.keys(); }

private:
    // The sensor's settings as it holds them now, for Compare with File; a
    // failure is reported, ending in `nothingDone`.
    std::optional<SensorSettings> readSensor(const QString &nothingDone);
    void clearMarks();
    QList<QAction *> fromReadActions() const;
    // A new entry naming this window, its link and the sensor: the last
    // Read's model and date, else those of what was sent.
    RecordEntry newEntry(const std::optional<SensorSettings> &before, const std::optional<SensorSettings> &sent) const;
    // Keeps the entry; a plant out of reach is said once a run, a record
    // that cannot be written every time.
    void keep(const RecordEntry &entry);

    QWidget *m_window;
    Window m_hooks;
    QMenuBar *m_bar = nullptr;
    QAction *m_save = nullptr;
    QAction *m_open = nullptr;
    QAction *m_compare = nullptr;
    QAction *m_trend = nullptr;
    QAction *m_verify = nullptr;
    QAction *m_certificate = nullptr;
    // The last Write that sent something (what Verify compares with) and
    // the number of block fields its request carried.
    std::optional<RecordEntry> m_lastWrite;
    int m_sentFields = 0;
    std::optional<RecordEntry> m_lastEntry;
    struct Mark {
        QPalette palette; // the field's own, given back when the mark goes
        QString toolTip;
    };
    QHash<QWidget *, Mark> m_marks; // marked fields
};

// A sensor's settings into a window's fields as plain decimal text: each
// field its setting's value, each pair of byte fields the high and low byte
// of a 16-bit setting.
struct SettingField {
    Setting setting;
    QLineEdit *field;
};
struct WordFields {
    Setting setting;
    QLineEdit *high;
    QLineEdit *low;
};
void showSettings(const SensorSettings &settings, std::initializer_list<SettingField> fields,
                  std::initializer_list<WordFields> words);

// Settings a window is to save: each value within what its field(s) can
// carry, or an input-error message naming the first that is not, and nothing.
std::optional<SensorSettings> settingsToSave(QWidget *parent, const SensorSettings &settings);

// The file dialogs of File > Save Settings…, Open Settings… and Compare with
// File…; empty when the operator cancels.
QString askSaveSettingsPath(QWidget *parent, const SensorSettings &block);
QString askOpenSettingsPath(QWidget *parent, const QString &title);

// Saves a block the window holds; false, after one message saying why, when
// the file cannot be written.
bool saveSettingsFile(QWidget *parent, const QString &path, const SensorSettings &block);

// A settings file for a sensor of this family. A file that cannot be read,
// is damaged or holds the other family gives one message and nothing.
std::optional<SensorSettings> loadSettingsFile(QWidget *parent, const QString &path, SensorFamily family);

// The comparison table (setting, value in the sensor read at `readAt`,
// value in the file, differing rows marked), shown without blocking the
// window.
QDialog *showComparison(QWidget *parent, const RestorePlan &plan, const QString &fileName, const QDateTime &readAt);

// What opening or comparing a file would do to this sensor. A file in
// another unit asks whether to convert it; a file that cannot be used says
// why; `nothingDone` ends the unit question. Nothing when the operator cancels or the
// file cannot be used.
std::optional<RestorePlan> planForWindow(QWidget *parent, const SensorSettings &sensor, const SensorSettings &file,
                                         const QString &fileName, const QString &nothingDone);

// The background that marks a field whose value came from a file and differs
// from the sensor's last read.
QColor fromFileColour();

} // namespace veltra::ui
