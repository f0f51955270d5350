#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ambrevo::pack {

// Checks the chunk layout of PNG file bytes without decoding them, so that a refused
// picture can be given a precise reason. "W x H is over the S x S limit" for a width or
// height above maxSide; "not a readable PNG (why)" for a missing signature, a chunk that
// claims more bytes than the PNG limit (2^31 - 1) or than the file holds, a first chunk
// that is not the header, a header of the wrong length or a size of 0, no image data or
// no end chunk. Nothing when the layout is sound.
std::optional<std::string> PngStructureFault(std::span<const std::uint8_t> fileBytes, int maxSide);

}  // namespace ambrevo::pack
