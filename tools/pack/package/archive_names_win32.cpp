#include <archive_entry.h>

#include "pack/package/archive_names.h"
#include "support/utf8.h"

namespace ambrevo::pack {

// libarchive converts UTF-16 names to Joliet's without the C library's locale.
ArchiveNameScope::ArchiveNameScope() = default;
ArchiveNameScope::~ArchiveNameScope() = default;

void SetArchiveEntryPath(archive_entry* entry, const std::string& utf8) {
    const std::u16string units = Utf8ToUtf16(utf8);
    const std::wstring wide(units.begin(), units.end());
    archive_entry_copy_pathname_w(entry, wide.c_str());
}

}  // namespace ambrevo::pack
