#include <gtest/gtest.h>

#include <functional>

#include "window_test_support.h"

namespace ambrevo {
namespace {

using Shown = testing::FakeDialogs::Shown;
const Shown kNotRead{"Menu could not be read.", MessageKind::Error, "Ambrevo"};

Shown NotLocated(const std::string& name) {
    return {"Could not locate specified package:\r\r" + name, MessageKind::Warning, "Ambrevo"};
}

MenuDefinition Titled(int items, std::string title) {
    MenuDefinition menu = testing::PictureMenu(items);
    menu.title = std::move(title);
    return menu;
}

class MenuWindowLoadTest : public testing::WindowTest {};

TEST_F(MenuWindowLoadTest, TheFirstMenuMissingEndsTheProgram) {
    InstallMenus({{"main.mnu", Titled(1, "Main")}});
    window_.LoadMenu("Missing.mnu");
    EXPECT_EQ(dialogs_.shown, (std::vector<Shown>{NotLocated("missing.mnu"), kNotRead}));
    EXPECT_TRUE(app_.Terminated());
    EXPECT_FALSE(Form().Visible());
}

TEST_F(MenuWindowLoadTest, AFailedLoadLeavesTheEarlierMenuInPlaceAndShowsItAgain) {
    auto oldBody = pack::WriteMenuBody(Titled(1, "Old"), 6);
    oldBody[5] = 5;  // a format version before 6
    InstallEntries({{"main.mnu", pack::WriteMenuBody(Titled(5, "Main"), 7)}, {"old.mnu", oldBody}});
    window_.LoadMenu("main.mnu");
    widgets_.MouseMove(*Item(2).picture, 1, 1);
    const ui::Control* picture5 = Item(5).picture;
    const std::size_t controls = Form().Controls().size();

    window_.LoadMenu("old.mnu");  // header check fails
    window_.LoadMenu("nothere.mnu");
    window_.LoadMenu("main.mnu");  // the read error of the last load sticks
    ASSERT_EQ(dialogs_.shown.size(), 5u);
    EXPECT_EQ(dialogs_.shown[0].kind, MessageKind::Information) << "the version message";
    EXPECT_EQ(std::vector<Shown>(dialogs_.shown.begin() + 1, dialogs_.shown.end()),
              (std::vector<Shown>{kNotRead, NotLocated("nothere.mnu"), kNotRead, kNotRead}));

    EXPECT_FALSE(app_.Terminated());
    EXPECT_TRUE(Form().Visible());
    EXPECT_EQ(Form().Caption(), "Main");
    EXPECT_EQ(window_.ItemCount(), 5);
    EXPECT_EQ(Item(5).picture, picture5);
    EXPECT_EQ(Form().Controls().size(), controls);
    EXPECT_TRUE(window_.HasBackground());
    // The earlier highlight still counts: moving on leaves exactly one item highlighted.
    EXPECT_EQ(window_.HighlightedItem(), 2);
    widgets_.MouseMove(*Item(3).picture, 1, 1);
    EXPECT_EQ(window_.StateOf(2).set, PictureSet::Normal);
    EXPECT_EQ(window_.StateOf(3).set, PictureSet::Highlighted);
}

// The disc is taken out, or the program file changed, while a menu is on show: a switch
// reports the failure once and the menu the user was on comes back, visible and usable.
TEST_F(MenuWindowLoadTest, AProgramFileGoneOrChanged_BringsTheEarlierMenuBack) {
    const std::string openError =
        "Cannot open file \"E:\\disc\\setup.exe\". The system cannot find the file specified.";
    const Shown cannotOpen{openError, MessageKind::Error, "Ambrevo"};
    const std::string path = program_.folder + program_.fileName;
    struct Case {
        const char* what;
        std::function<void()> change;
        std::vector<Shown> messages;
    };
    const auto bytes = [&] {
        auto opened = files_.OpenForReading(path);
        std::string content(static_cast<std::size_t>(opened->Size()), '\0');
        opened->ReadAt(0, content.data(), content.size());
        return content;
    };
    const std::vector<Case> cases = {
        {"removed", [&] { files_.Remove(path); }, {cannotOpen}},
        {"cut short",
         [&] { files_.AddFile(path, bytes().substr(0, bytes().size() - 40)); },
         {kNotRead}},
        {"grown", [&] { files_.AddFile(path, bytes() + "appended"); }, {kNotRead}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InstallMenus({{"main.mnu", Titled(3, "Main")}, {"second.mnu", Titled(2, "Second")}});
        dialogs_.shown.clear();
        window_.LoadMenu("main.mnu");
        widgets_.MouseMove(*Item(2).picture, 1, 1);
        const std::size_t controls = Form().Controls().size();
        c.change();

        window_.LoadMenu("second.mnu");
        EXPECT_EQ(dialogs_.shown, c.messages);
        EXPECT_EQ(Form().Controls().size(), controls);
        EXPECT_FALSE(app_.Terminated());
        EXPECT_TRUE(Form().Visible());
        EXPECT_EQ(Form().Caption(), "Main");
        EXPECT_EQ(window_.ItemCount(), 3);
        widgets_.MouseMove(*Item(3).picture, 1, 1);
        EXPECT_EQ(window_.StateOf(2).set, PictureSet::Normal);
        EXPECT_EQ(window_.StateOf(3).set, PictureSet::Highlighted);
    }
}

TEST_F(MenuWindowLoadTest, AProgramFileGoneBeforeTheFirstMenu_EndsTheProgram) {
    InstallMenus({{"main.mnu", Titled(3, "Main")}});
    files_.Remove(program_.folder + program_.fileName);
    window_.LoadMenu("main.mnu");
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].text.rfind("Cannot open file", 0), 0u);
    EXPECT_EQ(dialogs_.shown[0].title, "Ambrevo");
    EXPECT_TRUE(app_.Terminated());
    EXPECT_FALSE(Form().Visible());
}

TEST_F(MenuWindowLoadTest, AMenuWithFewerItemsReplacesEveryControlOfTheEarlierOne) {
    InstallMenus({{"main.mnu", Titled(5, "Main")}, {"small.mnu", Titled(3, "Small")}});
    window_.LoadMenu("main.mnu");
    widgets_.MouseMove(*Item(4).picture, 1, 1);
    for (int n = 1; n <= 5; ++n) Item(n).button->SetTag(99);  // marks the old controls

    window_.LoadMenu("small.mnu");
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_EQ(window_.ItemCount(), 3);
    EXPECT_EQ(Form().Controls().size(), 6u + 3u * 4u);
    for (const char* gone : {"LblBtn004", "WinBtn004", "ImgBtn004", "KeyBtn004", "ImgBtn005"}) {
        EXPECT_EQ(Find(gone), nullptr) << gone;
    }
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(Item(n).button->Tag(), 0) << n;
        EXPECT_EQ(window_.StateOf(n).set, PictureSet::Normal) << n;
    }
    EXPECT_EQ(window_.SelectedItem(), 4) << "the selection survives a load";
    EXPECT_EQ(window_.HighlightedItem(), 0);
    EXPECT_EQ(window_.CurrentMenuName(), "small.mnu");
    EXPECT_EQ(Form().Caption(), "Small");
}

