#pragma once

#include <string>

namespace ambrevo {

// The application's icon, which an icon file beside the program replaces.
class ApplicationIcon {
public:
    virtual ~ApplicationIcon() = default;
    // Makes the icon file at path the application's icon. Throws AppError when the file
    // cannot be read as an icon.
    virtual void LoadFromFile(const std::string& path) = 0;
};

}  // namespace ambrevo
