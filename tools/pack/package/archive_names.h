#pragma once

namespace ambrevo::pack {

// libarchive makes an image's names from an entry's UTF-8 name through the thread's
// multibyte character set. While an ArchiveNameScope lives, that set is UTF-8 whatever
// the user's locale: on Linux the thread's locale is C.UTF-8 meanwhile; on Windows the
// library is built to take UTF-8 always (cmake/libarchive/mingw_config.h). Throws
// PackError where the system cannot.
class ArchiveNameScope {
public:
    ArchiveNameScope();
    ~ArchiveNameScope();
    ArchiveNameScope(const ArchiveNameScope&) = delete;
    ArchiveNameScope& operator=(const ArchiveNameScope&) = delete;

private:
    void* previous_ = nullptr;  // the thread's locale before, on Linux
    void* utf8_ = nullptr;
};

}  // namespace ambrevo::pack
