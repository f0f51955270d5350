#include "support/sound_effects.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fakes/fake_file_system.h"
#include "fakes/fake_sound_player.h"
#include "support/app_error.h"

namespace ambrevo {
namespace {

using testing::FakeSoundPlayer;
using Played = FakeSoundPlayer::Played;

constexpr char kFolder[] = "E:\\disc\\";
constexpr FileAttributes kPlain{};
constexpr FileAttributes kHidden{.hidden = true};
constexpr FileAttributes kSystem{.system = true};
constexpr FileAttributes kFolderEntry{.directory = true};

struct Beside {
    std::string name;  // in the program folder
    FileAttributes attributes;
};

class SoundEffectsTest : public ::testing::Test {
protected:
    SoundEffectsTest() { sounds_.LoadBuiltInSounds(resources_); }

    static void Put(testing::FakeFileSystem& folder, const std::vector<Beside>& files) {
        for (const Beside& file : files) {
            if (file.attributes.directory) {
                folder.AddFolder(kFolder + file.name, file.attributes);
            } else {
                folder.AddFile(kFolder + file.name, "RIFF", file.attributes);
            }
        }
    }

    static Played File(const std::string& name, bool wait) {
        return {"file " + std::string(kFolder) + name, wait};
    }
    static Played Clip(const std::string& name, bool wait) { return {"clip WAVE/" + name, wait}; }

