#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "pack/page/web_routes.h"

namespace ambrevo::pack {

// Whether a request's head announces a body: a Content-Length above 0, or a chunked
// Transfer-Encoding. A request with neither has none (it is not read to the connection's
// end).
bool AnnouncesBody(const WebRequest& head);

// Why a body announced by this head is not read, or nullopt to read it, no more than limit
// bytes: compressed (415: the server inflates nothing), in a transfer coding other than
// chunked (501), with a Content-Length that is not a number or beside a Transfer-Encoding
// (400), or longer than limit (413).
std::optional<WebResponse> BodyRefusal(const WebRequest& head, std::size_t limit);

// The answer to a body found longer than limit while it is read.
WebResponse BodyTooLarge(std::size_t limit);

// Whether the arrays and objects of a JSON text nest deeper than limit, counting the
// brackets outside strings: checked before the text is parsed, as the parser and the
// values it builds recurse once per level. Does not otherwise check the text.
bool NestsDeeperThan(std::string_view json, int limit);

}  // namespace ambrevo::pack
