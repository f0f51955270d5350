#pragma once

#include <string>

#include "services/debug_output.h"

namespace ambrevo::web {

// The browser's console. Lines are gathered and written as one message when the player
// flushes them (after each round of its loop): a console message costs the browser far
// more than a line, and a menu load writes one per picture.
class WebDebugOutput : public DebugOutput {
public:
    ~WebDebugOutput() override { Flush(); }
    void Write(const std::string& text) override;
    void Flush();

private:
    std::string pending_;  // lines written since the last flush, each ending in a newline
};

}  // namespace ambrevo::web
