#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

std::string TextOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(PathToUtf8(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Links need administrators on Windows: there the cases that plant one are skipped.
bool Linked(const std::filesystem::path& to, const std::filesystem::path& link) {
    std::error_code error;
    std::filesystem::create_symlink(to, link, error);
    return !error;
}

TEST(FileReplaceTest, ReplacesOnlyPlainWritableFilesAndAFailureLeavesTheOldOne) {
    const testing::SourceFolder folder;
    const testing::SourceFolder outside;
    const std::filesystem::path target = folder.Path("main.toml");
    const std::filesystem::path secret = outside.Write("secret.txt", "the outside file\n");
    const std::string cannot = "cannot write " + QuotedPath(target);
    const std::string written = "title = \"New\"\n";
    const struct {
        const char* name;
        std::function<bool()> arrange;  // false: the system cannot make the case
        WriteChecks checks;
        std::string error;                // empty: written
        std::optional<std::string> left;  // the plain file's text afterwards; none: no such
    } cases[] = {
        {"a new file", [] { return true; }, {}, "", written},
        {"a file written again",
         [&] { return folder.Write("main.toml", "old\n"), true; },
         {},
         "",
         written},
        {"links planted where temporary files were made",
         [&] {
             folder.Write("main.toml", "old\n");
             return Linked(secret, folder.Path("main.toml.part")) &&
                    Linked(secret, folder.Path(".main.toml.part")) &&
                    Linked(secret, folder.Path(".main.toml.part-0000000000000000"));
         },
         {},
         "",
         written},
        {"the file is a link",
         [&] { return Linked(secret, target); },
         {},
         cannot + ": it is a link (to " + QuotedPath(secret) +
             "); the tool writes only plain files",
         std::nullopt},
        {"a read-only file",
         [&] {
             folder.Write("main.toml", "old\n");
             std::filesystem::permissions(target, std::filesystem::perms::owner_write,
                                          std::filesystem::perm_options::remove);
             return true;
         },
         {},
         cannot + ": the file is read-only",
         "old\n"},
        {"a folder",
         [&] { return std::filesystem::create_directory(target); },
         {},
         cannot + ": it is a folder",
         std::nullopt},
        {"a last check that fails",
         [&] { return folder.Write("main.toml", "old\n"), true; },
         {.beforeReplacing = [] { throw PackError("changed meanwhile"); }},
         "changed meanwhile",
         "old\n"},
        {"a file to create that exists",
         [&] { return folder.Write("main.toml", "old\n"), true; },
         {.beforeReplacing = nullptr, .createOnly = true},
         cannot + ": it exists already",
         "old\n"},
        {"a file to create that is made meanwhile",
         [] { return true; },
         {.beforeReplacing = [&] { folder.Write("main.toml", "made by hand\n"); },
          .createOnly = true},
         cannot + ": it exists already",
         "made by hand\n"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(folder.Path(""));
        std::filesystem::create_directories(folder.Path(""));
        if (!c.arrange()) continue;
        const std::vector<std::string> names = NamesIn(folder.Path(""));
        std::string error;
        try {
            WriteTextFile(target, written, c.checks);
        } catch (const PackError& failure) {
            error = failure.what();
        }
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_EQ(TextOf(secret), "the outside file\n") << c.name;
        const bool plain =
            std::filesystem::is_regular_file(std::filesystem::symlink_status(target));
        EXPECT_EQ(plain ? std::optional(TextOf(target)) : std::nullopt, c.left) << c.name;
        // No temporary file is left, whatever happened.
        for (const std::string& name : NamesIn(folder.Path(""))) {
            EXPECT_TRUE(name == "main.toml" ||
                        std::find(names.begin(), names.end(), name) != names.end())
                << c.name << ": " << name;
        }
        std::error_code ignored;
        std::filesystem::permissions(target, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ignored);
    }
}

TEST(FileReplaceTest, TheNewBytesWaitInAFreshFileOfTheSameFolderAndKeepThePermissions) {
    const testing::SourceFolder folder;
    const std::filesystem::path target = folder.Write("main.toml", "old\n");
    std::filesystem::permissions(target, std::filesystem::perms(0640));
    const std::filesystem::perms kept = std::filesystem::status(target).permissions();
    std::vector<std::filesystem::path> temporaries;
    std::vector<std::string> seen;  // the file's text while the new one waits
    const WriteChecks look{.beforeReplacing = [&] {
        seen.push_back(TextOf(target));
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path(""))) {
            if (entry.path() != target) temporaries.push_back(entry.path());
        }
    }};
    WriteTextFile(target, "first\n", look);
    WriteTextFile(target, "second\n", look);
    EXPECT_EQ(seen, (std::vector<std::string>{"old\n", "first\n"}));
    ASSERT_EQ(temporaries.size(), 2u);
    EXPECT_NE(temporaries[0], temporaries[1]);
    for (const std::filesystem::path& temporary : temporaries) {
        EXPECT_EQ(temporary.parent_path(), target.parent_path());
        EXPECT_TRUE(PathToUtf8(temporary.filename()).starts_with(".main.toml.part-"));
    }
    EXPECT_EQ(TextOf(target), "second\n");
    EXPECT_EQ(std::filesystem::status(target).permissions(), kept);
    EXPECT_EQ(NamesIn(folder.Path("")), std::vector<std::string>{"main.toml"});
}

std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A file written piece by piece takes the earlier one's place only when committed; reads
// and writes over it stay within what was written, and every failure leaves the earlier
// file and no temporary.
TEST(FileReplaceTest, AFileWrittenInPiecesReplacesTheOldOneOnlyWhenCommitted) {
    const testing::SourceFolder folder;
    const std::filesystem::path target = folder.Path("disc.iso");
    const std::string cannot = "cannot write " + QuotedPath(target) + ": ";
    const struct {
        const char* name;
        std::function<void(FileWriter&)> steps;
        std::string error;  // empty: none
        std::string left;   // the file's text afterwards
    } cases[] = {
        {"pieces, one written over, committed",
         [](FileWriter& file) {
             file.Write(Bytes("ab"));
             file.Write(Bytes(""));
             file.Write(Bytes("cd"));
             file.WriteAt(1, Bytes("X"));
             std::vector<std::uint8_t> back(4);
             file.ReadAt(0, back);
             EXPECT_EQ(std::string(back.begin(), back.end()), "aXcd");
             EXPECT_EQ(file.Size(), 4u);
             file.Commit();
         },
         "", "aXcd"},
        {"dropped without a commit", [](FileWriter& file) { file.Write(Bytes("new")); }, "", "old"},
        {"a read past what was written",
         [](FileWriter& file) {
             file.Write(Bytes("ab"));
             std::vector<std::uint8_t> back(2);
             file.ReadAt(1, back);
         },
         cannot + "2 bytes at 1 lie past the 2 written", "old"},
        {"a write past what was written",
         [](FileWriter& file) {
             file.Write(Bytes("ab"));
             file.WriteAt(3, Bytes("c"));
         },
         cannot + "1 bytes at 3 lie past the 2 written", "old"},
        {"a write after the commit",
         [](FileWriter& file) {
             file.Write(Bytes("new"));
             file.Commit();
             file.Write(Bytes("more"));
         },
         cannot + "it is no longer open", "new"},
    };
    for (const auto& c : cases) {
        folder.Write("disc.iso", "old");
        try {
            FileWriter file(target);
            c.steps(file);
            EXPECT_EQ(c.error, "") << c.name;
        } catch (const PackError& error) {
            EXPECT_EQ(error.what(), c.error) << c.name;
        }
        EXPECT_EQ(TextOf(target), c.left) << c.name;
        EXPECT_EQ(NamesIn(folder.Path("")), std::vector<std::string>{"disc.iso"}) << c.name;
    }
}

TEST(FileReplaceTest, CopiesAFileInPiecesOrLeavesNothing) {
    const testing::SourceFolder folder;
    std::string large(600 * 1024, '\0');  // more than one piece, of every byte value
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 + i / 251);
    const std::filesystem::path from = folder.Write("large.bin", large);
    EXPECT_EQ(CopyFileSafely(from, folder.Path("copy.bin")), large.size());
    EXPECT_EQ(TextOf(folder.Path("copy.bin")), large);
    try {
        CopyFileSafely(folder.Path("missing.bin"), folder.Path("other.bin"));
        ADD_FAILURE() << "copied";
    } catch (const PackError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "cannot read " + QuotedPath(folder.Path("missing.bin")) + ": no such file");
    }
    EXPECT_EQ(NamesIn(folder.Path("")), (std::vector<std::string>{"copy.bin", "large.bin"}));
}

}  // namespace
}  // namespace ambrevo::pack
