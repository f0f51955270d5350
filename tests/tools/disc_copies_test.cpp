// The ISO image and the USB copy of a disc that build writes, the image read back by the
// tests' own reader (tests/e2e/iso_image_e2e.py reads it with xorriso).
#include "pack/package/disc_copies.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "pack/cli/commands.h"
#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "pack/package/iso_image.h"
#include "iso_listing.h"
#include "player_image.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

constexpr char kLabel[] = "My Holiday Disc 2026";

std::set<std::string> FilesUnder(const std::filesystem::path& folder) {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.insert(entry.path().lexically_relative(folder).generic_string());
        }
    }
    return files;
}

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// A disc folder with a menu's file, a photo in a folder, a file the tool keeps back and
// the program an earlier build left there.
class DiscCopiesTest : public ::testing::Test {
protected:
    DiscCopiesTest() {
        folder_.Write("player.exe", testing::BarePlayerImage());
        folder_.Write("disc/readme.txt", "hello");
        folder_.Write("disc/photos/Landscape at Dawn.jpg", "jpeg");
        folder_.Write("disc/.git/config", "kept back");
        folder_.Write("disc/setup.exe", "an earlier build");
        folder_.Write("main.toml",
                      "title = \"Main\"\n[[item]]\nkind = \"button\"\n"
                      "target = \"%readme.txt\"\n");
    }

    BuildOptions Options() const {
        return {.sources = {folder_.Path("main.toml")},
                .player = folder_.Path("player.exe"),
                .output = folder_.Path("disc/setup.exe"),
                .quiet = true,
                .autorun = AutorunTexts{kLabel, std::nullopt}};
    }

    int Build(const BuildOptions& options) {
        err_.str("");
        return RunBuild(options, err_);
    }

    testing::SourceFolder folder_;
    std::ostringstream err_;
};

TEST_F(DiscCopiesTest, IsoImageHoldsTheDiscUnderJolietNamesAndItsLabel) {
    BuildOptions options = Options();
    options.iso = folder_.Path("out/disc.iso");
    ASSERT_EQ(Build(options), 0) << err_.str();
    const testing::IsoListing image = testing::ReadIsoListing(ReadFileBytes(*options.iso));
    std::vector<std::string> names;
    for (const auto& [name, bytes] : image.files) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"/autorun.inf", "/photos/Landscape at Dawn.jpg",
                                               "/readme.txt", "/setup.exe"}));
    EXPECT_EQ(image.volumeId, "MY_HOLIDAY_DISC_2026");
    EXPECT_EQ(Text(image.files.at("/autorun.inf")),
              AutorunInf("setup.exe", AutorunTexts{kLabel, std::nullopt}));
    EXPECT_EQ(image.files.at("/setup.exe"), ReadFileBytes(options.output));
    EXPECT_EQ(Text(image.files.at("/readme.txt")), "hello");
    // The Joliet label, which Windows shows, is the label's first 16 characters.
    EXPECT_EQ(image.jolietVolumeId, u"My Holiday Disc");
}

// Names outside ASCII reach the image whole, whatever the user's locale, each file with its
// own bytes; a name the image would cut short is refused before anything is written.
TEST_F(DiscCopiesTest, IsoImageKeepsEveryNameWholeOrRefusesIt) {
    const std::string longest = std::string(99, 'n') + ".txt";
    const struct {
        const char* name;
        std::vector<std::string> files;
        std::string error;  // empty: written
    } cases[] = {
        {"accents", {"Été à Paris.txt", "photos/Crème brûlée.jpg"}, ""},
        {"beyond Latin-1", {"日本.txt", "中国.txt", "Ελληνικά/Ωμέγα.txt"}, ""},
        {"outside the basic plane", {"emoji 😀.txt"}, ""},
        {"the longest name", {longest, "photos/" + longest}, ""},
        {"a name too long",
         {"photos/" + longest + "x"},
         "cannot make the ISO image: the name \"" + longest +
             "x\" is longer than the 103 characters an image holds"},
        {"a folder's name too long",
         {std::string(104, 'f') + "/a.txt"},
         "cannot make the ISO image: the name \"" + std::string(104, 'f') +
             "\" is longer than the 103 characters an image holds"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<DiscImageFile> files;
        for (const std::string& name : c.files)
            files.push_back({name, {}, {name.begin(), name.end()}});
        const std::filesystem::path iso = folder_.Path(std::string(c.name) + ".iso");
        if (!c.error.empty()) {
            try {
                WriteIsoFile(iso, files, "Names");
                ADD_FAILURE() << c.name << ": written";
            } catch (const PackError& refused) {
                EXPECT_EQ(refused.what(), c.error) << c.name;
            }
            for (const std::string& left : FilesUnder(folder_.Path(""))) {
                EXPECT_EQ(left.find(c.name), std::string::npos) << left;  // nor a temporary
            }
            continue;
        }
        WriteIsoFile(iso, files, "Names");
        const testing::IsoListing image = testing::ReadIsoListing(ReadFileBytes(iso));
        std::map<std::string, std::vector<std::uint8_t>> expected;
        for (const std::string& name : c.files) expected["/" + name] = {name.begin(), name.end()};
        EXPECT_EQ(image.files, expected) << c.name;
    }
}

TEST_F(DiscCopiesTest, TwoBuildsGiveTheSameImageWithNoDateOfTheirOwn) {
    const auto today = [] {
        const std::time_t now = std::time(nullptr);
        const std::tm utc = *std::gmtime(&now);  // the test's one thread
        char text[16];
        std::strftime(text, sizeof text, "%Y%m%d", &utc);
        return std::string(text);
    };
    const std::string before = today();
    BuildOptions options = Options();
    options.iso = folder_.Path("first.iso");
    ASSERT_EQ(Build(options), 0) << err_.str();
    // The disc's files change their times, not their bytes.
    std::filesystem::last_write_time(
        folder_.Path("disc/readme.txt"),
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(50));
    options.iso = folder_.Path("second.iso");
    ASSERT_EQ(Build(options), 0) << err_.str();
    const std::vector<std::uint8_t> first = ReadFileBytes(folder_.Path("first.iso"));
    EXPECT_EQ(first, ReadFileBytes(folder_.Path("second.iso")));
    for (const std::string& date : {before, today()}) {
        EXPECT_EQ(Text(first).find(date), std::string::npos) << date;
    }
}

TEST_F(DiscCopiesTest, UsbFolderKeepsTheDiscFilesBesideTheProgramItNamesToStart) {
    BuildOptions options = Options();
    options.autorun.reset();
    options.label = "Holiday: 2026?";
    options.usb = folder_.Path("stick");
    ASSERT_EQ(Build(options), 0) << err_.str();
    EXPECT_EQ(FilesUnder(*options.usb),
              (std::set<std::string>{"Start Holiday_ 2026_.exe", "autorun.inf",
                                     "photos/Landscape at Dawn.jpg", "readme.txt"}));
    EXPECT_EQ(Text(ReadFileBytes(*options.usb / "autorun.inf")),
              "[autorun]\r\nicon=Start Holiday_ 2026_.exe\r\nlabel=Holiday: 2026?\r\n");
    EXPECT_EQ(ReadFileBytes(*options.usb / "Start Holiday_ 2026_.exe"),
              ReadFileBytes(options.output));
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("disc/autorun.inf")));
}

