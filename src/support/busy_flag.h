#pragma once

namespace ambrevo {

// Holds a re-entrancy flag set for a scope, and clears it however the scope ends.
class BusyFlag {
public:
    explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyFlag() { flag_ = false; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

private:
    bool& flag_;
};

}  // namespace ambrevo
