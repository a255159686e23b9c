// Read, write and Get Distance of the distance-sensor window.
#include "distancewindow.h"
#include "inputerror.h"
#include "linkfailure.h"
#include "numbers.h"
#include "protocol/distancewrite.h"
#include "protocol/measurement.h"
#include "protocol/modelcatalogue.h"
#include "protocol/settingsreply.h"
#include "session/sensorsession.h"
#include "session/settingseditor.h"
#include "settingsfiles.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

namespace veltra {

namespace {

const QString kBlockingText = QStringLiteral("40 Cm");

// A 16-bit setting's two fields as the write leaves them.
void showBytes(QLineEdit *high, QLineEdit *low, const WordBytes &bytes)
{
    high->setText(bytes.high);
    low->setText(bytes.low);
}

} // namespace

void DistanceWindow::Command5_Click()
{
    // Read
    if (!reopenLostLink(this, m_session, m_baudBox->currentText()))
        return;
    const auto reply = m_session.readReply();
    m_lastReply->setText(reply.value_or(QString()));
    if (reportLinkFailure(this, m_session))
        return;
    // Only a whole block is spread over the fields (see the level window).
    if (!SettingsReply::isWellFormed(m_lastReply->text(), SettingsReply::kDistanceFields)) {
        reportDamagedReply(this, m_lastReply->text(), QCoreApplication::translate("Window", "Read"));
        return;
    }
    m_files->readDone(m_lastReply->text());
    // The baud box takes only an exact code (" 30"), not "030".
    showSettings(SensorSettings::fromBlock(m_lastReply->text(), SensorFamily::Distance),
                 SettingsReply(m_lastReply->text(), SettingsReply::kDistanceFields).baudText());

    m_writeButton->setEnabled(true);
    m_getDistanceButton->setEnabled(true);
}

void DistanceWindow::showSettings(const SensorSettings &settings, const QString &baudText)
{
    if (!baudText.isEmpty())
        m_baudBox->setCurrentText(baudText);
    // Every setting after the baud code as plain decimal text, the 16-bit
    // settings byte by byte as well as whole.
    ui::showSettings(settings,
                     {{Setting::Slave, m_slave},
                      {Setting::Ogr, m_ogrCode},
                      {Setting::Month, m_month},
                      {Setting::Day, m_day},
                      {Setting::Year, m_year},
                      {Setting::Model, m_modelCode},
                      {Setting::Empty, m_empty},
                      {Setting::Full, m_full},
                      {Setting::Switch, m_switchPoint},
                      {Setting::HiDo, m_hiDo}},
                     {{Setting::Empty, m_emptyHigh, m_emptyLow},
                      {Setting::Full, m_fullHigh, m_fullLow},
                      {Setting::Switch, m_switchHigh, m_switchLow},
                      {Setting::HiDo, m_hiDoHigh, m_hiDoLow}});

    const QString ogr = ModelCatalogue::ogrTextForCode(int(TextToNumber(m_ogrCode->text())));
    if (!ogr.isEmpty())
        m_ogrBox->setCurrentText(ogr);
    showModel(m_modelCode->text() == QString::number(ModelCatalogue::kDistanceModelCode));
}

std::optional<DistanceWritePlan> DistanceWindow::checkedWritePlan(QString *refusal)
{
    const auto refuse = [this, refusal](const QString &message) {
        ui::showInputError(this, message);
        if (refusal)
            *refusal = message;
        return std::nullopt;
    };
    const DistanceCheck check = checkDistanceEntries(m_baudBox->currentText(), m_slave->text(), m_switchPoint->text());
    if (check != DistanceCheck::Passed)
        return refuse(distanceCheckMessage(check));
    const DistanceWritePlan plan = planDistanceWrite(writeInput());
    if (!plan.error.isEmpty())
        return refuse(plan.error);
    return plan;
}

void DistanceWindow::Command4_Click()
{
    // write: checks first; nothing is sent unless every one passes.
    emit writeStarted();
    QString refusal;
    const std::optional<DistanceWritePlan> plan = checkedWritePlan(&refusal);
    if (!plan) {
        m_files->recordRefusedWrite(refusal);
        return;
    }

    m_baudCode->setText(plan->baudCode);
    m_modelCode->setText(plan->modelCode);
    m_ogrCode->setText(plan->ogrCode);
    showBytes(m_emptyHigh, m_emptyLow, plan->empty);
    showBytes(m_fullHigh, m_fullLow, plan->full);
    showBytes(m_switchHigh, m_switchLow, plan->switchPoint);
    showBytes(m_hiDoHigh, m_hiDoLow, plan->hiDo);

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
        return;
    }
    if (outcome == Outcome::Lost)
        reportLinkFailure(this, m_session, LinkAction::Write);
    else
        m_files->writeDone(); // the sensor now holds what the fields show
    m_files->recordWrite(sent, plan->settings, outcome);

    showModel(roundHalfEven(TextToNumber(m_modelCode->text())) == ModelCatalogue::kDistanceModelCode);
}

DistanceWriteInput DistanceWindow::writeInput() const
{
    return {
        .baudBox = m_baudBox->currentText(),
        .modelBox = m_modelBox->currentText(),
        .ogrBox = m_ogrBox->currentText(),
        .baudCode = m_baudCode->text(),
        .modelCode = m_modelCode->text(),
        .ogrCode = m_ogrCode->text(),
        .slave = m_slave->text(),
        .month = m_month->text(),
        .day = m_day->text(),
        .year = m_year->text(),
        .empty = m_empty->text(),
        .full = m_full->text(),
        .switchPoint = m_switchPoint->text(),
        .hiDo = m_hiDo->text(),
    };
}

void DistanceWindow::Command1_Click()
{
    // Get Distance
    if (!reopenLostLink(this, m_session, m_baudBox->currentText()))
        return;
    const auto reply = m_session.measure();
    m_lastReply->setText(reply.value_or(QString()));
    if (reportLinkFailure(this, m_session))
        return;
    const MeasurementReply measurement = MeasurementReply::parse(m_lastReply->text());
    if (!measurement.found)
        return;
    m_distance->setText(measurement.distance);
    m_temperature->setText(measurement.temperature);
}

void DistanceWindow::showModel(bool distanceModel)
{
    if (distanceModel) {
        m_modelBox->setCurrentText(QLatin1String(ModelCatalogue::kDistanceModelName));
        m_blockingDistance->setText(kBlockingText);
    } else {
        m_modelBox->setCurrentText(QStringLiteral("NON"));
    }
}

} // namespace veltra
