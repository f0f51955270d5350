#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "services/shell_launcher.h"

namespace ambrevo::testing {

// A process whose end the test decides; counts how many are alive, so tests can see that
// every handle is released.
class FakeProcess : public LaunchedProcess {
public:
    FakeProcess(std::shared_ptr<bool> running, std::shared_ptr<int> alive)
        : running_(std::move(running)), alive_(std::move(alive)) {
        ++*alive_;
    }
    ~FakeProcess() override { --*alive_; }
    bool Running() override { return *running_; }

private:
    std::shared_ptr<bool> running_;
    std::shared_ptr<int> alive_;
};

// Records every shell request and answers with the result the test set up.
class FakeShellLauncher : public ShellLauncher {
public:
    ShellResult Launch(const ShellRequest& request) override {
        requests.push_back(request);
        if (onLaunch) onLaunch();
        ShellResult result;
        result.succeeded = errorCode == 0 && !cancelled;
        result.errorCode = errorCode;
        result.systemError = systemError;
        result.cancelled = cancelled;
        if (startsProcess)
            result.process = std::make_unique<FakeProcess>(processRunning, aliveProcesses);
        return result;
    }

    // What the next launches answer.
    int errorCode = 0;
    int systemError = 0;     // the system's code beside a shell error
    bool cancelled = false;  // the user cancels a security prompt
    bool startsProcess = true;
    std::shared_ptr<bool> processRunning = std::make_shared<bool>(true);
    std::function<void()> onLaunch;  // runs inside the launch

    std::vector<ShellRequest> requests;
    std::shared_ptr<int> aliveProcesses = std::make_shared<int>(0);
};

}  // namespace ambrevo::testing
