#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "pack/common/file_io.h"

namespace ambrevo::pack {

// One file of a disc image: its path on the disc (forward slashes) and its bytes, read
// from source when that is given.
struct DiscImageFile {
    std::string name;
    std::filesystem::path source;
    std::vector<std::uint8_t> bytes;
};

// The names an image gives its volume for a label (UTF-8): the ISO 9660 volume id, the
// label upper-cased with every character but A-Z, 0-9 and "_" made "_", at most 32; and
// the Joliet one, which Windows shows: the label's first 16 UTF-16 units, never half a
// character. Throws PackError for an empty label.
struct IsoVolumeNames {
    std::string iso;
    std::u16string joliet;
};
IsoVolumeNames IsoVolumeNamesFor(std::string_view label);

// Writes into image an ISO 9660 image with Joliet names of the files (sorted by the image's
// own rule), every date and time a fixed one, so that the same files and label give the
// same bytes on every platform. The files are read a piece at a time; neither they nor the
// image are held whole in memory. Throws PackError when it cannot be made.
void WriteIsoImage(FileWriter& image, const std::vector<DiscImageFile>& files,
                   std::string_view label);

// Sets every date of the ISO 9660 image written so far (its volume descriptors, directory
// records and the writer's note of when it ran) to the fixed time, the system it names to
// Windows, whatever system wrote it, and the Joliet volume id to joliet. Throws PackError
// for bytes that are no such image.
void FixIsoImageFields(FileWriter& image, std::u16string_view joliet);

}  // namespace ambrevo::pack
