#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace ambrevo::pack {

// Whether a menu the designer adds to a package may have the file `name`: it must be a
// plain "name.toml" (no folder, not hidden, not "package.toml") that a Windows disc can
// hold (WindowsNameProblem) and that does not exist in `folder`. Throws PackError saying what is
// wrong.
void CheckNewMenuFile(const std::filesystem::path& folder, const std::string& name);

// The new menu's source: its title and, when it has one, its background picture.
std::string NewMenuText(const std::string& title, const std::optional<std::string>& background);

// The largest side of a plain background the designer draws.
constexpr int kMaxPlainSide = 4096;

// A plain background for a new menu without a picture of its own: each side 1 to
// kMaxPlainSide pixels, one colour 0xRRGGBB.
struct PlainFill {
    int width = 0;
    int height = 0;
    std::uint32_t colour = 0;
};

// The plain background as PNG file bytes.
std::string PlainBackground(const PlainFill& fill);

// Where the plain background of the new menu `menuFile` is written, relative to the
// package's folder: "pictures/<menu's name>-background.png".
std::string PlainBackgroundName(const std::string& menuFile);

}  // namespace ambrevo::pack
