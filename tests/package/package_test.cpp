#include "package/package.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "support/app_error.h"
#include "support/byte_builder.h"
#include "support/pe_image.h"

namespace ambrevo {
namespace {

using testing::ByteBuilder;
using testing::FakeDialogs;
using testing::FakeFileSystem;
using Shown = FakeDialogs::Shown;

const std::string kProgram = "MZ-the-program-itself";
constexpr const char* kFolder = "E:\\disc\\";
constexpr const char* kExe = "setup.exe";

struct Entry {
    std::string storedName;  // as stored, before padding with spaces
    std::string data;
};

// A program file with a package laid out byte by byte as documented.
ByteBuilder PackageFile(const std::vector<Entry>& entries, int countByte = -1,
                        const std::string& program = kProgram) {
    ByteBuilder file;
    file.Text(program);
    const auto packageStart = static_cast<std::int32_t>(file.Size());
    file.Text("FPAK").Bytes({2, 0, 0});
    file.Bytes({0x04}).Le32(5).Text("Pack1");
    file.Bytes({0x01, 0x01, 0, 0, 0, 0x07});
    file.Bytes({countByte >= 0 ? countByte : static_cast<int>(entries.size())});
    auto dataPosition =
        static_cast<std::int32_t>(file.Size() + entries.size() * kDirectoryEntrySize);
    for (const Entry& entry : entries) {
        file.Text(entry.storedName).Fill(kDirectoryNameSize - entry.storedName.size(), ' ');
        file.Le32(dataPosition + 1);
        dataPosition += static_cast<std::int32_t>(entry.data.size());
    }
    for (const Entry& entry : entries) file.Text(entry.data);
    file.Le32(packageStart + 1);
    return file;
}

class MenuPackageTest : public ::testing::Test {
protected:
    MenuPackage& Open(const std::string& fileBytes) {
        files_.AddFile(std::string(kFolder) + kExe, fileBytes);
        package_.OpenPackage(kExe);
        return package_;
    }
    std::string FileWithTrailer(std::int32_t trailer) {
        return ByteBuilder().Text(kProgram).Text("FPAK....").Le32(trailer).Str();
    }
    std::string NameAtStream(MenuPackage& package, std::size_t length) {
        std::string bytes(length, '\0');
        package.Reader().RawBytes(bytes.data(), length);
        return bytes;
    }

