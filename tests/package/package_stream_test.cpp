#include "package/package_stream.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes/file_on_disc.h"
#include "package/memory_file.h"

namespace ambrevo {
namespace {

std::string Counting(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7);
    return bytes;
}

std::unique_ptr<ReadOnlyFile> OnDisc(const std::string& bytes) {
    return std::make_unique<testing::FileOnDisc>(bytes);
}
std::unique_ptr<ReadOnlyFile> InMemory(const std::string& bytes) {
    return std::make_unique<MemoryFile>(bytes);
}

TEST(PackageStreamTest, Read_DeliversTheSameBytesFromADiscAndFromMemory) {
    const std::string file = Counting(200 * 1024);
    for (const auto open : {OnDisc, InMemory}) {
        PackageStream stream(open(file));
        std::string seen;
        // From a disc, small reads go through the window and large ones straight through.
        for (std::size_t chunk : {1u, 3u, 70000u, 5u, 100000u, 4u}) {
            std::string part(chunk, '\0');
            ASSERT_TRUE(stream.Read(part.data(), chunk));
            seen += part;
        }
        EXPECT_EQ(seen, file.substr(0, seen.size()));
        EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(seen.size()));

        ASSERT_TRUE(stream.Seek(10));
        char byte = 0;
        ASSERT_TRUE(stream.Read(&byte, 1));
        EXPECT_EQ(byte, file[10]);
    }
}

TEST(PackageStreamTest, TakeInMemory_GivesBytesInPlaceThatOutliveTheStream) {
    const std::string file = Counting(1000);
    std::optional<BytesInMemory> taken;
    {
        PackageStream stream(InMemory(file));
        ASSERT_TRUE(stream.Skip(10));
        taken = stream.TakeInMemory(100);
        ASSERT_TRUE(taken);
        EXPECT_EQ(stream.Position(), 110);
        char next = 0;
        ASSERT_TRUE(stream.Read(&next, 1));
        EXPECT_EQ(next, file[110]) << "a read goes on after the bytes taken";

        EXPECT_FALSE(stream.TakeInMemory(890)) << "one byte more than remains";
        EXPECT_EQ(stream.Position(), 111);
        EXPECT_TRUE(stream.TakeInMemory(889));
    }
    EXPECT_EQ(std::string(taken->bytes.begin(), taken->bytes.end()), file.substr(10, 100));

    PackageStream fromDisc(OnDisc(file));
    EXPECT_FALSE(fromDisc.TakeInMemory(1));
    EXPECT_EQ(fromDisc.Position(), 0);
}

TEST(PackageStreamTest, ShortRead_ZeroFillsAndStopsAtTheEnd) {
    for (const auto open : {OnDisc, InMemory}) {
        PackageStream stream(open("abc"));
        ASSERT_TRUE(stream.Seek(1));
        char out[5] = {'x', 'x', 'x', 'x', 'x'};
        EXPECT_FALSE(stream.Read(out, sizeof out));
        EXPECT_EQ(std::string(out, 5), std::string("bc\0\0\0", 5));
        EXPECT_EQ(stream.Position(), 3);
        EXPECT_FALSE(stream.Read(out, 1));
    }
}

TEST(PackageStreamTest, SeekAndSkip_RefuseToLeaveTheFile) {
    PackageStream stream(std::make_unique<MemoryFile>(std::string("abcd")));
    EXPECT_FALSE(stream.Seek(-1));
    EXPECT_FALSE(stream.Seek(5));
    EXPECT_TRUE(stream.Seek(4));
    EXPECT_TRUE(stream.Seek(0));
    EXPECT_FALSE(stream.Skip(-1));
    EXPECT_TRUE(stream.Skip(3));
    EXPECT_FALSE(stream.Skip(2));
    EXPECT_EQ(stream.Position(), 4);
}

}  // namespace
}  // namespace ambrevo
