#pragma once

#include <cstdint>
#include <deque>
#include <exception>
#include <vector>

#include "menu/picture_reader.h"
#include "menu/picture_table.h"
#include "package/tagged_reader.h"
#include "services/debug_output.h"

namespace ambrevo {

// A menu's picture records, read in file order while worker threads decode the blocks
// read before. Each picture is stored, and each record's debug line "Getting Image n"
// written, in file order too, so the load has the effects of reading one record at a
// time: the first failing record ends it with the records before it stored and their
// lines and its own written; nothing of the records after it is kept.
//
// Advance lets the caller go on with other work while the pictures decode; the debug
// lines of the pictures it stores wait for Finish, so that they follow that work.
class PictureLoad {
public:
    // Reads nothing yet. reuse, when not null, gives pictures of the load before whose
    // streams are unchanged and keeps this load's. positions, when given, are where the
    // records lie in the stream (one per record, ascending), for records that are not
    // read one after another.
    PictureLoad(TaggedReader& reader, DebugOutput& debug, int pictureCount, int version,
                PictureTable& table, PictureReuse* reuse = nullptr,
                std::vector<std::int64_t> positions = {});

    // Stores the pictures decoded so far and reads further records, as far ahead as the
    // decoder allows, without waiting for anything and writing no line.
    void Advance();

    // Reads and stores the remaining records, the held-back debug lines first. Throws the
    // first failing record's error once its line is written.
    void Finish();

    // Undoes the load when the caller's own work fails before Finish: the table is
    // cleared and the LoadError is as it was before the first record.
    void Abandon();

    // The most pixel bytes the records read ahead held at once: at most the limit's
    // pictureBytes and one picture more.
    std::int64_t PeakPictureBytesAhead() const { return peakPictureBytesAhead_; }

private:
    bool OverLimit() const;
    void StartNext();    // reads the next record; a failure ends the reading
    void TakeOldest();   // stores the oldest record's picture; a failure ends the load
    void StoreOldest();  // TakeOldest after the record's debug line
    void WriteLines(int upTo);
    // Drops the records read after a failing one and what reading them did to the
    // LoadError.
    void DropStarted();

    TaggedReader& reader_;
    DebugOutput& debug_;
    const int pictureCount_;
    const int version_;
    PictureTable& table_;
    PictureDecoder decoder_;
    ReadAheadLimit limit_;
    const bool loadErrorBefore_;
    const std::vector<std::int64_t> positions_;

    struct Started {
        PendingPicture pending;
        bool loadErrorBefore = false;  // set before the record was read
    };

    std::deque<Started> started_;         // records taken_ + 1 to read_
    std::int64_t bytesAhead_ = 0;         // of the blocks in started_
    std::int64_t pictureBytesAhead_ = 0;  // of the pictures of started_
    std::int64_t peakPictureBytesAhead_ = 0;
    int read_ = 0;   // records read, or failed to read
    int taken_ = 0;  // records whose pictures are stored
    int linesWritten_ = 0;
    std::exception_ptr failure_;  // of record failedAt_, the first failing so far
    int failedAt_ = 0;
    bool loadErrorBeforeFailure_ = false;  // when the failure is a record's reading
};

}  // namespace ambrevo
