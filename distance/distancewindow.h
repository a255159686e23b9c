#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;

namespace veltra {

class SerialLink;

// The distance-sensor window (Form6). It is made hidden at program start;
// the start window fills its lists.
class DistanceWindow : public QWidget
{
    Q_OBJECT
public:
    explicit DistanceWindow(SerialLink &link, QWidget *parent = nullptr);

    SerialLink &link() const { return m_link; }

    QComboBox *combo1() const { return m_combo1; } // baud rate
    QComboBox *combo2() const { return m_combo2; } // model, display only
    QComboBox *combo3() const { return m_combo3; } // OGR
    QLineEdit *text1() const { return m_text1; }   // last raw reply of this window

private:
    void Form_Load();

    SerialLink &m_link;

    QComboBox *m_combo1 = nullptr;
    QComboBox *m_combo3 = nullptr;
    QComboBox *m_combo2 = nullptr;
    QLineEdit *m_text1 = nullptr;
};

} // namespace veltra
