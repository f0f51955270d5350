#include "pack/package/archive_names.h"

namespace ambrevo::pack {

// The Windows build of libarchive takes UTF-8 names always.
ArchiveNameScope::ArchiveNameScope() = default;
ArchiveNameScope::~ArchiveNameScope() = default;

}  // namespace ambrevo::pack
