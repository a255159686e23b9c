#include "failure.h"

namespace veltra {

Failure failureFromLink(const LinkError &error)
{
    switch (error.kind) {
    case LinkError::Kind::None:
        return {};
    case LinkError::Kind::BadPortText:
        return {ExitCode::Usage, error.reason()};
    case LinkError::Kind::NoSuchPort:
    case LinkError::Kind::Busy:
    case LinkError::Kind::PermissionDenied:
    case LinkError::Kind::BadSettings:
    case LinkError::Kind::NotSerial:
    case LinkError::Kind::AdapterGone:
    case LinkError::Kind::AdapterChoice:
        return {ExitCode::PortFailed, error.reason()};
    case LinkError::Kind::NotOpen:
    case LinkError::Kind::Io:
        return {ExitCode::NoSensor, error.reason()};
    }
    return {ExitCode::NoSensor, error.reason()};
}

Failure failureOf(const SessionFailure &failure)
{
    switch (failure.kind) {
    case SessionFailure::Kind::None:
        return {};
    case SessionFailure::Kind::Link:
        return failureFromLink(failure.linkError);
    case SessionFailure::Kind::NoSensor:
    case SessionFailure::Kind::Damaged:
        return {ExitCode::NoSensor, failure.message};
    case SessionFailure::Kind::BadRequest:
        return {ExitCode::Usage, failure.message};
    }
    return {ExitCode::NoSensor, failure.message};
}

} // namespace veltra
