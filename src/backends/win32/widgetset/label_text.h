#pragma once

#include <windows.h>

#include <string>

#include "ui/font.h"
#include "graphics/geometry.h"

namespace ambrevo::win32 {

// The DrawTextA format of a label: its alignment, wrapped at word breaks when asked, and
// "&" shown as an underlined mnemonic ("&&" for a literal "&").
UINT LabelTextFormat(ui::Alignment alignment, bool wordWrap);

// The size of text drawn in font on one line, or wrapped within maxWidth when it is
// above 0. Empty text is one line high.
ui::Size MeasureLabelText(HDC dc, HFONT font, const std::string& text, int maxWidth);

}  // namespace ambrevo::win32
