#include "pack/page/source_watch.h"

namespace ambrevo::pack {

SourceStamps StampFiles(const std::vector<std::filesystem::path>& files) {
    SourceStamps stamps;
    for (const std::filesystem::path& file : files) stamps[file] = StampOf(file);
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
