#pragma once

#include "pack/pictures/preview_text.h"

namespace ambrevo::pack {

// The text painter of the fonts built into the tool, DejaVu Sans and DejaVu Sans Bold
// (resources/fonts), the same bytes in the Linux and the Windows tool, so that both draw
// the same pixels. Made on first use and kept for the life of the program.
const PreviewTextPainter& CarriedTextPainter();

}  // namespace ambrevo::pack
