// Writes a disc program with the heavy menu of the load benchmark: a copy of the player
// with a package of that one menu appended. The time-to-window measurement runs it.
//   rich_menu_disc PLAYER.exe OUTPUT.exe

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "heavy_menu.h"
#include "pack/menu_body_writer.h"
#include "pack/package_writer.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PLAYER.exe OUTPUT.exe\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<std::uint8_t> player{std::istreambuf_iterator<char>(in),
                                           std::istreambuf_iterator<char>()};
    if (!in || player.empty()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    using namespace ambrevo;
    const auto body = pack::WriteMenuBody(bench::HeavyMenu(), pack::kLatestMenuVersion);
    const std::vector<pack::PackageEntryData> entries{{"heavy.mnu", body}};
    const auto file = pack::WritePackage(player, entries);
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s: %zu bytes, the menu %zu\n", argv[2], file.size(), body.size());
    return 0;
}
