// Get Level, RUN, Write, the lock on unasked characters and the resolution
// notice of the level window.
#include "controls.h"
#include "inputerror.h"
#include "levelwindow.h"
#include "linkfailure.h"
#include "numbers.h"
#include "protocol/levelwrite.h"
#include "protocol/measurement.h"
#include "protocol/modelcatalogue.h"
#include "session/sensorsession.h"
#include "session/settingseditor.h"
#include "settingsfiles.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace veltra {

namespace {

void showWordBytes(const WordBytes &bytes, QLineEdit *high, QLineEdit *low)
{
    high->setText(bytes.high);
    low->setText(bytes.low);
}

} // namespace

void LevelWindow::Command1_Click()
{
    // GetLevel
    if (!reopenLostLink(this, m_session, m_baudBox->currentText()))
        return;
    const auto reply = m_session.measure();
    m_lastReply->setText(reply.value_or(QString()));
    if (reportLinkFailure(this, m_session))
        return;
    const MeasurementReply measured = MeasurementReply::parse(m_lastReply->text());
    if (!measured.found)
        return;

    m_distance->setText(measured.distance);
    m_temperature->setText(measured.temperature);
    // A Full of 0 has no current: the field is left empty rather than
    // showing a division by zero.
    const LevelReading reading = levelReading(m_empty->text(), m_full->text(), m_distance->text());
    m_level->setText(reading.level);
    m_current->setText(reading.current);
}

void LevelWindow::Command2_Click()
{
    // RunSensor. The RUN notice claims success, so a request that could not
    // reach the sensor (or a device gone before it could arrive) is reported
    // instead.
    if (!m_session.run()) {
        reportLinkFailure(this, m_session);
        return;
    }
    hide();
    emit sensorRunning();
}

LevelWriteInput LevelWindow::writeInput() const
{
    LevelWriteInput input;
    input.baudBox = m_baudBox->currentText();
    input.modelBox = m_modelBox->currentText();
    input.ogrBox = m_ogrBox->currentText();
    input.ombBox = m_ombBox->currentText();
    input.resolutionBox = m_resolutionBox->currentText();
    input.baudCode = m_baudCode->text();
    input.modelCode = m_modelCode->text();
    input.ogrCode = m_ogrCode->text();
    input.ombCode = m_ombCode->text();
    input.resolutionCode = m_resolutionCode->text();
    input.slave = m_slave->text();
    input.month = m_month->text();
    input.day = m_day->text();
    input.year = m_year->text();
    input.empty = m_empty->text();
    input.full = m_full->text();
    input.lowDo = m_lowDo->text();
    input.hiDo = m_hiDo->text();
    input.layoutMarker = m_writeLayout->text();
    return input;
}

void LevelWindow::keepWritePlan(const LevelWritePlan &plan)
{
    m_baudCode->setText(plan.baudCode);
    m_modelCode->setText(plan.modelCode);
    m_ogrCode->setText(plan.ogrCode);
    m_ombCode->setText(plan.ombCode);
    m_resolutionCode->setText(plan.resolutionCode);
    showWordBytes(plan.empty, m_emptyHigh, m_emptyLow);
    showWordBytes(plan.full, m_fullHigh, m_fullLow);
    showWordBytes(plan.lowDo, m_lowDoHigh, m_lowDoLow);
    showWordBytes(plan.hiDo, m_hiDoHigh, m_hiDoLow);
}

std::optional<LevelWritePlan> LevelWindow::checkedWritePlan(const LevelWriteInput &input, QString *refusal)
{
    const auto refuse = [this, refusal](const QString &message) {
        ui::showInputError(this, message);
        if (refusal)
            *refusal = message;
        return std::nullopt;
    };
    // Models without digital outputs hide the thresholds the operator could
    // not correct; they go back as the sensor reported them.
    const ModelEntry *model = ModelCatalogue::findByCode(input.modelCode, input.resolutionCode);
    const bool thresholdsEditable = !m_lowDo->isHidden() && !(model && model->kind == ModelKind::RunControl);
    const LevelCheck check = checkLevelEntries(levelEntriesOf(input, thresholdsEditable));
    if (check != LevelCheck::Passed)
        return refuse(levelCheckMessage(check));
    const LevelWritePlan plan = planLevelWrite(input);
    if (!plan.error.isEmpty())
        return refuse(plan.error);
    return plan;
}

