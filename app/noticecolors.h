#pragma once

#include <QColor>

namespace veltra {

// The dark red of the unit notices' warnings.
inline constexpr QColor kNoticeDarkRed(128, 0, 0);

} // namespace veltra
