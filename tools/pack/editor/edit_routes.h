#pragma once

#include <nlohmann/json.hpp>

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pack/editor/edit_session.h"
#include "pack/page/web_routes.h"

namespace ambrevo::pack {

// The designer's edit interface, beside the page's own routes:
// - GET /model: the session's model (JSON);
// - GET /pictures: the PNG files of the source folder (PictureFiles), for choosing pictures;
// - POST /edit: one edit (JSON) of at most kEditBodyLimit bytes, nesting at most
//   kEditDepthLimit arrays and objects deep.
// - POST /pictures?name=FILE: a PNG or JPEG file's bytes (at most kPictureUploadLimit),
//   added to the source's folder (StoreDroppedPicture): {"file", "size": [w, h]}, or 400
//   with the reason it was refused.
// Only the page's own files (index.html and what it loads) are served to anyone. Every
// other request needs the token the edit command printed in the page's address, in the
// header X-Ambrevo-Token; a read (never a POST) may instead carry the cookie that the
// page's address sets (403 without either). The cookie holds a read key of its own, not
// the token, as a browser sends a host's cookies to every port of it: a write needs the
// header, which only the page's own scripts can send. No cross-origin headers are sent, so
// no other site's page may read an answer.
class EditRoutes {
public:
    static constexpr std::size_t kEditBodyLimit = 4 * 1024 * 1024;
    static constexpr int kEditDepthLimit = 64;

    EditRoutes(EditSession& session, std::string token);

    const std::string& Token() const { return token_; }
    // Asked before a request's body is read: the refusal of a request without the token,
    // or the cookie for a request of the page with it.
    Admission Admit(const WebRequest& head) const;
    // Other requests are not the editor's (nullopt).
    std::optional<WebResponse> Answer(const WebRequest& request) const;
    // The paths that take a POST, each with the largest body it takes.
    static std::vector<std::pair<std::string, std::size_t>> Posts();
    // The routes as the page's server takes them, with a flag set by each edit made.
    ExtraRoutes Served(std::atomic<bool>& edited) const;

private:
    std::optional<WebResponse> Refusal(const WebRequest& request) const;
    WebResponse AddPicture(const WebRequest& request) const;

    EditSession& session_;
    std::string token_;
    std::string readKey_;
};

// One edit as the page sends it (ParseEditRequest), applied to the session; refused (400)
// with the reason when it is not understood.
EditReply ApplyJsonEdit(EditSession& session, const nlohmann::json& edit);

// 32 hexadecimal digits from the system's random source.
std::string NewEditToken();

// Compares in a time that does not depend on where the texts first differ.
bool SameToken(std::string_view given, std::string_view expected);

}  // namespace ambrevo::pack
