#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "support/utf8.h"

namespace ambrevo::pack {

// Menu texts are 8-bit text in a Windows code page; sources and listings are UTF-8. A menu
// may declare its code page ("code_page" in its source, "codepages.dat" in the package);
// one that declares none is Windows-1252 here and the machine's ANSI code page on the
// player's machine.
//
// The code pages a menu can declare: the Windows ANSI code pages of every script and
// UTF-8. Windows-1252 goes through the table the player shares; UTF-8 is checked here;
// the others go through the platform's converter (code_page_codec.h). ASCII is the same
// in all of them.

// True for kSystemCodePage (0: declares nothing) and the code pages listed above.
bool IsMenuCodePage(std::uint32_t codePage);
// "874, 932, 936, 949, 950, 1250 to 1258 or 65001": for messages.
std::string MenuCodePageList();
// "Windows-1252", "UTF-8", or "code page 932": for messages. kSystemCodePage names
// Windows-1252, the code page such texts are written in.
std::string CodePageName(std::uint32_t codePage);

// The text in the code page (kSystemCodePage: Windows-1252), or the first character the
// code page cannot hold: a character without bytes of its own there, or one whose bytes
// would read back as another character (the code page's "best fit" replacements are
// refused); kInvalidUtf8 for a byte that is not UTF-8. Throws PackError for a code page
// that IsMenuCodePage refuses or this system cannot convert.
struct EncodedText {
    std::string bytes;
    std::optional<std::uint32_t> unencodable;
};
EncodedText EncodeText(std::string_view utf8, std::uint32_t codePage);

// The UTF-8 text that EncodeText turns back into exactly these bytes, or nullopt when
// there is none: bytes that are no text of the code page, or a character stored in two
// ways (the text could not be built again as it is). Throws PackError like EncodeText.
std::optional<std::string> DecodeText(std::string_view bytes, std::uint32_t codePage);

// The UTF-8 text for messages and listings: bytes that are no text of the code page show
// as U+FFFD, and a code page that IsMenuCodePage refuses reads as Windows-1252.
std::string DisplayText(std::string_view bytes, std::uint32_t codePage);

// True when no byte is 0x80 or above: the text reads the same in every code page.
bool IsAscii(std::string_view text);

// "the character U+00E9", or "a byte that is not UTF-8" for kInvalidUtf8: for messages.
std::string CodePointName(std::uint32_t codePoint);

}  // namespace ambrevo::pack
