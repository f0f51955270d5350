#include "pack/source/source_warnings.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "menu/shape_runs.h"
#include "pack/pictures/shape_runs.h"
#include "pack/text/text_encoding.h"
#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

std::string SizeText(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

std::string RgbText(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

}  // namespace

std::optional<std::string> ShapeSlip(std::string_view runs) {
    const std::optional<ShapeRuns> shape = ParseShapeRuns(runs);
    if (!shape) return std::nullopt;
    const PixelMask cut = CutOutPixels(*shape);
    if (std::none_of(cut.begin(), cut.end(), [](bool out) { return out; })) {
        return "the shape cuts nothing away: the window stays a plain rectangle";
    }
    if (std::all_of(cut.begin(), cut.end(), [](bool out) { return out; })) {
        return "the shape cuts the whole window away: nothing of it can be seen";
    }
    return std::nullopt;
}

void WarnAboutItem(const MenuDefinition& menu, int number, std::int64_t line,
                   const SourceFile& file) {
    const MenuItem& item = menu.items.at(static_cast<std::size_t>(number - 1));
    const std::string name = "item " + std::to_string(number);
    std::int64_t width = item.width;
    std::int64_t height = item.height;
    if (item.kind == static_cast<std::int32_t>(ItemKind::ImgBtn)) {
        const auto normal = menu.pictures.Picture(number, 0, 0);
        if (normal == nullptr) {
            file.Warn(line, name + " is a picture item without a normal picture: it shows nothing");
            return;
        }
        width = normal->width;
        height = normal->height;
    }
    const auto background = menu.pictures.Picture(0, 0, 0);
    if (background == nullptr || width <= 0 || height <= 0) return;
    const std::int64_t left = item.left;
    const std::int64_t top = item.top;
    const std::int64_t right = left + width;
    const std::int64_t bottom = top + height;
    const std::string where = name + " (" + SizeText(width, height) + " at " +
                              std::to_string(left) + ", " + std::to_string(top) + ")";
    const std::string window =
        " the " + SizeText(background->width, background->height) + " window";
    if (right <= 0 || bottom <= 0 || left >= background->width || top >= background->height) {
        file.Warn(line, where + " lies outside" + window + ": it cannot be seen");
    } else if (left < 0 || top < 0 || right > background->width || bottom > background->height) {
        file.Warn(line, where + " lies partly outside" + window);
    }
}

std::optional<std::string> SetSizeSlip(std::string_view set, const Bitmap& picture,
                                       const Bitmap& normal) {
    if (picture.width == normal.width && picture.height == normal.height) return std::nullopt;
    return "the " + std::string(set) + " picture is " + SizeText(picture.width, picture.height) +
           " pixels, but the normal one is " + SizeText(normal.width, normal.height) +
           ": the item changes size when its state changes";
}

void WarnAboutEmptyMenu(const MenuDefinition& menu, const SourceFile& file) {
    if (menu.items.empty() && !menu.pictures.HasPicture(0, 0, 0)) {
        file.Warn(0, "the menu has neither a background nor items: it shows an empty window");
    }
}

void WarnAboutUnreachableMenus(const std::vector<MenuSource>& menus,
                               const std::vector<std::string>& firstMenus,
                               Diagnostics& diagnostics) {
    std::set<std::string> reached(firstMenus.begin(), firstMenus.end());
    for (const MenuSource& menu : menus) {
        for (const MenuTargetUse& use : menu.menuTargets) {
            const std::string target = AsciiLower(use.target);
            if (target != menu.entryName) reached.insert(target);
        }
    }
    for (std::size_t i = 1; i < menus.size(); ++i) {
        const MenuSource& menu = menus[i];
        if (menu.entryName.empty() || reached.count(menu.entryName) > 0) continue;
        diagnostics.Warn(menu.fileName, 0,
                         "no other menu switches to \"" +
                             DisplayText(menu.entryName, menu.codePage) +
                             "\", and it is not the first: it shows only when the player is "
                             "started with its name");
    }
}

std::string UncoveredPictureWarning(std::string_view subject, bool menuHasBackground,
                                    std::uint32_t color) {
    const std::string name(subject);
    if (!menuHasBackground) {
        return name +
               " has transparent pixels and the menu has no background; they take "
               "the background colour " +
               RgbText(color);
    }
    return name +
           " lies partly outside the background; its transparent pixels there take "
           "the background colour " +
           RgbText(color);
}

}  // namespace ambrevo::pack
