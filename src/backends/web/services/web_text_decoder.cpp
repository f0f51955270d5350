#include "backends/web/services/web_text_decoder.h"

#include <emscripten.h>

#include <cstdlib>
#include <new>

#include "support/menu_code_pages.h"
#include "support/windows_1252.h"

// The bytes decoded with the label's decoder into UTF-8 allocated with malloc (null when
// memory runs out), its length into *length. Undecodable bytes become U+FFFD; a byte order
// mark is kept as a character, as Windows keeps it.
EM_JS(char*, ambrevo_decode_text,
      (const char* bytes, std::size_t size, const char* label, std::size_t* length), {
          const text = new TextDecoder(UTF8ToString(label), {ignoreBOM : true})
                           .decode(HEAPU8.subarray(bytes, bytes + size));
          const capacity = lengthBytesUTF8(text) + 1;
          const pointer = _malloc(capacity);
          if (!pointer) return 0;
          HEAPU32[length >> 2] = stringToUTF8(text, pointer, capacity);
          return pointer;
      });

namespace ambrevo::web {
namespace {

// The browser's label of a Windows code page other than 1252; null for one it does not know.
const char* LabelOf(std::uint32_t codePage) {
    switch (codePage) {
        case 874:
            return "windows-874";
        case 932:
            return "shift_jis";
        case 936:
            return "gbk";
        case 949:
            return "euc-kr";
        case 950:
            return "big5";
        case 1250:
            return "windows-1250";
        case 1251:
            return "windows-1251";
        case 1253:
            return "windows-1253";
        case 1254:
            return "windows-1254";
        case 1255:
            return "windows-1255";
        case 1256:
            return "windows-1256";
        case 1257:
            return "windows-1257";
        case 1258:
            return "windows-1258";
        case kUtf8CodePage:
            return "utf-8";
        default:
            return nullptr;
    }
}

}  // namespace

std::string WebTextDecoder::ToUtf8(std::string_view bytes, std::uint32_t codePage) {
    if (bytes.empty()) return {};
    // Windows-1252 by the player's own table, the one that carries menu names to the page
    // and back, so that every reading of a byte agrees.
    const char* label = LabelOf(codePage);
    if (!label) return Windows1252ToUtf8(bytes);
    std::size_t length = 0;
    char* text = ambrevo_decode_text(bytes.data(), bytes.size(), label, &length);
    if (!text) throw std::bad_alloc();
    std::string decoded(text, length);
    std::free(text);
    return decoded;
}

}  // namespace ambrevo::web