TEST_F(MenuWindowLoadTest, DamagedMenuDataIsReportedBeforeTheMenuShowsWithWhatWasRead) {
    auto body = pack::WriteMenuBody(Titled(2, "Damaged"), 6);
    body[9] = static_cast<std::uint8_t>(body[9] + 1);  // one picture more than there are
    InstallEntries({{"damaged.mnu", body}});
    window_.LoadMenu("damaged.mnu");

    EXPECT_EQ(
        dialogs_.shown,
        (std::vector<Shown>{{"Error loading binary menu data.", MessageKind::Warning, "Warning"}}));
    EXPECT_EQ(dialogs_.windowVisible, std::vector<bool>{false});
    EXPECT_TRUE(Form().Visible());
    EXPECT_EQ(window_.ItemCount(), 2);
    EXPECT_EQ(Form().Caption(), "Damaged");
}

TEST_F(MenuWindowLoadTest, TheExpiryNoticeComesOnceTheMenuIsShownAndTheMenuWorksOn) {
    MenuDefinition menu = Titled(2, "Old offer");
    menu.expiryYear = 2024;
    menu.expiryMonth = 5;
    menu.expiryDay = 16;
    menu.expiryMessage = "This offer has ended.";
    Load(menu);
    EXPECT_EQ(dialogs_.shown,
              (std::vector<Shown>{
                  {"This offer has ended.", MessageKind::Information, "Expiration Information"}}));
    EXPECT_EQ(dialogs_.windowVisible, std::vector<bool>{true});
    EXPECT_TRUE(window_.MenuShown());
    widgets_.MouseMove(*Item(2).picture, 1, 1);
    EXPECT_EQ(window_.HighlightedItem(), 2);
}

// Item creation is all or nothing: when the widgetset refuses an item's k-th control,
// the controls made for that item go again, and the menu shows with the items before it.
TEST_F(MenuWindowLoadTest, AControlThatCannotBeMade_EndsTheLoadWithTheItemsMadeBefore) {
    InstallMenus({{"main.mnu", Titled(3, "Main")}});
    const HeadlessWidgetset::FormRecord& peer = widgets_.Record(Form());
    const std::size_t fixedParts = Form().Controls().size();
    for (const int k : {1, 2, 3, 4, 6, 12}) {
        dialogs_.shown.clear();
        widgets_.RefuseControl(k);
        widgets_.Dispatch([&] { window_.LoadMenu("main.mnu"); });
        const int made = (k - 1) / 4;
        ASSERT_EQ(dialogs_.shown.size(), 1u) << "k " << k;
        EXPECT_EQ(dialogs_.shown[0].kind, MessageKind::Error) << "k " << k;
        EXPECT_EQ(dialogs_.shown[0].text.rfind("Cannot create the control", 0), 0u);
        EXPECT_TRUE(Form().Visible()) << "k " << k;
        EXPECT_EQ(window_.ItemCount(), made) << "k " << k;
        EXPECT_EQ(window_.Definition().items.size(), static_cast<std::size_t>(made));
        for (int n = 1; n <= made; ++n) EXPECT_TRUE(Item(n).picture->Visible()) << n;
        EXPECT_EQ(Item(made + 1).label, nullptr) << "k " << k;
        EXPECT_EQ(Form().Controls().size(), fixedParts + 4u * made) << "k " << k;
        EXPECT_EQ(peer.liveControls, static_cast<int>(Form().Controls().size())) << "k " << k;

        window_.LoadMenu("main.mnu");  // the next load works
        EXPECT_EQ(dialogs_.shown.size(), 1u) << "k " << k;
        EXPECT_EQ(window_.ItemCount(), 3) << "k " << k;
        EXPECT_EQ(Form().Controls().size(), fixedParts + 12u) << "k " << k;
        EXPECT_EQ(peer.liveControls, static_cast<int>(Form().Controls().size())) << "k " << k;
    }
}

}  // namespace
}  // namespace ambrevo
