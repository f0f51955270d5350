#include "package/item_name_table.h"

#include "package/load_error.h"
#include "package/tagged_reader.h"
#include "support/ascii.h"

namespace ambrevo {

ItemNameTable ItemNameTable::Read(PackageStream& stream, std::int64_t offset) {
    LoadError errors;
    TaggedReader reader(stream, errors);
    ItemNameTable table;
    if (!stream.Seek(offset)) return table;
    const std::int32_t count = reader.ReadInteger();
    if (errors.IsSet() || count < 0 || count > kMaxItemNames) return table;
    for (std::int32_t i = 0; i < count; ++i) {
        std::string entryName = AsciiLower(reader.ReadString());
        const std::int32_t item = reader.ReadInteger();
        std::string name = reader.ReadString();
        if (errors.IsSet() || item < 1 || item > kMaxItemNumber) return {};
        table.names_.push_back({std::move(entryName), item, std::move(name)});
    }
    return table;
}

std::vector<const ItemName*> ItemNameTable::Of(std::string_view entryName) const {
    std::vector<const ItemName*> names;
    for (const ItemName& name : names_) {
        if (name.entryName == entryName) names.push_back(&name);
    }
    return names;
}

}  // namespace ambrevo
