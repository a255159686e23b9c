#pragma once

#include <QList>

#include <functional>

namespace veltra {

// Runs job(0) to job(count - 1) each on a thread of its own, all at once,
// and returns when every one has finished. The jobs share nothing through
// this: each makes its own link and session.
void runAtOnce(int count, const std::function<void(int index)> &job);

// The exit code that tells most of several ports' codes: a usage error, then
// a read-back that failed (the sensor may hold anything), a port that could
// not be opened, no sensor, a refused setting, a difference, success.
int worstExitCode(const QList<int> &codes);

} // namespace veltra
