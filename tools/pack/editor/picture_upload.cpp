#include "pack/editor/picture_upload.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <set>
#include <system_error>

#include "pack/common/file_io.h"
#include "pack/common/file_names.h"
#include "pack/common/pack_error.h"
#include "pack/pictures/png_codec.h"
#include "support/ascii.h"
#include "support/utf8.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb/stb_image.h>

namespace ambrevo::pack {
namespace {

constexpr std::string_view kPictureFolder = "pictures";
constexpr std::string_view kFallbackStem = "picture";
constexpr std::size_t kMaxStemBytes = 80;
constexpr int kMaxNumberedNames = 1000;
constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1A\n";
constexpr std::string_view kJpegStart = "\xFF\xD8\xFF";

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view start) {
    return bytes.size() >= start.size() &&
           std::equal(start.begin(), start.end(), bytes.begin(),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

struct FreeDeleter {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

// The JPEG's pixels as a PNG file.
std::vector<std::uint8_t> JpegAsPng(std::span<const std::uint8_t> bytes, int width, int height) {
    int channels = 0;
    const std::unique_ptr<stbi_uc, FreeDeleter> pixels(stbi_load_from_memory(
        bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 3));
    if (pixels == nullptr) {
        throw PackError(std::string("not a readable JPEG (") + stbi_failure_reason() + ")");
    }
    Bitmap picture{width, height, Pixels(static_cast<std::size_t>(width) * height)};
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const stbi_uc* rgb = pixels.get() + 3 * i;
        picture.pixels.data()[i] =
            (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | std::uint32_t{rgb[2]};
    }
    return EncodePng(picture);
}

// The names in the folder, lower-cased: a Windows disc holds "Logo.png" and "logo.png" as
// one file.
std::set<std::string> NamesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        names.insert(AsciiLower(PathToUtf8(entry->path().filename())));
    }
    if (error)
        throw PackError("cannot read the folder " + QuotedPath(folder) + ": " + error.message());
    return names;
}

}  // namespace

std::string DroppedPictureName(std::string_view name) {
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    std::string stem;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t start = i;
        const std::uint32_t c = NextCodePoint(name, i);
        const bool forbidden =
            c == kInvalidUtf8 || c < 0x20 || c == 0x7F ||
            std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
        if (stem.size() + (i - start) > kMaxStemBytes) break;
        stem += forbidden ? std::string("_") : std::string(name.substr(start, i - start));
    }
    // Hidden (".name") and dropped (trailing dots and spaces) are not wanted either.
    stem.erase(0, stem.find_first_not_of(". "));
    stem.erase(stem.find_last_not_of(". ") + 1);
    if (WindowsNameProblem(stem + ".png") && !stem.empty()) stem += "_";  // "CON" -> "CON_"
    if (stem.empty() || WindowsNameProblem(stem + ".png") || IsHiddenName(stem + ".png")) {
        stem = kFallbackStem;
    }
    return stem + ".png";
}

StoredPicture StoreDroppedPicture(const std::filesystem::path& folder, std::string_view name,
                                  std::span<const std::uint8_t> bytes) {
    const bool png = StartsWith(bytes, kPngSignature);
    if (!png && !StartsWith(bytes, kJpegStart)) throw PackError("not a PNG or JPEG picture");
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw PackError("the picture is too large");
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    if (stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height,
                              &channels) == 0) {
        throw PackError(std::string("not a readable ") + (png ? "PNG" : "JPEG") + " (" +
                        stbi_failure_reason() + ")");
    }
    if (width > kPictureUploadSide || height > kPictureUploadSide) {
        throw PackError(std::to_string(width) + " x " + std::to_string(height) + " is over the " +
                        std::to_string(kPictureUploadSide) + " x " +
                        std::to_string(kPictureUploadSide) + " limit");
    }
    std::vector<std::uint8_t> file;
    if (png) {
        const PngPicture picture = DecodePng(bytes);  // throws with the decoder's reason
        width = picture.bitmap->width;
        height = picture.bitmap->height;
        file.assign(bytes.begin(), bytes.end());
    } else {
        file = JpegAsPng(bytes, width, height);
    }

    const std::filesystem::path pictures = folder / PathFromUtf8(kPictureFolder);
    std::error_code error;
    std::filesystem::create_directories(pictures, error);
    if (error)
        throw PackError("cannot make the folder " + QuotedPath(pictures) + ": " + error.message());
    const std::set<std::string> taken = NamesIn(pictures);
    const std::string first = DroppedPictureName(name);
    const std::string stem = first.substr(0, first.size() - 4);
    for (int number = 1; number <= kMaxNumberedNames; ++number) {
        const std::string candidate =
            number == 1 ? first : stem + "-" + std::to_string(number) + ".png";
        if (taken.contains(AsciiLower(candidate))) continue;
        const std::filesystem::path path = pictures / PathFromUtf8(candidate);
        WriteChecks checks;
        checks.createOnly = true;
        try {
            WriteFileBytes(path, file, checks);
        } catch (const PackError&) {
            if (std::filesystem::exists(path, error)) continue;  // made meanwhile
            throw;
        }
        return {std::string(kPictureFolder) + "/" + candidate, width, height};
    }
    throw PackError("the folder " + QuotedPath(pictures) + " holds too many pictures named \"" +
                    stem + "\"");
}

}  // namespace ambrevo::pack
