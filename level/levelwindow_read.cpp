// Read: ask the sensor for its settings block, spread it over the fields and
// adapt the window to the model's catalogue row.
#include "commandframe.h"
#include "controls.h"
#include "levelwindow.h"
#include "linkfailure.h"
#include "modelcatalogue.h"
#include "numbers.h"
#include "seriallink.h"
#include "settingsreply.h"

#include <QComboBox>
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
    if (!reopenLostLink(this, m_link, combo(1)->currentText()))
        return;
    text(1)->setText(m_link.Exchange(CommandFrame::readSettingsRequest(), 500));
    if (reportLinkFailure(this, m_link))
        return;
    // Only a whole block is spread over the fields: one stray character in
    // front shifts every field, and the next Write would send that back.
    if (!SettingsReply::isWellFormed(text(1)->text(), SettingsReply::kLevelFields)) {
        reportDamagedReply(this, text(1)->text(), QStringLiteral("Read"));
        return;
    }
    command(4)->setEnabled(true);
    const SettingsReply reply(text(1)->text(), SettingsReply::kLevelFields);

    setIfKnown(combo(1), reply.baudText());
    for (const auto &[field, box] : kSettingsFieldBoxes)
        text(box)->setText(reply.number(field));
    for (const auto &[highField, box] : kSettingsWordBoxes)
        text(box)->setText(reply.word(highField));

    setIfKnown(combo(3), ModelCatalogue::ogrTextForCode(int(valueOf(text(25)))));
    setIfKnown(combo(4), ModelCatalogue::ombTextForCode(int(valueOf(text(31)))));
    setIfKnown(combo(5), ModelCatalogue::resolutionTextForCode(int(valueOf(text(34)))));

    if (const ModelEntry *row = ModelCatalogue::findByCode(text(26)->text(), text(34)->text()))
        applyModelEntry(*row);
    else
        combo(2)->setCurrentText(QStringLiteral("NON"));

    text(37)->setText(combo(2)->currentText());
    command(4)->setEnabled(true);
    command(1)->setEnabled(true);
}

void LevelWindow::applyModelEntry(const ModelEntry &row)
{
    combo(2)->setCurrentText(QLatin1String(row.name));
    if (row.kind == ModelKind::ResolutionChoice || row.kind == ModelKind::FixedResolution) {
        text(38)->setText(QLatin1String(row.writeLayoutMarker));
        combo(5)->setEnabled(true);
    }
    text(7)->setText(QLatin1String(row.blockingText));
    if (row.blockingNumber)
        text(35)->setText(QLatin1String(row.blockingNumber));

    label(28)->setText(QLatin1String(row.fullCaption));
    setLabel29Caption(QLatin1String(row.emptyCaption));
    text(27)->setText(QString::number(row.fullLimit));
    text(6)->setText(QString::number(row.emptyLimit));

    // Every row shows exactly what it implies, whatever model was read before:
    // the captions of the thresholds and the resolution box come back after a
    // run-control or fixed-resolution model.
    const bool runControl = row.kind == ModelKind::RunControl;
    label(11)->setVisible(!runControl);
    label(12)->setVisible(!runControl);
    const bool resolutionBox = !runControl && row.kind != ModelKind::FixedResolution;
    combo(5)->setVisible(resolutionBox);
    label(23)->setVisible(resolutionBox);

    if (runControl) {
        text(4)->setEnabled(false);
        text(5)->setEnabled(false);
        text(4)->hide();
        text(5)->hide();
        text(9)->show();
        ui::setBackground(text(9), ui::menuColour());
        text(28)->hide();
        text(29)->hide();
        text(30)->hide();
        command(2)->show();
        return;
    }

    showOutputs(row);
    command(2)->hide();

    if (row.kind == ModelKind::FixedResolution)
        combo(5)->setEnabled(false);
}

void LevelWindow::showOutputs(const ModelEntry &row)
{
    // Each output's field, or its grey placeholder when the model lacks it.
    text(4)->setVisible(row.hasDigitalOutputs);
    text(5)->setVisible(row.hasDigitalOutputs);
    text(29)->setVisible(!row.hasDigitalOutputs);
    text(30)->setVisible(!row.hasDigitalOutputs);
    if (!row.hasDigitalOutputs) {
        ui::setBackground(text(29), ui::scrollBarColour());
        ui::setBackground(text(30), ui::scrollBarColour());
    }
    text(9)->setVisible(row.hasAnalogOutput);
    text(28)->setVisible(!row.hasAnalogOutput);
    ui::setBackground(row.hasAnalogOutput ? text(9) : text(28),
                      row.hasAnalogOutput ? ui::menuColour() : ui::scrollBarColour());
}

} // namespace veltra
