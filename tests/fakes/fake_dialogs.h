#pragma once

#include <string>
#include <vector>

#include "services/dialogs.h"

namespace ambrevo::testing {

// Records every message box instead of showing it.
class FakeDialogs : public Dialogs {
public:
    struct Shown {
        std::string text;
        MessageKind kind;
        std::string title;
        bool operator==(const Shown&) const = default;
    };

    void ShowMessageBox(const std::string& text, MessageKind kind,
                        const std::string& title) override {
        shown.push_back({text, kind, title});
    }

    std::vector<Shown> shown;
};

}  // namespace ambrevo::testing
