#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>

namespace ambrevo::pack {

// Whether a menu the designer adds to a package may have the file `name`: it must be a
// plain "name.toml" (no folder, not hidden, not "package.toml") that a Windows disc can
// hold (WindowsNameProblem) and that does not exist in `folder`. Throws PackError saying what is
// wrong.
void CheckNewMenuFile(const std::filesystem::path& folder, const std::string& name);

// The new menu's source: its "title" and, unless null or left out, its "background".
// Throws PackError for other keys or values that are not text.
std::string NewMenuText(const nlohmann::json& keys);

// The largest side of a plain background the designer draws.
constexpr int kMaxPlainSide = 4096;

// A plain background for a new menu without a picture of its own, {"size": [width,
// height], "color": "#RRGGBB"}, as PNG file bytes. Throws PackError for other values.
std::string PlainBackground(const nlohmann::json& keys);

// Where the plain background of the new menu `menuFile` is written, relative to the
// package's folder: "pictures/<menu's name>-background.png".
std::string PlainBackgroundName(const std::string& menuFile);

}  // namespace ambrevo::pack
