#pragma once

#include <QWidget>

#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace veltra {

class DistanceWindow;
class Form4;
class Form5;
class LevelWindow;
class SerialLink;

// The start window: the operator picks a port and presses "Set com port".
// Its load (Form_Load) runs once, from the constructor: it fills the lists of
// the two settings windows, which must therefore exist before it.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    Form1(SerialLink &link, LevelWindow &form2, DistanceWindow &form6, Form4 &form4, Form5 &form5,
          std::function<void()> endProgram, QWidget *parent = nullptr);

    // The port box text as the operator left it.
    QString portText() const;

    SerialLink &link() const { return m_link; }
    LevelWindow &form2() const { return m_form2; }
    DistanceWindow &form6() const { return m_form6; }
    Form4 &form4() const { return m_form4; }
    Form5 &form5() const { return m_form5; }

    QComboBox *combo1() const { return m_combo1; }
    QPushButton *command1() const { return m_command1; }

public slots:
    // The connection handshake (form1_connect.cpp).
    void Command1_Click();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void refreshPortTip();

    SerialLink &m_link;
    LevelWindow &m_form2;
    DistanceWindow &m_form6;
    Form4 &m_form4;
    Form5 &m_form5;
    std::function<void()> m_endProgram;

    QLabel *m_label1 = nullptr;
    QFrame *m_line1 = nullptr;
    QLabel *m_label2 = nullptr;
    QComboBox *m_combo1 = nullptr;
    QPushButton *m_command1 = nullptr;
    QFrame *m_line2 = nullptr;
    QLabel *m_label3 = nullptr;
    QLabel *m_label4 = nullptr;
    QLabel *m_label5 = nullptr;
};

} // namespace veltra
