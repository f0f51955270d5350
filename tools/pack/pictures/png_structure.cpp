#include "pack/pictures/png_structure.h"

#include <array>
#include <cstring>

namespace ambrevo::pack {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFF;
constexpr std::size_t kChunkFrame = 12;  // length, type, CRC
constexpr std::uint32_t kHeaderLength = 13;

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, std::size_t at) {
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | std::uint32_t{bytes[at + 3]};
}

// The chunk type as text, with bytes that are no letters shown as "?".
std::string TypeName(std::span<const std::uint8_t> type) {
    std::string name;
    for (std::uint8_t byte : type) {
        const bool letter = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
        name += letter ? static_cast<char>(byte) : '?';
    }
    return "\"" + name + "\"";
}

// Why a picture is refused; a picture too large for the player is no unreadable PNG.
struct Fault {
    std::string reason;
    bool tooLarge = false;
};

std::optional<Fault> HeaderFault(std::span<const std::uint8_t> bytes, std::size_t at, int maxSide) {
    const std::uint32_t width = BigEndian(bytes, at);
    const std::uint32_t height = BigEndian(bytes, at + 4);
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width == 0 || height == 0) return Fault{"the header gives a size of " + size + " pixels"};
    const auto limit = static_cast<std::uint32_t>(maxSide);
    if (width > limit || height > limit) {
        return Fault{size + " is over the " + std::to_string(maxSide) + " x " +
                         std::to_string(maxSide) + " limit",
                     true};
    }
    return std::nullopt;
}

std::optional<Fault> LayoutFault(std::span<const std::uint8_t> bytes, int maxSide) {
    if (bytes.size() < kSignature.size() ||
        std::memcmp(bytes.data(), kSignature.data(), kSignature.size()) != 0) {
        return Fault{"the file does not start with the PNG signature"};
    }
    std::size_t at = kSignature.size();
    bool first = true;
    bool imageData = false;
    while (at < bytes.size()) {
        if (bytes.size() - at < kChunkFrame) {
            return Fault{"the file ends inside the chunk at byte " + std::to_string(at)};
        }
        const std::uint32_t length = BigEndian(bytes, at);
        const std::span<const std::uint8_t> typeBytes = bytes.subspan(at + 4, 4);
        const std::string type = TypeName(typeBytes);
        const std::string chunk = "chunk " + type + " at byte " + std::to_string(at);
        if (length > kMaxChunkLength) {
            return Fault{chunk + " claims " + std::to_string(length) +
                         " bytes, over the PNG limit of " + std::to_string(kMaxChunkLength)};
        }
        if (length > bytes.size() - at - kChunkFrame) {
            return Fault{chunk + " claims " + std::to_string(length) +
                         " bytes, but the file holds " +
                         std::to_string(bytes.size() - at - kChunkFrame) + " more"};
        }
        const auto is = [&](const char* name) {
            return std::memcmp(typeBytes.data(), name, 4) == 0;
        };
        if (first) {
            if (!is("IHDR"))
                return Fault{"the first chunk is " + type + ", not the header \"IHDR\""};
            if (length != kHeaderLength) {
                return Fault{"the header chunk holds " + std::to_string(length) + " bytes, not 13"};
            }
            if (std::optional<Fault> fault = HeaderFault(bytes, at + 8, maxSide)) return fault;
            first = false;
        }
        if (is("IDAT")) imageData = true;
        if (is("IEND")) {
            if (!imageData) return Fault{"the file holds no image data (no \"IDAT\" chunk)"};
            return std::nullopt;
        }
        at += kChunkFrame + length;
    }
    return Fault{"the file ends without the end chunk \"IEND\""};
}

}  // namespace

std::optional<std::string> PngStructureFault(std::span<const std::uint8_t> bytes, int maxSide) {
    const std::optional<Fault> fault = LayoutFault(bytes, maxSide);
    if (!fault) return std::nullopt;
    if (fault->tooLarge) return fault->reason;
    return "not a readable PNG (" + fault->reason + ")";
}

}  // namespace ambrevo::pack
