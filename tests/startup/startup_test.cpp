#include "startup/startup.h"

#include <gtest/gtest.h>

#include <vector>

#include "fakes/fake_application_icon.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_debug_output.h"
#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_sound_player.h"
#include "fakes/fake_text_decoder.h"
#include "support/byte_builder.h"

namespace ambrevo {
namespace {

using testing::ByteBuilder;
using testing::FakeDialogs;
using Shown = FakeDialogs::Shown;

constexpr char kProgramPath[] = "E:\\disc\\Setup.EXE";
constexpr char kFolder[] = "E:\\disc\\";
const std::string kProgram = "MZ-the-program";

// A program file with a package of the named, empty entries; headerByteTag 1 is correct.
std::string PlayerWithPackage(const std::vector<std::string>& names, int headerByteTag = 1) {
    ByteBuilder file;
    file.Text(kProgram);
    const auto packageStart = static_cast<std::int32_t>(file.Size());
    file.Text("FPAK").Bytes({2, 0, 0});
    file.Bytes({4}).Le32(4).Text("Pack");
    file.Bytes({headerByteTag}).Le32(1).Bytes({0});
    file.Bytes({static_cast<int>(names.size())});
    for (const std::string& name : names) {
        file.Text(name).Fill(kDirectoryNameSize - name.size(), ' ').Le32(packageStart + 1);
    }
    file.Le32(packageStart + 1);
    return file.Str();
}

// Records what start-up asks of the menu window, in order.
class RecordingWindow : public StartupWindow {
public:
    void BuildWindowParts() override { steps.push_back("parts"); }
    void LoadMenu(const std::string& name) override { steps.push_back("load " + name); }
    void SeedRandom(std::uint32_t seed) override {
        steps.push_back("seed " + std::to_string(seed));
    }
    std::vector<std::string> steps;
};

// Records the sounds among the window's steps, to show when they play.
class SoundSteps : public testing::FakeSoundPlayer {
public:
    void PlayFile(const std::string& path, bool wait) override {
        FakeSoundPlayer::PlayFile(path, wait);
        if (window) window->steps.push_back(played.back().sound);
    }
    void PlayClip(const void* clip, bool wait) override {
        FakeSoundPlayer::PlayClip(clip, wait);
        if (window) window->steps.push_back(played.back().sound);
    }
    RecordingWindow* window = nullptr;
};

class StartupTest : public ::testing::Test {
protected:
    // The window steps and sounds of a run, or nothing when the program ends.
    std::optional<std::vector<std::string>> Run(const std::string& firstArgument = "") {
        RecordingWindow window;
        sound_.played.clear();
        sound_.window = &window;
        const bool started = RunStartup(program_, {kProgramPath, firstArgument, {}}, window);
        sound_.window = nullptr;
        if (!started) return std::nullopt;
        return window.steps;
    }
    static std::vector<std::string> Steps(const std::string& menu) {
        return {"parts", "load " + menu, "clip WAVE/START_WAV", "seed 12345"};
    }

