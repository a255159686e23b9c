// Get Level, RUN, Write, the lock on unasked characters and the resolution
// notice of the level window.
#include "commandframe.h"
#include "controls.h"
#include "inputerror.h"
#include "levelwindow.h"
#include "linkfailure.h"
#include "measurement.h"
#include "modelcatalogue.h"
#include "numbers.h"
#include "seriallink.h"
#include "settingswrite.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <array>

namespace veltra {

namespace {

// Where Write puts the two bytes of each 16-bit setting, in plan order.
constexpr std::array<int, 8> kByteFields{10, 11, 12, 14, 15, 17, 19, 20};

} // namespace

void LevelWindow::Command1_Click()
{
    // GetLevel
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
    // A Full of 0 has no current: the field is left empty rather than
    // showing a division by zero.
    const LevelReading reading = levelReading(text(2)->text(), text(3)->text(), text(16)->text());
    text(8)->setText(reading.level);
    text(9)->setText(reading.current);
}

void LevelWindow::Command2_Click()
{
    // RunSensor. The RUN notice claims success, so a request that could not
    // reach the sensor is reported instead.
    if (!m_link.Send(CommandFrame::runRequest())) {
        reportLinkFailure(this, m_link);
        return;
    }
    m_link.Sleep(200);
    if (!m_link.CheckConnection()) {
        reportLinkFailure(this, m_link);
        return;
    }
    hide();
    emit sensorRunning();
}

void LevelWindow::Command4_Click()
{
    // WriteSettings: checks first; nothing is sent unless every one passes.
    emit writeStarted();
    m_timer1->stop();
    m_timer1->setInterval(0);
    if (combo(5)->currentText() == QLatin1String("Cm"))
        text(34)->setText(QStringLiteral("10"));
    if (combo(5)->currentText() == QLatin1String("mm"))
        text(34)->setText(QStringLiteral("1"));

    LevelEntries entries;
    entries.baudBox = combo(1)->currentText();
    entries.slave = text(13)->text();
    entries.empty = text(2)->text();
    entries.full = text(3)->text();
    entries.lowDo = text(4)->text();
    entries.hiDo = text(5)->text();
    // Models without digital outputs hide the thresholds the operator could
    // not correct; they go back as the sensor reported them.
    const ModelEntry *model = ModelCatalogue::findByCode(text(26)->text(), text(34)->text());
    entries.thresholdsEditable = !text(4)->isHidden() && !(model && model->kind == ModelKind::RunControl);
    const LevelCheck check = checkLevelEntries(entries);
    if (check != LevelCheck::Passed) {
        ui::showInputError(this, levelCheckMessage(check));
        text(37)->setText(combo(2)->currentText());
        return;
    }

    const LevelWritePlan plan = planLevelWrite({
        combo(1)->currentText(), combo(2)->currentText(), combo(3)->currentText(), combo(4)->currentText(),
        combo(5)->currentText(), text(22)->text(), text(26)->text(), text(25)->text(), text(31)->text(),
        text(34)->text(), text(13)->text(), text(24)->text(), text(23)->text(), text(21)->text(), text(2)->text(),
        text(3)->text(), text(4)->text(), text(5)->text(), text(38)->text(),
    });
    if (!plan.error.isEmpty()) {
        ui::showInputError(this, plan.error);
        text(37)->setText(combo(2)->currentText());
        return;
    }

    text(22)->setText(plan.baudCode);
    text(26)->setText(plan.modelCode);
    text(25)->setText(plan.ogrCode);
    text(31)->setText(plan.ombCode);
    text(34)->setText(plan.resolutionCode);
    for (std::size_t i = 0; i < kByteFields.size(); ++i)
        text(kByteFields[i])->setText(plan.byteFields[i]);

    // A port already gone took nothing; one that failed during the send may have.
    const bool wasOpen = m_link.isOpen();
    if (!plan.request.isEmpty() && !m_link.Send(plan.request)) {
        reportLinkFailure(this, m_link, wasOpen ? LinkAction::Write : LinkAction::WriteNotSent);
        text(37)->setText(combo(2)->currentText());
        return;
    }
    m_link.Sleep(500);
    // Nothing is read after a write, so ask whether the device is still
    // there: an adapter pulled during the wait is reported, not passed over.
    if ((!plan.lineSettings.isEmpty() && !m_link.SetSettings(plan.lineSettings)) || !m_link.CheckConnection())
        reportLinkFailure(this, m_link, LinkAction::Write);

    const QString code = NumberToText(roundHalfEven(TextToNumber(text(26)->text())));
    if (const ModelEntry *row = ModelCatalogue::findByCode(code, text(34)->text()))
        applyModelEntryAfterWrite(*row);
    else
        combo(2)->setCurrentText(QStringLiteral("NON"));
    text(37)->setText(combo(2)->currentText());
}

void LevelWindow::applyModelEntryAfterWrite(const ModelEntry &row)
{
    combo(2)->setCurrentText(QLatin1String(row.name));
    text(7)->setText(QLatin1String(row.blockingText));
    if (row.blockingNumber)
        text(35)->setText(QLatin1String(row.blockingNumber));
    label(28)->setText(QLatin1String(row.fullCaption));
    setLabel29Caption(QLatin1String(row.emptyCaption));
    text(27)->setText(QString::number(row.fullLimit));
    text(6)->setText(QString::number(row.emptyLimit));

    switch (row.kind) {
    case ModelKind::Standard:
        showOutputs(row);
        break;
    case ModelKind::ResolutionChoice:
    case ModelKind::FixedResolution:
        text(4)->show();
        text(5)->show();
        text(29)->hide();
        text(30)->hide();
        text(9)->hide();
        text(28)->show();
        ui::setBackground(text(28), ui::scrollBarColour());
        command(2)->hide();
        break;
    case ModelKind::RunControl:
        text(4)->setEnabled(false);
        text(5)->setEnabled(false);
        text(9)->show();
        ui::setBackground(text(9), ui::menuColour());
        text(28)->hide();
        combo(5)->hide();
        label(23)->hide();
        break;
    }
}

void LevelWindow::MSComm1_OnComm(int eventCode)
{
    if (eventCode != SerialLink::kEventReceive)
        return;
    m_timer2->stop();
    text(32)->setText(m_link.ReceiveAll());
    text(33)->setText(text(32)->text().left(11));

    for (int n : {1, 2, 4, 5})
        command(n)->setEnabled(false);
    for (int n : {1, 3, 4})
        combo(n)->setEnabled(false);
    for (int n : kLockedFields)
        text(n)->setEnabled(false);
    for (QLabel *banner : runBanner())
        banner->show();
    m_timer2->start();
}

void LevelWindow::Label29_Change()
{
    // The first caption after the window was made is the first read's: no notice.
    if (text(36)->text() != QLatin1String("10")) {
        if (combo(5)->currentText() == QLatin1String("Cm"))
            emit centimetreNotice();
        else if (combo(5)->currentText() == QLatin1String("mm"))
            emit millimetreNotice();
    }
    text(36)->setText(QStringLiteral("1"));
}

} // namespace veltra
