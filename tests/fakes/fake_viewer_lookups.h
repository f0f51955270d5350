#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fakes/fake_file_system.h"
#include "services/viewer_lookups.h"
#include "support/ascii.h"

namespace ambrevo::testing {

// File associations by extension over a fake file system: a document is opened by the
// program of its extension when it exists there, as the shell answers. Files made and
// removed go to that file system. Records every question and every file made or removed.
class FakeViewerLookups : public ViewerLookups {
public:
    struct Question {
        std::string document;
        std::string folder;
        bool operator==(const Question&) const = default;
    };
    struct MadeFile {
        std::string path;
        std::string bytes;
        bool operator==(const MadeFile&) const = default;
    };

    explicit FakeViewerLookups(FakeFileSystem& files) : files_(files) {}

    std::string ExecutableFor(const std::string& document, const std::string& folder) override {
        asked.push_back({document, folder});
        // A name without a folder of its own is looked for in folder.
        const bool bare = document.find_first_of(":\\") == std::string::npos;
        if (document.empty() || !files_.FileExists(bare ? folder + document : document)) return {};
        const auto dot = document.find_last_of('.');
        if (dot == std::string::npos) return {};
        const auto program = programs.find(AsciiLower(document.substr(dot)));
        return program == programs.end() ? std::string() : program->second;
    }

    std::string WindowsFolder() override { return windowsFolder; }
    std::string TemporaryFolder() override { return temporaryFolder; }

    bool CreateNewFile(const std::string& path, std::string_view bytes) override {
        const bool refused = path.substr(0, path.rfind('\\') + 1) == refusedFolder;
        if (readOnly || refused || files_.Attributes(path)) return false;
        files_.AddFile(path, std::string(bytes));
        created.push_back({path, std::string(bytes)});
        return true;
    }

    bool RemoveFile(const std::string& path) override {
        removed.push_back(path);
        if (!files_.FileExists(path)) return false;
        files_.Remove(path);
        return true;
    }

    std::map<std::string, std::string> programs;  // lower-case extension with "." -> program
    std::string windowsFolder = "C:\\WINDOWS";
    std::string temporaryFolder = "C:\\Users\\Me\\AppData\\Local\\Temp\\";
    bool readOnly = false;            // no file can be made
    std::string refusedFolder = "-";  // no file can be made right in this folder

    std::vector<Question> asked;
    std::vector<MadeFile> created;
    std::vector<std::string> removed;

private:
    FakeFileSystem& files_;
};

}  // namespace ambrevo::testing
