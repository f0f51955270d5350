#include <archive.h>
#include <archive_entry.h>

#include <memory>
#include <set>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/package/iso_image.h"

namespace ambrevo::pack {

const bool kWritesIsoImages = true;

namespace {

// 2000-01-01 00:00:00 UTC; FixIsoImageFields sets the same in every field afterwards.
constexpr time_t kFixedTime = 946684800;

using Archive = std::unique_ptr<archive, decltype(&archive_write_free)>;
using Entry = std::unique_ptr<archive_entry, decltype(&archive_entry_free)>;

[[noreturn]] void Failed(archive* image) {
    const char* reason = archive_error_string(image);
    throw PackError(std::string("cannot make the ISO image: ") +
                    (reason != nullptr ? reason : "the ISO writer failed"));
}

void Check(archive* image, int status) {
    if (status < ARCHIVE_OK) Failed(image);
}

la_ssize_t Append(archive*, void* out, const void* bytes, size_t size) {
    const auto* from = static_cast<const std::uint8_t*>(bytes);
    static_cast<std::vector<std::uint8_t>*>(out)->insert(
        static_cast<std::vector<std::uint8_t>*>(out)->end(), from, from + size);
    return static_cast<la_ssize_t>(size);
}

void WriteEntry(archive* image, const std::string& name, bool folder,
                const std::vector<std::uint8_t>& bytes) {
    const Entry entry(archive_entry_new(), &archive_entry_free);
    archive_entry_set_pathname_utf8(entry.get(), name.c_str());
    archive_entry_set_filetype(entry.get(), folder ? AE_IFDIR : AE_IFREG);
    archive_entry_set_perm(entry.get(), folder ? 0555 : 0444);
    archive_entry_set_size(entry.get(), folder ? 0 : static_cast<la_int64_t>(bytes.size()));
    archive_entry_set_mtime(entry.get(), kFixedTime, 0);
    archive_entry_set_atime(entry.get(), kFixedTime, 0);
    archive_entry_set_ctime(entry.get(), kFixedTime, 0);
    archive_entry_set_birthtime(entry.get(), kFixedTime, 0);
    Check(image, archive_write_header(image, entry.get()));
    if (!bytes.empty() && archive_write_data(image, bytes.data(), bytes.size()) !=
                              static_cast<la_ssize_t>(bytes.size())) {
        Failed(image);
    }
}

}  // namespace

std::vector<std::uint8_t> IsoImage(const std::vector<DiscImageFile>& files,
                                   std::string_view label) {
    const IsoVolumeNames names = IsoVolumeNamesFor(label);
    std::vector<std::uint8_t> out;
    const Archive image(archive_write_new(), &archive_write_free);
    if (!image) throw PackError("cannot make the ISO image: out of memory");
    Check(image.get(), archive_write_set_format_iso9660(image.get()));
    Check(image.get(), archive_write_set_format_option(image.get(), "iso9660", "joliet", "1"));
    // Rock Ridge is left out: its entries carry times of their own, and Windows reads Joliet.
    Check(image.get(),
          archive_write_set_format_option(image.get(), "iso9660", "rockridge", nullptr));
    Check(image.get(),
          archive_write_set_format_option(image.get(), "iso9660", "volume-id", names.iso.c_str()));
    Check(image.get(), archive_write_set_bytes_in_last_block(image.get(), 1));
    Check(image.get(), archive_write_open(image.get(), &out, nullptr, Append, nullptr));
    std::set<std::string> folders;
    for (const DiscImageFile& file : files) {
        for (std::size_t slash = file.name.find('/'); slash != std::string::npos;
             slash = file.name.find('/', slash + 1)) {
            const std::string folder = file.name.substr(0, slash);
            if (folders.insert(folder).second) WriteEntry(image.get(), folder, true, {});
        }
        WriteEntry(image.get(), file.name, false,
                   file.source.empty() ? file.bytes : ReadFileBytes(file.source));
    }
    Check(image.get(), archive_write_close(image.get()));
    FixIsoImageFields(out, names.joliet);
    return out;
}

}  // namespace ambrevo::pack
