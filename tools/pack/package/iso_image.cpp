#include "pack/package/iso_image.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <array>
#include <exception>
#include <memory>
#include <set>
#include <span>

#include "pack/common/pack_error.h"
#include "pack/package/archive_names.h"
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
        if (wide)
            SetField(std::span(descriptor).subspan(kVolumeId, 2 * kJolietIdLength), joliet, true);
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

namespace {

// Joliet's longest names, in UTF-16 units, as libarchive's "long" names hold them (Windows
// reads them); a longer name would be cut short, and a target naming it lost.
constexpr std::size_t kLongestName = 103;

// 2000-01-01 00:00:00 UTC; FixIsoImageFields sets the same in every field afterwards.
constexpr time_t kFixedTime = 946684800;

using Archive = std::unique_ptr<archive, decltype(&archive_write_free)>;
using Entry = std::unique_ptr<archive_entry, decltype(&archive_entry_free)>;

// Where libarchive's pieces of the image go; a failure there is kept to be thrown once
// libarchive has returned, since nothing may unwind through its C code.
struct ImageOutput {
    FileWriter& image;
    std::exception_ptr failure;
};

[[noreturn]] void Failed(archive* image) {
    const char* reason = archive_error_string(image);
    throw PackError(std::string("cannot make the ISO image: ") +
                    (reason != nullptr ? reason : "the ISO writer failed"));
}

la_ssize_t Append(archive*, void* out, const void* bytes, size_t size) {
    auto* output = static_cast<ImageOutput*>(out);
    try {
        output->image.Write(std::span(static_cast<const std::uint8_t*>(bytes), size));
        return static_cast<la_ssize_t>(size);
    } catch (...) {
        output->failure = std::current_exception();
        return -1;
    }
}

void Check(archive* image, const ImageOutput& output, int status) {
    if (output.failure) std::rethrow_exception(output.failure);
    if (status < ARCHIVE_OK) Failed(image);
}

void WriteData(archive* image, const ImageOutput& output, std::span<const std::uint8_t> bytes) {
    const la_ssize_t written = archive_write_data(image, bytes.data(), bytes.size());
    Check(image, output, written < 0 ? ARCHIVE_FATAL : ARCHIVE_OK);
    if (written != static_cast<la_ssize_t>(bytes.size())) Failed(image);
}

void WriteEntry(archive* image, const ImageOutput& output, const std::string& name,
                const DiscImageFile* file) {
    const Entry entry(archive_entry_new(), &archive_entry_free);
    if (!entry) throw PackError("cannot make the ISO image: out of memory");
    archive_entry_set_pathname_utf8(entry.get(), name.c_str());
    std::uintmax_t size = 0;
    if (file != nullptr && !file->source.empty()) {
        std::error_code error;
        size = std::filesystem::file_size(file->source, error);
        if (error)
            throw PackError("cannot read " + QuotedPath(file->source) + ": " + error.message());
    } else if (file != nullptr) {
        size = file->bytes.size();
    }
    archive_entry_set_filetype(entry.get(), file == nullptr ? AE_IFDIR : AE_IFREG);
    archive_entry_set_perm(entry.get(), file == nullptr ? 0555 : 0444);
    archive_entry_set_size(entry.get(), static_cast<la_int64_t>(size));
    archive_entry_set_mtime(entry.get(), kFixedTime, 0);
    archive_entry_set_atime(entry.get(), kFixedTime, 0);
    archive_entry_set_ctime(entry.get(), kFixedTime, 0);
    archive_entry_set_birthtime(entry.get(), kFixedTime, 0);
    Check(image, output, archive_write_header(image, entry.get()));
    if (file == nullptr) return;
    std::uintmax_t given = 0;
    if (file->source.empty()) {
        WriteData(image, output, file->bytes);
        given = file->bytes.size();
    } else {
        ReadFilePieces(file->source, [&](std::span<const std::uint8_t> piece) {
            WriteData(image, output, piece);
            given += piece.size();
        });
    }
    // The entry's size is fixed in its record: a file that changed meanwhile would leave
    // the image wrong.
    if (given != size) {
        throw PackError("cannot make the ISO image: " + QuotedPath(file->source) +
                        " changed while it was read");
    }
}

void CheckNameLengths(const std::string& path) {
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view name = std::string_view(path).substr(start, end - start);
        if (Utf8ToUtf16(name).size() > kLongestName) {
            throw PackError("cannot make the ISO image: the name \"" + std::string(name) +
                            "\" is longer than the " + std::to_string(kLongestName) +
                            " characters an image holds");
        }
        start = end + 1;
    }
}

}  // namespace

void WriteIsoImage(FileWriter& out, const std::vector<DiscImageFile>& files,
                   std::string_view label) {
    const IsoVolumeNames names = IsoVolumeNamesFor(label);
    const ArchiveNameScope utf8Names;
    ImageOutput output{out, nullptr};
    const Archive image(archive_write_new(), &archive_write_free);
    if (!image) throw PackError("cannot make the ISO image: out of memory");
    archive* const a = image.get();
    Check(a, output, archive_write_set_format_iso9660(a));
    Check(a, output, archive_write_set_format_option(a, "iso9660", "joliet", "long"));
    // Rock Ridge is left out: its entries carry times of their own, and Windows reads Joliet.
    Check(a, output, archive_write_set_format_option(a, "iso9660", "rockridge", nullptr));
    Check(a, output, archive_write_set_format_option(a, "iso9660", "volume-id", names.iso.c_str()));
    Check(a, output, archive_write_set_bytes_in_last_block(a, 1));
    Check(a, output, archive_write_open(a, &output, nullptr, Append, nullptr));
    std::set<std::string> folders;
    for (const DiscImageFile& file : files) CheckNameLengths(file.name);
    for (const DiscImageFile& file : files) {
        for (std::size_t slash = file.name.find('/'); slash != std::string::npos;
             slash = file.name.find('/', slash + 1)) {
            const std::string folder = file.name.substr(0, slash);
            if (folders.insert(folder).second) WriteEntry(a, output, folder, nullptr);
        }
        WriteEntry(a, output, file.name, &file);
    }
    Check(a, output, archive_write_close(a));
    FixIsoImageFields(out, names.joliet);
}

}  // namespace ambrevo::pack
