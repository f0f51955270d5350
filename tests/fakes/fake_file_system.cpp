#include "fakes/fake_file_system.h"

#include "package/memory_file.h"
#include "support/app_error.h"

namespace ambrevo::testing {

std::unique_ptr<ReadOnlyFile> FakeFileSystem::OpenForReading(const std::string& path) {
    opened.push_back(path);
    const auto found = files_.find(path);
    if (found == files_.end()) {
        throw AppError("Cannot open file \"" + path +
                       "\". The system cannot find the file specified");
    }
    return std::make_unique<MemoryFile>(found->second);
}

}  // namespace ambrevo::testing
