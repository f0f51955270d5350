#include "package/language_table.h"

#include "package/load_error.h"
#include "package/package.h"
#include "package/tagged_reader.h"
#include "support/ascii.h"
#include "support/language_codes.h"

namespace ambrevo {

LanguageTable LanguageTable::Read(PackageStream& stream, std::int64_t offset) {
    LoadError errors;
    TaggedReader reader(stream, errors);
    LanguageTable table;
    if (!stream.Seek(offset)) return table;
    const std::int32_t count = reader.ReadInteger();
    if (errors.IsSet() || count < 0 || count > kPackageSlots) return table;
    for (std::int32_t i = 0; i < count; ++i) {
        std::string code = reader.ReadString();
        std::string entryName = AsciiLower(reader.ReadString());
        if (errors.IsSet() || !IsLanguageCode(code) || entryName.empty()) return {};
        table.menus_.push_back({std::move(code), std::move(entryName)});
    }
    return table;
}

const std::string* LanguageTable::MenuFor(std::string_view code) const {
    for (const LanguageMenu& menu : menus_) {
        if (menu.code == code) return &menu.entryName;
    }
    return nullptr;
}

}  // namespace ambrevo
