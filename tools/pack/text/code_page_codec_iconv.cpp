#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>

#include "pack/common/pack_error.h"
#include "pack/text/code_page_codec.h"

namespace ambrevo::pack {
namespace {

// iconv_open's failure value.
// NOLINTNEXTLINE(performance-no-int-to-ptr)
const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));
constexpr auto kFailed = static_cast<std::size_t>(-1);

// glibc's names of the Windows code pages. "CP932" is Microsoft's Shift JIS (0x5C is "\"),
// not "SHIFT_JIS" (0x5C is the yen sign); "CP936", "CP949" and "CP950" likewise follow
// Windows' tables.
std::string IconvName(std::uint32_t codePage) { return "CP" + std::to_string(codePage); }

iconv_t Open(const std::string& to, const std::string& from, std::uint32_t codePage) {
    // No "//TRANSLIT" or "//IGNORE": a character without a place stops the conversion.
    const iconv_t descriptor = iconv_open(to.c_str(), from.c_str());
    if (descriptor == kNoDescriptor) {
        throw PackError("this system's iconv cannot convert code page " + std::to_string(codePage) +
                        " (\"" + IconvName(codePage) + "\")");
    }
    return descriptor;
}

// The whole input converted, or nullopt for a character without a place (EILSEQ), a cut
// sequence (EINVAL) or a conversion iconv itself counts as irreversible.
std::optional<std::string> Convert(iconv_t descriptor, std::string_view input) {
    iconv(descriptor, nullptr, nullptr, nullptr, nullptr);  // the initial state
    std::string output;
    std::array<char, 256> buffer{};
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    // One more round with a null input writes what a stateful converter still holds
    // (glibc's CP1255 and CP1258 keep a character back to compose it with the next).
    bool flushed = false;
    while (!flushed) {
        char* out = buffer.data();
        std::size_t outLeft = buffer.size();
        const bool flushing = inLeft == 0;
        const std::size_t result = flushing ? iconv(descriptor, nullptr, nullptr, &out, &outLeft)
                                            : iconv(descriptor, &in, &inLeft, &out, &outLeft);
        output.append(buffer.data(), static_cast<std::size_t>(out - buffer.data()));
        if (result == kFailed && errno == E2BIG) continue;
        if (result != 0) return std::nullopt;
        flushed = flushing;
    }
    return output;
}

}  // namespace

struct CodePageCodec::State {
    iconv_t encoder = kNoDescriptor;
    iconv_t decoder = kNoDescriptor;
    ~State() {
        if (encoder != kNoDescriptor) iconv_close(encoder);
        if (decoder != kNoDescriptor) iconv_close(decoder);
    }
};

CodePageCodec::CodePageCodec(std::uint32_t codePage) : state_(std::make_unique<State>()) {
    state_->encoder = Open(IconvName(codePage), "UTF-8", codePage);
    state_->decoder = Open("UTF-8", IconvName(codePage), codePage);
}

CodePageCodec::~CodePageCodec() = default;

std::optional<std::string> CodePageCodec::Encode(std::string_view utf8) {
    return Convert(state_->encoder, utf8);
}

std::optional<std::string> CodePageCodec::Decode(std::string_view bytes) {
    return Convert(state_->decoder, bytes);
}

}  // namespace ambrevo::pack
