#pragma once

#include <string>

#include "services/application_icon.h"

namespace ambrevo::web {

// The page keeps its own icon; an icon file beside the program changes nothing.
class WebApplicationIcon : public ApplicationIcon {
public:
    void LoadFromFile(const std::string&) override {}
};

}  // namespace ambrevo::web
