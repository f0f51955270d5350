#include "pack/start/running_instance.h"

#include <httplib.h>  // on Windows, with Windows' sockets (<winsock2.h>)
#include <nlohmann/json.hpp>

#include <system_error>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"

namespace ambrevo::pack {

std::string RunningAddress::StartPage() const {
    return "http://127.0.0.1:" + std::to_string(port) + std::string(kStartPagePath) +
           "?token=" + token;
}

std::optional<RunningAddress> ReadRunningAddress(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
    try {
        const std::vector<std::uint8_t> bytes = ReadFileBytes(file);
        const nlohmann::json kept =
            nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
        if (!kept.is_object() || !kept.value("port", nlohmann::json()).is_number_integer() ||
            !kept.value("token", nlohmann::json()).is_string()) {
            return std::nullopt;
        }
        const int port = kept["port"].get<int>();
        if (port < 1 || port > 65535) return std::nullopt;
        return RunningAddress{port, kept["token"].get<std::string>()};
    } catch (const PackError&) {
        return std::nullopt;
    }
}

void WriteRunningAddress(const std::filesystem::path& file, const RunningAddress& address) {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    // The token lets a page write the user's files: the file is made private before it
    // holds the token, and the token written into it only then.
    WriteTextFile(file, "{}\n");
    std::filesystem::permissions(
        file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, error);
    if (error) {
        throw PackError("cannot keep " + QuotedPath(file) + " private: " + error.message());
    }
    WriteTextFile(file,
                  nlohmann::json{{"port", address.port}, {"token", address.token}}.dump() + "\n");
}

bool StartPageAnswers(const RunningAddress& address) {
    httplib::Client client("127.0.0.1", address.port);
    client.set_connection_timeout(std::chrono::seconds(2));
    client.set_read_timeout(std::chrono::seconds(5));
    const httplib::Result answer =
        client.Get("/start/places", {{"X-Ambrevo-Token", address.token}});
    return answer && answer->status == 200;
}

}  // namespace ambrevo::pack
