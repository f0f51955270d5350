#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ambrevo::pack {

// One problem of a source, at a line of a file (line 0: the file as a whole). A warning
// names something legal that is most likely a slip; it stops nothing unless asked to.
struct Diagnostic {
    std::string file;
    std::int64_t line = 0;
    std::string message;
    bool warning = false;

    bool operator==(const Diagnostic&) const = default;
};

// "file:line: message", or "file: message" for line 0; "warning: " before a warning's
// message.
std::string FormatDiagnostic(const Diagnostic& diagnostic);

// Files in the order their first entry comes, each file's entries by line.
std::vector<Diagnostic> SortedByFileAndLine(std::vector<Diagnostic> diagnostics);

// The problems (errors) and warnings found while reading sources, in the order found.
class Diagnostics {
public:
    void Report(const std::string& file, std::int64_t line, std::string message) {
        all_.push_back({file, line, std::move(message)});
    }
    void Warn(const std::string& file, std::int64_t line, std::string message) {
        warnings_.push_back({file, line, std::move(message), true});
    }
    // No errors; there may be warnings.
    bool Empty() const { return all_.empty(); }
    const std::vector<Diagnostic>& All() const { return all_; }
    const std::vector<Diagnostic>& Warnings() const { return warnings_; }
    // The errors, sorted by SortedByFileAndLine.
    std::vector<Diagnostic> ByFileAndLine() const { return SortedByFileAndLine(all_); }

private:
    std::vector<Diagnostic> all_;
    std::vector<Diagnostic> warnings_;
};

// Where a source reader reports: the file's name as shown to the user and the list.
struct SourceFile {
    std::string name;
    Diagnostics& diagnostics;

    void Report(std::int64_t line, std::string message) const {
        diagnostics.Report(name, line, std::move(message));
    }
    void Warn(std::int64_t line, std::string message) const {
        diagnostics.Warn(name, line, std::move(message));
    }
};

}  // namespace ambrevo::pack
