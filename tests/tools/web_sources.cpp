#include "web_sources.h"

#include "pack/common/file_io.h"

namespace ambrevo::pack::testing {

WebSources::WebSources() {
    folder_.WritePng("src/bg.png", 4, 3, 0x204060);
    source_ = folder_.Write("src/main.toml", kWebMenu);
    folder_.Write("src/disc/readme.txt", "read me");
    folder_.Write("src/disc/docs/guide.txt", "guide");
    folder_.Write("secret.txt", "secret");
    std::filesystem::create_symlink(folder_.Path("secret.txt"), folder_.Path("src/disc/out.txt"));
    for (const std::string_view name : kPageFiles) {
        folder_.Write("site/" + std::string(name), "site " + std::string(name));
    }
}

std::string AnswerBytes(const WebResponse& answer) {
    if (answer.body) return *answer.body;
    const std::vector<std::uint8_t> bytes = ReadFileBytes(answer.file);
    return std::string(bytes.begin(), bytes.end());
}

std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        const std::vector<std::uint8_t> bytes = ReadFileBytes(entry.path());
        contents[PathToUtf8(entry.path().lexically_relative(folder).generic_string())] =
            std::string(bytes.begin(), bytes.end());
    }
    return contents;
}

}  // namespace ambrevo::pack::testing
