// The check of the disc's programs and signing in the build, with a certificate made for
// the test by openssl and files signed by osslsigncode.
#include <gtest/gtest.h>
#include <openssl/pkcs7.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "pack/cli/commands.h"
#include "pack/common/file_io.h"
#include "player_image.h"
#include "source_folder.h"
#include "support/pe_image.h"

namespace ambrevo::pack {
namespace {

namespace pe = ambrevo::testing::pe_image;

const std::filesystem::path kDemo = AMBREVO_DEMO_DIR;
constexpr char kPassword[] = "disc secret";

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

bool Succeeds(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The demo with a setup program and a batch script on its disc that the first menu runs,
// and a certificate to sign with.
class DiscSigningTest : public ::testing::Test {
protected:
    DiscSigningTest() {
        std::filesystem::copy(kDemo, folder_.Path("demo"),
                              std::filesystem::copy_options::recursive);
        std::filesystem::create_directories(folder_.Path("demo/disc/tools"));
        const std::string menu = ReadText(folder_.Path("demo/main.toml"));
        setupLine_ = std::count(menu.begin(), menu.end(), '\n') + 4;
        std::ofstream(folder_.Path("demo/main.toml"), std::ios::app)
            << "\n[[item]]\nkind = \"button\"\ntarget = '%tools\\setup.exe'\n"
               "position = [268, 290]\nsize = [96, 28]\n"
               "\n[[item]]\nkind = \"button\"\ntarget = '%NOPROC%%CD%:\\tools\\install.cmd'\n"
               "position = [368, 290]\nsize = [96, 28]\n"
               "\n[[item]]\nkind = \"button\"\ntarget = '%tools\\setup.msi'\n"
               "position = [368, 320]\nsize = [96, 28]\n";
        folder_.Write("demo/disc/tools/install.cmd", "echo\r\n");
        folder_.Write("demo/disc/tools/setup.msi", "\xD0\xCF\x11\xE0 installer");
        folder_.Write("program.exe", testing::BarePlayerImage());
        EXPECT_TRUE(Succeeds(
            "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Disc Author'"
            " -keyout " +
            Quoted(folder_.Path("key.pem")) + " -out " + Quoted(folder_.Path("cert.pem"))));
        EXPECT_TRUE(Succeeds(
            "openssl pkcs12 -export -passout " + Quoted("pass:" + std::string(kPassword)) +
            " -inkey " + Quoted(folder_.Path("key.pem")) + " -in " +
            Quoted(folder_.Path("cert.pem")) + " -out " + Quoted(folder_.Path("cert.pfx"))));
        setenv("AMBREVO_SIGN_PASSWORD", kPassword, 1);
    }
    ~DiscSigningTest() override { unsetenv("AMBREVO_SIGN_PASSWORD"); }

    static std::string ReadText(const std::filesystem::path& file) {
        const std::vector<std::uint8_t> bytes = ReadFileBytes(file);
        return {bytes.begin(), bytes.end()};
    }

    // Signs program.exe with the digest named (osslsigncode's -h) into the disc's setup.
    void SignSetup(const std::string& hash) {
        const std::filesystem::path setup = folder_.Path("demo/disc/tools/setup.exe");
        std::filesystem::remove(setup);
        EXPECT_TRUE(Succeeds("osslsigncode sign -pkcs12 " + Quoted(folder_.Path("cert.pfx")) +
                             " -pass " + Quoted(kPassword) + " -h " + hash + " -in " +
                             Quoted(folder_.Path("program.exe")) + " -out " + Quoted(setup)));
    }

    // The setup program's bytes with one byte flipped in the middle of its signature value
    // (the signer's encrypted digest), found through the signature osslsigncode extracts.
    std::string SetupWithSignatureValueFlipped() {
        const std::filesystem::path setup = folder_.Path("demo/disc/tools/setup.exe");
        const std::filesystem::path extracted = folder_.Path("signature.der");
        std::filesystem::remove(extracted);
        EXPECT_TRUE(Succeeds("osslsigncode extract-signature -in " + Quoted(setup) + " -out " +
                             Quoted(extracted)));
        const std::string der = ReadText(extracted);
        const auto* cursor = reinterpret_cast<const unsigned char*>(der.data());
        PKCS7* pkcs7 = d2i_PKCS7(nullptr, &cursor, static_cast<long>(der.size()));
        EXPECT_NE(pkcs7, nullptr);
        if (pkcs7 == nullptr) return {};
        const ASN1_OCTET_STRING* value =
            sk_PKCS7_SIGNER_INFO_value(PKCS7_get_signer_info(pkcs7), 0)->enc_digest;
        const std::string signatureValue(reinterpret_cast<const char*>(value->data),
                                         static_cast<std::size_t>(value->length));
        PKCS7_free(pkcs7);
        std::string bytes = ReadText(setup);
        const std::size_t at = bytes.find(signatureValue);
        EXPECT_NE(at, std::string::npos);
        if (at != std::string::npos) bytes[at + signatureValue.size() / 2] ^= 1;
        return bytes;
    }

    std::string Check() {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunCheck({folder_.Path("demo/package.toml")}, out, err), 0) << err.str();
        return err.str();
    }

    // The warning line at the setup item.
    std::string SetupWarning(const std::string& message) const {
        return PathToUtf8(folder_.Path("demo/main.toml")) + ":" + std::to_string(setupLine_) +
               ": warning: \"tools/setup.exe\" " + message + "\n";
    }

    testing::SourceFolder folder_;
    std::int64_t setupLine_ = 0;
};

TEST_F(DiscSigningTest, CheckNamesEachProgramThatWindowsWillRefuse) {
    const std::string blocks =
        "Smart App Control blocks it on Windows 11, and SmartScreen warns before it runs from "
        "a downloaded disc";
    struct Case {
        std::string name;
        std::function<void()> prepare;
        std::string setupWarning;  // empty: none
    };
    const std::vector<Case> cases = {
        {"unsigned",
         [&] {
             std::filesystem::copy_file(folder_.Path("program.exe"),
                                        folder_.Path("demo/disc/tools/setup.exe"),
                                        std::filesystem::copy_options::overwrite_existing);
         },
         SetupWarning("is not signed: " + blocks +
                      "; sign it with your code-signing certificate (ambrevo-pack build --sign "
                      "CERT.pfx --sign-disc) or ask its maker for a signed one")},
        {"signed", [&] { SignSetup("sha256"); }, ""},
        {"changed after signing",
         [&] {
             SignSetup("sha256");
             std::string bytes = ReadText(folder_.Path("demo/disc/tools/setup.exe"));
             bytes[pe::kHeaderSize] ^= 1;
             folder_.Write("demo/disc/tools/setup.exe", bytes);
         },
         SetupWarning("was changed after it was signed by \"Disc Author\" (the signed digest "
                      "does not match the file): Windows takes it as unsigned, and " +
                      blocks + "; sign it again")},
        {"SHA-1 only", [&] { SignSetup("sha1"); },
         SetupWarning("is signed by \"Disc Author\" with SHA-1 only, which current Windows "
                      "refuses: " +
                      blocks + "; sign it again with SHA-256")},
        {"signature value changed",
         [&] {
             SignSetup("sha256");
             folder_.Write("demo/disc/tools/setup.exe", SetupWithSignatureValueFlipped());
         },
         SetupWarning("carries a signature by \"Disc Author\" that does not match what it "
                      "signs (the signature was changed or damaged): Windows takes it as "
                      "unsigned, and " +
                      blocks + "; sign it again")},
    };
    const std::string script =
        PathToUtf8(folder_.Path("demo/main.toml")) + ":" + std::to_string(setupLine_ + 6) +
        ": warning: \"tools/install.cmd\" is a batch script, which cannot "
        "carry a signature: Smart App Control blocks it on Windows 11; "
        "have a signed program do its work\n" +
        PathToUtf8(folder_.Path("demo/main.toml")) + ":" + std::to_string(setupLine_ + 12) +
        ": warning: \"tools/setup.msi\" is an installer package, whose "
        "signature the Linux tool does not read (check it with the "
        "Windows tool): " +
        blocks + " when it is unsigned; make sure it is signed\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        EXPECT_EQ(Check(), c.setupWarning + script);
    }
}

TEST_F(DiscSigningTest, BuildSignsTheProgramSoThatItVerifiesAndListReadsIt) {
    const std::filesystem::path certificate = folder_.Path("cert.pfx");
    struct Case {
        std::string name;
        std::string player;
    };
    std::string player64 = pe::Header64() + "bare player code";
    const std::vector<Case> cases = {{"32-bit", testing::BarePlayerImage()}, {"64-bit", player64}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path output = folder_.Path("out/" + c.name + ".exe");
        BuildOptions options{
            {folder_.Path("demo/package.toml")}, folder_.Write("player.exe", c.player), output};
        options.signCertificate = certificate;
        std::ostringstream err;
        ASSERT_EQ(RunBuild(options, err), 0) << err.str();
        EXPECT_TRUE(Succeeds("osslsigncode verify -CAfile " + Quoted(folder_.Path("cert.pem")) +
                             " -in " + Quoted(output)));
        const std::string wrote = "wrote " + PathToUtf8(output) + ": " +
                                  std::to_string(std::filesystem::file_size(output)) +
                                  " bytes, 2 menus, signed\n";
        EXPECT_NE(err.str().find(wrote), std::string::npos) << err.str();
        std::ostringstream listed;
        EXPECT_EQ(RunList(output, listed, err), 0) << err.str();
        EXPECT_NE(listed.str().find("1. main.mnu"), std::string::npos) << listed.str();
    }
}

TEST_F(DiscSigningTest, AWrongPasswordWritesNothingAndSignDiscSignsTheAuthorsPrograms) {
    std::filesystem::copy_file(folder_.Path("program.exe"),
                               folder_.Path("demo/disc/tools/setup.exe"));
    BuildOptions options{{folder_.Path("demo/package.toml")},
                         folder_.Write("player.exe", testing::BarePlayerImage()),
                         folder_.Path("out/setup.exe")};
    options.quiet = true;
    options.signCertificate = folder_.Path("cert.pfx");
    setenv("AMBREVO_SIGN_PASSWORD", "wrong", 1);
    std::ostringstream err;
    EXPECT_EQ(RunBuild(options, err), 1);
    EXPECT_NE(err.str().find("the password does not open the certificate"), std::string::npos)
        << err.str();
    EXPECT_NE(err.str().find("error: cannot sign " + QuotedPath(options.output) + ": "),
              std::string::npos)
        << err.str();
    EXPECT_FALSE(std::filesystem::exists(options.output));
    EXPECT_FALSE(std::filesystem::exists(options.output.string() + ".unsigned"));

    setenv("AMBREVO_SIGN_PASSWORD", kPassword, 1);
    options.signDisc = true;
    err.str("");
    ASSERT_EQ(RunBuild(options, err), 0) << err.str();
    EXPECT_EQ(err.str().find("setup.exe"), std::string::npos) << err.str();
    EXPECT_TRUE(Succeeds("osslsigncode verify -CAfile " + Quoted(folder_.Path("cert.pem")) +
                         " -in " + Quoted(folder_.Path("demo/disc/tools/setup.exe"))));
}

}  // namespace
}  // namespace ambrevo::pack
