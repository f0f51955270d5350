#pragma once

#include <cstddef>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ambrevo::pack {

// One file's change by an edit.
struct FileChange {
    std::filesystem::path file;
    std::optional<std::string> before;  // none: the edit created the file
    std::string after;
};
// One edit: its changes, written in this order and taken back in the reverse one, and
// what it did in the author's words ("move of item 3").
struct EditStep {
    std::vector<FileChange> changes;
    std::string label;

    bool Touches(const std::filesystem::path& file) const;
};

enum class Replay { Undo, Redo };

// How much the history keeps: the oldest steps go first past either bound.
struct HistoryBounds {
    std::size_t steps = 200;
    std::size_t bytes = std::size_t{64} << 20;  // of the texts before and after, all steps
};

// The steps undo and redo go over.
class EditHistory {
public:
    explicit EditHistory(HistoryBounds bounds = {}) : bounds_(bounds) {}

    // A new edit's step: the steps to redo are dropped, and the oldest ones past the
    // bounds, the new one too when it alone is past them. Answers how many old ones went.
    std::size_t Add(EditStep step);
    // The step undo or redo takes next: the newest one, or the newest that touches `file`
    // when one is given; none when there is no such step.
    const EditStep* Next(Replay replay,
                         const std::optional<std::filesystem::path>& file = std::nullopt) const;
    // Moves `step`, as Next gave it, over to the other side once it is written.
    void Replayed(Replay replay, const EditStep& step);
    // The steps undo goes over, oldest first, or those redo goes over, newest undone last.
    const std::deque<EditStep>& Listed(Replay replay) const;

    std::size_t Steps() const { return undo_.size() + redo_.size(); }
    std::size_t Bytes() const { return bytes_; }

private:
    HistoryBounds bounds_;
    std::deque<EditStep> undo_;
    std::deque<EditStep> redo_;
    std::size_t bytes_ = 0;
};

}  // namespace ambrevo::pack
