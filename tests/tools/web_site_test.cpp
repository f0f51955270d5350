#include "pack/page/web_site.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "pack/common/file_io.h"
#include "source_folder.h"

namespace ambrevo::pack {
namespace {

using testing::SourceFolder;

std::string Read(const std::filesystem::path& file) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(file);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::string> Names(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(PathToUtf8(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The Windows tool's page is unpacked once into a folder named by its files, used again
// while whole, and replaced when damaged; another page gets a folder of its own.
TEST(WebSiteTest, UnpackSite_WritesThePageOnceAndMendsIt) {
    const SourceFolder folder;
    const std::filesystem::path parent = folder.Path("temp");  // made when missing
    const std::vector<SiteFile> page = {{"index.html", "<html>"},
                                        {"ambrevo-web.wasm", std::string_view("\0asm\1", 5)}};
    const std::filesystem::path unpacked = UnpackSite(page, parent);
    EXPECT_EQ(unpacked.parent_path(), parent);
    EXPECT_TRUE(PathToUtf8(unpacked.filename()).starts_with("ambrevo-page-"));
    EXPECT_EQ(Read(unpacked / "index.html"), "<html>");
    EXPECT_EQ(Read(unpacked / "ambrevo-web.wasm"), std::string("\0asm\1", 5));

    folder.Write("temp/" + PathToUtf8(unpacked.filename()) + "/kept.txt", "");
    EXPECT_EQ(UnpackSite(page, parent), unpacked);
    EXPECT_TRUE(std::filesystem::exists(unpacked / "kept.txt")) << "a whole page is used as it is";

    struct Damage {
        std::string name;
        std::string bytes;
    };
    for (const Damage& damage : std::vector<Damage>{
             {"index.html", "<ht"}, {"index.html", "<html!"}, {"ambrevo-web.wasm", ""}}) {
        SCOPED_TRACE(damage.name + " holding \"" + damage.bytes + "\"");
        WriteTextFile(unpacked / damage.name, damage.bytes);
        EXPECT_EQ(UnpackSite(page, parent), unpacked);
        EXPECT_EQ(Read(unpacked / "index.html"), "<html>");
        EXPECT_EQ(Read(unpacked / "ambrevo-web.wasm"), std::string("\0asm\1", 5));
    }
    std::filesystem::remove(unpacked / "index.html");
    EXPECT_EQ(UnpackSite(page, parent), unpacked);
    EXPECT_EQ(Read(unpacked / "index.html"), "<html>");
    EXPECT_FALSE(std::filesystem::exists(unpacked / "kept.txt")) << "a damaged page is replaced";

    const std::vector<SiteFile> another = {{"index.html", "<html>"},
                                           {"ambrevo-web.wasm", std::string_view("\0asm\2", 5)}};
    const std::filesystem::path other = UnpackSite(another, parent);
    EXPECT_NE(other, unpacked);
    EXPECT_EQ(Read(other / "ambrevo-web.wasm"), std::string("\0asm\2", 5));
    // Nothing else is left beside them: no private folder of an unpacking.
    std::vector<std::string> expected = {PathToUtf8(unpacked.filename()),
                                         PathToUtf8(other.filename())};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(parent), expected);
}

TEST(WebSiteTest, SiteResourceName_IsTheNameInCapitalsWithUnderscores) {
    struct Case {
        std::string_view name;
        std::string resource;
    };
    for (const Case& c : std::vector<Case>{{"index.html", "INDEX_HTML"},
                                           {"ambrevo-web.wasm", "AMBREVO_WEB_WASM"},
                                           {"page_live_reload.js", "PAGE_LIVE_RELOAD_JS"},
                                           {"Page2.CSS", "PAGE2_CSS"}}) {
        EXPECT_EQ(SiteResourceName(c.name), c.resource) << c.name;
    }
    std::set<std::string> resources;
    for (const std::string_view name : kSiteFiles) {
        EXPECT_TRUE(resources.insert(SiteResourceName(name)).second) << "two files named " << name;
    }
}

}  // namespace
}  // namespace ambrevo::pack
