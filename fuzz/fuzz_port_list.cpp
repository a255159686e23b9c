// --port lists: parsePortSpec gives all, or 1 to 256 distinct ports that
// are each a port on their own, or a reason; never both, never neither.
#include "fuzzcheck.h"
#include "portspec.h"

#include <QSet>

using namespace veltra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzz::utf8(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    fuzz::note(text);
    QString error;
    const std::optional<PortSpec> spec = parsePortSpec(text, &error);
    FUZZ_CHECK(spec.has_value() == error.isEmpty());
    if (!spec)
        return 0;
    if (spec->all) {
        FUZZ_CHECK(spec->ports.isEmpty());
        FUZZ_CHECK(text.trimmed() == QLatin1String("all"));
        return 0;
    }
    FUZZ_CHECK(!spec->ports.isEmpty());
    FUZZ_CHECK(spec->ports.size() <= kMostPorts);
    FUZZ_CHECK(QSet<QString>(spec->ports.cbegin(), spec->ports.cend()).size() == spec->ports.size());
    for (const QString &port : spec->ports)
        FUZZ_CHECK(isPortArgument(port));
    return 0;
}
