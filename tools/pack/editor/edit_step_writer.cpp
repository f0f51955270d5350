#include "pack/editor/edit_step_writer.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>

#include "pack/common/file_io.h"

namespace ambrevo::pack {
namespace {

void ExpectFound(const FileChange& change, StepWay way) {
    if (way == StepWay::TakeBack) {
        // A created file the author changed since stays, unlisted.
        if (change.before && TextIfAny(change.file) != change.after) throw FileChanged(change.file);
    } else if (TextIfAny(change.file) != change.before) {
        throw FileChanged(change.file);
    }
}

// Puts the change's new text in place, or removes the file it created.
void Put(const FileChange& change, StepWay way, const std::function<void()>& beforeCheck) {
    const bool make = way == StepWay::Make;
    if (!make && !change.before) {
        // The look and the removal are a moment apart: a save in that moment is lost, as
        // no call removes a file only while it holds given bytes.
        if (beforeCheck) beforeCheck();
        if (TextIfAny(change.file) != change.after) return;
        std::error_code error;
        std::filesystem::remove(change.file, error);
        if (error) {
            throw PackError("cannot remove " + QuotedPath(change.file) + ": " + error.message());
        }
        return;
    }
    // A created file may lie in a folder not made yet ("pictures/"); when the folder cannot
    // be made, the write below says so.
    if (make && !change.before) {
        std::error_code ignored;
        std::filesystem::create_directories(change.file.parent_path(), ignored);
    }
    const WriteChecks checks{.beforeReplacing =
                                 [&] {
                                     if (beforeCheck) beforeCheck();
                                     ExpectFound(change, way);
                                 },
                             .createOnly = make && !change.before};
    WriteTextFile(change.file, make ? change.after : *change.before, checks);
}

}  // namespace

std::optional<std::string> TextIfAny(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(file, error))) return std::nullopt;
    const std::vector<std::uint8_t> bytes = ReadFileBytes(file);
    return std::string(bytes.begin(), bytes.end());
}

void WriteStep(const EditStep& step, StepWay way, const std::function<void()>& beforeCheck) {
    std::vector<FileChange> order = step.changes;
    if (way == StepWay::TakeBack) std::reverse(order.begin(), order.end());
    for (const FileChange& change : order) ExpectFound(change, way);
    std::vector<FileChange> written;
    try {
        for (const FileChange& change : order) {
            Put(change, way, beforeCheck);
            written.push_back(change);
        }
    } catch (const PackError&) {
        // The earlier texts back, each only where this write's text still is; what cannot
        // be put back stays as written, and the first failure is the one reported.
        const StepWay back = way == StepWay::Make ? StepWay::TakeBack : StepWay::Make;
        std::reverse(written.begin(), written.end());
        for (const FileChange& change : written) {
            try {
                ExpectFound(change, back);
                Put(change, back, nullptr);
            } catch (const PackError&) {
            }
        }
        throw;
    }
}

}  // namespace ambrevo::pack