    FakeFileSystem files_;
    FakeDialogs dialogs_;
    ProgramInfo program_{kFolder, kExe, "Ambrevo"};
    LoadError error_;
    MenuPackage package_{files_, dialogs_, program_, error_};
};

TEST_F(MenuPackageTest, OpenPackage_ReadsTheDirectoryWithTrimmedLowerCaseNames) {
    const auto file = PackageFile(
        {{"  Main.MNU", "main-data"}, {"\tSECOND.mnu\x01", "second"}, {"Übersicht.MNU", "third"}});
    auto& package = Open(file.Str());
    EXPECT_FALSE(error_.IsSet());
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_EQ(files_.opened, std::vector<std::string>{"E:\\disc\\setup.exe"});

    EXPECT_EQ(package.Header().position, static_cast<std::int64_t>(kProgram.size()));
    EXPECT_EQ(package.Header().text, "Pack1");
    EXPECT_EQ(package.Header().byte, 7);
    EXPECT_EQ(package.Header().entryCount, 3);

    const auto& dir = package.Directory();
    EXPECT_EQ(dir[0].name, "main.mnu");
    EXPECT_EQ(dir[1].name, "second.mnu");
    EXPECT_EQ(dir[2].name, "Übersicht.mnu");  // only A-Z are folded
    EXPECT_EQ(dir[3].name, "");
    EXPECT_EQ(dir[3].dataOffset, 0);
    EXPECT_EQ(dir[1].dataOffset, dir[0].dataOffset + 9);
    EXPECT_EQ(dir[0].dataOffset,
              static_cast<std::int32_t>(kProgram.size() + 4 + 3 + 10 + 6 + 1 + 3 * 260));
}

TEST_F(MenuPackageTest, SeekEntry_FindsNameAfterTrimmingAndLowerCasing) {
    auto& package = Open(PackageFile({{"  Main.MNU", "main-data"}, {"B.mnu", "bbb"}}).Str());
    ASSERT_TRUE(package.OpenPackageStream(kExe, kFolder));

    for (std::string wanted : {"main.mnu", "MAIN.mnu"}) {
        package.SeekEntry(wanted);
        EXPECT_EQ(wanted, "main.mnu");
        EXPECT_EQ(NameAtStream(package, 9), "main-data");
    }
    std::string b = "B.MNU";
    package.SeekEntry(b);
    EXPECT_EQ(NameAtStream(package, 3), "bbb");
    EXPECT_FALSE(error_.IsSet());
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(MenuPackageTest, SeekEntry_MissingNameWarnsAndKeepsThePosition) {
    auto& package = Open(PackageFile({{"Main.mnu", "main-data"}}).Str());
    package.OpenPackageStream(kExe, kFolder);
    package.Reader().Stream().Seek(3);

    std::string wanted = " Main.mnu";  // blanks of the wanted name are not removed
    package.SeekEntry(wanted);
    EXPECT_TRUE(error_.IsSet());
    EXPECT_EQ(package.Reader().Stream().Position(), 3);
    EXPECT_EQ(dialogs_.shown,
              (std::vector<Shown>{{"Could not locate specified package:\r\r main.mnu",
                                   MessageKind::Warning, "Ambrevo"}}));
}

// The program file is opened again for each menu: one whose length changed since its
// package was read (a disc swapped, a file cut short) is not read by the old directory.
TEST_F(MenuPackageTest, SeekEntry_FileOfAnotherLengthSinceOpeningSetsTheErrorSilently) {
    const std::string original = PackageFile({{"main.mnu", "main-data"}}).Str();
    std::string sameLength = original;
    sameLength[0] = 'X';
    const struct {
        const char* what;
        std::string bytes;
        bool readable;
    } cases[] = {
        {"same length", sameLength, true},
        {"one byte shorter", original.substr(0, original.size() - 1), false},
        {"one byte longer", original + "!", false},
    };
    for (const auto& c : cases) {
        Open(original);
        files_.AddFile(std::string(kFolder) + kExe, c.bytes);
        package_.OpenPackageStream(kExe, kFolder);
        std::string wanted = "main.mnu";
        package_.SeekEntry(wanted);
        EXPECT_EQ(error_.IsSet(), !c.readable) << c.what;
        if (c.readable) {
            EXPECT_EQ(NameAtStream(package_, 9), "main-data") << c.what;
        }
        EXPECT_TRUE(dialogs_.shown.empty()) << c.what;
    }
}

TEST_F(MenuPackageTest, HasEntry_LowerCasesWithoutMessagesOrErrors) {
    auto& package = Open(PackageFile({{"Main.mnu", "x"}, {"pdf.mnu", "y"}}).Str());
    std::string pdf = "PDF.MNU";
    std::string missing = "doc.mnu";
    EXPECT_TRUE(package.HasEntry(pdf));
    EXPECT_EQ(pdf, "pdf.mnu");
    EXPECT_FALSE(package.HasEntry(missing));
    EXPECT_FALSE(error_.IsSet());
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(MenuPackageTest, EmptyName_MatchesTheFirstEmptySlotOnlyWhenOneIsLeft) {
    auto& package = Open(PackageFile({{"main.mnu", "x"}}).Str());
    std::string empty;
    EXPECT_TRUE(package.HasEntry(empty));
    package.OpenPackageStream(kExe, kFolder);
    package.SeekEntry(empty);
    EXPECT_EQ(package.Reader().Stream().Position(), 0);  // the start of the program file

    std::vector<Entry> full;
    for (int i = 0; i < 100; ++i) full.push_back({"m" + std::to_string(i) + ".mnu", "d"});
    Open(PackageFile(full).Str());
    EXPECT_FALSE(error_.IsSet());
    EXPECT_EQ(package_.Directory()[99].name, "m99.mnu");
    EXPECT_FALSE(package_.HasEntry(empty));
}

TEST_F(MenuPackageTest, OpenPackage_RejectsBadTrailersAndMagic) {
    const auto size = static_cast<std::int32_t>(kProgram.size() + 12);
    struct Case {
        std::string file;
        const char* message;
    } cases[] = {
        {FileWithTrailer(1), "Invalid menu address."},            // P = 0
        {FileWithTrailer(size - 2), "Invalid menu address."},     // P past S - 4
        {FileWithTrailer(0), "Could not retrieve packed files"},  // P = -1: the seek fails
        {FileWithTrailer(-2147483647 - 1), "Could not retrieve packed files"},
        {FileWithTrailer(size - 3), "Could not retrieve packed files"},  // the trailer itself
        {FileWithTrailer(3), "Could not retrieve packed files"},         // no magic there
        {"abc", "Invalid menu address."},                                // no room for a trailer
        {PackageFile({{"a.mnu", "x"}}, 101).Str(), "Could not retrieve packed files"},
    };
    for (const Case& c : cases) {
        dialogs_.shown.clear();
        Open(c.file);
        EXPECT_TRUE(error_.IsSet()) << c.message;
        EXPECT_EQ(dialogs_.shown, (std::vector<Shown>{{c.message, MessageKind::Error, "Ambrevo"}}));
        EXPECT_EQ(package_.Directory()[0].name, "");
    }
}

TEST_F(MenuPackageTest, OpenPackage_WrongHeaderTagSetsErrorSilentlyAndReadsOn) {
    ByteBuilder file = PackageFile({{"main.mnu", "x"}});
    std::string bytes = file.Str();
    bytes[kProgram.size() + 7] = 0x03;  // the header text's tag
    Open(bytes);
    EXPECT_TRUE(error_.IsSet());
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(MenuPackageTest, OpenPackage_ClearsAnEarlierErrorAndCountZeroGivesEmptyDirectory) {
    error_.Set();
    Open(PackageFile({}).Str());
    EXPECT_FALSE(error_.IsSet());
    EXPECT_EQ(package_.Directory()[0].name, "");
}

TEST_F(MenuPackageTest, DirectoryCutShortByTheEnd_SetsTheError) {
    std::string bytes = ByteBuilder()
                            .Text(kProgram)
                            .Text("FPAK")
                            .Bytes({2, 0, 0})
                            .Bytes({0x04, 0, 0, 0, 0, 0x01, 0x01, 0, 0, 0, 0, 5})
                            .Text("main.mnu")
                            .Str();
    bytes += ByteBuilder().Le32(static_cast<std::int32_t>(kProgram.size()) + 1).Str();
    Open(bytes);
    EXPECT_TRUE(error_.IsSet());
}

TEST_F(MenuPackageTest, OpenPackage_FindsTheTrailerBeforeACertificateTableEndingTheFile) {
    const std::string program = testing::pe_image::Header() + "code";
    // The trailer's high bytes are zero, like the padding that signing may add after it.
    const std::string unsignedFile = PackageFile({{"Main.mnu", "main-data"}}, -1, program).Str();
    for (std::size_t padding = 0; padding <= 7; ++padding) {
        dialogs_.shown.clear();
        Open(testing::pe_image::Signed(unsignedFile, padding));
        EXPECT_FALSE(error_.IsSet()) << padding;
        EXPECT_TRUE(dialogs_.shown.empty()) << padding;
        EXPECT_EQ(package_.Header().position, static_cast<std::int64_t>(program.size()));
        EXPECT_EQ(package_.Directory()[0].name, "main.mnu") << padding;
    }
}

TEST_F(MenuPackageTest, OpenPackage_ATrailerValidAtTheEndWinsOverTheCertificateTable) {
    const std::string program = testing::pe_image::Header() + "code";
    const std::string first = PackageFile({{"first.mnu", "1"}}, -1, program).Str();
    // A second package after the first, named as the certificate table: its own trailer
    // ends the file and is valid, so it is the one read.
    std::string both = PackageFile({{"second.mnu", "2"}}, -1, first).Str();
    testing::pe_image::NameCertificateTable(both, static_cast<std::uint32_t>(first.size()),
                                            static_cast<std::uint32_t>(both.size() - first.size()));
    Open(both);
    EXPECT_FALSE(error_.IsSet());
    EXPECT_EQ(package_.Directory()[0].name, "second.mnu");
}

TEST_F(MenuPackageTest, OpenPackage_SignedFilesThatDoNotFitGiveTheEndOfFileMessage) {
    namespace pe = testing::pe_image;
    const std::string program = pe::Header() + "code";
    const std::string unsignedFile = PackageFile({{"Main.mnu", "main-data"}}, -1, program).Str();
    const std::string table(24, '\x30');  // its last four bytes point far past the end
    std::string nonZeroPadding = pe::Signed(unsignedFile + '\x01', 0, table);
    std::string tableInside = pe::Signed(unsignedFile, 0, table);
    pe::NameCertificateTable(tableInside, static_cast<std::uint32_t>(unsignedFile.size()), 20);
    const std::string notAPackage =
        program + "FPAX" + ByteBuilder().Le32(static_cast<std::int32_t>(program.size()) + 1).Str();
    const struct {
        const char* what;
        std::string file;
        const char* message;
    } cases[] = {
        {"eight bytes of padding", pe::Signed(unsignedFile, 8, table), "Invalid menu address."},
        {"padding that is not zero", nonZeroPadding, "Invalid menu address."},
        {"bytes after the table", pe::Signed(unsignedFile, 0, table) + "tail",
         "Invalid menu address."},
        {"table that does not end the file", tableInside, "Invalid menu address."},
        {"no package before the table", pe::Signed(notAPackage, 0, table), "Invalid menu address."},
        {"unsigned, no package where the trailer points", notAPackage,
         "Could not retrieve packed files"},
    };
    for (const auto& c : cases) {
        dialogs_.shown.clear();
        Open(c.file);
        EXPECT_TRUE(error_.IsSet()) << c.what;
        EXPECT_EQ(dialogs_.shown, (std::vector<Shown>{{c.message, MessageKind::Error, "Ambrevo"}}))
            << c.what;
        EXPECT_EQ(package_.Directory()[0].name, "") << c.what;
    }
}

TEST_F(MenuPackageTest, MissingProgramFile_ThrowsTheOpenError) {
    EXPECT_THROW(package_.OpenPackage("other.exe"), AppError);
    EXPECT_THROW(package_.OpenPackageStream("other.exe", kFolder), AppError);
}

}  // namespace
}  // namespace ambrevo
