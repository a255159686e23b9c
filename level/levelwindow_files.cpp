// The level window's menus and settings files.
#include "inputerror.h"
#include "levelwindow.h"
#include "protocol/levelwrite.h"
#include "protocol/modelcatalogue.h"
#include "settingsfiles.h"
#include "trendwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace veltra {

void LevelWindow::makeMenus()
{
    m_files = new ui::SettingsMenu(
        this, {
                  .family = SensorFamily::Level,
                  .blockFromFields = [this] { return blockFromFields(); },
                  .spread = [this](const SensorSettings &settings) { spreadSettings(settings, settings.baudText()); },
                  .controlFor = [this](Setting setting) { return controlFor(setting); },
                  .openTrend = [this] { openTrend(); },
                  .editor = &m_editor,
                  .session = &m_session,
                  .portFree = [this] { return m_readButton->isEnabled(); },
                  .baudBoxText = [this] { return m_baudBox->currentText(); },
              });
}

void LevelWindow::openTrend()
{
    // The trend measures with the settings of the last Read; the buttons
    // that use the port wait while it runs.
    showTrend(
        this, m_session, [this] { return m_files->lastRead(); },
        QList<QWidget *>{m_readButton, m_writeButton, m_getLevelButton, m_runButton});
}

std::optional<SensorSettings> LevelWindow::blockFromFields()
{
    // The values Write would send, checked as Write checks them.
    LevelWriteInput input = writeInput();
    if (m_resolutionBox->currentText() == QLatin1String("Cm"))
        input.resolutionCode = QStringLiteral("10");
    if (m_resolutionBox->currentText() == QLatin1String("mm"))
        input.resolutionCode = QStringLiteral("1");
    const std::optional<LevelWritePlan> plan = checkedWritePlan(input);
    if (!plan)
        return std::nullopt;
    return ui::settingsToSave(this, plan->settings);
}

QWidget *LevelWindow::controlFor(Setting setting) const
{
    switch (setting) {
    case Setting::Baud:
        return m_baudBox;
    case Setting::Slave:
        return m_slave;
    case Setting::Ogr:
        return m_ogrBox;
    case Setting::Empty:
        return m_empty;
    case Setting::Full:
        return m_full;
    case Setting::LowDo:
        return m_lowDo;
    case Setting::HiDo:
        return m_hiDo;
    case Setting::Omb:
        return m_ombBox;
    case Setting::Resolution:
        return m_resolutionBox;
    case Setting::Month:
    case Setting::Day:
    case Setting::Year:
    case Setting::Model:
    case Setting::Switch:
        break;
    }
    return nullptr; // not shown in a field of its own
}

} // namespace veltra
