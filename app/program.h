#pragma once

#include <QObject>

#include <functional>
#include <memory>

namespace veltra {

class DistanceWindow;
class Form1;
class Form3;
class Form4;
class Form5;
class Form7;
class Form8;
class LevelWindow;
class Navar;
class SerialLink;

// Makes every window of the program once, on the one serial link, and wires
// them together. The windows are hidden and shown again, never remade.
class Program : public QObject
{
    Q_OBJECT
public:
    // endProgram is what "the program ends" means: quit the application in
    // the real program, a recorded call in tests.
    Program(SerialLink &link, std::function<void()> endProgram, QObject *parent = nullptr);
    ~Program() override;

    // Shows the start window.
    void start();

    SerialLink &link() const { return m_link; }
    Form1 &form1() const { return *m_form1; }
    LevelWindow &form2() const { return *m_form2; }
    Form3 &form3() const { return *m_form3; }
    Form4 &form4() const { return *m_form4; }
    Form5 &form5() const { return *m_form5; }
    DistanceWindow &form6() const { return *m_form6; }
    Form7 &form7() const { return *m_form7; }
    Form8 &form8() const { return *m_form8; }
    Navar &navar() const { return *m_navar; }

private:
    SerialLink &m_link;
    std::function<void()> m_endProgram;
    std::unique_ptr<LevelWindow> m_form2;
    std::unique_ptr<DistanceWindow> m_form6;
    std::unique_ptr<Form3> m_form3;
    std::unique_ptr<Form4> m_form4;
    std::unique_ptr<Form5> m_form5;
    std::unique_ptr<Form7> m_form7;
    std::unique_ptr<Form8> m_form8;
    std::unique_ptr<Navar> m_navar;
    std::unique_ptr<Form1> m_form1;
};

} // namespace veltra
