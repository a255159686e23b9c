// --port lists: parsePortSelection gives all, or 1 to 256 distinct ports that
// are each a port on their own, or a reason; never both, never neither.
#include "fuzzcheck.h"
#include "portselection.h"

#include <QSet>

using namespace veltra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzz::utf8(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    fuzz::note(text);
    QString error;
    const std::optional<PortSelection> selection = parsePortSelection(text, &error);
    FUZZ_CHECK(selection.has_value() == error.isEmpty());
    if (!selection)
        return 0;
    if (selection->all) {
        FUZZ_CHECK(selection->ports.isEmpty());
        FUZZ_CHECK(text.trimmed() == QLatin1String("all"));
        return 0;
    }
    FUZZ_CHECK(!selection->ports.isEmpty());
    FUZZ_CHECK(selection->ports.size() <= kMostPorts);
    FUZZ_CHECK(QSet<QString>(selection->ports.cbegin(), selection->ports.cend()).size() == selection->ports.size());
    for (const QString &port : selection->ports)
        FUZZ_CHECK(isPortArgument(port));
    return 0;
}
