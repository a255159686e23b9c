#pragma once

#include <QWidget>

#include <array>
#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace veltra {

class SerialLink;

// The distance-sensor window (Form6): settings of a DVZ sensor and its live
// distance. It is made hidden at program start; the start window fills its
// lists.
//
// Controls are found by their designer names, either through findChild() or
// through the accessors below, which take the number of the name:
//   text(n)    Text4, Text7, Text13, Text16 (shown) and the hidden working
//              fields listed by isWorkingField()
//   label(n)   Label3, Label8, Label9, Label10, Label11, Label14, Label18,
//              Label19, Label27, Label31, Label32
//   combo(n)   Combo1 ... Combo3
//   command(n) Command1, Command4, Command5
// Any other number gives nullptr.
class DistanceWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTextCount = 26;
    static constexpr int kLabelCount = 32;

    explicit DistanceWindow(SerialLink &link, QWidget *parent = nullptr);

    SerialLink &link() const { return m_link; }

    // Called when the operator closes the window; the port stays open, ending
    // the process releases it.
    void setEndProgram(std::function<void()> endProgram);

    QLineEdit *text(int n) const;
    QLabel *label(int n) const;
    QComboBox *combo(int n) const;
    QPushButton *command(int n) const;

    // Text1, Text2, Text3 ...: fields that are never shown.
    static bool isWorkingField(int n);

    QComboBox *combo1() const { return m_combo[1]; }       // baud rate
    QComboBox *combo2() const { return m_combo[2]; }       // model, display only
    QComboBox *combo3() const { return m_combo[3]; }       // OGR
    QPushButton *command1() const { return m_command[1]; } // Get Distance
    QPushButton *command4() const { return m_command[4]; } // write
    QPushButton *command5() const { return m_command[5]; } // Read
    QLineEdit *text1() const { return m_text[1]; }         // last raw reply of this window
    QLabel *image1() const { return m_image1; }            // product picture
    QLabel *image3() const { return m_image3; }            // sensor picture behind the model fields
    QFrame *line2() const { return m_line2; }
    QFrame *line3() const { return m_line3; }

signals:
    // write's first step: the progress window is to be shown.
    void writeStarted();

public slots:
    void Command5_Click(); // Read
    void Command4_Click(); // write
    void Command1_Click(); // Get Distance

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void makePictures();
    void makeLeftPanel();
    void makeSettings();
    void makeModelPlate();
    void makeButtons();
    void makeMeasurement();
    void makeWorkingFields();
    void Form_Load();
    // The model box and blocking distance after a read or a write.
    void showModel(bool distanceModel);

    SerialLink &m_link;
    std::function<void()> m_endProgram;

    // Indexed by the number of the designer name; unused slots stay null.
    std::array<QLineEdit *, kTextCount + 1> m_text{};
    std::array<QLabel *, kLabelCount + 1> m_label{};
    std::array<QComboBox *, 4> m_combo{};
    std::array<QPushButton *, 6> m_command{};

    QLabel *m_image1 = nullptr;
    QLabel *m_image3 = nullptr;
    QFrame *m_line2 = nullptr;
    QFrame *m_line3 = nullptr;
};

} // namespace veltra
