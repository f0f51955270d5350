#include "pack/writer/package_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "opened_package.h"
#include "pack/common/pack_error.h"
#include "support/byte_builder.h"

namespace ambrevo::pack {
namespace {

using ambrevo::testing::AsBytes;
using ambrevo::testing::ByteBuilder;

const std::vector<std::uint8_t> kProgram = AsBytes("MZprog");

TEST(PackageWriterTest, WritesProgramDirectoryDataAndTrailerByteForByte) {
    const std::vector<PackageEntryData> entries = {{"main.mnu", AsBytes("AB")},
                                                   {"help.mnu", AsBytes("CDE")}};
    ByteBuilder expected;
    expected.Text("MZprog").Text("FPAK").Bytes({2, 0, 0});
    expected.Bytes({4}).Le32(3).Text("Hdr").Bytes({1}).Le32(1).Bytes({9}).Bytes({2});
    const std::int32_t firstData = 6 + 4 + 3 + 8 + 6 + 1 + 2 * 260;
    expected.Text("main.mnu").Fill(248, ' ').Le32(firstData + 1);
    expected.Text("help.mnu").Fill(248, ' ').Le32(firstData + 2 + 1);
    expected.Text("ABCDE").Fill(3, '\0').Le32(7);  // 560 bytes: a multiple of 8

    const std::vector<std::uint8_t> file = WritePackage(kProgram, entries, {"Hdr", 9});
    EXPECT_EQ(std::string(file.begin(), file.end()), expected.Str());
}

TEST(PackageWriterTest, PlayerReaderFindsEveryEntry) {
    std::vector<PackageEntryData> entries;
    for (int n = 0; n < 100; ++n) {
        entries.push_back({"menu" + std::to_string(n) + ".mnu", AsBytes(std::to_string(n))});
    }
    testing::OpenedPackage opened(WritePackage(kProgram, entries));
    const MenuPackage& package = opened.package;

    ASSERT_FALSE(opened.loadError.IsSet());
    EXPECT_TRUE(opened.dialogs.shown.empty());
    std::int32_t position = 6 + 4 + 3 + 5 + 6 + 1 + 100 * 260;
    for (int n = 0; n < 100; ++n) {
        EXPECT_EQ(package.Directory()[n].name, entries[n].name);
        EXPECT_EQ(package.Directory()[n].dataOffset, position);
        position += static_cast<std::int32_t>(entries[n].data.size());
    }
}

TEST(PackageWriterTest, EndsOnAnEightByteBoundaryWithZerosBeforeTheTrailer) {
    const std::size_t unpadded = kProgram.size() + 19 + 260 + 4;
    for (std::size_t dataSize = 0; dataSize < 9; ++dataSize) {
        const std::vector<PackageEntryData> entries = {
            {"m.mnu", std::vector<std::uint8_t>(dataSize, 'x')}};
        const std::vector<std::uint8_t> file = WritePackage(kProgram, entries);
        ASSERT_EQ(file.size() % 8, 0u) << dataSize;
        const std::size_t padding = file.size() - unpadded - dataSize;
        EXPECT_LT(padding, 8u) << dataSize;
        const std::string tail(file.end() - 4 - static_cast<std::ptrdiff_t>(padding), file.end());
        EXPECT_EQ(tail, std::string(padding, '\0') + ByteBuilder().Le32(7).Str()) << dataSize;
    }
}

TEST(PackageWriterTest, RefusesWhatThePackageCannotHold) {
    const std::vector<PackageEntryData> none;
    EXPECT_THROW(WritePackage({}, none), PackError);
    const std::vector<PackageEntryData> longName = {{std::string(257, 'a'), {}}};
    EXPECT_THROW(WritePackage(kProgram, longName), PackError);
    const std::vector<PackageEntryData> fullName = {{std::string(256, 'a'), {}}};
    EXPECT_EQ(WritePackage(kProgram, fullName).size(), kProgram.size() + 19 + 260 + 7 + 4);
    const std::vector<PackageEntryData> tooMany(256);
    EXPECT_THROW(WritePackage(kProgram, tooMany), PackError);
}

}  // namespace
}  // namespace ambrevo::pack
