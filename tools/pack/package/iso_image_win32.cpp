#include "pack/common/pack_error.h"
#include "pack/package/iso_image.h"

namespace ambrevo::pack {

const bool kWritesIsoImages = false;

std::vector<std::uint8_t> IsoImage(const std::vector<DiscImageFile>&, std::string_view) {
    throw PackError("ISO images are written by the Linux tool in this version");
}

}  // namespace ambrevo::pack
