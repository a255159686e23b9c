#pragma once

#include <QWidget>

class QLabel;

namespace veltra {

// Unit notice: the sensor's resolution is now millimetres.
class Form8 : public QWidget
{
    Q_OBJECT
public:
    explicit Form8(QWidget *parent = nullptr);

private:
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
};

} // namespace veltra
