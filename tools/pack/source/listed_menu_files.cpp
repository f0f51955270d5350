#include "pack/source/listed_menu_files.h"

#include <toml++/toml.h>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"

namespace ambrevo::pack {

std::vector<std::filesystem::path> ListedMenuFiles(const std::filesystem::path& package) {
    std::vector<std::filesystem::path> files;
    try {
        const std::vector<std::uint8_t> bytes = ReadFileBytes(package);
        const toml::table root = toml::parse(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        if (const toml::array* menus = root["menus"].as_array()) {
            for (const toml::node& menu : *menus) {
                if (const auto* name = menu.as_string()) {
                    files.push_back(package.parent_path() / PathFromUtf8(name->get()));
                }
            }
        }
    } catch (const toml::parse_error&) {
    } catch (const PackError&) {
    }
    return files;
}

}  // namespace ambrevo::pack
