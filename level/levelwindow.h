#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace veltra {

class SerialLink;

// The level-sensor window (form2): settings of a level sensor and its live
// level. It is made hidden at program start; the start window fills its lists.
class LevelWindow : public QWidget
{
    Q_OBJECT
public:
    explicit LevelWindow(SerialLink &link, QWidget *parent = nullptr);

    SerialLink &link() const { return m_link; }

    QComboBox *combo1() const { return m_combo1; } // baud rate
    QComboBox *combo2() const { return m_combo2; } // model
    QComboBox *combo3() const { return m_combo3; } // OGR
    QComboBox *combo4() const { return m_combo4; } // OMB
    QComboBox *combo5() const { return m_combo5; } // resolution
    QPushButton *command1() const { return m_command1; } // Get Level
    QLineEdit *text7() const { return m_text7; }   // blocking distance
    QLineEdit *text28() const { return m_text28; } // current placeholder
    QLineEdit *text1() const { return m_text1; }   // last raw reply
    QLineEdit *text26() const { return m_text26; } // model code

private:
    void Form_Load();

    SerialLink &m_link;

    QComboBox *m_combo4 = nullptr;
    QComboBox *m_combo3 = nullptr;
    QComboBox *m_combo5 = nullptr;
    QComboBox *m_combo2 = nullptr;
    QLineEdit *m_text7 = nullptr;
    QComboBox *m_combo1 = nullptr;
    QLineEdit *m_text28 = nullptr;
    QPushButton *m_command1 = nullptr;
    QLineEdit *m_text1 = nullptr;
    QLineEdit *m_text26 = nullptr;
};

} // namespace veltra
