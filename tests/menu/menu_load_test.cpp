#include "menu/menu_load.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "fakes/fake_clock.h"
#include "fakes/fake_debug_output.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "menu/picture_reader.h"
#include "pack/writer/density_entry.h"
#include "pack/writer/menu_body_writer.h"
#include "pack/writer/package_writer.h"
#include "support/app_error.h"

namespace ambrevo {
namespace {

using Shown = testing::FakeDialogs::Shown;

constexpr char kFolder[] = "E:\\disc\\";
constexpr char kFileName[] = "Setup.exe";
const Shown kNotRead{"Menu could not be read.", MessageKind::Error, "Ambrevo"};

// Logs what the load asks of the window, in order.
class RecordingWindow : public MenuWindow {
public:
    MenuDefinition& Definition() override { return def; }
    void BeginLoad(const std::string& name) override { log.push_back("begin " + name); }
    bool HasBackground() const override { return def.pictures.HasPicture(0, 0, 0); }
    int Dpi() const override { return dpi; }
    void ClearMenu() override {
        log.push_back("clear");
        def = MenuDefinition{};
    }
    void ApplyWindowField(WindowField) override { ++windowFields; }
    void CreateItemControls(int n) override {
        log.push_back("create " + std::to_string(n));
        if (n == refuseControlsOf) throw AppError("Cannot create window");
        std::this_thread::sleep_for(controlTime);
    }
    void ApplyItemField(int, ItemField) override { ++itemFields; }
    void FinishItem(int n) override { log.push_back("item " + std::to_string(n)); }
    void FinishWindow() override { log.push_back("finish"); }
    void ShowItem(int n) override { log.push_back("show " + std::to_string(n)); }
    void ShowMenu() override {
        log.push_back("shown, lastFrame " + std::to_string(def.lastFrame[1][0]));
    }
    void PresentMenu() override { log.push_back("present"); }
    void ShowPreviousMenu() override { log.push_back("previous"); }
    void EndProgram() override { log.push_back("end"); }

    MenuDefinition def;
    int refuseControlsOf = 0;                  // the item whose controls cannot be made
    int dpi = 96;                              // of the screen the window shows on
    std::chrono::milliseconds controlTime{0};  // what making an item's controls takes
    std::vector<std::string> log;
    int windowFields = 0;
    int itemFields = 0;
};

std::shared_ptr<const Bitmap> Picture(int size, std::uint32_t colour) {
    return std::make_shared<Bitmap>(
        Bitmap{size, size, Pixels(static_cast<std::size_t>(size * size), colour)});
}

// A menu with a background, itemCount items, and two animation frames for item 1.
MenuDefinition Menu(int itemCount) {
    MenuDefinition menu;
    menu.title = "Disc";
    menu.items.resize(static_cast<std::size_t>(itemCount));
    menu.pictures.StorePicture(0, 0, 0, Picture(4, 0x102030));
    if (itemCount > 0) {
        for (int frame = 0; frame <= 2; ++frame)
            menu.pictures.StorePicture(1, 0, frame, Picture(2, 0xAA));
    }
    return menu;
}

std::vector<std::uint8_t> Body(const MenuDefinition& menu, int version = 7) {
    return pack::WriteMenuBody(menu, version);
}

class MenuLoadTest : public ::testing::Test {
protected:
    void SetEntries(std::vector<pack::PackageEntryData> entries) {
        const std::vector<std::uint8_t> program{'M', 'Z'};
        files_.AddFile(std::string(kFolder) + kFileName, pack::WritePackage(program, entries));
        package_.OpenPackage(kFileName);
        ASSERT_FALSE(loadError_.IsSet());
    }
    void Load(const std::string& name) { LoadMenu(name, services_, window_); }

