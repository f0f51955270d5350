#include "menu/picture_reader.h"

#include <new>
#include <optional>
#include <utility>

#include "menu/picture_inflater.h"
#include "menu/picture_messages.h"
#include "menu/picture_pixels.h"
#include "menu/picture_table.h"
#include "menu/picture_workers.h"
#include "support/app_error.h"

namespace ambrevo {

namespace {

// The pixel bytes of a width x height picture; 0 for an empty one.
std::int64_t PictureBytes(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) return 0;
    return std::int64_t{width} * height * static_cast<std::int64_t>(sizeof(std::uint32_t));
}

}  // namespace

PictureReuse::Key PictureReuse::KeyOf(const Source& source) {
    return {DigestOf(source.stream.bytes), source.shape};
}

void PictureReuse::BeginLoad() {
    offered_.clear();
    if (reuseNext_) {
        for (auto& [source, picture] : kept_) offered_.insert_or_assign(KeyOf(source), picture);
    }
    kept_.clear();
    reuseNext_ = false;
}

std::shared_ptr<Bitmap> PictureReuse::Find(const Source& source) const {
    if (offered_.empty()) return nullptr;
    const auto found = offered_.find(KeyOf(source));
    return found == offered_.end() ? nullptr : found->second;
}

void PictureReuse::Keep(Source source, std::shared_ptr<Bitmap> picture) {
    kept_.emplace_back(std::move(source), std::move(picture));
}

PictureDecoder::PictureDecoder(PictureReuse* reuse) : reuse_(reuse) {}
PictureDecoder::~PictureDecoder() = default;

PictureRecord PictureDecoder::ReadPicture(TaggedReader& reader, int version) {
    return ReadRecord(reader, version, nullptr);
}

PendingPicture PictureDecoder::StartPicture(TaggedReader& reader, int version) {
    PendingPicture pending;
    pending.record = ReadRecord(reader, version, &pending);
    const Bitmap* picture = pending.record.picture.get();
    pending.pictureBytes = pending.job ? PictureBytes(pending.job->width, pending.job->height)
                           : picture   ? PictureBytes(picture->width, picture->height)
                                       : 0;
    return pending;
}

void PictureDecoder::AwaitPicture(const PendingPicture& pending) {
    if (pending.job) workers_->Wait(*pending.job);
}

bool PictureDecoder::IsDone(const PendingPicture& pending) {
    return !pending.job || workers_->IsDone(*pending.job);
}

PictureRecord PictureDecoder::FinishPicture(PendingPicture& pending) {
    if (pending.job) {
        const std::shared_ptr<InflateJob> job = std::move(pending.job);
        workers_->Wait(*job);
        if (job->error) std::rethrow_exception(job->error);
        pending.record.picture = std::move(job->picture);
        if (reuse_ && pending.reuseSource) {
            reuse_->Keep(std::move(*pending.reuseSource), pending.record.picture);
        }
    }
    return std::move(pending.record);
}

ReadAheadLimit PictureDecoder::Limit() {
    if (!workers_) workers_ = std::make_unique<PictureWorkers>();
    return {workers_->MaxPicturesAhead(), workers_->MaxBytesAhead(),
            workers_->MaxPictureBytesAhead()};
}

PictureRecord PictureDecoder::ReadRecord(TaggedReader& reader, int version,
                                         PendingPicture* handOff) {
    PictureRecord result;
    if (!reader.ExpectTag(ValueTag::Picture)) {
        reader.RawByte();  // a wrong tag consumes exactly two bytes
        return result;
    }
    reader.RawByte();  // spare
    result.slot.record = reader.RawByte();
    result.slot.set = reader.RawByte();
    result.slot.frame = reader.RawInt32();
    if (result.slot.frame == -1) {
        SkipExternalPicture(reader);
        return result;
    }

    const std::int32_t width = reader.RawInt32();
    const std::int32_t height = reader.RawInt32();
    if (width > kMaxPictureSide || height > kMaxPictureSide) throw AppError(kDamagedPictureMessage);

    const bool kept = PictureTable::InRange(result.slot.record, result.slot.set, result.slot.frame);
    result.picture = version < kFirstCompressedVersion
                         ? ReadRawPixels(reader, width, height, kept)
                         : ReadCompressedPixels(reader, width, height, kept, handOff);
    return result;
}

