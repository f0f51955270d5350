#include "pack/editor/edit_history.h"

#include <algorithm>

namespace ambrevo::pack {
namespace {

std::size_t BytesOf(const EditStep& step) {
    std::size_t bytes = step.label.size();
    for (const FileChange& change : step.changes) {
        bytes += change.after.size() + (change.before ? change.before->size() : 0);
    }
    return bytes;
}

}  // namespace

bool EditStep::Touches(const std::filesystem::path& file) const {
    return std::any_of(changes.begin(), changes.end(),
                       [&](const FileChange& change) { return change.file == file; });
}

std::size_t EditHistory::Add(EditStep step) {
    redo_.clear();
    bytes_ = 0;
    for (const EditStep& kept : undo_) bytes_ += BytesOf(kept);
    bytes_ += BytesOf(step);
    undo_.push_back(std::move(step));
    std::size_t dropped = 0;
    while (!undo_.empty() && (undo_.size() > bounds_.steps || bytes_ > bounds_.bytes)) {
        bytes_ -= BytesOf(undo_.front());
        undo_.pop_front();
        if (!undo_.empty()) ++dropped;
    }
    return dropped;
}

const EditStep* EditHistory::Next(Replay replay,
                                  const std::optional<std::filesystem::path>& file) const {
    const std::deque<EditStep>& from = Listed(replay);
    const auto found = std::find_if(from.rbegin(), from.rend(), [&](const EditStep& step) {
        return !file || step.Touches(*file);
    });
    return found == from.rend() ? nullptr : &*found;
}

void EditHistory::Replayed(Replay replay, const EditStep& step) {
    std::deque<EditStep>& from = replay == Replay::Undo ? undo_ : redo_;
    std::deque<EditStep>& to = replay == Replay::Undo ? redo_ : undo_;
    const auto found = std::find_if(from.begin(), from.end(),
                                    [&](const EditStep& kept) { return &kept == &step; });
    if (found == from.end()) return;
    to.push_back(std::move(*found));
    from.erase(found);
}

const std::deque<EditStep>& EditHistory::Listed(Replay replay) const {
    return replay == Replay::Undo ? undo_ : redo_;
}

}  // namespace ambrevo::pack
