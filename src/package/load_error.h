#pragma once

namespace ambrevo {

// The sticky failure flag of package and menu reads. Every failing read sets it;
// only opening the package clears it, so after a failure it stays set for the run.
class LoadError {
public:
    void Set() { set_ = true; }
    void Clear() { set_ = false; }
    bool IsSet() const { return set_; }

private:
    bool set_ = false;
};

}  // namespace ambrevo
