#pragma once

#include "protocol/sensorsettings.h"
#include "session/settingseditor.h"

#include <QPixmap>
#include <QWidget>

#include <array>
#include <functional>
#include <span>

class QComboBox;
class QDialog;
class QMenuBar;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace veltra {

struct Identification;
struct LevelWriteInput;
struct LevelWritePlan;
struct ModelEntry;
class SensorSession;
namespace ui {
class SettingsMenu;
}
class SettingsReply;

// The level-sensor window (form2): settings of a level sensor and its live
// level. It is made hidden at program start and fills its own lists. Every
// exchange with the sensor goes through the session; the session's signals
// bring the rate the handshake found, each reply and the identified model.
//
// Each control is a named member, declared below next to its designer name,
// which is also its objectName: Text1 ... Text38 (24 of them hidden working
// fields, see isWorkingField()), Label3 ... Label36, Combo1 ... Combo5,
// Command1, 2, 4 and 5. The members of the control arrays Label38 (index 0
// to 6) and Label14 (0 and 1) are named "Label38_<i>" and "Label14_<i>" and
// carry their index in the dynamic property "index". Tests find a control by
// that name.
class LevelWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTextCount = 38;
    static constexpr int kLabel38Count = 7;
    static constexpr int kLabel14Count = 2;
    static constexpr int kTimer1IntervalMs = 1000;
    static constexpr int kTimer2IntervalMs = 200;

    explicit LevelWindow(SensorSession &session, QWidget *parent = nullptr);

    SensorSession &session() const { return m_session; }

    // Called after the port is closed when the operator closes the window.
    void setEndProgram(std::function<void()> endProgram);

    // The menu bar and its File menu: Save Settings… (the values the window
    // shows, after Write's checks), Open Settings… (a file's values into the
    // fields, those differing from the last Read marked; nothing is sent)
    // and Compare with File….
    ui::SettingsMenu &settingsMenu() const { return *m_files; }

    // Text1, Text6, Text10 ...: fields that are never shown.
    static bool isWorkingField(int n);
    // Label32 ... Label36, hidden unless unasked characters arrive.
    std::array<QLabel *, 5> runBanner() const;

    // The one way Label29's caption is set, so a change is never missed:
    // emits emptyRangeCaptionChanged() when the text differs from the current one.
    void setEmptyRangeCaption(const QString &caption);

signals:
    void emptyRangeCaptionChanged();
    // Write's first step: the progress window is to be shown.
    void writeStarted();
    // The sensor was put into its run state; the RUN notice takes over.
    void sensorRunning();
    // The range caption changed: the sensor now measures in centimetres or
    // millimetres and the operator is to be told.
    void centimetreNotice();
    void millimetreNotice();

public slots:
    // Button handlers, each in its own file.
    void Command5_Click(); // Read
    void Command1_Click(); // Get Level
    void Command2_Click(); // RUN
    void Command4_Click(); // Write

    // Unlock tick: makes the controls usable again after unasked characters.
    void Timer2_Timer();
    // Characters no request asked for (a sensor in run mode): lock the window.
    void MSComm1_OnComm(int eventCode);
    // The range caption beside Empty changed.
    void Label29_Change();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct WorkingField;
    // The hidden fields: member, designer name and design text.
    static std::span<const WorkingField> workingFields();

    void makePictures();
    void loadPictures();
    void makeLeftPanel();
    void makeRunBanner();
    void makeFirstColumn();
    void makeSecondColumn();
    void makeButtons();
    void makeMeasurement();
    void makeWorkingFields();
    void makeTimers();
    void connectSession();
    void adoptSessionState();
    void Form_Load();
    // The lists of the boxes and the read-only block distance.
    void fillLists();

    // The entry fields a burst of unasked characters locks, in order.
    std::array<QLineEdit *, 12> lockedFields() const;
    void showIdentification(const Identification &id);

