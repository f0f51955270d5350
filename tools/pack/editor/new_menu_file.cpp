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

std::string NewMenuText(const std::string& title, const std::optional<std::string>& background) {
    std::string text = "title = " + TomlValueText({title}) + "\n";
    if (background) text += "background = " + TomlValueText({*background}) + "\n";
    return text;
}

std::string PlainBackground(const PlainFill& fill) {
    const std::vector<std::uint8_t> png =
        EncodePng(FilledPicture(fill.width, fill.height, fill.colour, fill.colour));
    return {png.begin(), png.end()};
}

std::string PlainBackgroundName(const std::string& menuFile) {
    return "pictures/" + PathToUtf8(PathFromUtf8(menuFile).stem()) + "-background.png";
}

}  // namespace ambrevo::pack
