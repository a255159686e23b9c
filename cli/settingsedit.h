#pragma once

#include "protocol/sensorsettings.h"
#include "protocol/settingsplan.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace veltra {

// A write worked out before anything is sent: either the settings to send,
// or the reason there are none.
struct PreparedWrite {
    enum class Status {
        Ready,   // settings is what to send
        Usage,   // a setting name or value the command line cannot take
        Refused, // a value fails a write's checks
    };
    Status status = Status::Ready;
    QString message; // Usage and Refused: one line for the operator
    SensorSettings settings{SensorFamily::Level};
    WritePlan plan; // Ready: the request and the rate to follow
};

// The settings an operator may change on this sensor's model, in the order
// `read` prints them: the choices and plain settings, then the distances.
QStringList changeableSettings(const SensorSettings &settings);

// What --set takes, from the description of the settings: a line a
// setting, "  slave       1 to 247", which models have it where not all do.
QString settingsHelp();

// `write`: the settings as just read, the NAME=VALUE arguments, and the rate
// the link runs at (what the windows' baud box holds when the stored code is
// not a rate).
PreparedWrite prepareWrite(const SensorSettings &current, const QStringList &assignments, const QString &linkBaudText);

} // namespace veltra
