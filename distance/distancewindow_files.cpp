// The distance window's menus and settings files.
#include "distancewindow.h"
#include "inputerror.h"
#include "protocol/distancewrite.h"
#include "settingsfiles.h"
#include "trendwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace veltra {

void DistanceWindow::makeMenus()
{
    m_files = new ui::SettingsMenu(
        this, {
                  .family = SensorFamily::Distance,
                  .blockFromFields = [this] { return blockFromFields(); },
                  .spread = [this](const SensorSettings &settings) { showSettings(settings, settings.baudText()); },
                  .controlFor = [this](Setting setting) { return controlFor(setting); },
                  .openTrend = [this] { openTrend(); },
                  .editor = &m_editor,
                  .session = &m_session,
                  .portFree = [this] { return m_readButton->isEnabled(); },
                  .baudBoxText = [this] { return m_baudBox->currentText(); },
              });
}

void DistanceWindow::openTrend()
{
    // The trend measures with the settings of the last Read; the buttons
    // that use the port wait while it runs.
    showTrend(
        this, m_session, [this] { return m_files->lastRead(); },
        QList<QWidget *>{m_readButton, m_writeButton, m_getDistanceButton});
}

std::optional<SensorSettings> DistanceWindow::blockFromFields()
{
    // The values write would send, checked as write checks them.
    const DistanceWriteInput input = writeInput();
    const std::optional<DistanceWritePlan> plan = checkedWritePlan();
    if (!plan)
        return std::nullopt;
    return ui::settingsToSave(this, plan->settings);
}

QWidget *DistanceWindow::controlFor(Setting setting) const
{
    switch (setting) {
    case Setting::Baud:
        return m_baudBox;
    case Setting::Slave:
        return m_slave;
    case Setting::Ogr:
        return m_ogrBox;
    case Setting::Switch:
        return m_switchPoint;
    default:
        return nullptr; // not shown in a field of its own
    }
}

} // namespace veltra
