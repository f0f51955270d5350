#pragma once

#include <string>
#include <vector>

#include "services/application_icon.h"
#include "support/app_error.h"

namespace ambrevo::testing {

// Records the icon files asked for; fails with loadError when it is set.
class FakeApplicationIcon : public ApplicationIcon {
public:
    void LoadFromFile(const std::string& path) override {
        loaded.push_back(path);
        if (!loadError.empty()) throw AppError(loadError);
    }

    std::vector<std::string> loaded;
    std::string loadError;
};

}  // namespace ambrevo::testing
