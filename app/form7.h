#pragma once

#include <QWidget>

class QLabel;

namespace veltra {

// Unit notice: the sensor's resolution is now centimetres.
class Form7 : public QWidget
{
    Q_OBJECT
public:
    explicit Form7(QWidget *parent = nullptr);

private:
    QLabel *m_label2 = nullptr;
    QLabel *m_label3 = nullptr;
};

} // namespace veltra
