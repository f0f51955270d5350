#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "package/tagged_reader.h"
#include "services/file_system.h"
#include "support/content_digest.h"
#include "graphics/bitmap.h"

namespace ambrevo {

class PictureInflater;
class PictureWorkers;
struct InflateJob;

// The largest width and height a picture record may give; anything larger is damaged.
constexpr std::int32_t kMaxPictureSide = 16384;

// The first menu version whose picture records hold zlib-compressed pixels.
constexpr int kFirstCompressedVersion = 7;

// Deflate codes at most 258 bytes in two bits, so n bytes of a zlib stream inflate to at
// most 1032 n bytes: the most pixel bytes a compressed record can fill.
constexpr std::int64_t kMaxInflateRatio = 1032;

// Where a picture record says its picture belongs: pictures[record][set][frame].
// The numbers are as stored and may lie outside the PictureTable.
struct PictureSlot {
    int record = 0;
    int set = 0;
    int frame = 0;
};

// One ImageRecord as read. picture is null when the tag was wrong (slot is then all 0),
// for an external picture (frame -1) and for any other slot outside the PictureTable:
// the model has no room for them.
struct PictureRecord {
    PictureSlot slot;
    std::shared_ptr<Bitmap> picture;
};

// The pictures of the menu on show by their compressed streams, so that the same menu
// loaded again from a rebuilt package (the designer's live reload in the browser) decodes
// only the pictures whose streams changed. Between loads it holds only pictures that the
// menu on show holds too, with their streams (in place where the package lies in memory);
// a load of another menu lets them go before it reads anything. Streams are digested only
// when a load may reuse pictures, so a page that never reloads never digests one.
class PictureReuse {
public:
    // What a picture's stream is to give: its raw size, width and height.
    struct Shape {
        std::uint32_t rawSize = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;

        auto operator<=>(const Shape&) const = default;
    };
    // What a picture is made from: its zlib stream and its shape.
    struct Source {
        BytesInMemory stream;
        Shape shape;
    };

    // The next load is the menu on show again: its pictures may be reused.
    void ReuseForNextLoad() { reuseNext_ = true; }

    // Around one menu load: the pictures kept by the load before are offered to this one
    // only when it was asked for; after it, only what this load kept stays.
    void BeginLoad();
    void EndLoad() { offered_.clear(); }

    // A decoded picture of the load before made from the same stream, or null.
    std::shared_ptr<Bitmap> Find(const Source& source) const;
    // A picture this load decoded or reused, for the next load of the same menu.
    void Keep(Source source, std::shared_ptr<Bitmap> picture);

private:
    struct Key {
        ContentDigest stream;
        Shape shape;

        auto operator<=>(const Key&) const = default;
    };
    static Key KeyOf(const Source& source);

    std::vector<std::pair<Source, std::shared_ptr<Bitmap>>> kept_;  // by this load, or the last
    std::map<Key, std::shared_ptr<Bitmap>> offered_;  // by the load before, during a load
    bool reuseNext_ = false;
};

// A record read whose picture may still be decoding on a worker thread.
struct PendingPicture {
    PictureRecord record;
    std::shared_ptr<InflateJob> job;  // while a worker decodes the picture
    std::int64_t blockBytes = 0;      // the block held for the worker
    std::int64_t pictureBytes = 0;    // the pixels of its picture, decoded or to be decoded
    std::optional<PictureReuse::Source> reuseSource;  // kept for a later load once decoded
};

// How far a menu load may read ahead of the oldest picture it has not yet taken: in
// records, in compressed bytes held for the workers, and in the pixel bytes of the
// pictures those records decode to.
struct ReadAheadLimit {
    std::size_t pictures = 0;
    std::int64_t bytes = 0;
    std::int64_t pictureBytes = 0;
};

// Reads picture records. Keeps the decoders' state and fixed buffers so that
// a menu's records decode one after another without allocating anything but the
// bitmaps themselves; make one per menu load and read every record through it.
class PictureDecoder {
public:
    // reuse, when not null, gives pictures decoded by the load before from the same
    // streams, and keeps this load's for the next.
    explicit PictureDecoder(PictureReuse* reuse = nullptr);
    ~PictureDecoder();
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    // Reads one record at the stream position; version 6 is the raw layout, 7 and above
    // the compressed one. The pixels are decoded straight into the returned bitmap, which
    // is allocated only once its size is known to fit the record's data; a record whose
    // slot lies outside the PictureTable is read past with no bitmap at all, its damage
    // found and reported all the same.
    //  - Wrong tag: LoadError := 1, exactly two bytes consumed, no picture.
    //  - Width or height 0 or below: an empty 0 x 0 picture; the record's data is still
    //    consumed. Above kMaxPictureSide: throws AppError("Error").
    //  - Raw pixels cut short by the end of the stream: LoadError := 1, the rest of the
    //    stream consumed, an empty picture.
    //  - Compressed: a block length L below 4 or beyond the end of the stream, or a zlib
    //    stream that ends before its raw size U, throws AppError("Stream read error");
    //    a damaged zlib stream (or a negative U) throws AppError("Error"). Pixels beyond U
    //    are 0; bytes beyond width * height * 4 are inflated, checked and dropped. A
    //    picture larger than the block could inflate to (kMaxInflateRatio times its zlib
    //    stream) is not made: LoadError := 1, an empty picture, the block still checked.
    PictureRecord ReadPicture(TaggedReader& reader, int version);

    // Reads one record as ReadPicture does, except that a compressed block of at most
    // kHandOffLimit bytes for a picture that is kept is read whole and decoded on a
    // worker thread while the caller reads on, unless the reuse has its picture already. Throws
    // what reading the record throws; FinishPicture gives the picture, or throws what decoding it
    // threw.
    PendingPicture StartPicture(TaggedReader& reader, int version);
    // Waits until the pending picture is decoded, without taking it.
    void AwaitPicture(const PendingPicture& pending);
    // True when FinishPicture would not wait.
    bool IsDone(const PendingPicture& pending);
    PictureRecord FinishPicture(PendingPicture& pending);
    ReadAheadLimit Limit();

private:
    // handOff, when not null, receives a block handed to a worker.
    PictureRecord ReadRecord(TaggedReader& reader, int version, PendingPicture* handOff);
    // Both give null for a picture that is not kept or that is handed off.
    std::shared_ptr<Bitmap> ReadRawPixels(TaggedReader& reader, std::int32_t width,
                                          std::int32_t height, bool kept);
    std::shared_ptr<Bitmap> ReadCompressedPixels(TaggedReader& reader, std::int32_t width,
                                                 std::int32_t height, bool kept,
                                                 PendingPicture* handOff);
    // The picture of a block read whole: one the reuse has, or null with the block handed
    // to a worker.
    std::shared_ptr<Bitmap> HandOff(TaggedReader& reader, std::int64_t zlibLength,
                                    std::uint32_t rawSize, std::int32_t width, std::int32_t height,
                                    PendingPicture& handOff);
    void SkipExternalPicture(TaggedReader& reader);

    PictureReuse* reuse_;
    std::unique_ptr<PictureInflater> inflater_;
    std::unique_ptr<PictureWorkers> workers_;  // with the first block handed off
};

// Reads one record with a decoder of its own (for single records; a menu load should
// keep one PictureDecoder for all of its records).
PictureRecord ReadPicture(TaggedReader& reader, int version);

}  // namespace ambrevo
