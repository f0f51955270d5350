#include "pack/editor/new_menu_file.h"

#include <optional>

#include "pack/common/file_io.h"
#include "pack/common/file_names.h"
#include "pack/common/pack_error.h"
#include "pack/editor/toml_values.h"
#include "pack/pictures/filled_picture.h"
#include "pack/pictures/png_codec.h"
#include "support/ascii.h"

namespace ambrevo::pack {

void CheckNewMenuFile(const std::filesystem::path& folder, const std::string& name) {
    const std::filesystem::path file = PathFromUtf8(name);
    const bool plain = name.find_first_of("/\\:") == std::string::npos && file.has_stem() &&
                       !name.starts_with(".") && file.extension() == ".toml";
    if (!plain) {
        throw PackError(
            "a new menu's file must be a plain name ending in .toml, as "
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

namespace {

bool IsSide(const nlohmann::json& value) {
    return value.is_number_integer() && value.get<std::int64_t>() >= 1 &&
           value.get<std::int64_t>() <= kMaxPlainSide;
}

}  // namespace

std::string PlainBackground(const nlohmann::json& keys) {
    const std::string sides = "1 to " + std::to_string(kMaxPlainSide);
    const nlohmann::json size = keys.is_object() ? keys.value("size", nlohmann::json()) : nullptr;
    if (!size.is_array() || size.size() != 2 || !IsSide(size[0]) || !IsSide(size[1])) {
        throw PackError("a plain background's size must be [width, height], each " + sides +
                        " pixels");
    }
    const nlohmann::json colourText = keys.value("color", nlohmann::json());
    const std::optional<std::uint32_t> colour =
        RgbOfHexText(colourText.is_string() ? colourText.get<std::string>() : std::string());
    if (!colour) throw PackError("a plain background's colour must be written \"#RRGGBB\"");
    const std::vector<std::uint8_t> png = EncodePng(
        FilledPicture(size[0].get<std::int32_t>(), size[1].get<std::int32_t>(), *colour, *colour));
    return {png.begin(), png.end()};
}

std::string PlainBackgroundName(const std::string& menuFile) {
    return "pictures/" + PathToUtf8(PathFromUtf8(menuFile).stem()) + "-background.png";
}

}  // namespace ambrevo::pack
