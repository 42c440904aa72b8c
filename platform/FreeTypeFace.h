#pragma once
// A font file opened with FreeType and scaled as the Windows font mapper
// scales a font asked for by its cell height.

#include <memory>
#include <string>

#include "platform/Fonts.h"

namespace platform {

// Null when the file cannot be read as a font.
std::unique_ptr<IFontFace> OpenFreeTypeFace(const std::string& file, int cellHeight, bool fallback);

} // namespace platform
