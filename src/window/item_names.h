#pragma once

#include <string>
#include <string_view>

#include "ui/control.h"

namespace ambrevo {

// Prefixes of the four controls of an item.
inline constexpr char kLabelPrefix[] = "LblBtn";
inline constexpr char kButtonPrefix[] = "WinBtn";
inline constexpr char kPicturePrefix[] = "ImgBtn";
inline constexpr char kKeyProxyPrefix[] = "KeyBtn";

// The prefix followed by the item number in three digits ("ImgBtn007").
std::string ItemControlName(std::string_view prefix, int n);

// The item number of an item control: the last three characters of its name; 0 when
// they are not three digits.
int ItemNumberOf(const ui::Control& control);

}  // namespace ambrevo