    // Read: the settings of a whole block into their fields.
    void showSettings(const SensorSettings &settings);
    // Read's second half: a whole block spread over the fields and boxes.
    void spreadSettings(const SensorSettings &settings, const QString &baudText);
    void makeMenus();
    // The names a screen reader says for the fields, lists and buttons.
    void nameControls();
    void openTrend();
    std::optional<SensorSettings> blockFromFields();
    QWidget *controlFor(Setting setting) const;
    // Shows a catalogue row: name, limits, captions, outputs.
    void applyModelEntry(const ModelEntry &row);
    void showOutputs(const ModelEntry &row);

    // Write: what the boxes and fields hold now, as a write's input.
    LevelWriteInput writeInput() const;
    // The codes and byte fields a write sends, kept in the working fields.
    // Write's checks and plan for the window's entries; nothing, once the
    // failed check's message has been shown (and, given `refusal`, kept there).
    std::optional<LevelWritePlan> checkedWritePlan(const LevelWriteInput &input, QString *refusal = nullptr);
    void keepWritePlan(const LevelWritePlan &plan);
    // The same after a write, which changes less than a read does.
    void applyModelEntryAfterWrite(const ModelEntry &row);

    SensorSession &m_session;
    // The last Read and the write sequence; the controls hold the edits.
    SettingsEditor m_editor;
    std::function<void()> m_endProgram;

    // The menus above the client area and the settings-file actions.
    ui::SettingsMenu *m_files = nullptr;
    QPixmap m_background;

    QLabel *m_backgroundPicture = nullptr; // Image5: background picture
    QLabel *m_productPicture = nullptr;    // Image1: product picture
    QFrame *m_verticalRule = nullptr;      // Line2
    QFrame *m_horizontalRule = nullptr;    // Line3

    // Maker's lines under the picture.
    QLabel *m_makerName = nullptr; // Label3 "Veltra"
    QLabel *m_makerMail = nullptr; // Label8
    QLabel *m_makerMark = nullptr; // Label9 "VELTRA"

    // Run banner, shown while unasked characters arrive.
    QLabel *m_bannerAttention = nullptr; // Label33
    QLabel *m_bannerMarks = nullptr;     // Label34 "!!"
    QLabel *m_bannerInState = nullptr;   // Label36
    QLabel *m_bannerRun = nullptr;       // Label32 "RUN"
    QLabel *m_bannerWasPut = nullptr;    // Label35

    // First column.
    QLabel *m_ombCaption = nullptr;        // Label27 "OMB"
    QComboBox *m_ombBox = nullptr;         // Combo4
    QLabel *m_ogrCaption = nullptr;        // Label31 "OGR"
    QComboBox *m_ogrBox = nullptr;         // Combo3
    QLabel *m_resolutionCaption = nullptr; // Label23 "RES"
    QComboBox *m_resolutionBox = nullptr;  // Combo5
    QLabel *m_modelCaption = nullptr;      // Label38_6 "Model"
    QComboBox *m_modelBox = nullptr;       // Combo2
    QLineEdit *m_modelText = nullptr;      // Text37: the model as plain text, over Combo2
    QLabel *m_blockingShort = nullptr;     // Label14_0 "(BD)"
    QLabel *m_blockingCaption = nullptr;   // Label14_1 "Block Distance"
    QLineEdit *m_blocking = nullptr;       // Text7: blocking distance

