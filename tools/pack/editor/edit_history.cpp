#include "pack/editor/edit_history.h"

namespace ambrevo::pack {
namespace {

std::size_t BytesOf(const EditStep& step) {
    std::size_t bytes = 0;
    for (const FileChange& change : step) {
        bytes += change.after.size() + (change.before ? change.before->size() : 0);
    }
    return bytes;
}

}  // namespace

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

const EditStep* EditHistory::Next(Replay replay) const {
    const std::deque<EditStep>& from = replay == Replay::Undo ? undo_ : redo_;
    return from.empty() ? nullptr : &from.back();
}

void EditHistory::Replayed(Replay replay) {
    std::deque<EditStep>& from = replay == Replay::Undo ? undo_ : redo_;
    std::deque<EditStep>& to = replay == Replay::Undo ? redo_ : undo_;
    to.push_back(std::move(from.back()));
    from.pop_back();
}

}  // namespace ambrevo::pack
