#include "package/tagged_reader.h"

#include <gtest/gtest.h>

#include "package/memory_file.h"
#include "support/byte_builder.h"

namespace ambrevo {
namespace {

using testing::ByteBuilder;

class TaggedReaderTest : public ::testing::Test {
protected:
    TaggedReader& Over(const ByteBuilder& bytes) {
        stream_ = std::make_unique<PackageStream>(std::make_unique<MemoryFile>(bytes.Str()));
        reader_ = std::make_unique<TaggedReader>(*stream_, error_);
        return *reader_;
    }
    std::int64_t Position() const { return stream_->Position(); }

    LoadError error_;
    std::unique_ptr<PackageStream> stream_;
    std::unique_ptr<TaggedReader> reader_;
};

TEST_F(TaggedReaderTest, ReadsTheDocumentedEncodings) {
    auto& reader = Over(ByteBuilder()
                            .Bytes({0x01, 0x01, 0, 0, 0, 0x02})
                            .Bytes({0x02, 0x02, 0, 0, 0, 0x0A, 0, 0, 0})
                            .Bytes({0x03, 0x04, 0, 0, 0, 0x0A, 0, 0, 0})
                            .Bytes({0x02, 0x02, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF})
                            .Bytes({0x04, 0x03, 0, 0, 0, 0x61, 0x62, 0x63})
                            .Bytes({0x04, 0, 0, 0, 0})
                            .Bytes({0x01, 0x01, 0, 0, 0, 0xFE}));
    EXPECT_EQ(reader.ReadByte(), 2);
    EXPECT_EQ(reader.ReadInteger(), 10);
    EXPECT_EQ(reader.ReadLong(), 10);
    EXPECT_EQ(reader.ReadInteger(), -1);
    EXPECT_EQ(reader.ReadString(), "abc");
    EXPECT_EQ(reader.ReadString(), "");
    EXPECT_EQ(reader.ReadByte(), 254);
    EXPECT_FALSE(error_.IsSet());
    EXPECT_EQ(stream_->Remaining(), 0);
}

TEST_F(TaggedReaderTest, SizeFieldOfNumbersIsIgnored) {
    auto& reader = Over(ByteBuilder()
                            .Bytes({0x01})
                            .Le32(-77)
                            .Bytes({9})
                            .Bytes({0x02})
                            .Le32(123456)
                            .Le32(-5)
                            .Bytes({0x03})
                            .Le32(0)
                            .Le32(0x7FFFFFFF));
    EXPECT_EQ(reader.ReadByte(), 9);
    EXPECT_EQ(reader.ReadInteger(), -5);
    EXPECT_EQ(reader.ReadLong(), 0x7FFFFFFF);
    EXPECT_FALSE(error_.IsSet());
}

TEST_F(TaggedReaderTest, StringWithLengthZeroOrBelow_IsEmptyAndConsumesFiveBytes) {
    for (std::int32_t length : {0, -1, -2147483647 - 1}) {
        auto& reader = Over(ByteBuilder().Bytes({0x04}).Le32(length).Text("rest"));
        EXPECT_EQ(reader.ReadString(), "") << length;
        EXPECT_EQ(Position(), 5) << length;
        EXPECT_FALSE(error_.IsSet());
    }
}

TEST_F(TaggedReaderTest, WrongTag_ConsumesOnlyTheTagAndLeavesTheStreamOutOfStep) {
    // A long where an integer is expected, then the integer that was meant.
    auto& reader = Over(ByteBuilder()
                            .Bytes({0x03, 0x04, 0, 0, 0, 0x0A, 0, 0, 0})
                            .Bytes({0x02, 0x02, 0, 0, 0, 0x07, 0, 0, 0}));
    EXPECT_EQ(reader.ReadInteger(), 0);
    EXPECT_TRUE(error_.IsSet());
    EXPECT_EQ(Position(), 1);
    // The next read starts at the old size field (04) and fails as well.
    EXPECT_EQ(reader.ReadInteger(), 0);
    EXPECT_EQ(Position(), 2);
}

TEST_F(TaggedReaderTest, EachReaderAcceptsOnlyItsOwnTag) {
    const ByteBuilder integer = ByteBuilder().Bytes({0x02, 0x02, 0, 0, 0, 1, 0, 0, 0});
    const ByteBuilder longValue = ByteBuilder().Bytes({0x03, 0x04, 0, 0, 0, 1, 0, 0, 0});
    Over(integer).ReadLong();
    EXPECT_TRUE(error_.IsSet());
    EXPECT_EQ(Position(), 1);

    error_.Clear();
    EXPECT_EQ(Over(longValue).ReadString(), "");
    EXPECT_TRUE(error_.IsSet());

    error_.Clear();
    EXPECT_EQ(Over(integer).ReadByte(), 0);
    EXPECT_TRUE(error_.IsSet());
}

TEST_F(TaggedReaderTest, LoadErrorStaysSetAfterLaterGoodReads) {
    auto& reader = Over(ByteBuilder().Bytes({0x09}).Bytes({0x02, 0x02, 0, 0, 0, 3, 0, 0, 0}));
    reader.ReadInteger();
    EXPECT_EQ(reader.ReadInteger(), 3);
    EXPECT_TRUE(error_.IsSet());
}

TEST_F(TaggedReaderTest, ValueCutShortByTheEnd_FailsWithTheNeutralValue) {
    EXPECT_EQ(Over(ByteBuilder().Bytes({0x02, 0x02, 0, 0, 0, 0x0A, 0})).ReadInteger(), 0);
    EXPECT_TRUE(error_.IsSet());

    error_.Clear();
    EXPECT_EQ(Over(ByteBuilder().Bytes({0x01, 0x01})).ReadByte(), 0);
    EXPECT_TRUE(error_.IsSet());

    error_.Clear();
    EXPECT_EQ(Over(ByteBuilder()).ReadLong(), 0);
    EXPECT_TRUE(error_.IsSet());
}

TEST_F(TaggedReaderTest, StringLongerThanTheStream_FailsWithoutAllocatingIt) {
    auto& reader = Over(ByteBuilder().Bytes({0x04}).Le32(0x7FFFFFFF).Text("abc"));
    EXPECT_EQ(reader.ReadString(), "");
    EXPECT_TRUE(error_.IsSet());
    EXPECT_EQ(stream_->Remaining(), 0);

    error_.Clear();
    EXPECT_EQ(Over(ByteBuilder().Bytes({0x04}).Le32(4).Text("abc")).ReadString(), "");
    EXPECT_TRUE(error_.IsSet());
}

TEST_F(TaggedReaderTest, RawNumbersAreLittleEndianAndSigned) {
    auto& reader = Over(ByteBuilder().Bytes({0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12, 0x80}));
    EXPECT_EQ(reader.RawInt16(), -2);
    EXPECT_EQ(reader.RawInt32(), 0x12345678);
    EXPECT_EQ(reader.RawByte(), 0x80);
    EXPECT_FALSE(error_.IsSet());
    EXPECT_EQ(reader.RawInt16(), 0);
    EXPECT_TRUE(error_.IsSet());
}

}  // namespace
}  // namespace ambrevo
