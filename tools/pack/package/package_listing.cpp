#include "pack/package/package_listing.h"

#include <algorithm>
#include <iomanip>
#include <string>

#include "pack/pictures/density_variants.h"
#include "pack/writer/menu_body_writer.h"
#include "pack/text/source_names.h"
#include "pack/text/text_encoding.h"
#include "pack/text/toml_text.h"

namespace ambrevo::pack {
namespace {

std::string NameOrNumber(const NameTable& names, std::int32_t value) {
    const std::optional<std::string_view> name = names.NameOf(value);
    return name ? std::string(*name) : std::to_string(value);
}

// A menu text in the menu's code page, quoted.
class Texts {
public:
    explicit Texts(std::uint32_t codePage) : codePage_(codePage) {}
    std::string Quoted(const std::string& bytes) const {
        return TomlString(DisplayText(bytes, codePage_));
    }

private:
    std::uint32_t codePage_;
};

// "normal 1 + 3 frames": the still picture and the number of animation frames of a set.
std::string SetSummary(const PictureTable& table, int record, int set) {
    int frames = 0;
    for (int frame = 1; frame < kPictureFrames; ++frame) {
        frames += table.HasPicture(record, set, frame) ? 1 : 0;
    }
    const bool still = table.HasPicture(record, set, 0);
    if (!still && frames == 0) return "";
    std::string text(*PictureSetNames().NameOf(set));
    text += still ? " 1" : " 0";
    if (frames > 0) text += " + " + std::to_string(frames) + " frames";
    return text;
}

// "@1.5x, @2x": the densities that some picture of the record was drawn for.
std::string VariantSummary(const std::vector<DensityPicture>& densities, int record) {
    std::string summary;
    for (const DensityScale& scale : kDensityScales) {
        const bool drawn =
            std::any_of(densities.begin(), densities.end(), [&](const auto& picture) {
                return picture.record == record && picture.percent == ScalePercent(scale);
            });
        if (!drawn) continue;
        summary += summary.empty() ? "" : ", ";
        summary += scale.suffix;
    }
    return summary;
}

void ListItem(const BuiltMenu& built, int n, const Texts& texts, std::ostream& out) {
    const MenuDefinition& menu = *built.menu;
    const MenuItem& item = menu.items[static_cast<std::size_t>(n - 1)];
    out << "  item " << std::setw(3) << n << "  " << std::left << std::setw(8)
        << NameOrNumber(ItemKindNames(), item.kind) << std::right;
    if (item.kind != 0 && !item.caption.empty()) out << " " << texts.Quoted(item.caption);
    out << " -> " << (item.target.empty() ? "(no target)" : texts.Quoted(item.target));
    if (!item.name.empty()) out << " named " << texts.Quoted(item.name);
    std::string pictures;
    for (int set = 0; set < kPictureSets; ++set) {
        const std::string summary = SetSummary(menu.pictures, n, set);
        if (summary.empty()) continue;
        pictures += pictures.empty() ? "" : ", ";
        pictures += summary;
    }
    const std::string variants = VariantSummary(built.densityPictures, n);
    if (!pictures.empty() && !variants.empty()) pictures += ", " + variants;
    if (!pictures.empty()) out << "  [" << pictures << "]";
    out << "\n";
}

void ListMenu(const BuiltMenu& built, std::ostream& out) {
    const MenuDefinition& menu = *built.menu;
    const std::uint32_t codePage = built.codePage;
    const Texts texts(codePage);
    out << "  version " << static_cast<int>(menu.header.version);
    if (codePage != 0) out << ", code page " << codePage;
    out << ", title " << texts.Quoted(menu.title) << ", placement "
        << NameOrNumber(PlacementNames(), menu.placement) << "\n";
    const auto background = menu.pictures.Picture(0, 0, 0);
    out << "  background ";
    if (menu.pictures.HasPicture(0, 0, 0)) {
        out << background->width << " x " << background->height;
        const std::string variants = VariantSummary(built.densityPictures, 0);
        if (!variants.empty()) out << " [" << variants << "]";
    } else {
        out << "none";
    }
    out << ", " << (menu.shapeColor == -1 ? "rectangular" : "shaped") << ", " << menu.items.size()
        << " items, " << CountStoredPictures(menu.pictures) << " pictures\n";
    for (int n = 1; n <= static_cast<int>(menu.items.size()); ++n) ListItem(built, n, texts, out);
}

// A menu's entry name as its code page shows it.
std::string MenuName(const BuiltPackage& package, const std::string& entryName) {
    for (const BuiltMenu& menu : package.menus) {
        if (menu.name == entryName) return DisplayText(entryName, menu.codePage);
    }
    return DisplayText(entryName, kSystemCodePage);
}

// "first menu by language: de main-de.mnu, fr main-fr.mnu; any other main.mnu".
void ListLanguages(const BuiltPackage& package, std::ostream& out) {
    if (package.languages.empty()) return;
    out << "first menu by language:";
    const char* separator = " ";
    for (const LanguageMenu& language : package.languages) {
        out << separator << language.code << " " << MenuName(package, language.entryName);
        separator = ", ";
    }
    if (!package.menus.empty()) out << "; any other " << MenuName(package, package.menus[0].name);
    out << "\n";
}

}  // namespace

bool ListPackage(const BuiltPackage& package, std::ostream& out) {
    out << "player: " << package.programSize << " bytes; package header "
        << Texts(kSystemCodePage).Quoted(package.header.text) << ", byte "
        << static_cast<int>(package.header.byte) << "; " << package.menus.size() << " menus\n";
    ListLanguages(package, out);
    bool allRead = true;
    for (std::size_t i = 0; i < package.menus.size(); ++i) {
        const BuiltMenu& built = package.menus[i];
        out << "\n"
            << i + 1 << ". " << DisplayText(built.name, built.codePage) << " (data at byte "
            << built.dataOffset << ")\n";
        if (!built.problem.empty()) {
            out << "  cannot be read: " << built.problem << "\n";
            allRead = false;
        }
        if (built.menu != nullptr) ListMenu(built, out);
    }
    if (!package.densityProblem.empty()) {
        out << "\npictures for high density cannot be read: " << package.densityProblem << "\n";
        allRead = false;
    }
    return allRead;
}

}  // namespace ambrevo::pack
