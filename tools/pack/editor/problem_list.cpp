#include "pack/editor/problem_list.h"

namespace ambrevo::pack {

nlohmann::json ProblemList(const Diagnostics& diagnostics,
                           const std::function<std::string(const std::string&)>& fileName) {
    std::vector<Diagnostic> all = diagnostics.All();
    all.insert(all.end(), diagnostics.Warnings().begin(), diagnostics.Warnings().end());
    nlohmann::json list = nlohmann::json::array();
    for (const Diagnostic& problem : SortedByFileAndLine(std::move(all))) {
        nlohmann::json entry = {{"file", fileName(problem.file)},
                                {"line", problem.line},
                                {"warning", problem.warning},
                                {"message", problem.message}};
        if (problem.item > 0) entry["item"] = problem.item;
        list.push_back(std::move(entry));
    }
    return list;
}

}  // namespace ambrevo::pack
