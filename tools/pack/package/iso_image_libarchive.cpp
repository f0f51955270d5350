#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <set>

#include "pack/common/pack_error.h"
#include "pack/package/archive_names.h"
#include "pack/package/iso_image.h"
#include "support/utf8.h"

namespace ambrevo::pack {
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
        if (error) throw PackError("cannot read " + QuotedPath(file->source) + ": " + error.message());
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
