#include "pack/text/close_names.h"

#include <algorithm>

#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

constexpr std::size_t kMaxEdits = 2;
constexpr std::size_t kLettersPerEdit = 3;

// Optimal string alignment distance: the edits of Levenshtein plus the swap of two
// neighbouring letters, the commonest typing slip.
std::size_t EditDistance(const std::string& a, const std::string& b) {
    const std::size_t width = b.size() + 1;
    std::vector<std::size_t> d((a.size() + 1) * width);
    for (std::size_t i = 0; i <= a.size(); ++i) d[i * width] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            std::size_t best = std::min({d[(i - 1) * width + j] + 1, d[i * width + j - 1] + 1,
                                         d[(i - 1) * width + j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                best = std::min(best, d[(i - 2) * width + j - 2] + 1);
            }
            d[i * width + j] = best;
        }
    }
    return d[a.size() * width + b.size()];
}

}  // namespace

std::optional<std::string> ClosestName(std::string_view misspelt,
                                       const std::vector<std::string>& candidates) {
    const std::string wanted = AsciiLower(misspelt);
    const std::size_t allowed =
        std::min(kMaxEdits, std::max<std::size_t>(1, wanted.size() / kLettersPerEdit));
    std::optional<std::string> best;
    std::size_t bestDistance = allowed + 1;
    for (const std::string& candidate : candidates) {
        const std::size_t distance = EditDistance(wanted, AsciiLower(candidate));
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace ambrevo::pack
