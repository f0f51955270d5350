#pragma once

namespace ambrevo {

// Carries out the action of a menu item; the menu window's input calls it.
class ItemLauncher {
public:
    virtual ~ItemLauncher() = default;
    // n: the item's number, 1-based. Never raises for the outcomes of an action (a
    // launch, a sound, a message or nothing); a nested call while an action runs returns
    // at once.
    virtual void LaunchItem(int n) = 0;
};

}  // namespace ambrevo
