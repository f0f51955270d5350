#include "actions/missing_target_search.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "fakes/headless_widgetset.h"
#include "ui/control.h"

namespace ambrevo {
namespace {

constexpr FileAttributes kHidden{false, true, false, false};
constexpr FileAttributes kSystem{false, false, true, false};
constexpr FileAttributes kLink{true, false, false, true};

class MissingTargetSearchTest : public ::testing::Test {
protected:
    MissingTargetSearchTest() { widgets_.Attach(app_); }

    // Runs observe at every ProcessMessages from now on, instead of any earlier one.
    void ObserveEachProcessMessages(std::function<void()> observe) {
        if (!observer_) widgets_.InjectDuringProcessMessages([this] { ObserveAgain(); });
        observer_ = std::move(observe);
    }

    // The search window while it is shown, or null.
    ui::Form* SearchWindow() const {
        for (const auto& form : app_.Forms()) {
            if (form->Name() == "frmSearchCls") return form.get();
        }
        return nullptr;
    }

    // root "D:\" followed by folders D:\f1 .. D:\f<count - 1>, all at depth 1.
    void AddFlatDrive(int count) {
        for (int i = 1; i < count; ++i) files_.AddFolder("D:\\f" + std::to_string(i));
    }

    testing::FakeFileSystem files_;
    HeadlessWidgetset widgets_;
    testing::FakeDialogs dialogs_;
    ui::Application app_{widgets_, dialogs_};
    ProgramInfo program_{"D:\\menu\\", "setup.exe", "Ambrevo"};
    MissingTargetSearch search_{files_, app_, program_};

private:
    void ObserveAgain() {
        observer_();
        widgets_.InjectDuringProcessMessages([this] { ObserveAgain(); });
    }