std::shared_ptr<Bitmap> PictureDecoder::ReadRawPixels(TaggedReader& reader, std::int32_t width,
                                                      std::int32_t height, bool kept) {
    // A bitmap only for pixels that are all there: a record cut short by the end of the
    // stream could otherwise ask for a gigabyte of zeros.
    const std::int64_t size = PictureBytes(width, height);
    if (!kept || size > reader.Stream().Remaining()) {
        if (!reader.Stream().Skip(size)) reader.Errors().Set();
        return kept ? std::make_shared<Bitmap>() : nullptr;
    }
    auto bitmap = NewBitmap(width, height);
    if (bitmap->pixels.empty()) return bitmap;
    reader.RawBytes(bitmap->pixels.data(), PixelBytes(*bitmap));  // one bulk read
    PixelsFromLittleEndian(*bitmap);
    return bitmap;
}

std::shared_ptr<Bitmap> PictureDecoder::ReadCompressedPixels(TaggedReader& reader,
                                                             std::int32_t width,
                                                             std::int32_t height, bool kept,
                                                             PendingPicture* handOff) {
    // The block length is checked against the stream before anything is allocated.
    const std::int32_t blockLength = reader.RawInt32();
    if (blockLength < 4 || blockLength > reader.Stream().Remaining()) {
        throw AppError(kShortPictureMessage);
    }
    const std::int32_t rawSize = reader.RawInt32();
    if (rawSize < 0) throw AppError(kDamagedPictureMessage);

    // A bitmap only for a picture the block can fill; otherwise the block is still
    // inflated into the fixed buffer, so its damage is found as for any other.
    const std::int64_t zlibLength = blockLength - 4;
    const bool fillable = PictureBytes(width, height) <= kMaxInflateRatio * zlibLength;
    if (handOff && kept && fillable && zlibLength <= kHandOffLimit) {
        return HandOff(reader, zlibLength, static_cast<std::uint32_t>(rawSize), width, height,
                       *handOff);
    }
    std::shared_ptr<Bitmap> bitmap = kept && fillable ? NewBitmap(width, height) : nullptr;
    if (!inflater_) inflater_ = std::make_unique<PictureInflater>();
    inflater_->Inflate(reader.Stream(), zlibLength, static_cast<std::uint32_t>(rawSize),
                       bitmap ? PixelData(*bitmap) : nullptr, bitmap ? PixelBytes(*bitmap) : 0);
    if (bitmap) {
        PixelsFromLittleEndian(*bitmap);
        return bitmap;
    }
    if (!kept) return nullptr;
    reader.Errors().Set();  // the record declares more picture than it holds
    return std::make_shared<Bitmap>();
}

std::shared_ptr<Bitmap> PictureDecoder::HandOff(TaggedReader& reader, std::int64_t zlibLength,
                                                std::uint32_t rawSize, std::int32_t width,
                                                std::int32_t height, PendingPicture& handOff) {
    auto job = std::make_shared<InflateJob>();
    const auto length = static_cast<std::size_t>(zlibLength);
    if (std::optional<BytesInMemory> inPlace = reader.Stream().TakeInMemory(length)) {
        job->block = std::move(*inPlace);
    } else {
        std::shared_ptr<unsigned char[]> copy;
        try {
            copy.reset(new unsigned char[length]);  // not zeroed: the block is read over it
        } catch (const std::bad_alloc&) {
            throw AppError("Out of memory");
        }
        if (!reader.Stream().Read(copy.get(), length)) throw AppError(kShortPictureMessage);
        job->block = {copy, std::span<const unsigned char>(copy.get(), length)};
    }
    if (reuse_) {
        // The same stream decodes to the same picture, which the load before checked.
        PictureReuse::Source source{job->block, {rawSize, width, height}};
        if (std::shared_ptr<Bitmap> reused = reuse_->Find(source)) {
            reuse_->Keep(std::move(source), reused);
            return reused;
        }
        handOff.reuseSource = std::move(source);
    }
    job->rawSize = rawSize;
    job->width = width;
    job->height = height;
    if (!workers_) workers_ = std::make_unique<PictureWorkers>();
    workers_->Submit(job);
    handOff.job = std::move(job);
    handOff.blockBytes = zlibLength;
    return nullptr;
}

void PictureDecoder::SkipExternalPicture(TaggedReader& reader) {
    // Three 32-bit values, the second the length of the file name that follows.
    reader.RawInt32();
    const std::int32_t nameLength = reader.RawInt32();
    reader.RawInt32();
    if (nameLength > 0 && !reader.Stream().Skip(nameLength)) reader.Errors().Set();
}

PictureRecord ReadPicture(TaggedReader& reader, int version) {
    PictureDecoder decoder;
    return decoder.ReadPicture(reader, version);
}

}  // namespace ambrevo
