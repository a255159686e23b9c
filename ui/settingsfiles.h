#pragma once

#include "protocol/sensorsettings.h"
#include "protocol/settingsplan.h"
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
// Settings… (Ctrl+O), Compare with File…, View > Trend… (Ctrl+T) and Help >
// About. The file actions and the trend work from the last Read and are
// enabled by it.
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

    bool saveTo(const QString &path);
    bool openFrom(const QString &path);
    QDialog *compareWith(const QString &path);

    QMenuBar *menuBar() const { return m_bar; }
    const std::optional<SensorSettings> &lastRead() const { return m_hooks.editor->lastRead(); }
    QAction *trendAction() const { return m_trend; }
    QList<QWidget *> markedFields() const { return m_marks.keys(); }

private:
    // The sensor's settings as it holds them now, for Compare with File; a
    // failure is reported, ending in `nothingDone`.
    std::optional<SensorSettings> readSensor(const QString &nothingDone);
    void clearMarks();
    QList<QAction *> fromReadActions() const;

    QWidget *m_window;
    Window m_hooks;
    QMenuBar *m_bar = nullptr;
    QAction *m_save = nullptr;
    QAction *m_open = nullptr;
    QAction *m_compare = nullptr;
    QAction *m_trend = nullptr;
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
