#include "pack/editor/new_menu_file.h"

#include "pack/common/file_io.h"
#include "pack/common/file_names.h"
#include "pack/common/pack_error.h"
#include "pack/editor/toml_values.h"
#include "support/ascii.h"

namespace ambrevo::pack {

void CheckNewMenuFile(const std::filesystem::path& folder, const std::string& name) {
    const std::filesystem::path file = PathFromUtf8(name);
    const bool plain = name.find_first_of("/\\:") == std::string::npos && file.has_stem() &&
                       !name.starts_with(".") && file.extension() == ".toml";
    if (!plain) {
        throw PackError("a new menu's file must be a plain name ending in .toml, as "
                        "\"help.toml\", in the package's folder");
    }
    if (AsciiLower(name) == "package.toml") {
        throw PackError("\"package.toml\" is the package's own file: name the menu otherwise");
    }
    if (const std::optional<std::string> problem = WindowsNameProblem(name)) {
        throw PackError("\"" + name + "\" " + *problem + "; choose another name");
    }
    std::error_code error;
    if (std::filesystem::symlink_status(folder / file, error).type() !=
        std::filesystem::file_type::not_found) {
        throw PackError("\"" + name + "\" exists already: choose another name");
    }
}

std::string NewMenuText(const nlohmann::json& keys) {
    if (!keys.is_object()) throw PackError("\"add_menu\" must give the new menu's keys");
    std::string text;
    for (const auto& [key, value] : keys.items()) {
        if (key == "file" || (key == "background" && value.is_null())) continue;
        if ((key != "title" && key != "background") || !value.is_string()) {
            throw PackError("a new menu takes a \"title\" and a \"background\", both texts");
        }
    }
    text += "title = " + TomlValueText(keys.value("title", "")) + "\n";
    if (keys.contains("background") && !keys["background"].is_null()) {
        text += "background = " + TomlValueText(keys["background"]) + "\n";
    }
    return text;
}

}  // namespace ambrevo::pack
