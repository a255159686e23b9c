// Read: ask the sensor for its settings block, spread it over the fields and
// adapt the window to the model's catalogue row.
#include "controls.h"
#include "levelwindow.h"
#include "linkfailure.h"
#include "numbers.h"
#include "protocol/modelcatalogue.h"
#include "protocol/settingsreply.h"
#include "session/sensorsession.h"
#include "settingsfiles.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace veltra {

namespace {

void setIfKnown(QComboBox *box, const QString &text)
{
    if (!text.isEmpty())
        box->setCurrentText(text);
}

double valueOf(const QLineEdit *field)
{
    return TextToNumber(field->text());
}

} // namespace

void LevelWindow::Command5_Click()
{
    // ReadSettings
    if (!reopenLostLink(this, m_session, m_baudBox->currentText()))
        return;
    const auto reply = m_session.readReply();
    m_lastReply->setText(reply.value_or(QString()));
    if (reportLinkFailure(this, m_session))
        return;
    // Only a whole block is spread over the fields: one stray character in
    // front shifts every field, and the next Write would send that back.
    if (!SettingsReply::isWellFormed(m_lastReply->text(), SettingsReply::kLevelFields)) {
        reportDamagedReply(this, m_lastReply->text(), QCoreApplication::translate("Window", "Read"));
        return;
    }
    m_files->readDone(m_lastReply->text());
    // The baud box takes only an exact code (" 30"), not "030".
    spreadSettings(SensorSettings::fromBlock(m_lastReply->text(), SensorFamily::Level),
                   SettingsReply(m_lastReply->text(), SettingsReply::kLevelFields).baudText());
}

void LevelWindow::spreadSettings(const SensorSettings &settings, const QString &baudText)
{
    m_writeButton->setEnabled(true);
    setIfKnown(m_baudBox, baudText);
    showSettings(settings);

    setIfKnown(m_ogrBox, ModelCatalogue::ogrTextForCode(int(valueOf(m_ogrCode))));
    setIfKnown(m_ombBox, ModelCatalogue::ombTextForCode(int(valueOf(m_ombCode))));
    setIfKnown(m_resolutionBox, ModelCatalogue::resolutionTextForCode(int(valueOf(m_resolutionCode))));

    if (const ModelEntry *row = ModelCatalogue::findByCode(m_modelCode->text(), m_resolutionCode->text()))
        applyModelEntry(*row);
    else
        m_modelBox->setCurrentText(QStringLiteral("NON"));

    m_modelText->setText(m_modelBox->currentText());
    m_writeButton->setEnabled(true);
    m_getLevelButton->setEnabled(true);
}

void LevelWindow::showSettings(const SensorSettings &settings)
{
    // Every setting from the slave address on, each into its own field as
    // plain decimal text; the 16-bit settings also as their two bytes. The
    // baud code goes to the box.
    ui::showSettings(settings,
                     {{Setting::Slave, m_slave},
                      {Setting::Ogr, m_ogrCode},
                      {Setting::Month, m_month},
                      {Setting::Day, m_day},
                      {Setting::Year, m_year},
                      {Setting::Model, m_modelCode},
                      {Setting::Omb, m_ombCode},
                      {Setting::Resolution, m_resolutionCode},
                      {Setting::Empty, m_empty},
                      {Setting::Full, m_full},
                      {Setting::LowDo, m_lowDo},
                      {Setting::HiDo, m_hiDo}},
                     {{Setting::Empty, m_emptyHigh, m_emptyLow},
                      {Setting::Full, m_fullHigh, m_fullLow},
                      {Setting::LowDo, m_lowDoHigh, m_lowDoLow},
                      {Setting::HiDo, m_hiDoHigh, m_hiDoLow}});
}

void LevelWindow::applyModelEntry(const ModelEntry &row)
{
    m_modelBox->setCurrentText(QLatin1String(row.name));
    if (row.kind == ModelKind::ResolutionChoice || row.kind == ModelKind::FixedResolution) {
        m_writeLayout->setText(QLatin1String(row.writeLayoutMarker));
        m_resolutionBox->setEnabled(true);
    }
    m_blocking->setText(QLatin1String(row.blockingText));
    if (row.blockingNumber)
        m_blockingNumber->setText(QLatin1String(row.blockingNumber));

    m_fullRange->setText(QLatin1String(row.fullCaption));
    setEmptyRangeCaption(QLatin1String(row.emptyCaption));
    m_fullLimit->setText(QString::number(row.fullLimit));
    m_emptyLimit->setText(QString::number(row.emptyLimit));

    // Every row shows exactly what it implies, whatever model was read before:
    // the captions of the thresholds and the resolution box come back after a
    // run-control or fixed-resolution model.
    const bool runControl = row.kind == ModelKind::RunControl;
    m_lowDoCaption->setVisible(!runControl);
    m_hiDoCaption->setVisible(!runControl);
    const bool resolutionBox = !runControl && row.kind != ModelKind::FixedResolution;
    m_resolutionBox->setVisible(resolutionBox);
    m_resolutionCaption->setVisible(resolutionBox);

    if (runControl) {
        m_lowDo->setEnabled(false);
        m_hiDo->setEnabled(false);
        m_lowDo->hide();
        m_hiDo->hide();
        m_current->show();
        ui::setBackground(m_current, ui::menuColour());
        m_currentPlaceholder->hide();
        m_lowDoPlaceholder->hide();
        m_hiDoPlaceholder->hide();
        m_runButton->show();
        return;
    }

    showOutputs(row);
    m_runButton->hide();

    if (row.kind == ModelKind::FixedResolution)
        m_resolutionBox->setEnabled(false);
}

void LevelWindow::showOutputs(const ModelEntry &row)
{
    // Each output's field, or its grey placeholder when the model lacks it.
    m_lowDo->setVisible(row.hasDigitalOutputs);
    m_hiDo->setVisible(row.hasDigitalOutputs);
    m_lowDoPlaceholder->setVisible(!row.hasDigitalOutputs);
    m_hiDoPlaceholder->setVisible(!row.hasDigitalOutputs);
    if (!row.hasDigitalOutputs) {
        ui::setBackground(m_lowDoPlaceholder, ui::scrollBarColour());
        ui::setBackground(m_hiDoPlaceholder, ui::scrollBarColour());
    }
    m_current->setVisible(row.hasAnalogOutput);
    m_currentPlaceholder->setVisible(!row.hasAnalogOutput);
    ui::setBackground(row.hasAnalogOutput ? m_current : m_currentPlaceholder,
                      row.hasAnalogOutput ? ui::menuColour() : ui::scrollBarColour());
}

} // namespace veltra
