// Test seam of the line reader (inifile/inifile.h).
#pragma once

#include "inifile/inifile.h"

#include <cstdint>

namespace inifile::detail {

// Lets a line reader's counts start where a source of several gigabytes would have brought
// them, so that their limits can be shown without reading that much.
void lineFileStartCountsAtForTesting(LineFile *lineFile, int64_t linesRead, int64_t bytesFetched);

} // namespace inifile::detail
