#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "package/package_stream.h"

namespace ambrevo {

// The code pages that a package declares for its menus (the "codepages.dat" entry). A
// menu it does not name has its texts in the machine's ANSI code page.
class CodePageTable {
public:
    // Reads the table at offset. A damaged table declares nothing: the menus then read as
    // they would in a package without one, and the load's error flag is left alone.
    static CodePageTable Read(PackageStream& stream, std::int64_t offset);

    // The code page of the entry (lower-case name), or kSystemCodePage.
    std::uint32_t Of(std::string_view entryName) const;

private:
    std::vector<std::pair<std::string, std::uint32_t>> codePages_;
};

}  // namespace ambrevo
