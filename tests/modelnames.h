#pragma once

// The level window's model box, in the order the start window fills it: the
// 61 model names written out by hand, so that the tests check the program
// against values rather than against itself. "NON" and the distance model
// are not among them.
#include <QStringList>

namespace {

inline const QStringList kModelNames = {
    "DVT-14C00", "DVT-14C01", "DVT-14C10", "DVT-14C11", "DVT-14M00", "DVT-14M01", "DVT-14M10", "DVT-14M11", "DVT-16C00",
    "DVT-16C01", "DVT-16C10", "DVT-16C11", "DVT-16M00", "DVT-16M01", "DVT-16M10", "DVT-16M11", "DVT-18C00", "DVT-18C01",
    "DVT-18C10", "DVT-18C11", "DVT-18M00", "DVT-18M01", "DVT-18M10", "DVT-18M11", "DVT-19C00", "DVT-19C01", "DVT-19C10",
    "DVT-19C11", "DVT-14C-0", "DVT-14C-1", "DVT-14M-0", "DVT-14M-1", "DVT-16C-0", "DVT-16C-1", "DVT-16M-0", "DVT-16M-1",
    "DVT-18C-0", "DVT-18C-1", "DVT-18M-0", "DVT-18M-1", "DVT-19C-0", "DVT-19C-1", "DVQ-32C00", "DVQ-32C01", "DVQ-32C10",
    "DVQ-32C11", "DVQ-32M00", "DVQ-32M01", "DVQ-32M10", "DVQ-32M11", "DVQ-34C00", "DVQ-34C01", "DVQ-34C10", "DVQ-34C11",
    "DVK-14",    "DVK-16",    "DVK-18",    "DVT-14",    "DVT-16",    "DVT-18",    "DVT-19",
};

} // namespace
