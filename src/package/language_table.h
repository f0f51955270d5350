#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "package/package_stream.h"

namespace ambrevo {

// The first menu of a package per language travels in an entry of its own, which players
// that do not know it never look up (they show the first menu):
//   entry "languages.dat": ReadInteger count (0..100), then count times ReadString (an
//   ISO 639-1 code, two letters a-z) and ReadString (the entry name of the menu shown first
//   to users of that language, lower case).
inline constexpr char kLanguageEntryName[] = "languages.dat";

struct LanguageMenu {
    std::string code;       // "de"
    std::string entryName;  // "main-de.mnu"
};

class LanguageTable {
public:
    LanguageTable() = default;
    explicit LanguageTable(std::vector<LanguageMenu> menus) : menus_(std::move(menus)) {}

    // Reads the table at offset. A damaged table (a wrong count, tag or code, bytes cut
    // short) names no menu, so the package's first menu shows; the load's error flag is
    // left alone.
    static LanguageTable Read(PackageStream& stream, std::int64_t offset);

    // The entry name of the first menu for the code, or null.
    const std::string* MenuFor(std::string_view code) const;
    const std::vector<LanguageMenu>& All() const { return menus_; }

private:
    std::vector<LanguageMenu> menus_;
};

}  // namespace ambrevo
