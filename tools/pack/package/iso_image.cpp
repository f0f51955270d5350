#include "pack/package/iso_image.h"

#include <algorithm>
#include <array>
#include <span>
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

// The system an image names: the one its discs are for, whichever wrote it.
constexpr std::u16string_view kSystem = u"WINDOWS";

// Offsets in a volume descriptor.
constexpr std::size_t kSystemId = 8;
constexpr std::size_t kSystemIdLength = 32;
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

std::uint32_t Little32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

struct Extent {
    std::uint32_t sector;
    std::uint32_t length;
};

Extent ExtentOf(std::span<const std::uint8_t> record) {
    return {Little32(record, kExtent), Little32(record, kLength)};
}

// Gives every record of a directory, and of the directories below it, the fixed date.
void FixDirectory(FileWriter& image, Extent directory, int depth, std::set<std::uint32_t>& seen) {
    if (!seen.insert(directory.sector).second) return;
    if (depth > kMaxDepth) NotAnImage("its folders nest too deep");
    const std::uint64_t start = std::uint64_t{directory.sector} * kSector;
    if (start > image.Size() || directory.length > image.Size() - start) {
        NotAnImage("a folder lies past its end");
    }
    std::vector<std::uint8_t> records(directory.length);
    image.ReadAt(start, records);
    std::vector<Extent> below;
    for (std::size_t at = 0; at < records.size();) {
        const std::size_t size = records[at];
        if (size == 0) {  // records never cross a sector: the rest of this one is empty
            at = (at / kSector + 1) * kSector;
            continue;
        }
        if (size < kMinRecord || at + size > records.size()) NotAnImage("a folder is cut short");
        std::copy(std::begin(kRecordTime), std::end(kRecordTime),
                  records.begin() + at + kRecordDate);
        const bool self = records[at + kNameLength] == 1 && records[at + kMinRecord - 1] <= 1;
        if ((records[at + kFlags] & kDirectoryFlag) != 0 && !self) {
            below.push_back(ExtentOf(std::span(records).subspan(at, size)));
        }
        at += size;
    }
    image.WriteAt(start, records);
    for (const Extent& folder : below) FixDirectory(image, folder, depth + 1, seen);
}

bool IsJoliet(std::span<const std::uint8_t> descriptor) {
    const std::uint8_t* escape = &descriptor[kEscapes];
    return escape[0] == '%' && escape[1] == '/' &&
           (escape[2] == '@' || escape[2] == 'C' || escape[2] == 'E');
}

// Writes text into a field of characters, one byte each or, in Joliet's, two (big-endian),
// padded with spaces.
void SetField(std::span<std::uint8_t> field, std::u16string_view text, bool wide) {
    const std::size_t width = wide ? 2 : 1;
    for (std::size_t i = 0; i < field.size() / width; ++i) {
        const char16_t unit = i < text.size() ? text[i] : u' ';
        if (wide) {
            field[2 * i] = static_cast<std::uint8_t>(unit >> 8);
            field[2 * i + 1] = static_cast<std::uint8_t>(unit & 0xFF);
        } else {
            field[i] = static_cast<std::uint8_t>(unit);
        }
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

void FixIsoImageFields(FileWriter& image, std::u16string_view joliet) {
    std::set<std::uint32_t> seen;
    std::array<std::uint8_t, kSector> descriptor;
    std::uint64_t at = kFirstDescriptor * kSector;
    for (;; at += kSector) {
        if (at + kSector > image.Size()) NotAnImage("its volume descriptors end early");
        image.ReadAt(at, descriptor);
        if (std::string_view(reinterpret_cast<const char*>(&descriptor[1]), 5) != "CD001") {
            NotAnImage("a volume descriptor lacks its mark");
        }
        const std::uint8_t type = descriptor[0];
        if (type == 255) break;
        if (type != 1 && type != 2) continue;
        const bool wide = type == 2 && IsJoliet(descriptor);
        for (const std::size_t date : kDates) {
            std::copy_n(kDecimalTime, 16, descriptor.begin() + date);
            descriptor[date + 16] = 0;
        }
        const std::span root = std::span(descriptor).subspan(kRootRecord, kMinRecord);
        std::copy(std::begin(kRecordTime), std::end(kRecordTime), root.begin() + kRecordDate);
        SetField(std::span(descriptor).subspan(kSystemId, kSystemIdLength), kSystem, wide);
        if (wide) SetField(std::span(descriptor).subspan(kVolumeId, 2 * kJolietIdLength), joliet, true);
        image.WriteAt(at, descriptor);
        FixDirectory(image, ExtentOf(root), 0, seen);
    }
    // The writer notes when it ran in the sector after the descriptors.
    const std::uint64_t note = at + kSector;
    std::array<std::uint8_t, kWriterNote.size()> mark;
    if (note + kSector > image.Size()) return;
    image.ReadAt(note, mark);
    if (std::equal(kWriterNote.begin(), kWriterNote.end(), mark.begin())) {
        image.WriteAt(note + kWriterNote.size(),
                      std::span(reinterpret_cast<const std::uint8_t*>(kWriterNoteTime),
                                sizeof kWriterNoteTime - 1));
    }
}

}  // namespace ambrevo::pack
