// Read, write and Get Distance of the distance-sensor window.
#include "commandframe.h"
#include "distancewindow.h"
#include "inputerror.h"
#include "linkfailure.h"
#include "measurement.h"
#include "modelcatalogue.h"
#include "numbers.h"
#include "seriallink.h"
#include "settingsreply.h"
#include "settingswrite.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace veltra {

namespace {

// The distance block ends with Hi DO: the level block's first fourteen
// fields after the baud code.
constexpr std::size_t kDistanceFieldBoxes = SettingsReply::kDistanceFields - 1;

// Where write puts the two bytes of each 16-bit value, in plan order.
constexpr std::array<int, 8> kByteFields{10, 11, 12, 14, 15, 17, 19, 20};

const QString kBlockingText = QStringLiteral("40 Cm");

} // namespace

void DistanceWindow::Command5_Click()
{
    // Read
    if (!reopenLostLink(this, m_link, combo(1)->currentText()))
        return;
    text(1)->setText(m_link.Exchange(CommandFrame::readSettingsRequest(), 500));
    if (reportLinkFailure(this, m_link))
        return;
    // Only a whole block is spread over the fields (see the level window).
    if (!SettingsReply::isWellFormed(text(1)->text(), SettingsReply::kDistanceFields)) {
        reportDamagedReply(this, text(1)->text(), QStringLiteral("Read"));
        return;
    }
    const SettingsReply reply(text(1)->text(), SettingsReply::kDistanceFields);

    const QString baud = reply.baudText();
    if (!baud.isEmpty())
        combo(1)->setCurrentText(baud);
    for (std::size_t i = 0; i < kDistanceFieldBoxes; ++i)
        text(kSettingsFieldBoxes[i].second)->setText(reply.number(kSettingsFieldBoxes[i].first));
    for (const auto &[highField, box] : kSettingsWordBoxes)
        text(box)->setText(reply.word(highField));

    const QString ogr = ModelCatalogue::ogrTextForCode(int(TextToNumber(text(25)->text())));
    if (!ogr.isEmpty())
        combo(3)->setCurrentText(ogr);
    showModel(text(26)->text() == QString::number(ModelCatalogue::kDistanceModelCode));

    command(4)->setEnabled(true);
    command(1)->setEnabled(true);
}

void DistanceWindow::Command4_Click()
{
    // write: checks first; nothing is sent unless every one passes.
    emit writeStarted();
    const DistanceCheck check = checkDistanceEntries(combo(1)->currentText(), text(13)->text(), text(4)->text());
    if (check != DistanceCheck::Passed) {
        ui::showInputError(this, distanceCheckMessage(check));
        return;
    }

    LevelWriteInput input;
    input.baudBox = combo(1)->currentText();
    input.modelBox = combo(2)->currentText();
    input.ogrBox = combo(3)->currentText();
    input.baudCode = text(22)->text();
    input.modelCode = text(26)->text();
    input.ogrCode = text(25)->text();
    input.slave = text(13)->text();
    input.month = text(24)->text();
    input.day = text(23)->text();
    input.year = text(21)->text();
    input.empty = text(2)->text();
    input.full = text(3)->text();
    input.lowDo = text(4)->text();
    input.hiDo = text(5)->text();
    const LevelWritePlan plan = planDistanceWrite(input);
    if (!plan.error.isEmpty()) {
        ui::showInputError(this, plan.error);
        return;
    }

    text(22)->setText(plan.baudCode);
    text(26)->setText(plan.modelCode);
    text(25)->setText(plan.ogrCode);
    for (std::size_t i = 0; i < kByteFields.size(); ++i)
        text(kByteFields[i])->setText(plan.byteFields[i]);

    // A port already gone took nothing; one that failed during the send may have.
    const bool wasOpen = m_link.isOpen();
    if (!m_link.Send(plan.request)) {
        reportLinkFailure(this, m_link, wasOpen ? LinkAction::Write : LinkAction::WriteNotSent);
        return;
    }
    m_link.Sleep(500);
    if ((!plan.lineSettings.isEmpty() && !m_link.SetSettings(plan.lineSettings)) || !m_link.CheckConnection())
        reportLinkFailure(this, m_link, LinkAction::Write);

    showModel(roundHalfEven(TextToNumber(text(26)->text())) == ModelCatalogue::kDistanceModelCode);
}

void DistanceWindow::Command1_Click()
{
    // Get Distance
    if (!reopenLostLink(this, m_link, combo(1)->currentText()))
        return;
    text(1)->setText(m_link.Exchange(CommandFrame::measureRequest(), 500));
    if (reportLinkFailure(this, m_link))
        return;
    const MeasurementReply reply = MeasurementReply::parse(text(1)->text());
    if (!reply.found)
        return;
    text(16)->setText(reply.distance);
    text(18)->setText(reply.temperature);
}

void DistanceWindow::showModel(bool distanceModel)
{
    if (distanceModel) {
        combo(2)->setCurrentText(QLatin1String(ModelCatalogue::kDistanceModelName));
        text(7)->setText(kBlockingText);
    } else {
        combo(2)->setCurrentText(QStringLiteral("NON"));
    }
}

} // namespace veltra
