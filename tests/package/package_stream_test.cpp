#include "package/package_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "package/memory_file.h"

namespace ambrevo {
namespace {

std::string Counting(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7);
    return bytes;
}

TEST(PackageStreamTest, Read_DeliversSameBytesThroughBufferAndDirectPaths) {
    const std::string file = Counting(200 * 1024);
    PackageStream stream(std::make_unique<MemoryFile>(file));
    std::string seen;
    // Small reads go through the window, large ones straight through; mix both.
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

TEST(PackageStreamTest, ShortRead_ZeroFillsAndStopsAtTheEnd) {
    PackageStream stream(std::make_unique<MemoryFile>(std::string("abc")));
    ASSERT_TRUE(stream.Seek(1));
    char out[5] = {'x', 'x', 'x', 'x', 'x'};
    EXPECT_FALSE(stream.Read(out, sizeof out));
    EXPECT_EQ(std::string(out, 5), std::string("bc\0\0\0", 5));
    EXPECT_EQ(stream.Position(), 3);
    EXPECT_FALSE(stream.Read(out, 1));
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
