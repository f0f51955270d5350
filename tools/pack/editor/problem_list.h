#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "pack/common/diagnostics.h"

namespace ambrevo::pack {

// The errors and warnings for the designer, sorted by file and line: [{"file", "line",
// "item"? (from 1, where the problem concerns an item), "warning", "message"}]. fileName
// turns a diagnostic's file into the name the designer shows.
nlohmann::json ProblemList(const Diagnostics& diagnostics,
                           const std::function<std::string(const std::string&)>& fileName);

}  // namespace ambrevo::pack
