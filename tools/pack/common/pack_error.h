#pragma once

#include <stdexcept>

namespace ambrevo::pack {

// A failure of the authoring tool that the user sees as its text: bad input, a file
// that cannot be read or written, a model that the menu format cannot store.
class PackError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace ambrevo::pack
