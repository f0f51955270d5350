#include "pack/page/request_body.h"

#include <algorithm>
#include <string>

#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

// Content-Length as a number, or nullopt when it is not one; digits only, as a sign or
// spaces inside are not HTTP's, and at most 18 of them, so that it cannot overflow.
std::optional<std::size_t> DeclaredLength(const std::string& text) {
    if (text.empty() || text.size() > 18 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(std::stoull(text));
}

}  // namespace

bool AnnouncesBody(const WebRequest& head) {
    const std::string length = head.header("Content-Length");
    return !head.header("Transfer-Encoding").empty() ||
           (!length.empty() && length.find_first_not_of('0') != std::string::npos);
}

std::optional<WebResponse> BodyRefusal(const WebRequest& head, std::size_t limit) {
    if (!AnnouncesBody(head)) return std::nullopt;
    const std::string encoding = AsciiLower(head.header("Content-Encoding"));
    if (!encoding.empty() && encoding != "identity") {
        return Refusal(
            415, "a request's body must not be compressed (Content-Encoding: " + encoding + ")");
    }
    const std::string transfer = head.header("Transfer-Encoding");
    const std::string length = head.header("Content-Length");
    if (!transfer.empty()) {
        if (AsciiLower(transfer) != "chunked") {
            return Refusal(501, "a request's body may come chunked or whole, not as " + transfer);
        }
        if (!length.empty()) {
            return Refusal(400,
                           "a request's body comes chunked or with a Content-Length, "
                           "not both");
        }
        return std::nullopt;
    }
    const std::optional<std::size_t> declared = DeclaredLength(length);
    if (!declared) return Refusal(400, "Content-Length must be a number, not " + length);
    if (*declared > limit) return BodyTooLarge(limit);
    return std::nullopt;
}

WebResponse BodyTooLarge(std::size_t limit) {
    return Refusal(413,
                   "a request's body here may hold at most " + std::to_string(limit) + " bytes");
}

bool NestsDeeperThan(std::string_view json, int limit) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\') {
                ++i;  // the escaped character cannot end the string
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) return true;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return false;
}

}  // namespace ambrevo::pack
