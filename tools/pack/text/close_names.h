#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ambrevo::pack {

// The candidate that a misspelt name most likely meant: the nearest by edit distance
// (letters inserted, removed, replaced or two neighbours swapped, ignoring A-Z case),
// if it is near enough to be a slip: at most one edit per three letters, and at most two.
// The first candidate wins a tie.
std::optional<std::string> ClosestName(std::string_view misspelt,
                                       const std::vector<std::string>& candidates);

}  // namespace ambrevo::pack
