#include "pack/common/diagnostics.h"

#include <algorithm>
#include <map>

namespace ambrevo::pack {

std::string FormatDiagnostic(const Diagnostic& diagnostic) {
    const std::string message = (diagnostic.warning ? "warning: " : "") + diagnostic.message;
    if (diagnostic.line <= 0) return diagnostic.file + ": " + message;
    return diagnostic.file + ":" + std::to_string(diagnostic.line) + ": " + message;
}

std::vector<Diagnostic> SortedByFileAndLine(std::vector<Diagnostic> sorted) {
    std::map<std::string, std::size_t> fileOrder;
    for (const Diagnostic& diagnostic : sorted) {
        fileOrder.emplace(diagnostic.file, fileOrder.size());
    }
    std::stable_sort(sorted.begin(), sorted.end(), [&](const Diagnostic& a, const Diagnostic& b) {
        const std::size_t fileA = fileOrder.at(a.file);
        const std::size_t fileB = fileOrder.at(b.file);
        return fileA != fileB ? fileA < fileB : a.line < b.line;
    });
    return sorted;
}

}  // namespace ambrevo::pack
