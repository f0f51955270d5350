#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace ambrevo::pack {

// The most bytes a picture sent to the designer may have, and the widest and tallest it
// may be: a menu fills a screen at most.
constexpr std::size_t kPictureUploadLimit = 16 * 1024 * 1024;
constexpr int kPictureUploadSide = 8192;

struct StoredPicture {
    std::string file;  // relative to the source's folder, with "/": "pictures/logo.png"
    int width = 0;
    int height = 0;
};

// Adds a picture sent as file bytes (PNG or JPEG, as a browser's drop gives them) to
// folder/pictures, made if missing. The bytes are decoded and checked before anything is
// written: a PNG is stored as it came, a JPEG as a PNG of its pixels. The file's name comes
// from `name` (its last part, without its extension, characters no Windows disc holds as
// "_", a device name such as "CON" as "CON_", "picture" when nothing usable is left), and
// takes "-2", "-3" ... where the folder already holds that name in any case: no file is
// ever replaced. Throws PackError with the reason for bytes that are no picture of these
// kinds, a picture over kPictureUploadSide, or a file that cannot be written.
StoredPicture StoreDroppedPicture(const std::filesystem::path& folder, std::string_view name,
                                  std::span<const std::uint8_t> bytes);

// The file name (with ".png") that StoreDroppedPicture starts from.
std::string DroppedPictureName(std::string_view name);

}  // namespace ambrevo::pack