TEST_F(DiscCopiesTest, CopiesThatCannotBeMadeStopTheBuildBeforeItWrites) {
    struct Case {
        std::string name;
        std::function<void(BuildOptions&)> change;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"no label",
         [](BuildOptions& o) {
             o.autorun.reset();
             o.iso = "x.iso";
         },
         "error: --iso needs the disc's name: give --autorun LABEL or --label LABEL\n"},
        {"two labels",
         [](BuildOptions& o) {
             o.label = "Other";
             o.usb = "stick";
         },
         "error: --label names a disc without autorun.inf; with --autorun, its label names the "
         "disc\n"},
        {"stick in the disc folder", [&](BuildOptions& o) { o.usb = folder_.Path("disc/stick"); },
         "error: the USB folder " + QuotedPath(folder_.Path("disc/stick")) +
             " lies in the disc folder " + QuotedPath(folder_.Path("disc")) +
             ", whose files it copies; choose a folder outside it\n"},
        {"image over the player", [&](BuildOptions& o) { o.iso = folder_.Path("player.exe"); },
         "error: the copy of the disc " + QuotedPath(folder_.Path("player.exe")) +
             " would replace the player or the program\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildOptions options = Options();
        options.output = folder_.Path("new/setup.exe");
        c.change(options);
        EXPECT_EQ(Build(options), 1);
        EXPECT_EQ(err_.str(), c.error);
        EXPECT_FALSE(std::filesystem::exists(options.output));
    }
}

TEST(DiscCopyNamesTest, NamesAndSizesFollowWhatDiscsAndSticksHold) {
    EXPECT_EQ(UsbProgramName("Fotos <2026> \"Sommer\"..."), "Start Fotos _2026_ _Sommer_.exe");
    EXPECT_EQ(UsbProgramName("Tab\there"), "Start Tab_here.exe");
    EXPECT_THROW(UsbProgramName(". ."), PackError);

    const IsoVolumeNames names = IsoVolumeNamesFor("Café photos – a very long label indeed");
    EXPECT_EQ(names.iso, "CAF__PHOTOS___A_VERY_LONG_LABEL_");
    EXPECT_EQ(names.joliet, u"Café photos – a ");
    EXPECT_EQ(IsoVolumeNamesFor("Fifteen chars 😀").joliet, u"Fifteen chars 😀");
    EXPECT_EQ(IsoVolumeNamesFor("Fifteen chars! 😀").joliet, u"Fifteen chars! ");
    EXPECT_THROW(IsoVolumeNamesFor(""), PackError);

    const std::string longName(256, 'a');
    struct Case {
        std::string name;
        std::uintmax_t size;
        bool fits;
    };
    const std::vector<Case> cases = {
        {"a.txt", 0, true},
        {"a.txt", (std::uintmax_t{4} << 30) - 1, true},
        {"a.txt", std::uintmax_t{4} << 30, false},
        {std::string(255, 'a'), 1, true},
        {"folder/" + longName, 1, false},
        {longName + "/a.txt", 1, false},
        {std::string(255, 'a') + "/" + std::string(255, 'b'), 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.substr(0, 20) + " " + std::to_string(c.size));
        EXPECT_EQ(!FatProblem({c.name, {}, {}}, c.size).has_value(), c.fits);
    }
}

}  // namespace
}  // namespace ambrevo::pack
