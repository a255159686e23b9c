#pragma once

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace veltra {

class DistanceWindow;
class LevelWindow;
class SerialLink;

// Connected notice: the sensor answered; shows the baud rate that was found.
class Form4 : public QWidget
{
    Q_OBJECT
public:
    Form4(SerialLink &link, LevelWindow &form2, DistanceWindow &form6, std::function<void()> endProgram,
          QWidget *parent = nullptr);

    QComboBox *combo1() const { return m_combo1; } // baud rate found, display only
    QPushButton *command5() const { return m_command5; }

public slots:
    // The OK button: read the settings block once, take the model code and
    // open the window that fits the model.
    void Command5_Click();

signals:
    void okClicked();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    SerialLink &m_link;
    LevelWindow &m_form2;
    DistanceWindow &m_form6;
    std::function<void()> m_endProgram;

    QLabel *m_label1 = nullptr;
    QLabel *m_label10 = nullptr;
    QComboBox *m_combo1 = nullptr;
    QPushButton *m_command5 = nullptr;
};

} // namespace veltra
