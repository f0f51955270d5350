#include <locale.h>

#include "pack/common/pack_error.h"
#include "pack/package/archive_names.h"

namespace ambrevo::pack {

// glibc carries C.UTF-8 itself since 2.35: no locale need be installed.
ArchiveNameScope::ArchiveNameScope() {
    const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    if (utf8 == nullptr) {
        throw PackError("cannot make the ISO image: the system has no UTF-8 locale (C.UTF-8)");
    }
    utf8_ = utf8;
    previous_ = uselocale(utf8);
}

ArchiveNameScope::~ArchiveNameScope() {
    uselocale(static_cast<locale_t>(previous_));
    freelocale(static_cast<locale_t>(utf8_));
}

}  // namespace ambrevo::pack