    testing::FakeFileSystem files_;
    testing::FakeDialogs dialogs_;
    testing::FakeDebugOutput debug_;
    testing::FakeClock clock_;
    ProgramInfo info_{kFolder, kFileName, "Ambrevo"};
    LoadError loadError_;
    MenuPackage package_{files_, dialogs_, info_, loadError_};
    MenuLoadServices services_{package_, info_, dialogs_, debug_, clock_};
    RecordingWindow window_;
};

TEST_F(MenuLoadTest, AppliesEachValueAsReadThenShowsAndPresentsTheMenu) {
    SetEntries({{"main.mnu", Body(Menu(2))}});

    Load("Main.MNU");

    EXPECT_EQ(window_.log,
              (std::vector<std::string>{"begin Main.MNU", "clear", "create 1", "item 1", "create 2",
                                        "item 2", "finish", "show 1", "show 2",
                                        "shown, lastFrame 2", "present"}));
    EXPECT_EQ(window_.windowFields, static_cast<int>(WindowFields(7).size()));
    EXPECT_EQ(window_.itemFields, 2 * static_cast<int>(ItemFields(7).size()));
    EXPECT_EQ(window_.def.title, "Disc");
    EXPECT_TRUE(window_.HasBackground());
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(MenuLoadTest, EntryThatCannotBeReadEndsTheProgramOrKeepsTheEarlierMenu) {
    MenuDefinition badVersion = Menu(1);
    std::vector<std::uint8_t> oldBody = Body(badVersion);
    oldBody[5] = 5;  // version 5
    SetEntries({{"main.mnu", Body(Menu(3))}, {"old.mnu", oldBody}});
    const Shown missing{"Could not locate specified package:\r\rnope.mnu", MessageKind::Warning,
                        "Ambrevo"};

    Load("nope.mnu");  // no menu on show yet
    EXPECT_EQ(window_.log.back(), "end");
    EXPECT_EQ(dialogs_.shown, (std::vector<Shown>{missing, kNotRead}));

    loadError_.Clear();
    Load("main.mnu");
    window_.log.clear();
    dialogs_.shown.clear();
    Load("old.mnu");
    ASSERT_EQ(dialogs_.shown.size(), 2u);
    EXPECT_EQ(dialogs_.shown[1], kNotRead);
    EXPECT_EQ(window_.log, (std::vector<std::string>{"begin old.mnu", "previous"}));
    EXPECT_EQ(window_.def.items.size(), 3u) << "the earlier menu stays intact";
}

TEST_F(MenuLoadTest, WrongTagIsReportedOnceAndEveryLaterLoadFails) {
    std::vector<std::uint8_t> body = Body(Menu(0));
    MenuDefinition noPictures = Menu(1);
    noPictures.pictures.Clear();
    std::vector<std::uint8_t> damaged = Body(noPictures);
    damaged[damaged.size() - 9] = 3;  // the last item's last integer carries the long tag
    SetEntries({{"main.mnu", body}, {"damaged.mnu", damaged}});

    Load("damaged.mnu");
    EXPECT_EQ(
        dialogs_.shown,
        (std::vector<Shown>{{"Error loading binary menu data.", MessageKind::Warning, "Warning"}}));
    EXPECT_EQ(window_.log.back(), "present") << "the menu shows with what was read";

    dialogs_.shown.clear();
    Load("main.mnu");
    EXPECT_EQ(dialogs_.shown, std::vector<Shown>{kNotRead});
}

TEST_F(MenuLoadTest, ExpiryNoticeComesAfterTheMenuIsPresented) {
    MenuDefinition expired = Menu(1);
    expired.expiryYear = 2026;
    expired.expiryMonth = 12;
    expired.expiryDay = 7;
    expired.expiryMessage = "This disc has expired.";
    MenuDefinition today = expired;
    today.expiryDay = 8;
    SetEntries({{"expired.mnu", Body(expired)}, {"today.mnu", Body(today)}});
    clock_.today = {2026, 12, 8};

    Load("today.mnu");
    EXPECT_TRUE(dialogs_.shown.empty());
    Load("expired.mnu");
    EXPECT_EQ(dialogs_.shown,
              (std::vector<Shown>{
                  {"This disc has expired.", MessageKind::Information, "Expiration Information"}}));
    EXPECT_EQ(window_.log.back(), "present");
}

TEST_F(MenuLoadTest, DamagedPictureShowsWhatWasReadThenUnwinds) {
    std::vector<std::uint8_t> body = Body(Menu(1));
    body.back() ^= 0xFF;  // the last picture's zlib check no longer matches
    SetEntries({{"main.mnu", body}, {"good.mnu", Body(Menu(1))}});

    EXPECT_THROW(Load("main.mnu"), AppError);
    EXPECT_EQ(window_.log.back(), "shown, lastFrame 1") << "frames 0 and 1 were read";

    Load("good.mnu");  // the stream was closed: the next load reads normally
    EXPECT_EQ(window_.log.back(), "present");
}

// The same menu loaded again from a rebuilt package takes the pictures whose streams did
// not change from the load before and decodes the rest; a load of another menu decodes
// everything and lets go of every picture of the menu before.
TEST_F(MenuLoadTest, ReloadedMenuDecodesOnlyTheChangedPictures) {
    PictureReuse reuse;
    services_.reuse = &reuse;
    MenuDefinition menu = Menu(1);
    SetEntries({{"main.mnu", Body(menu)}, {"other.mnu", Body(Menu(1))}});
    Load("main.mnu");
    const auto background = [&] { return window_.def.pictures.Picture(0, 0, 0); };
    const auto frame = [&](int n) { return window_.def.pictures.Picture(1, 0, n); };
    std::shared_ptr<const Bitmap> oldFrame = frame(2);
    const std::weak_ptr<const Bitmap> oldBackground = background();

    menu.pictures.StorePicture(0, 0, 0, Picture(4, 0x405060));
    SetEntries({{"main.mnu", Body(menu)}, {"other.mnu", Body(Menu(1))}});
    reuse.ReuseForNextLoad();
    Load("main.mnu");
    EXPECT_EQ(frame(2), oldFrame) << "an unchanged stream is not decoded again";
    ASSERT_NE(background(), nullptr);
    EXPECT_EQ(background()->pixels.front(), 0x405060u) << "a changed one is";
    EXPECT_TRUE(oldBackground.expired()) << "the replaced picture is let go";

    Load("other.mnu");
    EXPECT_NE(frame(2), oldFrame) << "another menu decodes its own, equal or not";
    EXPECT_EQ(frame(2)->pixels, oldFrame->pixels);
    const std::weak_ptr<const Bitmap> mainFrame = oldFrame;
    oldFrame.reset();
    EXPECT_TRUE(mainFrame.expired()) << "nothing of the menu before is kept";
    EXPECT_TRUE(dialogs_.shown.empty());
}

// The items are read before their controls are made, and the pictures decode meanwhile;
// the effects stay those of applying each value as it is read.
TEST_F(MenuLoadTest, ItemsMadeWhilePicturesDecodeKeepTheirEffectsInFileOrder) {
    const auto imageLines = [this] {
        return std::count_if(debug_.lines.begin(), debug_.lines.end(), [](const std::string& line) {
            return line.find("Getting Image") != std::string::npos;
        });
    };
    MenuDefinition menu = Menu(30);
    for (int n = 1; n <= 30; ++n) {
        for (int frame = 0; frame < 8; ++frame) {
            menu.pictures.StorePicture(n, 1, frame, Picture(16, 0x010101u * n + frame));
        }
    }
    const long pictureCount = 1 + 3 + 30 * 8;

    {  // the controls of the third item cannot be made: no picture, no line
        SetEntries({{"main.mnu", Body(menu)}});
        window_.refuseControlsOf = 3;
        window_.controlTime = std::chrono::milliseconds(10);  // the first pictures are done
        EXPECT_THROW(Load("main.mnu"), AppError);
        EXPECT_EQ(window_.def.items.size(), 2u);
        EXPECT_FALSE(window_.HasBackground());
        EXPECT_FALSE(window_.def.pictures.HasPicture(1, 1, 0));
        EXPECT_EQ(imageLines(), 0);
        EXPECT_FALSE(loadError_.IsSet());
    }
    {  // a scratch in the first item, just after its long description: the item keeps the
       // three fields read before it, and no picture is read
        menu.items[0].description = std::string(70000, 'd');
        const std::vector<std::uint8_t> body = Body(menu);
        const std::vector<pack::PackageEntryData> entries{{"main.mnu", body}};
        SetEntries(entries);
        const std::vector<std::uint8_t> program{'M', 'Z'};
        const std::vector<std::uint8_t> file = pack::WritePackage(program, entries);
        const std::vector<std::uint8_t> longText(70000, 'd');
        const auto text = std::search(file.begin(), file.end(), longText.begin(), longText.end());
        files_.BreakFileAt(std::string(kFolder) + kFileName, (text - file.begin()) + 70010);
        window_ = RecordingWindow{};
        debug_.lines.clear();
        EXPECT_THROW(Load("main.mnu"), AppError);
        EXPECT_EQ(window_.log,
                  (std::vector<std::string>{"begin main.mnu", "clear", "create 1", "finish",
                                            "show 1", "shown, lastFrame 0"}));
        EXPECT_EQ(window_.itemFields, 3);
        EXPECT_EQ(imageLines(), 0);
    }
    {  // every picture, its line after every item
        menu.items[0].description = "short";
        SetEntries({{"main.mnu", Body(menu)}});
        window_ = RecordingWindow{};
        debug_.lines.clear();
        Load("main.mnu");
        EXPECT_EQ(window_.log.back(), "present");
        EXPECT_EQ(window_.itemFields, 30 * static_cast<int>(ItemFields(7).size()));
        EXPECT_EQ(imageLines(), pictureCount);
        EXPECT_TRUE(window_.def.pictures.HasPicture(30, 1, 7));
    }
}

TEST_F(MenuLoadTest, ItemsBeyondAHundredAreReadAndDropped) {
    // A body of 101 items, spliced from bodies the writer can make: the items of a
    // 100-item menu, its last item once more, then the background of a menu that has one.
    MenuDefinition menu = Menu(100);
    menu.pictures.Clear();
    const std::vector<std::uint8_t> items100 = Body(menu);
    menu.items.pop_back();
    const std::vector<std::uint8_t> items99 = Body(menu);
    menu.items.emplace_back();
    menu.pictures.StorePicture(0, 0, 0, Picture(4, 0x102030));
    const std::vector<std::uint8_t> withBackground = Body(menu);

    std::vector<std::uint8_t> body(withBackground.begin(),
                                   withBackground.begin() + static_cast<long>(items100.size()));
    body.insert(body.end(), items100.begin() + static_cast<long>(items99.size()), items100.end());
    body.insert(body.end(), withBackground.begin() + static_cast<long>(items100.size()),
                withBackground.end());
    body[8] = 101;  // the item count of the header
    SetEntries({{"main.mnu", body}});

    Load("main.mnu");
    EXPECT_EQ(std::count(window_.log.begin(), window_.log.end(), "create 100"), 1);
    EXPECT_EQ(std::count(window_.log.begin(), window_.log.end(), "create 101"), 0);
    EXPECT_EQ(window_.def.items.size(), 100u);
    EXPECT_TRUE(window_.HasBackground()) << "the pictures after the dropped item are in step";
    EXPECT_TRUE(dialogs_.shown.empty());
}

// The menu of Menu(1) with pictures for denser screens: the background (4 x 4) at 1.5x and
// 2x, item 1's first frame (2 x 2) at 2x only.
std::vector<pack::PackageEntryData> DenseEntries(int version, int backgroundPercent = 150,
                                                 int backgroundSide = 6) {
    const std::vector<pack::MenuDensityPictures> menus = {
        {"main.mnu",
         version,
         {{backgroundPercent, 0, 0, 0, Picture(backgroundSide, 0x150150)},
          {200, 0, 0, 0, Picture(8, 0x200200)},
          {200, 1, 0, 0, Picture(4, 0x201201)}}}};
    return {{"main.mnu", Body(Menu(1), version)}, *pack::DensityEntry(menus)};
}

TEST_F(MenuLoadTest, TakesPerPictureTheDenseScaleChosenForTheScreenOnlyAboveNinetySixDpi) {
    struct Case {
        const char* what;
        int version;
        int dpi;
        std::vector<pack::PackageEntryData> entries;
        std::uint32_t background;  // the dense background's colour; 0: none
        std::uint32_t item;        // item 1's
    };
    const std::vector<Case> cases = {
        {"96 DPI", 7, 96, DenseEntries(7), 0, 0},
        {"120 DPI", 7, 120, DenseEntries(7), 0x150150, 0x201201},
        {"144 DPI", 7, 144, DenseEntries(7), 0x150150, 0x201201},
        {"192 DPI", 7, 192, DenseEntries(7), 0x200200, 0x201201},
        {"raw pixels", 6, 192, DenseEntries(6), 0x200200, 0x201201},
        {"no entry", 7, 192, {{"main.mnu", Body(Menu(1))}}, 0, 0},
        {"a 1.5x picture of the wrong size", 7, 144, DenseEntries(7, 150, 5), 0x200200, 0x201201},
        {"a slot twice at one scale: no entry", 7, 192, DenseEntries(7, 200, 6), 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetEntries(c.entries);
        window_.dpi = c.dpi;
        debug_.lines.clear();
        Load("main.mnu");
        EXPECT_FALSE(loadError_.IsSet());
        EXPECT_TRUE(dialogs_.shown.empty());
        EXPECT_EQ(debug_.lines.size(), 4u) << "a line per 1x picture, none for dense ones";
        const auto background = window_.def.densePictures.Picture(0, 0, 0);
        const auto item = window_.def.densePictures.Picture(1, 0, 0);
        EXPECT_EQ(background ? background->pixels[0] : 0u, c.background);
        EXPECT_EQ(item ? item->pixels[0] : 0u, c.item);
        EXPECT_EQ(window_.def.densePictures.Picture(1, 0, 1), nullptr);
        EXPECT_EQ(window_.def.pictures.Picture(0, 0, 0)->pixels[0], 0x102030u);
    }
}

TEST_F(MenuLoadTest, DamagedDensePicturesLeaveTheOnesAtOneXAloneWithoutAnError) {
    struct Case {
        const char* what;
        std::size_t cutFromEnd;   // of the entry's bytes
        std::size_t flipFromEnd;  // up to five bytes flipped from there towards the end; 0: none
    };
    const std::vector<Case> cases = {
        {"cut short", 5, 0},
        {"a damaged zlib stream", 0, 9},
        {"a damaged Adler-32", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<pack::PackageEntryData> entries = DenseEntries(7);
        std::vector<std::uint8_t>& dense = entries[1].data;
        dense.resize(dense.size() - c.cutFromEnd);
        for (std::size_t i = c.flipFromEnd; i > 0 && i + 4 >= c.flipFromEnd; --i) {
            dense[dense.size() - i] ^= 0xFF;
        }
        SetEntries(entries);
        window_.dpi = 192;
        Load("main.mnu");
        EXPECT_FALSE(loadError_.IsSet());
        EXPECT_TRUE(dialogs_.shown.empty());
        EXPECT_EQ(window_.def.densePictures.Picture(0, 0, 0), nullptr);
        EXPECT_EQ(window_.def.densePictures.Picture(1, 0, 0), nullptr);
        EXPECT_TRUE(window_.HasBackground());
        EXPECT_EQ(window_.log.back(), "present");
    }
}

}  // namespace
}  // namespace ambrevo
