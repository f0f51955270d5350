#include "menu/picture_reader.h"

#include <bit>
#include <new>
#include <vector>

#include "menu/picture_inflater.h"
#include "menu/picture_messages.h"
#include "menu/picture_table.h"
#include "support/app_error.h"

namespace ambrevo {

namespace {

// Pixel values are stored little-endian; on a big-endian host turn them round.
void PixelsFromLittleEndian(std::vector<std::uint32_t>& pixels) {
    if constexpr (std::endian::native == std::endian::big) {
        for (auto& p : pixels) {
            p = (p >> 24) | ((p >> 8) & 0x0000FF00u) | ((p << 8) & 0x00FF0000u) | (p << 24);
        }
    }
}

// The pixel bytes of a width x height picture; 0 for an empty one.
std::int64_t PictureBytes(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) return 0;
    return std::int64_t{width} * height * static_cast<std::int64_t>(sizeof(std::uint32_t));
}

// A width x height bitmap, all 0; an empty picture stays 0 x 0. A picture too big for the
// process's memory is reported as such, not as a crash.
std::shared_ptr<Bitmap> NewBitmap(std::int32_t width, std::int32_t height) {
    auto bitmap = std::make_shared<Bitmap>();
    if (width <= 0 || height <= 0) return bitmap;
    try {
        bitmap->pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    } catch (const std::bad_alloc&) {
        throw AppError("Out of memory");
    }
    bitmap->width = width;
    bitmap->height = height;
    return bitmap;
}

std::size_t PixelBytes(const Bitmap& bitmap) {
    return bitmap.pixels.size() * sizeof(std::uint32_t);
}

}  // namespace

PictureDecoder::PictureDecoder() = default;
PictureDecoder::~PictureDecoder() = default;

PictureRecord PictureDecoder::ReadPicture(TaggedReader& reader, int version) {
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
                         : ReadCompressedPixels(reader, width, height, kept);
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
    PixelsFromLittleEndian(bitmap->pixels);
    return bitmap;
}

std::shared_ptr<Bitmap> PictureDecoder::ReadCompressedPixels(TaggedReader& reader,
                                                             std::int32_t width,
                                                             std::int32_t height, bool kept) {
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
    std::shared_ptr<Bitmap> bitmap = kept && fillable ? NewBitmap(width, height) : nullptr;
    if (!inflater_) inflater_ = std::make_unique<PictureInflater>();
    inflater_->Inflate(reader.Stream(), zlibLength, static_cast<std::uint32_t>(rawSize),
                       bitmap ? reinterpret_cast<unsigned char*>(bitmap->pixels.data()) : nullptr,
                       bitmap ? PixelBytes(*bitmap) : 0);
    if (bitmap) {
        PixelsFromLittleEndian(bitmap->pixels);
        return bitmap;
    }
    if (!kept) return nullptr;
    reader.Errors().Set();  // the record declares more picture than it holds
    return std::make_shared<Bitmap>();
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
