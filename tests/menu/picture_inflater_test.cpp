#include "menu/picture_inflater.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu/zlib_block_inflater.h"
#include "menu_test_support.h"
#include "support/app_error.h"

namespace ambrevo {
namespace {

using testing::PixelBytes;
using testing::PixelPattern;
using testing::StreamUnderTest;
using testing::Zlib;

// What decoding one block gave: the error text, or the output buffer and the stream left.
struct Outcome {
    std::string error;
    std::string out;
    std::int64_t remaining = 0;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Outcome& o) {
    return os << "{error \"" << o.error << "\", " << o.out.size() << " bytes out, " << o.remaining
              << " left}";
}

// Decodes block (followed by 5 more bytes of stream) into `capacity` bytes of room.
template <typename Decode>
Outcome Run(const std::string& block, std::uint32_t rawSize, std::size_t capacity, Decode decode) {
    StreamUnderTest in(block + "after");
    std::string out(capacity, '\0');
    Outcome outcome;
    try {
        decode(in.Stream(), static_cast<std::int64_t>(block.size()), rawSize,
               capacity > 0 ? reinterpret_cast<unsigned char*>(out.data()) : nullptr, capacity);
        outcome.out = out;
        outcome.remaining = in.Stream().Remaining();
    } catch (const AppError& error) {
        outcome.error = error.what();
    }
    return outcome;
}

Outcome WithPictureInflater(PictureInflater& inflater, const std::string& block,
                            std::uint32_t rawSize, std::size_t capacity) {
    return Run(block, rawSize, capacity, [&](auto&&... args) { inflater.Inflate(args...); });
}

Outcome WithPictureInflater(const std::string& block, std::uint32_t rawSize, std::size_t capacity) {
    PictureInflater inflater;
    return WithPictureInflater(inflater, block, rawSize, capacity);
}

// zlib alone, reading the block from the stream a part at a time.
Outcome WithZlibOnly(const std::string& block, std::uint32_t rawSize, std::size_t capacity) {
    ZlibBlockInflater zlib;
    std::vector<unsigned char> input(1000);
    return Run(block, rawSize, capacity,
               [&](PackageStream& stream, std::int64_t size, std::uint32_t raw, unsigned char* out,
                   std::size_t room) { zlib.Inflate(input, 0, &stream, size, raw, out, room); });
}

const std::string kRaw = PixelBytes(PixelPattern(64));  // 256 bytes
const std::string kStream = Zlib(kRaw);

std::string Changed(std::string stream, std::size_t at, int bits) {
    stream[at] = static_cast<char>(stream[at] ^ bits);
    return stream;
}

TEST(PictureInflaterTest, GivesWhatZlibGives_ForWholeShortLongAndDamagedStreams) {
    const std::string okay;
    const std::string shortStream = "Stream read error";
    const std::string damaged = "Error";
    const std::string bigRaw = PixelBytes(PixelPattern(50'000, 9));  // beyond one buffer
    const struct {
        const char* what;
        std::string block;
        std::uint32_t rawSize;
        std::size_t capacity;
        std::string error;
    } cases[] = {
        {"exact", kStream, 256, 256, okay},
        {"room beyond U stays 0", kStream, 256, 300, okay},
        {"U below the output", kStream, 200, 256, okay},
        {"U beyond the room, rest dropped", kStream, 256, 100, okay},
        {"no room at all", kStream, 256, 0, okay},
        {"U = 0", kStream, 0, 256, okay},
        {"stored", Zlib(kRaw, 0), 256, 256, okay},
        {"fastest level", Zlib(kRaw, 1), 256, 256, okay},
        {"default level", Zlib(kRaw, 6), 256, 256, okay},
        {"junk after the stream", kStream + "junk", 256, 256, okay},
        {"Adler-32 cut off", kStream.substr(0, kStream.size() - 4), 256, 256, okay},
        {"larger than the whole-stream buffer", Zlib(bigRaw, 1),
         static_cast<std::uint32_t>(bigRaw.size()), bigRaw.size(), okay},
        {"ends before U", kStream, 257, 300, shortStream},
        {"ends before U, U beyond the room", kStream, 300, 100, shortStream},
        {"cut inside the data", kStream.substr(0, kStream.size() - 6), 256, 256, shortStream},
        {"no stream", "", 256, 256, shortStream},
        {"no stream, U = 0", "", 0, 256, okay},
        {"not deflate", Changed(kStream, 0, 0x0F), 256, 256, damaged},
        {"header check", Changed(kStream, 1, 0x01), 256, 256, damaged},
        {"preset dictionary", std::string("\x78\xBB\x00\x00\x00\x01", 6), 256, 256, damaged},
        {"invalid block type", std::string("\x78\x9C\xFF\xFF\xFF\xFF", 6), 256, 256, damaged},
        {"Adler-32 wrong", Changed(kStream, kStream.size() - 1, 0x01), 256, 256, damaged},
        {"Adler-32 wrong, U beyond the room", Changed(kStream, kStream.size() - 1, 0x01), 256, 100,
         damaged},
        {"damage in a big stream", Changed(Zlib(bigRaw, 1), 5000, 0xFF),
         static_cast<std::uint32_t>(bigRaw.size()), bigRaw.size(), damaged},
    };
    for (const auto& c : cases) {
        const Outcome fast = WithPictureInflater(c.block, c.rawSize, c.capacity);
        EXPECT_EQ(fast, WithZlibOnly(c.block, c.rawSize, c.capacity)) << c.what;
        EXPECT_EQ(fast.error, c.error) << c.what;
        if (c.error.empty()) {
            EXPECT_EQ(fast.remaining, 5) << c.what;
        }
    }
}

TEST(PictureInflaterTest, OutputIsTheRawBytes_UpToUAndTheRoom) {
    const Outcome exact = WithPictureInflater(kStream, 256, 300);
    EXPECT_EQ(exact.out, kRaw + std::string(44, '\0'));
    EXPECT_EQ(WithPictureInflater(kStream, 200, 256).out.substr(0, 200), kRaw.substr(0, 200));
    EXPECT_EQ(WithPictureInflater(kStream, 256, 100).out, kRaw.substr(0, 100));
}

// Every single-byte change of a stream, through both decoders: the same outcome each time.
TEST(PictureInflaterTest, EveryByteChanged_GivesWhatZlibGives) {
    for (std::size_t at = 0; at < kStream.size(); ++at) {
        for (int bits : {0x01, 0x10, 0x80, 0xFF}) {
            const std::string block = Changed(kStream, at, bits);
            EXPECT_EQ(WithPictureInflater(block, 256, 256), WithZlibOnly(block, 256, 256))
                << "byte " << at << " ^ " << bits;
        }
    }
}

TEST(PictureInflaterTest, OneInflater_DecodesGoodBlocksAfterDamagedOnes) {
    PictureInflater inflater;
    const std::string damaged = Changed(kStream, kStream.size() - 1, 0x01);
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(WithPictureInflater(inflater, damaged, 256, 256).error, "Error");
        EXPECT_EQ(WithPictureInflater(inflater, kStream, 257, 300).error, "Stream read error");
        EXPECT_EQ(WithPictureInflater(inflater, kStream, 256, 256).out, kRaw);
        EXPECT_EQ(WithPictureInflater(inflater, kStream, 256, 100).out, kRaw.substr(0, 100));
    }
}

}  // namespace
}  // namespace ambrevo
