#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ambrevo::pack::testing {

// What an ISO 9660 image shows a reader of Joliet names, as Windows reads it: read by the
// tests themselves, so that they run where no other reader can be started (under Wine).
struct IsoListing {
    std::string volumeId;                                    // the ISO 9660 one, unpadded
    std::u16string jolietVolumeId;                           // unpadded
    std::map<std::string, std::vector<std::uint8_t>> files;  // "/folder/name" (UTF-8): bytes
};

// Throws std::runtime_error for bytes that are no image with Joliet names.
IsoListing ReadIsoListing(const std::vector<std::uint8_t>& image);

}  // namespace ambrevo::pack::testing
