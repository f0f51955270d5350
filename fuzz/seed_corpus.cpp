// Writes small, valid packages into the folder given on the command line: one per
// menu version, with items of every kind and a few pictures, and the tables of item names,
// languages and pictures for denser screens, so that the fuzzer starts from inputs that
// reach the picture decoder and those tables.

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "pack/writer/density_entry.h"
#include "pack/writer/menu_body_writer.h"
#include "pack/writer/name_and_language_entries.h"
#include "pack/writer/package_writer.h"

namespace {

using namespace ambrevo;

std::shared_ptr<Bitmap> Picture(int width, int height, std::uint32_t colour) {
    auto picture = std::make_shared<Bitmap>();
    picture->width = width;
    picture->height = height;
    picture->pixels.assign(static_cast<std::size_t>(width) * height, colour);
    picture->pixels[0] = 0x00FFFFFF;
    return picture;
}

MenuDefinition SeedMenu() {
    MenuDefinition menu;
    menu.title = "Seed";
    menu.shapeColor = 0x00FF00FF;
    menu.windowShape = "0008000400000002Y000300010003";
    menu.expiryYear = 2030;
    menu.expiryMonth = 1;
    menu.expiryDay = 2;
    menu.expiryMessage = "Expired";
    menu.pictures.StorePicture(0, 0, 0, Picture(8, 4, 0x00102030));
    for (int kind = 0; kind < 3; ++kind) {
        MenuItem item;
        item.kind = kind;
        item.target = kind == 0 ? "second.mnu" : "$Hello";
        item.caption = "&Item";
        if (kind == 0) item.name = "Next";
        menu.items.push_back(item);
        for (int frame = 0; frame < 3; ++frame) {
            menu.pictures.StorePicture(kind + 1, frame % 4, frame,
                                       Picture(3, 2, 0x00400000u * frame));
        }
    }
    return menu;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seed_corpus FOLDER\n");
        return 2;
    }
    const std::vector<std::uint8_t> player = {'M', 'Z', 0, 0};
    for (int version : {pack::kRawPicturesVersion, pack::kLatestMenuVersion}) {
        const MenuDefinition menu = SeedMenu();
        const auto body = pack::WriteMenuBody(menu, version);
        std::vector<pack::PackageEntryData> entries{{"main.mnu", body}, {"second.mnu", body}};
        // The tables beside the menus: the items' names and the first menu per language.
        std::vector<ItemName> names;
        pack::CollectItemNames("main.mnu", menu, names);
        entries.push_back(*pack::ItemNameEntry(names));
        const std::vector<LanguageMenu> languages = {{"de", "second.mnu"}};
        entries.push_back(*pack::LanguageEntry(languages));
        // The background at both denser scales, item 1's first picture at 2x.
        const std::vector<pack::MenuDensityPictures> dense = {
            {"main.mnu",
             version,
             {{150, 0, 0, 0, Picture(12, 6, 0x00203040)},
              {200, 0, 0, 0, Picture(16, 8, 0x00304050)},
              {200, 1, 0, 0, Picture(6, 4, 0x00506070)}}}};
        entries.push_back(*pack::DensityEntry(dense));
        const auto file = pack::WritePackage(player, entries);
        std::ofstream out(std::string(argv[1]) + "/seed-v" + std::to_string(version),
                          std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()),
                  static_cast<std::streamsize>(file.size()));
        if (!out) return 1;
    }
    return 0;
}
