#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace ambrevo::testing {

// Files held in memory, keyed by their full path; records which paths were opened.
class FakeFileSystem : public FileSystem {
public:
    void AddFile(const std::string& path, std::string bytes) {
        files_[path] = std::make_shared<const std::string>(std::move(bytes));
    }
    void AddFile(const std::string& path, const std::vector<unsigned char>& bytes) {
        AddFile(path, std::string(bytes.begin(), bytes.end()));
    }

    std::unique_ptr<ReadOnlyFile> OpenForReading(const std::string& path) override;
    bool FileExists(const std::string& path) override { return files_.count(path) != 0; }

    std::vector<std::string> opened;

private:
    std::map<std::string, std::shared_ptr<const std::string>> files_;
};

}  // namespace ambrevo::testing
