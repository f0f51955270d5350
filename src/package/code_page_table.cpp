#include "package/code_page_table.h"

#include "package/load_error.h"
#include "package/package.h"
#include "package/tagged_reader.h"
#include "support/ascii.h"
#include "support/menu_code_pages.h"

namespace ambrevo {

CodePageTable CodePageTable::Read(PackageStream& stream, std::int64_t offset) {
    LoadError errors;
    TaggedReader reader(stream, errors);
    CodePageTable table;
    if (!stream.Seek(offset)) return table;
    const std::int32_t count = reader.ReadInteger();
    if (count < 0 || count > kPackageSlots) return table;
    for (std::int32_t i = 0; i < count && !errors.IsSet(); ++i) {
        std::string name = AsciiLower(reader.ReadString());
        const std::int32_t codePage = reader.ReadLong();
        if (codePage > 0) table.codePages_.emplace_back(std::move(name), codePage);
    }
    if (errors.IsSet()) return {};
    return table;
}

std::uint32_t CodePageTable::Of(std::string_view entryName) const {
    for (const auto& [name, codePage] : codePages_) {
        if (name == entryName) return codePage;
    }
    return kSystemCodePage;
}

}  // namespace ambrevo
