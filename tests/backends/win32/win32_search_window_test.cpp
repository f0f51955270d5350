#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "actions/missing_target_search.h"
#include "backends/win32/services/win32_file_system.h"
#include "backends/win32/widgetset_fixture.h"

namespace ambrevo::win32 {
namespace {

constexpr char kCaption[] = " Target not found... searching:";
constexpr int kSubfolders = 25;

// The real file system, with a look at the screen each time the walk lists a folder.
class WatchedFileSystem : public FileFinder {
public:
    std::optional<FileAttributes> Attributes(const std::string& path) override {
        return files_.Attributes(path);
    }
    bool ListFolder(const std::string& pattern,
                    const std::function<bool(const FolderEntry&)>& visit) override {
        onList(pattern);
        return files_.ListFolder(pattern, visit);
    }

    std::function<void(const std::string& pattern)> onList;

private:
    Win32FileSystem files_;
};

// A private folder tree of a root and 25 subfolders under the temporary folder.
class SearchWindowTest : public WidgetsetTest {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_NE(::GetTempPathA(MAX_PATH, temp), 0u);
        root_ =
            std::string(temp) + "ambrevo-search-" + std::to_string(::GetCurrentProcessId()) + "\\";
        ASSERT_TRUE(::CreateDirectoryA(root_.c_str(), nullptr));
        for (int i = 0; i < kSubfolders; ++i) {
            ASSERT_TRUE(::CreateDirectoryA(Subfolder(i).c_str(), nullptr));
        }
    }
    void TearDown() override {
        for (int i = 0; i < kSubfolders; ++i) ::RemoveDirectoryA(Subfolder(i).c_str());
        ::RemoveDirectoryA(root_.c_str());
    }

    std::string Subfolder(int i) const {
        return root_ + (i < 10 ? "d0" : "d") + std::to_string(i) + "\\";
    }

    std::string root_;
    WatchedFileSystem files_;
    ProgramInfo program_{"C:\\", "setup.exe", "Ambrevo"};
    MissingTargetSearch search_{files_, app_, program_};
};

TEST_F(SearchWindowTest, DriveWalkShowsTheWindowAtItsTwentyFirstFolderAndCancelEndsIt) {
    struct Seen {
        bool shown = false;
        RECT outer{};
        RECT client{};
        LONG style = 0;
        LONG exStyle = 0;
        std::string buttonText;
        bool buttonEnabled = false;
    };
    std::vector<std::string> listed;
    std::vector<Seen> seen;
    files_.onList = [&](const std::string& pattern) {
        listed.push_back(pattern);
        Seen now;
        const HWND window = ::FindWindowA(nullptr, kCaption);
        if (window && ::IsWindowVisible(window)) {
            now.shown = true;
            ::GetWindowRect(window, &now.outer);
            ::GetClientRect(window, &now.client);
            now.style = ::GetWindowLongA(window, GWL_STYLE);
            now.exStyle = ::GetWindowLongA(window, GWL_EXSTYLE);
            const HWND button = ::FindWindowExA(window, nullptr, "BUTTON", nullptr);
            char text[64] = {};
            ::GetWindowTextA(button, text, sizeof text);
            now.buttonText = text;
            now.buttonEnabled = ::IsWindowEnabled(button);
            // Cancel by mouse while the 23rd folder is listed; the walk notices it next.
            if (listed.size() == 23) ::PostMessageA(button, BM_CLICK, 0, 0);
        }
        seen.push_back(now);
    };

    EXPECT_EQ(search_.SearchFolderTree("wanted.txt", true, root_), "wanted.txt");
    EXPECT_EQ(::FindWindowA(nullptr, kCaption), nullptr);
    // The root and 23 subfolders: the last was taken as Cancel came and is finished.
    ASSERT_EQ(listed.size(), 24u);

    for (std::size_t i = 0; i < 20; ++i) EXPECT_FALSE(seen[i].shown) << i;
    for (std::size_t i = 20; i < seen.size(); ++i) {
        const Seen& s = seen[i];
        ASSERT_TRUE(s.shown) << i;
        EXPECT_EQ(s.outer.left, 180);
        EXPECT_EQ(s.outer.top, 173);
        EXPECT_EQ(s.client.right, 466);
        EXPECT_EQ(s.client.bottom, 58);
        EXPECT_NE(s.style & WS_CAPTION, 0);
        EXPECT_EQ(s.style & WS_SYSMENU, 0);  // no title-bar buttons
        EXPECT_NE(s.exStyle & WS_EX_TOOLWINDOW, 0);
        const bool cancelled = i >= 23;
        EXPECT_EQ(s.buttonText, cancelled ? "Wait..." : "&Cancel") << i;
        EXPECT_EQ(s.buttonEnabled, !cancelled) << i;
    }
}

}  // namespace
}  // namespace ambrevo::win32
