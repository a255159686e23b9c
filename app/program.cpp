#include "program.h"

#include "distancewindow.h"
#include "form1.h"
#include "form3.h"
#include "form4.h"
#include "form5.h"
#include "form7.h"
#include "form8.h"
#include "levelwindow.h"
#include "navar.h"
#include "seriallink.h"

namespace veltra {

Program::Program(SerialLink &link, std::function<void()> endProgram, QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_endProgram(std::move(endProgram))
{
    // The settings windows come first: the start window's load fills their lists.
    m_form2 = std::make_unique<LevelWindow>(m_link);
    m_form6 = std::make_unique<DistanceWindow>(m_link);
    m_form3 = std::make_unique<Form3>(m_endProgram);
    m_form4 = std::make_unique<Form4>(m_link, *m_form2, *m_form6, m_endProgram);
    m_form5 = std::make_unique<Form5>();
    m_form7 = std::make_unique<Form7>();
    m_form8 = std::make_unique<Form8>();
    m_navar = std::make_unique<Navar>();
    m_form1 = std::make_unique<Form1>(m_link, *m_form2, *m_form6, *m_form4, *m_form5, m_endProgram);

    connect(m_form5.get(), &Form5::backToStart, m_form1.get(), &QWidget::show);
    m_form2->setEndProgram(m_endProgram);
    connect(m_form2.get(), &LevelWindow::writeStarted, m_navar.get(), &QWidget::show);
    connect(m_form2.get(), &LevelWindow::sensorRunning, m_form3.get(), &QWidget::show);
    connect(m_form2.get(), &LevelWindow::centimetreNotice, m_form7.get(), &QWidget::show);
    connect(m_form2.get(), &LevelWindow::millimetreNotice, m_form8.get(), &QWidget::show);
    m_form6->setEndProgram(m_endProgram);
    connect(m_form6.get(), &DistanceWindow::writeStarted, m_navar.get(), &QWidget::show);
}

Program::~Program() = default;

void Program::start()
{
    m_form1->show();
}

} // namespace veltra
