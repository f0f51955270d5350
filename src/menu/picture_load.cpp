#include "menu/picture_load.h"

#include <algorithm>
#include <string>
#include <utility>

#include "support/messages.h"

namespace ambrevo {

PictureLoad::PictureLoad(TaggedReader& reader, DebugOutput& debug, int pictureCount, int version,
                         PictureTable& table, PictureReuse* reuse,
                         std::vector<std::int64_t> positions)
    : reader_(reader),
      debug_(debug),
      pictureCount_(pictureCount),
      version_(version),
      table_(table),
      decoder_(reuse),
      limit_(decoder_.Limit()),
      loadErrorBefore_(reader.Errors().IsSet()),
      positions_(std::move(positions)) {}

void PictureLoad::Advance() {
    while (!started_.empty() && decoder_.IsDone(started_.front().pending)) TakeOldest();
    while (!failure_ && read_ < pictureCount_ && !OverLimit()) StartNext();
}

void PictureLoad::Finish() {
    WriteLines(taken_);  // of the pictures Advance stored
    while (!failure_ && read_ < pictureCount_) {
        // Checked before each record, so that the records ahead never exceed the limit
        // by more than the one read last.
        if (OverLimit()) {
            // The older half is taken at once: the reader waits for the newest of them
            // while the workers finish the others, so it sleeps once per half, not once
            // per picture (waking it costs a system call, under Wine more). Large
            // pictures among the younger half may need more taken.
            const std::size_t keep = started_.size() / 2;
            decoder_.AwaitPicture(started_[started_.size() - keep - 1].pending);
            while (started_.size() > keep || (!started_.empty() && OverLimit())) StoreOldest();
            if (failure_) break;
        }
        StartNext();
    }
    while (!started_.empty()) StoreOldest();
    if (failure_) {
        WriteLines(failedAt_);
        std::rethrow_exception(failure_);
    }
}

void PictureLoad::Abandon() {
    started_.clear();
    table_.Clear();
    if (!loadErrorBefore_) reader_.Errors().Clear();
}

bool PictureLoad::OverLimit() const {
    return started_.size() > limit_.pictures || bytesAhead_ > limit_.bytes ||
           pictureBytesAhead_ > limit_.pictureBytes;
}

void PictureLoad::StartNext() {
    const bool loadErrorBefore = reader_.Errors().IsSet();
    if (!positions_.empty() &&
        !reader_.Stream().Seek(positions_[static_cast<std::size_t>(read_)])) {
        reader_.Errors().Set();
    }
    ++read_;
    try {
        started_.push_back({decoder_.StartPicture(reader_, version_), loadErrorBefore});
    } catch (...) {
        // Records read before may still fail first; Finish decides.
        failure_ = std::current_exception();
        failedAt_ = read_;
        loadErrorBeforeFailure_ = loadErrorBefore;
        return;
    }
    bytesAhead_ += started_.back().pending.blockBytes;
    pictureBytesAhead_ += started_.back().pending.pictureBytes;
    peakPictureBytesAhead_ = std::max(peakPictureBytesAhead_, pictureBytesAhead_);
}

void PictureLoad::TakeOldest() {
    PendingPicture oldest = std::move(started_.front().pending);
    started_.pop_front();
    bytesAhead_ -= oldest.blockBytes;
    pictureBytesAhead_ -= oldest.pictureBytes;
    const int n = ++taken_;
    try {
        PictureRecord record = decoder_.FinishPicture(oldest);
        if (record.picture == nullptr) return;
        table_.StorePicture(record.slot.record, record.slot.set, record.slot.frame,
                            std::move(record.picture));
    } catch (...) {
        DropStarted();
        failure_ = std::current_exception();
        failedAt_ = n;
    }
}

void PictureLoad::StoreOldest() {
    WriteLines(taken_ + 1);
    TakeOldest();
}

void PictureLoad::DropStarted() {
    // The LoadError goes back to what it was before the first record dropped.
    bool before = reader_.Errors().IsSet();
    if (!started_.empty()) {
        before = started_.front().loadErrorBefore;
    } else if (failure_) {
        before = loadErrorBeforeFailure_;
    }
    if (!before) reader_.Errors().Clear();
    started_.clear();
    bytesAhead_ = 0;
    pictureBytesAhead_ = 0;
}

void PictureLoad::WriteLines(int upTo) {
    while (linesWritten_ < upTo) {
        DebugTrace(debug_, "Getting Image " + std::to_string(++linesWritten_));
    }
}

}  // namespace ambrevo
