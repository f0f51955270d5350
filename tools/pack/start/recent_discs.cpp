#include "pack/start/recent_discs.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <system_error>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"

namespace ambrevo::pack {

namespace {

std::vector<std::filesystem::path> Listed(const std::filesystem::path& file) {
    std::vector<std::filesystem::path> folders;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return folders;
    try {
        const std::vector<std::uint8_t> bytes = ReadFileBytes(file);
        const nlohmann::json list =
            nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
        if (!list.is_array()) return folders;
        for (const nlohmann::json& entry : list) {
            if (entry.is_string()) folders.push_back(PathFromUtf8(entry.get<std::string>()));
        }
    } catch (const PackError&) {
        folders.clear();
    }
    return folders;
}

}  // namespace

std::vector<std::filesystem::path> RecentDiscs::Folders() const {
    std::vector<std::filesystem::path> folders = Listed(file_);
    std::erase_if(folders, [](const std::filesystem::path& folder) {
        std::error_code error;
        return !std::filesystem::is_directory(folder, error);
    });
    return folders;
}

void RecentDiscs::Add(const std::filesystem::path& folder) const {
    std::vector<std::filesystem::path> folders = Listed(file_);
    std::erase(folders, folder);
    folders.insert(folders.begin(), folder);
    if (folders.size() > kKept) folders.resize(kKept);
    nlohmann::json list = nlohmann::json::array();
    for (const std::filesystem::path& kept : folders) list.push_back(PathToUtf8(kept));
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    WriteTextFile(file_, list.dump(2) + "\n");
}

}  // namespace ambrevo::pack
