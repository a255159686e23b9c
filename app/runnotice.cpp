#include "runnotice.h"

#include "controls.h"

#include <QCloseEvent>
#include <QLabel>
#include <QShowEvent>
#include <QTimer>

namespace veltra {

using ui::Twips;

RunNotice::RunNotice(std::function<void()> endProgram, QWidget *parent)
    : QWidget(parent)
    , m_endProgram(std::move(endProgram))
{
    ui::setUpWindow(this, QStringLiteral("Form3"), QStringLiteral("!!"), 4200, 1125);

    // One line read right to left: Label1, Label5, Label2, Label6.
    const QFont nazanin = ui::font(QString::fromLatin1(ui::kNazanin), 12, true);
    m_inStateText = ui::makePersianLabel(this, QStringLiteral("Label1"), QStringLiteral("سنسور در وضعيت"),
                                         Twips{2280, 360, 1575, 375}, nazanin);
    m_runText = ui::makeLabel(this, QStringLiteral("Label5"), QStringLiteral("RUN"), Twips{1680, 440, 615, 255},
                              ui::font(QString::fromLatin1(ui::kArialBlack), 9.75));
    // Its stand-in face is narrower than Arial Black; centred, the word keeps
    // a gap on both sides.
    m_runText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_wasPutText = ui::makePersianLabel(this, QStringLiteral("Label2"), QStringLiteral("قرار گرفت"),
                                        Twips{720, 360, 975, 375}, nazanin);
    m_marksText = ui::makePersianLabel(this, QStringLiteral("Label6"), QStringLiteral("!"), Twips{600, 340, 135, 375},
                                       ui::font(QString::fromLatin1(ui::kTitr), 12, true));
    ui::explainInEnglish({m_inStateText, m_runText, m_wasPutText, m_marksText},
                         QStringLiteral("The sensor has been put into the RUN state!"));

    m_endTimer = new QTimer(this);
    m_endTimer->setObjectName(QStringLiteral("Timer1"));
    m_endTimer->setInterval(kEndDelayMs);
    m_endTimer->setSingleShot(true);
    connect(m_endTimer, &QTimer::timeout, this, &RunNotice::Timer1_Timer);
}

void RunNotice::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

void RunNotice::Form_Load()
{
    m_endTimer->start();
}

void RunNotice::Timer1_Timer()
{
    endProgram();
}

void RunNotice::closeEvent(QCloseEvent *event)
{
    event->accept();
    endProgram();
}

void RunNotice::endProgram()
{
    // The tick and the close can both come while the program winds down.
    if (m_ended)
        return;
    m_ended = true;
    m_endTimer->stop();
    if (m_endProgram)
        m_endProgram();
}

} // namespace veltra
