#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace ambrevo::pack {

// One problem of a source, at a line of a file (line 0: the file as a whole), and of the
// menu's item `item` (from 1) where it concerns one (0: none). A warning names something
// legal that is most likely a slip; it stops nothing unless asked to.
struct Diagnostic {
    std::string file;
    std::int64_t line = 0;
    std::string message;
    bool warning = false;
    int item = 0;

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
    void Report(const std::string& file, std::int64_t line, std::string message, int item = 0) {
        all_.push_back({file, line, std::move(message), false, item});
    }
    void Warn(const std::string& file, std::int64_t line, std::string message, int item = 0) {
        warnings_.push_back({file, line, std::move(message), true, item});
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

// Where a source reader reports: the file's name as shown to the user, the list, and the
// item (from 1) that what is reported concerns, if any.
struct SourceFile {
    std::string name;
    Diagnostics& diagnostics;
    int item = 0;
    // When set, collects the path of every key a reader asks for ("description.font",
    // "item.pictures.normal"), so that tests can hold the readers to the key catalogue.
    std::set<std::string, std::less<>>* keysAsked = nullptr;

    SourceFile ForItem(int number) const {
        SourceFile file = *this;
        file.item = number;
        return file;
    }
    void Report(std::int64_t line, std::string message) const {
        diagnostics.Report(name, line, std::move(message), item);
    }
    void Warn(std::int64_t line, std::string message) const {
        diagnostics.Warn(name, line, std::move(message), item);
    }
};

}  // namespace ambrevo::pack
