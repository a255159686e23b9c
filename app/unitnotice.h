#pragma once

#include <QWidget>

#include <array>

class QLabel;

namespace veltra {

// Unit notice: the sensor's resolution is now centimetres (designer name
// Form7) or millimetres (Form8); both lines tell the operator to change every
// length to the new unit.
class UnitNotice : public QWidget
{
    Q_OBJECT
public:
    enum class Unit { Centimetre, Millimetre };

    explicit UnitNotice(Unit unit, QWidget *parent = nullptr);

    Unit unit() const { return m_unit; }

private:
    Unit m_unit;
    QLabel *m_changedLine = nullptr;   // Form7 Label2, Form8 Label1
    QLabel *m_changeAllLine = nullptr; // Form7 Label3, Form8 Label2
};

} // namespace veltra
