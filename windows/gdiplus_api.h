#pragma once

// GDI+ needs, before its own headers, the Windows API with IStream and PROPID, and the min and
// max that win32.h keeps out of the global namespace.
// clang-format off
#include "windows/win32.h"
#include <objidl.h>
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
// clang-format on
