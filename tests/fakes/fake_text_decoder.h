#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "services/text_decoder.h"
#include "support/utf8.h"
#include "support/windows_1252.h"

namespace ambrevo::testing {

// A machine whose ANSI code page is Windows-1252, and that knows Windows-1251's letters
// (0xC0..0xFF are А..я; its other high bytes are left out). Records the code pages asked for.
class FakeTextDecoder : public TextDecoder {
public:
    std::string ToUtf8(std::string_view bytes, std::uint32_t codePage) override {
        asked.push_back(codePage);
        if (codePage != 1251) return Windows1252ToUtf8(bytes);
        std::string out;
        for (char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0xC0) {
                AppendUtf8(out, 0x0410 + (byte - 0xC0));
            } else if (byte >= 0x80) {
                AppendUtf8(out, 0xFFFD);
            } else {
                out += c;
            }
        }
        return out;
    }

    std::vector<std::uint32_t> asked;
};

}  // namespace ambrevo::testing
