#pragma once

namespace ambrevo::win32 {

// COM for the player's thread: a single-threaded apartment without the DDE of OLE 1, as the
// shell's extensions (COM objects) expect of the thread that calls the shell. It is entered
// on first need (a launch, a viewer check, a screen reader's question), not at start, so a
// menu that is only looked at never loads COM; it is left when the object ends. Where COM
// cannot be initialised the thread runs on without it.
class ComApartment {
public:
    // The calling thread's apartment from here to the object's end; enters nothing yet.
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // Enters the calling thread's apartment unless it is in it already. True when COM is
    // initialised; false when it cannot be, or when the thread has no ComApartment.
    static bool Enter();

private:
    bool entered_ = false;
    bool tried_ = false;
};

}  // namespace ambrevo::win32
