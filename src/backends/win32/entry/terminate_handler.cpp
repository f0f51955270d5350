// The player's handler for an uncaught exception. libstdc++'s default handler prints the
// exception's demangled type to stderr, which a GUI program does not have, and links the
// whole C++ demangler (about 46 KB) into the player for it. Defining the handler here
// keeps that object out of the link; the program ends as it would after the message.

#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
