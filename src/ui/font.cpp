#include "ui/font.h"

#include "support/ascii.h"

namespace ambrevo::ui {

char MnemonicOf(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return AsciiUpper(caption[i + 1]);
        ++i;  // "&&" is a literal "&"
    }
    return 0;
}

}  // namespace ambrevo::ui
