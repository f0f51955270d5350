#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ambrevo::pack {

// One problem of a source, at a line of a file (line 0: the file as a whole).
struct Diagnostic {
    std::string file;
    std::int64_t line = 0;
    std::string message;

    bool operator==(const Diagnostic&) const = default;
};

// "file:line: message", or "file: message" for line 0.
std::string FormatDiagnostic(const Diagnostic& diagnostic);

// The problems found while reading sources, in the order they were found.
class Diagnostics {
public:
    void Report(const std::string& file, std::int64_t line, std::string message) {
        all_.push_back({file, line, std::move(message)});
    }
    bool Empty() const { return all_.empty(); }
    const std::vector<Diagnostic>& All() const { return all_; }
    // Files in the order their first problem was found, each file's problems by line.
    std::vector<Diagnostic> ByFileAndLine() const;

private:
    std::vector<Diagnostic> all_;
};

// Where a source reader reports: the file's name as shown to the user and the list.
struct SourceFile {
    std::string name;
    Diagnostics& diagnostics;

    void Report(std::int64_t line, std::string message) const {
        diagnostics.Report(name, line, std::move(message));
    }
};

}  // namespace ambrevo::pack