    // Second column.
    QLabel *m_baudCaption = nullptr;         // Label10 "Baud Rate"
    QComboBox *m_baudBox = nullptr;          // Combo1
    QLabel *m_slaveCaption = nullptr;        // Label18 "Slave Address"
    QLabel *m_slaveRange = nullptr;          // Label19 "1 to 247"
    QLineEdit *m_slave = nullptr;            // Text13
    QLabel *m_emptyCaption = nullptr;        // Label6 "Empty"
    QLineEdit *m_empty = nullptr;            // Text2
    QLabel *m_emptyRange = nullptr;          // Label29: range of Empty
    QLabel *m_fullCaption = nullptr;         // Label7 "Full"
    QLineEdit *m_full = nullptr;             // Text3
    QLabel *m_fullRange = nullptr;           // Label28: range of Full
    QLabel *m_lowDoCaption = nullptr;        // Label11 "Low DO"
    QLineEdit *m_lowDo = nullptr;            // Text4
    QLineEdit *m_lowDoPlaceholder = nullptr; // Text29: grey, for models without it
    QLabel *m_hiDoCaption = nullptr;         // Label12 "Hi DO"
    QLineEdit *m_hiDo = nullptr;             // Text5
    QLineEdit *m_hiDoPlaceholder = nullptr;  // Text30

    // Buttons.
    QPushButton *m_runButton = nullptr;      // Command2 "RUN"
    QPushButton *m_readButton = nullptr;     // Command5 "Read"
    QPushButton *m_writeButton = nullptr;    // Command4 "Write"
    QPushButton *m_getLevelButton = nullptr; // Command1 "Get Level"

    // Measurement.
    QLabel *m_levelCaption = nullptr;          // Label38_0 "Tank Level"
    QLineEdit *m_level = nullptr;              // Text8
    QLabel *m_equalsSign = nullptr;            // Label38_5 "="
    QLineEdit *m_current = nullptr;            // Text9: current in mA
    QLineEdit *m_currentPlaceholder = nullptr; // Text28: grey, for models without it
    QLabel *m_currentUnit = nullptr;           // Label38_3 "mA"
    QLabel *m_distanceCaption = nullptr;       // Label38_1 "Distance"
    QLineEdit *m_distance = nullptr;           // Text16
    QLabel *m_temperatureCaption = nullptr;    // Label38_2 "T:"
    QLineEdit *m_temperature = nullptr;        // Text18
    QLabel *m_temperatureUnit = nullptr;       // Label38_4 "C"

    // Working fields, never shown (made from workingFields()).
    QLineEdit *m_lastReply = nullptr;      // Text1: last raw reply
    QLineEdit *m_baudCode = nullptr;       // Text22
    QLineEdit *m_ogrCode = nullptr;        // Text25
    QLineEdit *m_ombCode = nullptr;        // Text31
    QLineEdit *m_resolutionCode = nullptr; // Text34
    QLineEdit *m_month = nullptr;          // Text24: stored date
    QLineEdit *m_day = nullptr;            // Text23
    QLineEdit *m_year = nullptr;           // Text21
    QLineEdit *m_modelCode = nullptr;      // Text26
    QLineEdit *m_emptyHigh = nullptr;      // Text10: Empty, high and low byte
    QLineEdit *m_emptyLow = nullptr;       // Text11
    QLineEdit *m_fullHigh = nullptr;       // Text12
    QLineEdit *m_fullLow = nullptr;        // Text14
    QLineEdit *m_lowDoHigh = nullptr;      // Text15
    QLineEdit *m_lowDoLow = nullptr;       // Text17
    QLineEdit *m_hiDoHigh = nullptr;       // Text19
    QLineEdit *m_hiDoLow = nullptr;        // Text20
    QLineEdit *m_emptyLimit = nullptr;     // Text6
    QLineEdit *m_fullLimit = nullptr;      // Text27
    QLineEdit *m_unasked = nullptr;        // Text32: unasked characters
    QLineEdit *m_unaskedStart = nullptr;   // Text33: their first eleven
    QLineEdit *m_blockingNumber = nullptr; // Text35
    QLineEdit *m_captionMarker = nullptr;  // Text36: "10" until the range caption first changes
    QLineEdit *m_writeLayout = nullptr;    // Text38: "100" long request, "10" short one

    QTimer *m_idleTimer = nullptr;   // Timer1
    QTimer *m_unlockTimer = nullptr; // Timer2: unlock
};

} // namespace veltra
