#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "pack/editor/edit_session.h"
#include "pack/web/web_routes.h"

namespace ambrevo::pack {

// The designer's edit interface, beside the page's own routes:
// - GET /model: the session's model (JSON);
// - GET /pictures: the PNG files of the source folder (PictureFiles), for choosing pictures;
// - POST /edit: one edit (JSON), only with the header X-Ambrevo-Token carrying the token the
//   edit command printed in the page's address; 403 without it. No cross-origin headers
//   are sent, so no other site's page may read an answer.
// Other requests are not the editor's (nullopt).
class EditRoutes {
public:
    EditRoutes(EditSession& session, std::string token) : session_(session), token_(std::move(token)) {}

    const std::string& Token() const { return token_; }
    std::optional<WebResponse> Answer(const WebRequest& request) const;

private:
    EditSession& session_;
    std::string token_;
};

// 32 hexadecimal digits from the system's random source.
std::string NewEditToken();

// Compares in a time that does not depend on where the texts first differ.
bool SameToken(std::string_view given, std::string_view expected);

}  // namespace ambrevo::pack
