#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "pack/cli/commands.h"
#include "pack/common/file_io.h"
#include "pack/writer/menu_body_writer.h"
#include "pack/writer/package_writer.h"
#include "source_folder.h"
#include "support/pe_image.h"

namespace ambrevo::pack {
namespace {

namespace pe = ambrevo::testing::pe_image;

void ListAndExtractSigned(const std::string& player) {
    testing::SourceFolder folder;
    MenuDefinition menu;
    menu.title = "Signed";
    const std::vector<PackageEntryData> entries = {{"main.mnu", WriteMenuBody(menu, 7)}};
    const std::vector<std::uint8_t> built = WritePackage(
        std::span(reinterpret_cast<const std::uint8_t*>(player.data()), player.size()), entries);
    for (std::size_t padding : {0, 3}) {
        const std::string name = "signed" + std::to_string(padding);
        folder.Write(name + ".exe", pe::Signed(std::string(built.begin(), built.end()), padding));

        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunList(folder.Path(name + ".exe"), out, err), 0) << err.str();
        EXPECT_NE(out.str().find("1 menus\n\n1. main.mnu"), std::string::npos) << out.str();
        EXPECT_NE(out.str().find("title \"Signed\""), std::string::npos) << out.str();

        ASSERT_EQ(RunExtract(folder.Path(name + ".exe"), folder.Path(name),
                             folder.Path(name + "-bare.exe"), err),
                  0)
            << err.str();
        const std::vector<std::uint8_t> bare = ReadFileBytes(folder.Path(name + "-bare.exe"));
        EXPECT_EQ(std::string(bare.begin(), bare.end()), player);
        EXPECT_TRUE(std::filesystem::exists(folder.Path(name + "/package.toml")));
    }
}

// A built program as signing leaves it is listed and extracted like the unsigned one, for
// the 32-bit and the 64-bit player alike.
TEST(SignedPackageTest, ListAndExtractReadPastTheCertificateTable) {
    for (const std::string& header : {pe::Header(), pe::Header64()}) {
        SCOPED_TRACE(header.size() == pe::kHeaderSize ? "PE32" : "PE32+");
        ListAndExtractSigned(header + "bare player");
    }
}

}  // namespace
}  // namespace ambrevo::pack