void LevelWindow::Command4_Click()
{
    // WriteSettings: checks first; nothing is sent unless every one passes.
    emit writeStarted();
    m_idleTimer->stop();
    m_idleTimer->setInterval(0);
    if (m_resolutionBox->currentText() == QLatin1String("Cm"))
        m_resolutionCode->setText(QStringLiteral("10"));
    if (m_resolutionBox->currentText() == QLatin1String("mm"))
        m_resolutionCode->setText(QStringLiteral("1"));

    QString refusal;
    const std::optional<LevelWritePlan> plan = checkedWritePlan(writeInput(), &refusal);
    if (!plan) {
        m_modelText->setText(m_modelBox->currentText());
        m_files->recordRefusedWrite(refusal);
        return;
    }

    keepWritePlan(*plan);

    // A port already gone took nothing; one that failed during the send may have.
    const bool wasOpen = m_session.isOpen();
    // Nothing is read back after this write: the editor asks whether the
    // device is still there instead, so an adapter pulled during the wait is
    // reported, not passed over.
    using Outcome = SettingsEditor::WriteResult::Outcome;
    const WritePlan sent{plan->request, plan->lineSettings};
    const Outcome outcome = m_editor.send(sent, plan->settings, false).outcome;
    if (outcome == Outcome::NotSent) {
        reportLinkFailure(this, m_session, wasOpen ? LinkAction::Write : LinkAction::WriteNotSent);
        m_files->recordWrite(sent, plan->settings, outcome);
        m_modelText->setText(m_modelBox->currentText());
        return;
    }
    if (outcome == Outcome::Lost)
        reportLinkFailure(this, m_session, LinkAction::Write);
    else
        m_files->writeDone(); // the sensor now holds what the fields show
    m_files->recordWrite(sent, plan->settings, outcome);

    const QString code = NumberToText(roundHalfEven(TextToNumber(m_modelCode->text())));
    if (const ModelEntry *row = ModelCatalogue::findByCode(code, m_resolutionCode->text()))
        applyModelEntryAfterWrite(*row);
    else
        m_modelBox->setCurrentText(QStringLiteral("NON"));
    m_modelText->setText(m_modelBox->currentText());
}

void LevelWindow::applyModelEntryAfterWrite(const ModelEntry &row)
{
    m_modelBox->setCurrentText(QLatin1String(row.name));
    m_blocking->setText(QLatin1String(row.blockingText));
    if (row.blockingNumber)
        m_blockingNumber->setText(QLatin1String(row.blockingNumber));
    m_fullRange->setText(QLatin1String(row.fullCaption));
    setEmptyRangeCaption(QLatin1String(row.emptyCaption));
    m_fullLimit->setText(QString::number(row.fullLimit));
    m_emptyLimit->setText(QString::number(row.emptyLimit));

    switch (row.kind) {
    case ModelKind::Standard:
        showOutputs(row);
        break;
    case ModelKind::ResolutionChoice:
    case ModelKind::FixedResolution:
        m_lowDo->show();
        m_hiDo->show();
        m_lowDoPlaceholder->hide();
        m_hiDoPlaceholder->hide();
        m_current->hide();
        m_currentPlaceholder->show();
        ui::setBackground(m_currentPlaceholder, ui::scrollBarColour());
        m_runButton->hide();
        break;
    case ModelKind::RunControl:
        m_lowDo->setEnabled(false);
        m_hiDo->setEnabled(false);
        m_current->show();
        ui::setBackground(m_current, ui::menuColour());
        m_currentPlaceholder->hide();
        m_resolutionBox->hide();
        m_resolutionCaption->hide();
        break;
    }
}

void LevelWindow::MSComm1_OnComm(int eventCode)
{
    if (eventCode != SerialLink::kEventReceive)
        return;
    m_unlockTimer->stop();
    m_unasked->setText(m_session.takeUnasked());
    m_unaskedStart->setText(m_unasked->text().left(11));

    for (QPushButton *button : {m_getLevelButton, m_runButton, m_writeButton, m_readButton})
        button->setEnabled(false);
    for (QComboBox *box : {m_baudBox, m_ogrBox, m_ombBox})
        box->setEnabled(false);
    for (QLineEdit *field : lockedFields())
        field->setEnabled(false);
    for (QLabel *banner : runBanner())
        banner->show();
    m_unlockTimer->start();
}

void LevelWindow::Label29_Change()
{
    // The first caption after the window was made is the first read's: no notice.
    if (m_captionMarker->text() != QLatin1String("10")) {
        if (m_resolutionBox->currentText() == QLatin1String("Cm"))
            emit centimetreNotice();
        else if (m_resolutionBox->currentText() == QLatin1String("mm"))
            emit millimetreNotice();
    }
    m_captionMarker->setText(QStringLiteral("1"));
}

} // namespace veltra
