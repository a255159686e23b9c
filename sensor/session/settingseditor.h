#pragma once

#include "protocol/settingsplan.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace veltra {

class SensorSession;

// The settings among the first `fields` block fields that the sensor holds
// otherwise than sent: "empty: sent 290, the sensor holds 300", each value
// worded by `describe`.
QStringList heldOtherwise(const SensorSettings &sent, const SensorSettings &held, int fields,
                          const std::function<QString(const SensorSettings &, const BlockSetting &)> &describe);

// A sensor's settings and the writes to it, without a window: the last Read,
// and the write sequence of the windows and veltra-cli.
class SettingsEditor
{
public:
    explicit SettingsEditor(SensorSession &session);

    SensorSession &session() const { return m_session; }

    // The sensor's settings, read now; they become the last Read.
    std::optional<SensorSettings> read();
    const std::optional<SensorSettings> &lastRead() const { return m_lastRead; }
    // A Read done elsewhere (a window's): its settings, or none when its
    // reply was no whole block.
    void setLastRead(const std::optional<SensorSettings> &settings) { m_lastRead = settings; }

    struct WriteResult {
        enum class Outcome {
            NotSent,        // the request could not be sent: the sensor is as it was
            Lost,           // sent, but the device went away after it
            Written,        // sent and the rate followed (nothing read back)
            ReadBackFailed, // sent, but reading it back failed
            Differs,        // read back: the sensor does not hold what was sent
            Verified,       // read back: it holds what was sent
        };
        Outcome outcome = Outcome::NotSent;
        std::optional<SensorSettings> after; // the read-back
        QStringList differences;             // Differs: "empty: sent 290, the sensor holds 300"
    };

    // Sends the settings' write request, waits, follows the rate just written
    // and, with readBack, reads the block back and compares what was sent.
    // Without it, asks whether the device is still there.
    WriteResult write(const SensorSettings &settings, bool readBack);
    // The same with a request worked out elsewhere (a window's, whose
    // request form its last Read chose).
    WriteResult send(const WritePlan &plan, const SensorSettings &settings, bool readBack);

private:
    SensorSession &m_session;
    std::optional<SensorSettings> m_lastRead;
};

} // namespace veltra
