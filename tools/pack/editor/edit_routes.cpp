#include "pack/editor/edit_routes.h"

#include <cstdio>
#include <random>

namespace ambrevo::pack {
namespace {

WebResponse Json(int status, const nlohmann::json& body) {
    return {status, "application/json; charset=utf-8",
            std::make_shared<const std::string>(
                body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n"),
            {}};
}

}  // namespace

std::string NewEditToken() {
    std::random_device random;
    std::string token;
    for (int i = 0; i < 4; ++i) {
        char part[9];
        std::snprintf(part, sizeof part, "%08x", static_cast<unsigned>(random()));
        token += part;
    }
    return token;
}

bool SameToken(std::string_view given, std::string_view expected) {
    unsigned difference = given.size() == expected.size() ? 0 : 1;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const char c = i < given.size() ? given[i] : '\0';
        difference |= static_cast<unsigned char>(c ^ expected[i]);
    }
    return difference == 0;
}

std::optional<WebResponse> EditRoutes::Answer(const WebRequest& request) const {
    if (request.path == "/model") {
        if (request.method != "GET") return Json(405, {{"error", "GET /model"}});
        return Json(200, session_.Model());
    }
    if (request.path == "/pictures") {
        if (request.method != "GET") return Json(405, {{"error", "GET /pictures"}});
        return Json(200, session_.Pictures());
    }
    if (request.path != "/edit") return std::nullopt;
    if (request.method != "POST") return Json(405, {{"error", "POST /edit"}});
    if (!SameToken(request.header("X-Ambrevo-Token"), token_)) {
        return Json(403, {{"error", "an edit needs the token of the page's address"}});
    }
    const nlohmann::json edit = nlohmann::json::parse(request.body, nullptr, false);
    if (edit.is_discarded()) return Json(400, {{"error", "an edit must be JSON"}});
    const EditReply reply = session_.Apply(edit);
    return Json(reply.status, reply.body);
}

}  // namespace ambrevo::pack
