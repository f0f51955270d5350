#include "iso_listing.h"

#include <stdexcept>
#include <string_view>

#include "support/utf8.h"

namespace ambrevo::pack::testing {
namespace {

constexpr std::size_t kSector = 2048;

struct Reader {
    const std::vector<std::uint8_t>& image;

    std::span<const std::uint8_t> At(std::uint64_t offset, std::uint64_t size) const {
        if (offset > image.size() || size > image.size() - offset) {
            throw std::runtime_error("the image ends before byte " + std::to_string(offset + size));
        }
        return std::span(image).subspan(offset, size);
    }

    std::uint32_t Little32(std::span<const std::uint8_t> bytes, std::size_t at) const {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
               static_cast<std::uint32_t>(bytes[at + 3]) << 24;
    }

    void ReadFolder(std::uint32_t sector, std::uint32_t length, const std::string& path, int depth,
                    IsoListing& listing) const {
        if (depth > 16) throw std::runtime_error("folders nest too deep");
        const std::span records = At(std::uint64_t{sector} * kSector, length);
        for (std::size_t at = 0; at < records.size();) {
            const std::size_t size = records[at];
            if (size == 0) {
                at = (at / kSector + 1) * kSector;
                continue;
            }
            if (size < 34 || at + size > records.size())
                throw std::runtime_error("a folder is cut");
            const std::span record = records.subspan(at, size);
            at += size;
            const std::size_t nameLength = record[32];
            if (nameLength == 1 && record[33] <= 1) continue;  // the folder itself, its parent
            std::u16string units;
            for (std::size_t i = 0; i + 1 < nameLength; i += 2) {
                units += static_cast<char16_t>(record[33 + i] << 8 | record[34 + i]);
            }
            if (const std::size_t version = units.rfind(u';'); version != std::u16string::npos) {
                units.erase(version);
            }
            const std::string name = path + "/" + Utf16ToUtf8(units);
            const std::uint32_t extent = Little32(record, 2);
            const std::uint32_t bytes = Little32(record, 10);
            if ((record[25] & 2) != 0) {
                ReadFolder(extent, bytes, name, depth + 1, listing);
            } else {
                const std::span data = At(std::uint64_t{extent} * kSector, bytes);
                listing.files[name] = {data.begin(), data.end()};
            }
        }
    }
};

std::string Trimmed(std::span<const std::uint8_t> field) {
    std::string text(field.begin(), field.end());
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

}  // namespace

IsoListing ReadIsoListing(const std::vector<std::uint8_t>& image) {
    const Reader reader{image};
    IsoListing listing;
    bool joliet = false;
    for (std::uint64_t sector = 16;; ++sector) {
        const std::span descriptor = reader.At(sector * kSector, kSector);
        if (std::string_view(reinterpret_cast<const char*>(&descriptor[1]), 5) != "CD001") {
            throw std::runtime_error("a volume descriptor lacks its mark");
        }
        if (descriptor[0] == 255) break;
        if (descriptor[0] == 1) listing.volumeId = Trimmed(descriptor.subspan(40, 32));
        if (descriptor[0] != 2 || descriptor[88] != '%' || descriptor[89] != '/') continue;
        joliet = true;
        for (std::size_t i = 40; i < 72; i += 2) {
            listing.jolietVolumeId += static_cast<char16_t>(descriptor[i] << 8 | descriptor[i + 1]);
        }
        listing.jolietVolumeId.erase(listing.jolietVolumeId.find_last_not_of(u' ') + 1);
        reader.ReadFolder(reader.Little32(descriptor, 156 + 2),
                          reader.Little32(descriptor, 156 + 10), "", 0, listing);
    }
    if (!joliet) throw std::runtime_error("the image has no Joliet names");
    return listing;
}

}  // namespace ambrevo::pack::testing
