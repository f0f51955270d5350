#pragma once

#include <string>

struct archive_entry;

namespace ambrevo::pack {

// libarchive makes an image's names from an entry's name in the thread's multibyte
// character set. While a ArchiveNameScope lives, names given through SetArchiveEntryPath
// reach it whole: on Linux the thread reads multibyte text as UTF-8 (whatever the user's
// locale), on Windows the names are given as UTF-16. Throws PackError where the system
// cannot.
class ArchiveNameScope {
public:
    ArchiveNameScope();
    ~ArchiveNameScope();
    ArchiveNameScope(const ArchiveNameScope&) = delete;
    ArchiveNameScope& operator=(const ArchiveNameScope&) = delete;

private:
    void* previous_ = nullptr;  // the platform's locale of the thread before
    void* utf8_ = nullptr;
};

void SetArchiveEntryPath(archive_entry* entry, const std::string& utf8);

}  // namespace ambrevo::pack