    std::function<void()> observer_;
};

TEST_F(MissingTargetSearchTest, StagesFindTheFirstPlainFileOfTheName) {
    struct File {
        File(const char* path, FileAttributes attributes = {})
            : path(path), attributes(attributes) {}
        const char* path;
        FileAttributes attributes;
    };
    const struct {
        const char* what;
        std::vector<File> files;
        const char* target;
        const char* expected;
    } cases[] = {
        {"program folder first",
         {{"D:\\docs\\manual.pdf"}, {"D:\\menu\\Manual.pdf"}},
         "E:\\docs\\manual.pdf",
         "D:\\menu\\manual.pdf"},
        {"disc on another drive",
         {{"D:\\docs\\manual.pdf"}},
         "E:\\docs\\manual.pdf",
         "D:\\docs\\manual.pdf"},
        {"folders moved up on the drive",
         {{"D:\\manual.pdf"}, {"D:\\manuals\\manual.pdf"}},
         "E:\\docs\\manuals\\manual.pdf",
         "D:\\manuals\\manual.pdf"},
        {"target in a root", {{"D:\\manual.pdf"}}, "E:\\manual.pdf", "D:\\manual.pdf"},
        {"bare name beside the program",
         {{"D:\\menu\\manual.pdf"}, {"D:\\manual.pdf"}},
         "manual.pdf",
         "D:\\menu\\manual.pdf"},
        {"bare name in the drive's root", {{"D:\\manual.pdf"}}, "manual.pdf", "D:\\manual.pdf"},
        {"enclosing folder, deepest first",
         {{"C:\\data\\manual.pdf"}, {"C:\\manual.pdf"}},
         "C:\\Data\\docs\\manual.pdf",
         "C:\\Data\\manual.pdf"},
        {"walk of the program's tree",
         {{"D:\\menu\\a\\b\\Manual.PDF"}, {"D:\\x\\manual.pdf"}},
         "E:\\docs\\manual.pdf",
         "D:\\menu\\a\\b\\Manual.PDF"},
        {"walk of the drive",
         {{"D:\\other\\deeper\\manual.pdf"}},
         "E:\\docs\\manual.pdf",
         "D:\\other\\deeper\\manual.pdf"},
        {"hidden and system files are not found",
         {{"D:\\menu\\manual.pdf", kHidden},
          {"D:\\docs\\manual.pdf", kSystem},
          {"D:\\menu\\sub\\manual.pdf", kHidden}},
         "E:\\docs\\manual.pdf",
         "E:\\docs\\manual.pdf"},
        {"a folder counts only for the walks",
         {{"D:\\docs\\manual.pdf\\inside.txt"}, {"D:\\menu\\sub\\manual.pdf"}},
         "E:\\docs\\manual.pdf",
         "D:\\menu\\sub\\manual.pdf"},
        {"a folder matches in the walk",
         {{"D:\\other\\manual.pdf\\inside.txt"}},
         "E:\\docs\\manual.pdf",
         "D:\\other\\manual.pdf"},
        {"dot folders are not entered",
         {{"D:\\.cache\\manual.pdf"}},
         "E:\\docs\\manual.pdf",
         "E:\\docs\\manual.pdf"},
        {"dot names are not matched by the walks",
         {{"D:\\other\\.profile"}},
         "E:\\docs\\.profile",
         "E:\\docs\\.profile"},
        {"links are not entered",
         {{"D:\\link", kLink}, {"D:\\link\\manual.pdf"}},
         "E:\\docs\\manual.pdf",
         "E:\\docs\\manual.pdf"},
        {"nothing found",
         {{"D:\\menu\\readme.txt"}},
         "E:\\docs\\manual.pdf",
         "E:\\docs\\manual.pdf"},
    };
    for (const auto& c : cases) {
        testing::FakeFileSystem files;
        files.AddFolder(program_.folder);
        for (const File& file : c.files) {
            if (file.attributes.directory) {
                files.AddFolder(file.path, file.attributes);
            } else {
                files.AddFile(file.path, "", file.attributes);
            }
        }
        MissingTargetSearch search(files, app_, program_);
        EXPECT_EQ(search.FindMissingTarget(c.target), c.expected) << c.what;
        EXPECT_EQ(SearchWindow(), nullptr) << c.what;
    }
}

TEST_F(MissingTargetSearchTest, WalkIsBreadthFirstInListingOrder) {
    files_.AddFolder("D:\\b\\deep");
    files_.AddFolder("D:\\a");
    files_.AddFile("D:\\b\\deep\\x.txt", "");
    files_.AddFile("D:\\a\\X.txt", "");
    files_.AddFile("D:\\b\\x.txt", "");
    files_.AddFolder("D:\\unreadable");
    files_.MakeUnreadable("D:\\unreadable");

    EXPECT_EQ(search_.SearchFolderTree("x.txt", false, "D:\\"), "D:\\b\\x.txt");
    EXPECT_EQ(files_.listed, (std::vector<std::string>{"D:\\*.*", "D:\\b\\*.*"}));

    files_.listed.clear();
    EXPECT_EQ(search_.SearchFolderTree("none.txt", false, "D:\\"), std::nullopt);
    EXPECT_EQ(files_.listed, (std::vector<std::string>{"D:\\*.*", "D:\\b\\*.*", "D:\\a\\*.*",
                                                       "D:\\unreadable\\*.*", "D:\\b\\deep\\*.*"}));
    EXPECT_EQ(widgets_.ProcessMessagesCalls(), 7);
}

TEST_F(MissingTargetSearchTest, WindowAppearsAtTheTwentyFirstFolderOfTheDriveWalk) {
    for (const int folders : {20, 21, 25}) {
        testing::FakeFileSystem files;
        for (int i = 1; i < folders; ++i) files.AddFolder("D:\\f" + std::to_string(i));
        MissingTargetSearch search(files, app_, program_);
        std::vector<std::string> shown;
        ObserveEachProcessMessages([&] {
            if (ui::Form* window = SearchWindow()) {
                shown.push_back(static_cast<ui::Label*>(window->FindControl("lblDir"))->Caption());
            }
        });
        EXPECT_EQ(search.SearchFolderTree("none.txt", true, "D:\\"), std::nullopt);
        std::vector<std::string> expected;
        for (int i = 20; i < folders; ++i) {
            // Messages run once as the window appears, before it names a folder.
            if (i == 20) expected.push_back("");
            expected.push_back("D:\\f" + std::to_string(i) + "\\");
        }
        EXPECT_EQ(shown, expected) << folders;
        EXPECT_EQ(SearchWindow(), nullptr) << folders;
    }
}

TEST_F(MissingTargetSearchTest, CancelFinishesTheFolderTakenThenGivesTheBareName) {
    const struct {
        const char* cancelAt;  // the folder shown when Cancel is clicked
        const char* fileIn;    // where the wanted file lies
        const char* expected;  // what the search gives
        std::size_t listings;  // folders listed
    } cases[] = {
        {"D:\\f22\\", "D:\\f22\\Manual.pdf", "D:\\f22\\Manual.pdf", 23},
        {"D:\\f22\\", "D:\\f23\\manual.pdf", "manual.pdf", 23},
        {"D:\\f29\\", "D:\\elsewhere.txt", "manual.pdf", 30},
    };
    for (const auto& c : cases) {
        files_ = testing::FakeFileSystem();
        AddFlatDrive(30);
        files_.AddFile(c.fileIn, "");
        ObserveEachProcessMessages([&] {
            ui::Form* window = SearchWindow();
            if (!window) return;
            auto* folder = static_cast<ui::Label*>(window->FindControl("lblDir"));
            auto* cancel = static_cast<ui::Button*>(window->FindControl("Command1"));
            if (folder->Caption() == c.cancelAt) widgets_.Click(*cancel);
        });
        EXPECT_EQ(search_.FindMissingTarget("E:\\Docs\\Manual.PDF"), c.expected) << c.fileIn;
        // The program folder is walked too before the drive.
        EXPECT_EQ(files_.listed.size(), c.listings + 1) << c.fileIn;
        EXPECT_EQ(SearchWindow(), nullptr);
    }
}

TEST_F(MissingTargetSearchTest, EachWalkStartsUncancelled) {
    AddFlatDrive(2);
    files_.AddFile("D:\\f1\\x.txt", "");
    search_.searchCancelled = true;
    EXPECT_EQ(search_.SearchFolderTree("x.txt", false, "D:\\"), "D:\\f1\\x.txt");
}

}  // namespace
}  // namespace ambrevo
