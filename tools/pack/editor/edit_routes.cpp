#include "pack/editor/edit_routes.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "pack/common/pack_error.h"
#include "pack/editor/edit_request_json.h"
#include "pack/page/request_body.h"
#include "pack/editor/picture_upload.h"
#include "pack/page/web_site.h"

namespace ambrevo::pack {

namespace {

// The page and the files it loads, which show a stranger no more than the page itself.
bool IsPageShell(std::string_view path) {
    return path == "/" || (path.starts_with('/') && std::find(kSiteFiles.begin(), kSiteFiles.end(),
                                                              path.substr(1)) != kSiteFiles.end());
}

// The read key's cookie, named by the server's port (from the Host the server has already
// checked), so that designers on two ports of one host do not overwrite each other's.
std::string CookieName(const WebRequest& request) {
    const std::string host = request.header("Host");
    const std::size_t colon = host.rfind(':');
    return "ambrevo_token_" + (colon == std::string::npos ? "80" : host.substr(colon + 1));
}

// Whether the Cookie header gives the cookie name the value key.
bool CookieHolds(std::string_view cookies, const std::string& name, const std::string& key) {
    bool held = false;
    while (!cookies.empty()) {
        const std::size_t end = std::min(cookies.find(';'), cookies.size());
        std::string_view cookie = cookies.substr(0, end);
        cookies.remove_prefix(std::min(end + 1, cookies.size()));
        while (cookie.starts_with(' ')) cookie.remove_prefix(1);
        if (cookie.starts_with(name + "=")) {
            held = SameToken(cookie.substr(name.size() + 1), key) || held;
        }
    }
    return held;
}

}  // namespace

EditRoutes::EditRoutes(EditSession& session, std::string token)
    : session_(session), token_(std::move(token)), readKey_(NewEditToken()) {}

EditReply ApplyJsonEdit(EditSession& session, const nlohmann::json& edit) {
    EditRequest request;
    try {
        request = ParseEditRequest(edit);
    } catch (const PackError& refused) {
        return {400, {{"error", refused.what()}}};
    }
    return session.Apply(request);
}

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

std::optional<WebResponse> EditRoutes::Refusal(const WebRequest& request) const {
    if (SameToken(request.header("X-Ambrevo-Token"), token_)) return std::nullopt;
    if (request.path == "/edit" || request.method == "POST") {
        return JsonResponse(403, {{"error", "an edit needs the token of the page's address"}});
    }
    if (CookieHolds(request.header("Cookie"), CookieName(request), readKey_)) return std::nullopt;
    return JsonResponse(403, {{"error",
                               "open the address that the edit command printed, with its "
                               "token"}});
}

Admission EditRoutes::Admit(const WebRequest& head) const {
    Admission admission;
    if (!IsPageShell(head.path)) {
        admission.refusal = Refusal(head);
    } else if (head.parameter && SameToken(head.parameter("token"), token_)) {
        admission.headers.emplace_back("Set-Cookie", CookieName(head) + "=" + readKey_ +
                                                         "; HttpOnly; SameSite=Strict; Path=/");
    }
    return admission;
}

std::optional<WebResponse> EditRoutes::Answer(const WebRequest& request) const {
    if (request.path != "/model" && request.path != "/pictures" && request.path != "/edit") {
        return std::nullopt;
    }
    if (std::optional<WebResponse> refusal = Refusal(request)) return refusal;
    if (request.path == "/model") {
        if (request.method != "GET") return JsonResponse(405, {{"error", "GET /model"}});
        return JsonResponse(200, session_.Model());
    }
    if (request.path == "/pictures") {
        if (request.method == "POST") return AddPicture(request);
        if (request.method != "GET") return JsonResponse(405, {{"error", "GET or POST /pictures"}});
        return JsonResponse(200, session_.Pictures());
    }
    if (request.method != "POST") return JsonResponse(405, {{"error", "POST /edit"}});
    if (NestsDeeperThan(request.body, kEditDepthLimit)) {
        return JsonResponse(400, {{"error", "the edit nests too deeply"}});
    }
    const nlohmann::json edit = nlohmann::json::parse(request.body, nullptr, false);
    if (edit.is_discarded()) return JsonResponse(400, {{"error", "an edit must be JSON"}});
    const EditReply reply = ApplyJsonEdit(session_, edit);
    return JsonResponse(reply.status, reply.body);
}

WebResponse EditRoutes::AddPicture(const WebRequest& request) const {
    const std::string name = request.parameter ? request.parameter("name") : std::string();
    if (name.empty())
        return JsonResponse(400, {{"error", "POST /pictures?name=FILE names the picture"}});
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(request.body.data());
    try {
        return JsonResponse(200, session_.AddPicture(name, {bytes, request.body.size()}));
    } catch (const PackError& refused) {
        return JsonResponse(400, {{"error", refused.what()}});
    }
}

ExtraRoutes EditRoutes::Served(std::atomic<bool>& edited) const {
    ExtraRoutes routes;
    routes.admit = [this](const WebRequest& head) { return Admit(head); };
    routes.answer = [this, &edited](const WebRequest& request) {
        std::optional<WebResponse> answer = Answer(request);
        if (answer && answer->status == 200 && request.method == "POST") edited = true;
        return answer;
    };
    routes.posts = Posts();
    return routes;
}

std::vector<std::pair<std::string, std::size_t>> EditRoutes::Posts() {
    return {{"/edit", kEditBodyLimit}, {"/pictures", kPictureUploadLimit}};
}

}  // namespace ambrevo::pack
