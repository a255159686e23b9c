#pragma once

#include "protocol/modelcatalogue.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace veltra {

class SensorSession;

// Connected notice (designer name Form4): the sensor answered; shows the baud
// rate that was found. OK reads the settings block once, takes the model
// code and asks for the window that fits the model.
class ConnectedNotice : public QWidget
{
    Q_OBJECT
public:
    ConnectedNotice(SensorSession &session, std::function<void()> endProgram, QWidget *parent = nullptr);

public slots:
    // The OK button.
    void Command5_Click();

signals:
    void okClicked();
    // The model was identified: the window that fits it is to be shown.
    void modelWindowChosen(veltra::ModelWindow window);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    SensorSession &m_session;
    std::function<void()> m_endProgram;

    QLabel *m_title = nullptr;         // Label1
    QLabel *m_baudCaption = nullptr;   // Label10
    QComboBox *m_baudBox = nullptr;    // Combo1
    QPushButton *m_okButton = nullptr; // Command5
};

} // namespace veltra
