// The port box and --port: PortId::fromText gives a port number or an
// absolute device path, never both, and nothing for any other text.
#include "fuzzcheck.h"
#include "numbers.h"
#include "portmap.h"

using namespace veltra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzz::utf8(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    fuzz::note(text);
    const std::optional<PortId> port = PortId::fromText(text);
    const QString trimmed = text.trimmed();
    const double rounded = roundHalfEven(TextToNumber(trimmed));
    const bool number = isNumberText(trimmed) && rounded >= -32768 && rounded <= 32767;
    // On this system an absolute path starts at the root folder.
    const bool path = trimmed.startsWith(u'/') && trimmed.size() > 1;

    FUZZ_CHECK(port.has_value() == (number || path));
    if (!port)
        return 0;
    if (port->path.isEmpty()) {
        FUZZ_CHECK(number && !path);
        FUZZ_CHECK(port->number >= -32768 && port->number <= 32767);
        FUZZ_CHECK(double(port->number) == rounded);
        FUZZ_CHECK(port->display() == QString::number(port->number));
    } else {
        FUZZ_CHECK(path);
        FUZZ_CHECK(port->number == 0);
        FUZZ_CHECK(port->path == trimmed);
        FUZZ_CHECK(port->display() == port->path);
    }
    return 0;
}
