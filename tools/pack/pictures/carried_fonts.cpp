#include "pack/pictures/carried_fonts.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "pack/common/pack_error.h"

namespace ambrevo::pack {

// Defined in the sources that cmake/embed_bytes.cmake writes at build time.
extern const std::uint8_t kDejaVuSans[];
extern const std::size_t kDejaVuSansSize;
extern const std::uint8_t kDejaVuSansBold[];
extern const std::size_t kDejaVuSansBoldSize;

namespace {

std::unique_ptr<PreviewTextPainter> MakeCarriedPainter() {
    auto painter = PreviewTextPainter::FromFonts(
        std::vector<std::uint8_t>(kDejaVuSans, kDejaVuSans + kDejaVuSansSize),
        std::vector<std::uint8_t>(kDejaVuSansBold, kDejaVuSansBold + kDejaVuSansBoldSize));
    // The bytes are part of the program: a font that does not load is a broken build.
    if (painter == nullptr) throw PackError("the fonts built into this tool cannot be read");
    return painter;
}

}  // namespace

const PreviewTextPainter& CarriedTextPainter() {
    static const std::unique_ptr<PreviewTextPainter> painter = MakeCarriedPainter();
    return *painter;
}

}  // namespace ambrevo::pack
