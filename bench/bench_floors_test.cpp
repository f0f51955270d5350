#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "floor_line.h"
#include "heavy_menu.h"
#include "pack/writer/menu_body_writer.h"
#include "pack/writer/package_writer.h"
#include "picture_streams.h"

namespace ambrevo::bench {
namespace {

// A program of a 4 KB player and one menu of three pictures: 64 x 32, 16 x 16 and 32 x 8.
std::vector<unsigned char> ProgramWithPictures(int version) {
    MenuDefinition menu;
    menu.title = "Floors";
    menu.pictures.StorePicture(0, 0, 0, MakePicture(64, 32, 1));
    menu.items.emplace_back();
    menu.pictures.StorePicture(1, 0, 0, MakePicture(16, 16, 2));
    menu.pictures.StorePicture(1, 1, 3, MakePicture(32, 8, 3));
    const std::vector<pack::PackageEntryData> entries{
        {"a.mnu", pack::WriteMenuBody(menu, version)}};
    const auto file = pack::WritePackage(std::vector<std::uint8_t>(4096, 0x90), entries);
    return {file.begin(), file.end()};
}

std::vector<unsigned char> Program() { return ProgramWithPictures(pack::kLatestMenuVersion); }

std::vector<std::uint32_t> RawSizes(const std::vector<PictureStream>& streams) {
    std::vector<std::uint32_t> sizes;
    for (const PictureStream& stream : streams) sizes.push_back(stream.rawSize);
    return sizes;
}

TEST(FindPictureStreams, TakesOnlyRecordsWhoseStreamsInflateToTheirRawSize) {
    const std::vector<PictureStream> whole = FindPictureStreams(Program());
    ASSERT_EQ(whole.size(), 3u);
    const PictureStream second = whole[1];
    struct Case {
        const char* name;
        std::function<std::vector<unsigned char>()> bytes;
        std::vector<std::uint32_t> rawSizes;
    };
    const std::vector<Case> cases = {
        {"every compressed picture, in file order",
         Program,
         {64 * 32 * 4, 16 * 16 * 4, 32 * 8 * 4}},
        {"raw pixels hold no stream",
         [] { return ProgramWithPictures(pack::kRawPicturesVersion); },
         {}},
        {"a damaged stream is passed over",
         [&] {
             auto bytes = Program();
             bytes[second.offset + second.length / 2] ^= 0xFF;
             bytes[second.offset + second.length - 1] ^= 0xFF;  // its Adler-32 too
             return bytes;
         },
         {64 * 32 * 4, 32 * 8 * 4}},
        {"a record cut off by the end of the file",
         [&] {
             auto bytes = Program();
             bytes.resize(whole[2].offset + whole[2].length - 1);
             return bytes;
         },
         {64 * 32 * 4, 16 * 16 * 4}},
        {"a header whose stream is not there",
         [] {
             std::vector<unsigned char> bytes = {5, 0, 1, 0, 0, 0, 0, 0, 2, 0, 0,    0,    1, 0,
                                                 0, 0, 8, 0, 0, 0, 8, 0, 0, 0, 0x78, 0xDA, 1, 2};
             return bytes;
         },
         {}},
        {"nothing at all", [] { return std::vector<unsigned char>{}; }, {}},
        {"fewer bytes than a header", [] { return std::vector<unsigned char>(23, 5); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RawSizes(FindPictureStreams(c.bytes())), c.rawSizes);
    }
}

TEST(InflateOnThreads, DecodesEveryStreamOnAnyNumberOfThreadsAndReportsAFailure) {
    const std::vector<unsigned char> bytes = Program();
    const std::vector<PictureStream> streams = FindPictureStreams(bytes);
    ASSERT_EQ(streams.size(), 3u);
    std::vector<PictureStream> wrongSize = streams;
    wrongSize[2].rawSize -= 4;
    std::vector<PictureStream> cutShort = streams;
    cutShort[0].length -= 1;
    for (unsigned threads : {1u, 2u, 5u}) {
        SCOPED_TRACE(threads);
        EXPECT_TRUE(InflateOnThreads(bytes, streams, threads));
        EXPECT_FALSE(InflateOnThreads(bytes, wrongSize, threads));
        EXPECT_FALSE(InflateOnThreads(bytes, cutShort, threads));
    }
}

TEST(AgainstFloor, ShowsBothFiguresAndTheirRatio) {
    struct Case {
        double value;
        double floor;
        const char* unit;
        const char* line;
    };
    const Case cases[] = {
        {95.31, 41.0, "ms", "load 95.3 ms, floor 41.0 ms, 2.32x"},
        {1234.4, 617.2, "ms", "load 1234 ms, floor 617 ms, 2.00x"},
        {0.1234, 0.05, "us", "load 0.123 us, floor 0.050 us, 2.47x"},
        {3.0, 0.0, "ms", "load 3.00 ms, floor 0.000 ms, no ratio"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AgainstFloor("load", c.value, c.floor, c.unit), c.line);
    }
}

}  // namespace
}  // namespace ambrevo::bench