    ProgramInfo program_{kFolder, "setup.exe", "Ambrevo"};
    testing::FakeFileSystem files_;
    FakeSoundPlayer player_;
    testing::FakeProgramResources resources_;
    int messageRounds_ = 0;
    SoundEffects sounds_{player_, files_, program_, [this] { ++messageRounds_; }};
};

TEST_F(SoundEffectsTest, EachSoundPlaysTheFirstFileThatCountsElseItsBuiltInClip) {
    using Play = std::function<void(SoundEffects&)>;
    const Play start = [](SoundEffects& s) { s.PlayStartSound(); };
    const Play exit = [](SoundEffects& s) { s.PlayExitSound(); };
    const auto select = [](std::string menu, int item) {
        return [=](SoundEffects& s) { s.PlaySelectSound(menu, item); };
    };
    const auto click = [](std::string menu, int item, bool wait) {
        return [=](SoundEffects& s) { s.PlayClickSound(menu, item, wait); };
    };
    const auto change = [](std::string target) {
        return [=](SoundEffects& s) { s.PlayChangeSound(target); };
    };
    const Play noAction = [](SoundEffects& s) { s.PlayNoActionSound(); };
    const std::vector<Played> silent;

    struct Case {
        const char* what;
        Play play;
        std::vector<Beside> files;
        std::vector<Played> expected;
    };
    const Case cases[] = {
        {"start file", start, {{"START.WAV", kPlain}}, {File("start.wav", false)}},
        {"start: a hidden file counts",
         start,
         {{"start.wav", kHidden}},
         {File("start.wav", false)}},
        {"start: a folder counts",
         start,
         {{"start.wav", kFolderEntry}},
         {File("start.wav", false)}},
        {"start built in", start, {{"exit.wav", kPlain}}, {Clip("START_WAV", false)}},
        {"exit file waits", exit, {{"exit.wav", kSystem}}, {File("exit.wav", true)}},
        {"exit built in waits", exit, {}, {Clip("EXIT_WAV", true)}},

        {"select per menu and item",
         select("main.mnu", 3),
         {{"mains3.wav", kPlain}, {"select3.wav", kPlain}, {"select.wav", kPlain}},
         {File("mains3.wav", false)}},
        {"select per item",
         select("main.mnu", 3),
         {{"s3.wav", kPlain},
          {"mains4.wav", kPlain},
          {"select3.wav", kPlain},
          {"select.wav", kPlain}},
         {File("select3.wav", false)}},
        {"select for every item",
         select("main.mnu", 3),
         {{"select.wav", kHidden}},
         {File("select.wav", false)}},
        {"select: a folder counts",
         select("main.mnu", 3),
         {{"mains3.wav", kFolderEntry}},
         {File("mains3.wav", false)}},
        {"select built in",
         select("main.mnu", 3),
         {{"select31.wav", kPlain}},
         {Clip("SELECT_WAV", false)}},
        {"select: menu name without a dot has no base",
         select("main", 3),
         {{"mains3.wav", kPlain}, {"s3.wav", kPlain}},
         {File("s3.wav", false)}},
        {"select: menu name starting with a dot",
         select(".mnu", 12),
         {{"s12.wav", kPlain}},
         {File("s12.wav", false)}},
        {"select: base ends at the first dot",
         select("a.b.mnu", 1),
         {{"a.bs1.wav", kPlain}, {"as1.wav", kPlain}},
         {File("as1.wav", false)}},

        {"click per menu and item",
         click("main.mnu", 3, true),
         {{"mainc3.wav", kPlain}, {"click3.wav", kPlain}},
         {File("mainc3.wav", true)}},
        {"click: menu name without a dot",
         click("main", 3, true),
         {{"mainc3.wav", kPlain}, {"c3.wav", kPlain}},
         {File("c3.wav", true)}},
        {"click: hidden, system and folder entries do not count",
         click("main.mnu", 3, false),
         {{"mainc3.wav", kHidden}, {"click3.wav", kSystem}, {"click.wav", kPlain}},
         {File("click.wav", false)}},
        {"click built in keeps the wait choice",
         click("main.mnu", 3, false),
         {{"click.wav", kFolderEntry}},
         {Clip("CLICK_WAV", false)}},
        {"click built in waits", click("main.mnu", 3, true), {}, {Clip("CLICK_WAV", true)}},

        {"change to the target menu's sound",
         change("help.mnu"),
         {{"help.wav", kPlain}, {"change.wav", kPlain}, {"main.wav", kPlain}},
         {File("help.wav", true)}},
        {"change: hidden target sound skipped",
         change("help.mnu"),
         {{"help.wav", kHidden}, {"change.wav", kPlain}},
         {File("change.wav", true)}},
        {"change built in waits",
         change("help.mnu"),
         {{"change.wav", kSystem}},
         {Clip("CHANGE_WAV", true)}},

        {"no action file waits",
         noAction,
         {{"noaction.wav", kPlain}},
         {File("noaction.wav", true)}},
        {"no action has no built-in clip", noAction, {}, silent},
        {"no action: a hidden file does not count", noAction, {{"noaction.wav", kHidden}}, silent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing::FakeFileSystem files;
        Put(files, c.files);
        FakeSoundPlayer player;
        SoundEffects sounds(player, files, program_, [] {});
        sounds.LoadBuiltInSounds(resources_);

        c.play(sounds);

        EXPECT_EQ(player.played, c.expected);
    }
}

TEST_F(SoundEffectsTest, ClickSoundPlaysOncePerActionThenLetsMessagesRun) {
    sounds_.PlayClickSound("main.mnu", 1, true);
    EXPECT_TRUE(sounds_.ClickSoundPlayed());
    EXPECT_EQ(messageRounds_, 100);

    // A second click request of the same action does nothing at all.
    sounds_.PlayClickSound("main.mnu", 2, false);
    EXPECT_EQ(player_.played, std::vector<Played>{Clip("CLICK_WAV", true)});
    EXPECT_EQ(messageRounds_, 100);

    sounds_.ClearClickSoundPlayed();
    EXPECT_FALSE(sounds_.ClickSoundPlayed());
    sounds_.PlayClickSound("main.mnu", 2, false);
    EXPECT_EQ(player_.played.size(), 2u);
    EXPECT_EQ(messageRounds_, 200);
}

TEST_F(SoundEffectsTest, BuiltInSoundNumbersOtherThanTheFourKnownPlaySelect) {
    const struct {
        int number;
        const char* clip;
    } cases[] = {{1, "START_WAV"}, {2, "SELECT_WAV"}, {3, "CLICK_WAV"},  {4, "CHANGE_WAV"},
                 {5, "EXIT_WAV"},  {0, "SELECT_WAV"}, {6, "SELECT_WAV"}, {-1, "SELECT_WAV"}};
    for (const auto& c : cases) {
        player_.played.clear();
        sounds_.PlayBuiltInSound(c.number, c.number % 2 == 0);
        EXPECT_EQ(player_.played, std::vector<Played>{Clip(c.clip, c.number % 2 == 0)})
            << "number " << c.number;
    }
}

TEST_F(SoundEffectsTest, LoadBuiltInSoundsAsksForTheFiveClipsInOrderAndFailsOnAMissingOne) {
    EXPECT_EQ(resources_.asked,
              (std::vector<std::string>{"WAVE/START_WAV", "WAVE/SELECT_WAV", "WAVE/CLICK_WAV",
                                        "WAVE/CHANGE_WAV", "WAVE/EXIT_WAV"}));

    testing::FakeProgramResources damaged;
    damaged.missing = {"CHANGE_WAV"};
    SoundEffects sounds(player_, files_, program_, [] {});
    EXPECT_THROW(sounds.LoadBuiltInSounds(damaged), AppError);
    EXPECT_EQ(damaged.asked.size(), 4u);
}

TEST_F(SoundEffectsTest, BuiltInSoundsAreSilentBeforeTheyAreLoaded) {
    SoundEffects unloaded(player_, files_, program_, [] {});
    unloaded.PlayStartSound();
    unloaded.PlaySelectSound("main.mnu", 1);
    EXPECT_TRUE(player_.played.empty());
}

}  // namespace
}  // namespace ambrevo
