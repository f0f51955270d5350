#pragma once

namespace ambrevo {

// The AppError texts of a damaged picture record.
constexpr const char* kDamagedPictureMessage = "Error";
constexpr const char* kShortPictureMessage = "Stream read error";

}  // namespace ambrevo
