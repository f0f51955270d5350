#include "diagnostics.h"

#include <algorithm>
#include <map>

namespace ambrevo::pack {

std::string FormatDiagnostic(const Diagnostic& diagnostic) {
    if (diagnostic.line <= 0) return diagnostic.file + ": " + diagnostic.message;
    return diagnostic.file + ":" + std::to_string(diagnostic.line) + ": " + diagnostic.message;
}

std::vector<Diagnostic> Diagnostics::ByFileAndLine() const {
    std::map<std::string, std::size_t> fileOrder;
    for (const Diagnostic& diagnostic : all_) fileOrder.emplace(diagnostic.file, fileOrder.size());
    std::vector<Diagnostic> sorted = all_;
    std::stable_sort(sorted.begin(), sorted.end(), [&](const Diagnostic& a, const Diagnostic& b) {
        const std::size_t fileA = fileOrder.at(a.file);
        const std::size_t fileB = fileOrder.at(b.file);
        return fileA != fileB ? fileA < fileB : a.line < b.line;
    });
    return sorted;
}

}  // namespace ambrevo::pack
