#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "backends/win32/services/win32_program_resources.h"
#include "support/app_error.h"

namespace ambrevo::win32 {
namespace {

// What a WAVE clip says of itself; a header that cannot be walked leaves ok false.
struct WaveFacts {
    bool ok = false;
    std::uint16_t format = 0, channels = 0, bitsPerSample = 0, blockAlign = 0;
    std::uint32_t sampleRate = 0, byteRate = 0, dataBytes = 0;
};

std::uint32_t Le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// Walks the chunks of "RIFF" size "WAVE" within the size the header gives.
WaveFacts ReadWave(const void* clip) {
    const auto* bytes = static_cast<const unsigned char*>(clip);
    WaveFacts facts;
    if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) return facts;
    const std::uint32_t end = 8 + Le32(bytes + 4);
    bool sawFormat = false, sawData = false;
    for (std::uint32_t at = 12; at + 8 <= end;) {
        const unsigned char* chunk = bytes + at;
        const std::uint32_t size = Le32(chunk + 4);
        if (size > end - at - 8) return facts;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
            facts.format = Le16(chunk + 8);
            facts.channels = Le16(chunk + 10);
            facts.sampleRate = Le32(chunk + 12);
            facts.byteRate = Le32(chunk + 16);
            facts.blockAlign = Le16(chunk + 20);
            facts.bitsPerSample = Le16(chunk + 22);
            sawFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            facts.dataBytes = size;
            sawData = true;
        }
        at += 8 + size + (size & 1);
    }
    facts.ok = sawFormat && sawData;
    return facts;
}

// The built player, opened as data: its resources without running it.
class BuiltInSoundsTest : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = ::LoadLibraryExA(AMBREVO_PLAYER_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << AMBREVO_PLAYER_PATH;
    }
    void TearDown() override {
        if (module_ != nullptr) ::FreeLibrary(module_);
    }
    HMODULE module_ = nullptr;
};

TEST_F(BuiltInSoundsTest, TheFiveClipsAreShortMonoEightBitPcmAtTwelveKilohertz) {
    Win32ProgramResources resources(module_);
    const struct {
        const char* name;
        double minSeconds, maxSeconds;
    } clips[] = {{"start_wav", 0.40, 0.50},
                 {"select_wav", 0.05, 0.15},
                 {"click_wav", 0.05, 0.15},
                 {"change_wav", 0.05, 0.15},
                 {"exit_wav", 0.05, 0.15}};
    for (const auto& clip : clips) {
        SCOPED_TRACE(clip.name);
        // Lower case on purpose: the lookup ignores letter case.
        const WaveFacts wave = ReadWave(resources.Load("wave", clip.name));
        ASSERT_TRUE(wave.ok);
        EXPECT_EQ(wave.format, 1) << "PCM";
        EXPECT_EQ(wave.channels, 1);
        EXPECT_EQ(wave.bitsPerSample, 8);
        EXPECT_EQ(wave.sampleRate, 12000u);
        EXPECT_EQ(wave.byteRate, 12000u);
        EXPECT_EQ(wave.blockAlign, 1);
        const double seconds = wave.dataBytes / 12000.0;
        EXPECT_GE(seconds, clip.minSeconds);
        EXPECT_LE(seconds, clip.maxSeconds);
    }
}

TEST_F(BuiltInSoundsTest, AMissingResourceThrowsTheSystemsText) {
    Win32ProgramResources resources(module_);
    const struct {
        const char* type;
        const char* name;
    } missing[] = {{"WAVE", "NOACTION_WAV"}, {"SOUND", "START_WAV"}};
    for (const auto& m : missing) {
        try {
            resources.Load(m.type, m.name);
            ADD_FAILURE() << m.type << "/" << m.name << " was found";
        } catch (const AppError& error) {
            const std::string text = error.what();
            EXPECT_FALSE(text.empty());
            EXPECT_EQ(text.find("successfully"), std::string::npos) << text;
        }
    }
}

}  // namespace
}  // namespace ambrevo::win32
