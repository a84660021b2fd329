#pragma once

#include <memory>
#include <type_traits>

#include "windows/win32.h"

namespace tessavine {

// A GDI object (brush, font) that is deleted with its owner.
struct GdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
using OwnedBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

}  // namespace tessavine
