#include "support/json_string.h"

#include <cstdio>

namespace ambrevo {

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

}  // namespace ambrevo
