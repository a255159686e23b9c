#pragma once

#include <QPixmap>
#include <QWidget>

#include <array>
#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace veltra {

struct ModelEntry;

class SerialLink;

// The level-sensor window (form2): settings of a level sensor and its live
// level. It is made hidden at program start; the start window fills its lists.
//
// Controls are found by their designer names, either through findChild() or
// through the accessors below, which take the number of the name:
//   text(n)    Text1 ... Text38 (all exist; 24 of them are hidden working
//              fields, see isWorkingField())
//   label(n)   Label3, Label6 ... Label36
//   combo(n)   Combo1 ... Combo5
//   command(n) Command1, Command2, Command4, Command5
// The control arrays Label38 (index 0 to 6) and Label14 (index 0 and 1) are
// reached with label38(i) and label14(i); each member's objectName is
// "Label38_<i>" or "Label14_<i>" and it carries its index in the dynamic
// property "index". Any other number gives nullptr.
class LevelWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTextCount = 38;
    static constexpr int kLabel38Count = 7;
    static constexpr int kLabel14Count = 2;
    static constexpr int kTimer1IntervalMs = 1000;
    static constexpr int kTimer2IntervalMs = 200;

    explicit LevelWindow(SerialLink &link, QWidget *parent = nullptr);

    SerialLink &link() const { return m_link; }

    // Called after the port is closed when the operator closes the window.
    void setEndProgram(std::function<void()> endProgram);

    QLineEdit *text(int n) const;
    QLabel *label(int n) const;
    QComboBox *combo(int n) const;
    QPushButton *command(int n) const;
    QLabel *label38(int index) const;
    QLabel *label14(int index) const;

    // Text1, Text6, Text10 ...: fields that are never shown.
    static bool isWorkingField(int n);

    QComboBox *combo1() const { return m_combo[1]; } // baud rate
    QComboBox *combo2() const { return m_combo[2]; } // model
    QComboBox *combo3() const { return m_combo[3]; } // OGR
    QComboBox *combo4() const { return m_combo[4]; } // OMB
    QComboBox *combo5() const { return m_combo[5]; } // resolution
    QPushButton *command1() const { return m_command[1]; } // Get Level
    QPushButton *command2() const { return m_command[2]; } // RUN
    QPushButton *command4() const { return m_command[4]; } // Write
    QPushButton *command5() const { return m_command[5]; } // Read
    QLineEdit *text1() const { return m_text[1]; }   // last raw reply
    QLineEdit *text7() const { return m_text[7]; }   // blocking distance
    QLineEdit *text26() const { return m_text[26]; } // model code
    QLineEdit *text28() const { return m_text[28]; } // current placeholder
    QLabel *label29() const { return m_label[29]; }  // range hint of Empty
    QTimer *timer1() const { return m_timer1; }
    QTimer *timer2() const { return m_timer2; }      // unlock timer
    QLabel *image1() const { return m_image1; }      // product picture
    QLabel *image5() const { return m_image5; }      // background picture
    QFrame *line2() const { return m_line2; }
    QFrame *line3() const { return m_line3; }
    // Label32 ... Label36, hidden unless unasked characters arrive.
    std::array<QLabel *, 5> runBanner() const;

    // The one way Label29's caption is set, so a change is never missed:
    // emits labelCaptionChanged29() when the text differs from the current one.
    void setLabel29Caption(const QString &caption);

    // The controls a burst of unasked characters locks, in order.
    static constexpr std::array<int, 12> kLockedFields{13, 2, 3, 4, 5, 29, 30, 8, 16, 28, 18, 9};

signals:
    void labelCaptionChanged29();
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
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void makePictures();
    void makeLeftPanel();
    void makeRunBanner();
    void makeFirstColumn();
    void makeSecondColumn();
    void makeButtons();
    void makeMeasurement();
    void makeWorkingFields();
    void makeTimers();
    void Form_Load();
    // Shows a catalogue row: name, limits, captions, outputs.
    void applyModelEntry(const ModelEntry &row);
    void showOutputs(const ModelEntry &row);
    // The same after a write, which changes less than a read does.
    void applyModelEntryAfterWrite(const ModelEntry &row);

    SerialLink &m_link;
    std::function<void()> m_endProgram;
    QPixmap m_background;

    // Indexed by the number of the designer name; unused slots stay null.
    std::array<QLineEdit *, kTextCount + 1> m_text{};
    std::array<QLabel *, 37> m_label{};
    std::array<QComboBox *, 6> m_combo{};
    std::array<QPushButton *, 6> m_command{};
    std::array<QLabel *, kLabel38Count> m_label38{};
    std::array<QLabel *, kLabel14Count> m_label14{};

    QLabel *m_image5 = nullptr;
    QLabel *m_image1 = nullptr;
    QFrame *m_line2 = nullptr;
    QFrame *m_line3 = nullptr;
    QTimer *m_timer1 = nullptr;
    QTimer *m_timer2 = nullptr;
};

} // namespace veltra
