#pragma once

#include "protocol/sensorsettings.h"
#include "session/settingseditor.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QDialog;
class QFrame;
class QMenuBar;
class QLabel;
class QLineEdit;
class QPushButton;

namespace veltra {

class SensorSession;
namespace ui {
class SettingsMenu;
}
struct DistanceWriteInput;
struct DistanceWritePlan;

// The distance-sensor window (Form6): settings of a DVZ sensor and its live
// distance. It is made hidden at program start, with its lists filled; the
// baud box follows the rate the session's handshake finds. Every exchange
// goes through the session.
//
// Each control keeps its designer name as its object name; the members below
// say which is which. Tests find a control by that name.
class DistanceWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTextCount = 26;
    static constexpr int kLabelCount = 32;

    explicit DistanceWindow(SensorSession &session, QWidget *parent = nullptr);

    SensorSession &session() const { return m_session; }

    // Called when the operator closes the window; the port stays open, ending
    // the process releases it.
    void setEndProgram(std::function<void()> endProgram);

    // The menu bar and its File menu (see the level window).
    ui::SettingsMenu &settingsMenu() const { return *m_files; }

    // Text1, Text2, Text3 ...: fields that are never shown.
    static bool isWorkingField(int n);

signals:
    // write's first step: the progress window is to be shown.
    void writeStarted();

public slots:
    void Command5_Click(); // Read
    void Command4_Click(); // write
    void Command1_Click(); // Get Distance

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // A hidden working field: its member and designer name, in the order
    // the fields are made.
    struct WorkingField {
        QLineEdit *DistanceWindow::*field;
        const char *name;
    };
    static const std::array<WorkingField, 19> kWorkingFields;

    void makePictures();
    void makeLeftPanel();
    void makeSettings();
    void makeModelPlate();
    void makeButtons();
    void makeMeasurement();
    void makeWorkingFields();
    void Form_Load();
    void fillLists();
    // Spreads a whole settings block over the boxes and working fields.
    void showSettings(const SensorSettings &settings, const QString &baudText);
    void makeMenus();
    void openTrend();
    std::optional<SensorSettings> blockFromFields();
    QWidget *controlFor(Setting setting) const;
    // What write sends: the boxes and the working fields as they stand.
    DistanceWriteInput writeInput() const;
    // write's checks and plan for the window's entries; nothing, once the
    // failed check's message has been shown (and, given `refusal`, kept there).
    std::optional<DistanceWritePlan> checkedWritePlan(QString *refusal = nullptr);
    // The model box and blocking distance after a read or a write.
    void showModel(bool distanceModel);

    SensorSession &m_session;
    // The last Read and the write sequence; the controls hold the edits.
    SettingsEditor m_editor;
    // The menus above the client area and the settings-file actions.
    ui::SettingsMenu *m_files = nullptr;
    std::function<void()> m_endProgram;

    // Pictures and lines.
    QLabel *m_productPicture = nullptr; // Image1
    QLabel *m_sensorPicture = nullptr;  // Image3: behind the model fields
    QFrame *m_panelLine = nullptr;      // Line2: right edge of the left panel
    QFrame *m_footLine = nullptr;       // Line3: above the maker's lines

    // The maker's lines under the product picture.
    QLabel *m_makerName = nullptr;    // Label3
    QLabel *m_makerContact = nullptr; // Label8
    QLabel *m_makerMark = nullptr;    // Label9

    // Settings the operator edits.
    QLabel *m_baudCaption = nullptr;    // Label10 "Baud Rate"
    QComboBox *m_baudBox = nullptr;     // Combo1
    QLabel *m_slaveCaption = nullptr;   // Label18 "Slave Address"
    QLabel *m_slaveRange = nullptr;     // Label19 "1 to 247"
    QLineEdit *m_slave = nullptr;       // Text13
    QLabel *m_ogrCaption = nullptr;     // Label31 "OGR"
    QComboBox *m_ogrBox = nullptr;      // Combo3
    QLabel *m_switchCaption = nullptr;  // Label11 "Switch"
    QLabel *m_switchRange = nullptr;    // Label32 "60 to 600"
    QLineEdit *m_switchPoint = nullptr; // Text4

    // Shown on the sensor picture, never edited.
    QComboBox *m_modelBox = nullptr;         // Combo2
    QLabel *m_blockingCaption = nullptr;     // Label14 "BD"
    QLineEdit *m_blockingDistance = nullptr; // Text7

    QPushButton *m_readButton = nullptr;        // Command5 "Read"
    QPushButton *m_writeButton = nullptr;       // Command4 "write"
    QLabel *m_distanceCaption = nullptr;        // Label27 "Distance"
    QLineEdit *m_distance = nullptr;            // Text16
    QPushButton *m_getDistanceButton = nullptr; // Command1 "Get Distance"

    // Working fields, never shown: the last reply, the last temperature and
    // the settings block as the last Read or write left it.
    QLineEdit *m_lastReply = nullptr;   // Text1
    QLineEdit *m_temperature = nullptr; // Text18
    QLineEdit *m_baudCode = nullptr;    // Text22
    QLineEdit *m_ogrCode = nullptr;     // Text25
    QLineEdit *m_month = nullptr;       // Text24
    QLineEdit *m_day = nullptr;         // Text23
    QLineEdit *m_year = nullptr;        // Text21
    QLineEdit *m_modelCode = nullptr;   // Text26
    QLineEdit *m_empty = nullptr;       // Text2
    QLineEdit *m_full = nullptr;        // Text3
    QLineEdit *m_hiDo = nullptr;        // Text5
    QLineEdit *m_emptyHigh = nullptr;   // Text10
    QLineEdit *m_emptyLow = nullptr;    // Text11
    QLineEdit *m_fullHigh = nullptr;    // Text12
    QLineEdit *m_fullLow = nullptr;     // Text14
    QLineEdit *m_switchHigh = nullptr;  // Text15
    QLineEdit *m_switchLow = nullptr;   // Text17
    QLineEdit *m_hiDoHigh = nullptr;    // Text19
    QLineEdit *m_hiDoLow = nullptr;     // Text20
};

} // namespace veltra