    testing::FakeFileSystem files_;
    FakeDialogs dialogs_;
    testing::FakeApplicationIcon icon_;
    testing::FakeDebugOutput debug_;
    testing::FakeClock clock_;
    SoundSteps sound_;
    testing::FakeProgramResources resources_;
    testing::FakeTextDecoder text_;
    Program program_{{files_, dialogs_, icon_, debug_, clock_, files_, sound_, resources_, text_},
                     [] {}};
};

TEST_F(StartupTest, ValidPackageGivesTheProgramValuesAndTheFirstMenuName) {
    files_.AddFile(kProgramPath, PlayerWithPackage({"Main.MNU", "second.mnu"}));

    EXPECT_EQ(Run(), Steps("main.mnu"));
    EXPECT_EQ(program_.info.folder, kFolder);
    EXPECT_EQ(program_.info.fileName, "Setup.EXE");
    EXPECT_EQ(program_.info.messageCaption, "Ambrevo");
    EXPECT_EQ(Run("D:\\menus\\Second.mnu"), Steps("Second.mnu"));
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_TRUE(icon_.loaded.empty());
}

TEST_F(StartupTest, IconFileBesideTheProgramBecomesTheApplicationIcon) {
    files_.AddFile(kProgramPath, PlayerWithPackage({"main.mnu"}));
    files_.AddFile("E:\\disc\\Setup.ico", "icon bytes");

    EXPECT_EQ(Run(), Steps("main.mnu"));
    EXPECT_EQ(icon_.loaded, std::vector<std::string>{"E:\\disc\\Setup.ico"});
}

TEST_F(StartupTest, UnreadablePackageShowsItsMessagesThenEndsTheProgram) {
    const auto wrongHeaderTag = PlayerWithPackage({"main.mnu"}, 2);
    const auto garbageAtTrailer = ByteBuilder().Text(kProgram).Text("XPAK").Le32(3).Str();
    const auto noTrailer = ByteBuilder().Text(kProgram).Le32(0x7fffffff).Str();
    const Shown endMessage{"Error in loading internal menu.", MessageKind::Error, "Ambrevo"};
    const struct {
        std::string file;
        std::vector<Shown> shown;
    } cases[] = {
        {noTrailer, {{"Invalid menu address.", MessageKind::Error, "Ambrevo"}, endMessage}},
        {garbageAtTrailer,
         {{"Could not retrieve packed files", MessageKind::Error, "Ambrevo"}, endMessage}},
        {wrongHeaderTag, {endMessage}},
    };
    for (const auto& c : cases) {
        dialogs_.shown.clear();
        files_.AddFile(kProgramPath, c.file);
        EXPECT_EQ(Run(), std::nullopt);
        EXPECT_EQ(dialogs_.shown, c.shown);
    }
    EXPECT_EQ(files_.opened, std::vector<std::string>(3, kProgramPath)) << "err.txt is not read";
}

TEST_F(StartupTest, UnexpectedErrorIsReportedWithAFullStopAndEndsTheProgram) {
    const Shown badLine{"'maybe' is not a valid boolean value.", MessageKind::Error, "Ambrevo"};
    const Shown badIcon{"Cannot load the icon.", MessageKind::Error, "Ambrevo"};
    const Shown noProgramFile{
        "Cannot open file \"E:\\disc\\Setup.EXE\". The system cannot find the file specified.",
        MessageKind::Error, "Ambrevo"};

    EXPECT_EQ(Run(), std::nullopt);
    files_.AddFile(kProgramPath, PlayerWithPackage({"main.mnu"}));
    files_.AddFile("E:\\disc\\err.txt", "0\nmaybe\n1\n");
    EXPECT_EQ(Run(), std::nullopt);
    EXPECT_FALSE(program_.switches.showFileNotFoundMessage);
    EXPECT_TRUE(program_.switches.showNoViewerMessage);

    files_.AddFile("E:\\disc\\Setup.ico", "not an icon");
    icon_.loadError = "Cannot load the icon";
    const auto openedBefore = files_.opened.size();
    EXPECT_EQ(Run(), std::nullopt);
    EXPECT_EQ(files_.opened.size(), openedBefore) << "the package is not opened after the icon";

    EXPECT_EQ(dialogs_.shown, (std::vector<Shown>{noProgramFile, badLine, badIcon}));
}

TEST_F(StartupTest, StartSoundFileBesideTheProgramWinsOverTheBuiltInClip) {
    files_.AddFile(kProgramPath, PlayerWithPackage({"main.mnu"}));
    files_.AddFile("E:\\disc\\start.wav", "RIFF");

    EXPECT_EQ(Run(), (std::vector<std::string>{"parts", "load main.mnu", "file E:\\disc\\start.wav",
                                               "seed 12345"}));
    EXPECT_EQ(sound_.played.front().wait, false);
}

TEST_F(StartupTest, MissingBuiltInSoundIsReportedBeforeThePackageIsOpened) {
    files_.AddFile(kProgramPath, PlayerWithPackage({"main.mnu"}));
    resources_.missing = {"EXIT_WAV"};

    EXPECT_EQ(Run(), std::nullopt);
    EXPECT_TRUE(files_.opened.empty());
    EXPECT_TRUE(sound_.played.empty());
    EXPECT_EQ(dialogs_.shown, (std::vector<Shown>{{"The specified resource name cannot be found "
                                                   "in the image file.",
                                                   MessageKind::Error, "Ambrevo"}}));
}

}  // namespace
}  // namespace ambrevo
