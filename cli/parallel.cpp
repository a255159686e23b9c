#include "parallel.h"

#include "failure.h"

#include <QThread>

#include <algorithm>
#include <memory>
#include <vector>

namespace veltra {

void runAtOnce(int count, const std::function<void(int index)> &job)
{
    // QThreads, not bare threads: a serial port watches its device with
    // socket notifiers, which need a thread Qt knows.
    std::vector<std::unique_ptr<QThread>> workers;
    workers.reserve(std::size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        workers.emplace_back(QThread::create(job, i));
        workers.back()->start();
    }
    for (const auto &worker : workers)
        worker->wait();
}

int worstExitCode(const QList<int> &codes)
{
    // From the least to the most serious: a sensor that may not hold what
    // was sent outweighs everything, a file not written comes next, then
    // no contact, a difference, a refusal (nothing sent) and a usage error.
    static const QList<int> order = {
        int(ExitCode::Success),  int(ExitCode::Usage),      int(ExitCode::Refused),    int(ExitCode::Differs),
        int(ExitCode::NoSensor), int(ExitCode::PortFailed), int(ExitCode::NotWritten), int(ExitCode::ReadBackDiffers),
    };
    int worst = int(ExitCode::Success);
    for (int code : codes) {
        const qsizetype rank = order.indexOf(code);
        // A code this list does not know counts as the most serious.
        if (rank < 0 || rank > order.indexOf(worst))
            worst = code;
    }
    return worst;
}

} // namespace veltra
