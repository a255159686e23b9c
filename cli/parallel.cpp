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
    // From the least to the most serious.
    static const QList<int> order
        = {int(ExitCode::Success),    int(ExitCode::Differs),         int(ExitCode::Refused), int(ExitCode::NoSensor),
           int(ExitCode::PortFailed), int(ExitCode::ReadBackDiffers), int(ExitCode::Usage)};
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
