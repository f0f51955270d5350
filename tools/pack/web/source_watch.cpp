#include "pack/web/source_watch.h"

#include <system_error>

namespace ambrevo::pack {

SourceStamps StampFiles(const std::vector<std::filesystem::path>& files) {
    SourceStamps stamps;
    for (const std::filesystem::path& file : files) {
        std::error_code error;
        FileStamp stamp;
        const std::uintmax_t size = std::filesystem::file_size(file, error);
        if (!error) {
            stamp.time = std::filesystem::last_write_time(file, error);
            stamp.exists = !error;
            stamp.size = stamp.exists ? size : 0;
        }
        stamps[file] = stamp;
    }
    return stamps;
}

void ChangeWatch::Built(SourceStamps built) {
    built_ = std::move(built);
    previous_.reset();
}

bool ChangeWatch::Settled(const SourceStamps& now) {
    if (now == built_) {
        previous_.reset();
        return false;
    }
    if (previous_ && *previous_ == now) return true;
    previous_ = now;
    return false;
}

}  // namespace ambrevo::pack
