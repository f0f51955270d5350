#pragma once

#include <exception>
#include <new>
#include <ostream>

#include "pack/common/pack_error.h"

namespace ambrevo::pack {

constexpr int kCommandSuccess = 0;
constexpr int kCommandFailure = 1;

// Runs a command body, turning every failure into a message and the failure status.
template <typename Body>
int Guarded(std::ostream& err, Body body) {
    try {
        return body();
    } catch (const PackError& failure) {
        err << "error: " << failure.what() << "\n";
    } catch (const std::bad_alloc&) {
        err << "error: out of memory\n";
    } catch (const std::exception& failure) {
        err << "error: " << failure.what() << "\n";
    }
    return kCommandFailure;
}

}  // namespace ambrevo::pack
