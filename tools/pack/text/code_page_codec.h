#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ambrevo::pack {

// One Windows code page converted by the platform: glibc's iconv in the Linux build
// (code_page_codec_iconv.cpp), WideCharToMultiByte and MultiByteToWideChar in the Windows
// build (code_page_codec_win32.cpp). Neither replaces, approximates nor drops a
// character: a text the code page cannot hold, or bytes that are no text of it, give
// nullopt.
class CodePageCodec {
public:
    // Throws PackError when this system cannot convert the code page.
    explicit CodePageCodec(std::uint32_t codePage);
    ~CodePageCodec();
    CodePageCodec(const CodePageCodec&) = delete;
    CodePageCodec& operator=(const CodePageCodec&) = delete;

    std::optional<std::string> Encode(std::string_view utf8);
    std::optional<std::string> Decode(std::string_view bytes);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace ambrevo::pack
