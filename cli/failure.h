#pragma once

#include "seriallink.h"
#include "session/sensorsession.h"

#include <QString>

namespace veltra {

// The program's exit codes; scripts rely on them.
enum class ExitCode : int {
    Success = 0,
    Usage = 2,           // bad command line, or a file or setting it cannot take
    NoSensor = 3,        // nothing (or nothing usable) answered
    Refused = 4,         // a setting failed the window's check: nothing was sent
    PortFailed = 5,      // the port could not be opened
    ReadBackDiffers = 6, // the sensor does not hold what was written
    Differs = 7,         // compare, restore: the sensor does not hold the file's settings
    NotWritten = 8,      // a file or standard output could not be written
};

struct Failure {
    ExitCode code = ExitCode::Success;
    QString message;
};

// Why a link operation failed, as an exit code and a line for the operator.
Failure failureFromLink(const LinkError &error);
// A session's failure, the same way.
Failure failureOf(const SessionFailure &failure);

} // namespace veltra
