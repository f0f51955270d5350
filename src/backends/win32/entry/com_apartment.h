#pragma once

namespace ambrevo::win32 {

// COM for the calling thread, from construction to destruction: a single-threaded
// apartment without the DDE of OLE 1, as the shell's extensions (COM objects) expect of
// the thread that calls the shell. Where COM cannot be initialised the thread runs on
// without it.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool Initialised() const { return initialised_; }

private:
    bool initialised_ = false;
};

}  // namespace ambrevo::win32
