#include "pack/package/iso_image.h"

#include <algorithm>
#include <set>

#include "pack/common/pack_error.h"
#include "support/ascii.h"
#include "support/utf8.h"

namespace ambrevo::pack {
namespace {

constexpr std::size_t kSector = 2048;
constexpr std::size_t kFirstDescriptor = 16;
constexpr std::size_t kIsoIdLength = 32;
constexpr std::size_t kJolietIdLength = 16;
constexpr int kMaxDepth = 64;

// 2000-01-01 00:00:00 UTC in each form the image holds.
constexpr char kDecimalTime[] = "2000010100000000";  // then a zone byte of 0 (UTC)
constexpr std::uint8_t kRecordTime[7] = {100, 1, 1, 0, 0, 0, 0};
constexpr char kWriterNoteTime[] = "Sat Jan  1 00:00:00 2000";  // as C's ctime writes it
constexpr std::string_view kWriterNote = "INFO ";

// Offsets in a volume descriptor.
constexpr std::size_t kVolumeId = 40;
constexpr std::size_t kEscapes = 88;
constexpr std::size_t kRootRecord = 156;
constexpr std::size_t kDates[] = {813, 830, 864};  // created, modified, effective

// Offsets in a directory record.
constexpr std::size_t kExtent = 2;
constexpr std::size_t kLength = 10;
constexpr std::size_t kRecordDate = 18;
constexpr std::size_t kFlags = 25;
constexpr std::size_t kNameLength = 32;
constexpr std::size_t kMinRecord = 34;
constexpr std::uint8_t kDirectoryFlag = 2;

[[noreturn]] void NotAnImage(const std::string& why) {
    throw PackError("the ISO image written is damaged: " + why);
}

std::uint32_t Little32(const std::vector<std::uint8_t>& image, std::size_t at) {
    return image[at] | image[at + 1] << 8 | image[at + 2] << 16 |
           static_cast<std::uint32_t>(image[at + 3]) << 24;
}

// Gives every record of a directory, and of the directories below it, the fixed date.
void FixDirectory(std::vector<std::uint8_t>& image, std::uint32_t sector, std::uint32_t length,
                  int depth, std::set<std::uint32_t>& seen) {
    if (!seen.insert(sector).second) return;
    if (depth > kMaxDepth) NotAnImage("its folders nest too deep");
    const std::size_t start = std::size_t{sector} * kSector;
    if (start > image.size() || length > image.size() - start) {
        NotAnImage("a folder lies past its end");
    }
    for (std::size_t at = start; at < start + length;) {
        const std::size_t size = image[at];
        if (size == 0) {  // records never cross a sector: the rest of this one is empty
            at = (at / kSector + 1) * kSector;
            continue;
        }
        if (size < kMinRecord || at + size > start + length) NotAnImage("a folder is cut short");
        std::copy(std::begin(kRecordTime), std::end(kRecordTime), image.begin() + at + kRecordDate);
        const bool self = image[at + kNameLength] == 1 && image[at + kMinRecord - 1] <= 1;
        if ((image[at + kFlags] & kDirectoryFlag) != 0 && !self) {
            FixDirectory(image, Little32(image, at + kExtent), Little32(image, at + kLength),
                         depth + 1, seen);
        }
        at += size;
    }
}

bool IsJoliet(const std::vector<std::uint8_t>& image, std::size_t descriptor) {
    const std::uint8_t* escape = &image[descriptor + kEscapes];
    return escape[0] == '%' && escape[1] == '/' &&
           (escape[2] == '@' || escape[2] == 'C' || escape[2] == 'E');
}

void SetJolietId(std::vector<std::uint8_t>& image, std::size_t descriptor,
                 std::u16string_view joliet) {
    for (std::size_t i = 0; i < kJolietIdLength; ++i) {
        const char16_t unit = i < joliet.size() ? joliet[i] : u' ';
        image[descriptor + kVolumeId + 2 * i] = static_cast<std::uint8_t>(unit >> 8);
        image[descriptor + kVolumeId + 2 * i + 1] = static_cast<std::uint8_t>(unit & 0xFF);
    }
}

}  // namespace

IsoVolumeNames IsoVolumeNamesFor(std::string_view label) {
    if (label.empty()) throw PackError("the disc's label is empty");
    IsoVolumeNames names;
    for (std::size_t i = 0; i < label.size() && names.iso.size() < kIsoIdLength;) {
        const std::uint32_t c = NextCodePoint(label, i);
        const bool kept =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        names.iso += kept ? AsciiUpper(static_cast<char>(c)) : '_';
    }
    const std::u16string units = Utf8ToUtf16(label);
    std::size_t length = std::min(units.size(), kJolietIdLength);
    if (length < units.size() && units[length - 1] >= 0xD800 && units[length - 1] < 0xDC00) {
        --length;  // a high surrogate whose pair would be cut off
    }
    names.joliet = units.substr(0, length);
    return names;
}

void FixIsoImageFields(std::vector<std::uint8_t>& image, std::u16string_view joliet) {
    std::set<std::uint32_t> seen;
    std::size_t descriptor = kFirstDescriptor * kSector;
    for (;; descriptor += kSector) {
        if (descriptor + kSector > image.size()) NotAnImage("its volume descriptors end early");
        if (std::string_view(reinterpret_cast<const char*>(&image[descriptor + 1]), 5) != "CD001") {
            NotAnImage("a volume descriptor lacks its mark");
        }
        const std::uint8_t type = image[descriptor];
        if (type == 255) break;
        if (type != 1 && type != 2) continue;
        for (const std::size_t date : kDates) {
            std::copy_n(kDecimalTime, 16, image.begin() + descriptor + date);
            image[descriptor + date + 16] = 0;
        }
        const std::size_t root = descriptor + kRootRecord;
        std::copy(std::begin(kRecordTime), std::end(kRecordTime),
                  image.begin() + root + kRecordDate);
        FixDirectory(image, Little32(image, root + kExtent), Little32(image, root + kLength), 0,
                     seen);
        if (type == 2 && IsJoliet(image, descriptor)) SetJolietId(image, descriptor, joliet);
    }
    // The writer notes when it ran in the sector after the descriptors.
    const std::size_t note = descriptor + kSector;
    if (note + kSector <= image.size() &&
        std::equal(kWriterNote.begin(), kWriterNote.end(), image.begin() + note)) {
        std::copy_n(kWriterNoteTime, sizeof kWriterNoteTime - 1,
                    image.begin() + note + kWriterNote.size());
    }
}

}  // namespace ambrevo::pack
