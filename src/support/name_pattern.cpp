#include "support/name_pattern.h"

#include "support/ascii.h"

namespace ambrevo {

bool MatchesNamePattern(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*") pattern = "*";
    // Iterative matching that backtracks only to the last "*".
    std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || AsciiUpper(pattern[p]) == AsciiUpper(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace ambrevo
