#include "pack/page/live_package.h"

#include "pack/page/web_build.h"

namespace ambrevo::pack {

LivePackage::LivePackage(std::filesystem::path source, std::shared_ptr<PictureCache> pictures)
    : source_(std::move(source)) {
    if (pictures) caches_.pictures = std::move(pictures);
}

bool LivePackage::Build() {
    // Stamped before reading, so that a file changed during the build is built again; a
    // file read for the first time is stamped after.
    const SourceStamps before = StampFiles(filesRead_);
    WebBuild build = BuildWebPackage(source_, caches_);
    SourceStamps stamps = StampFiles(build.filesRead);
    for (auto& [file, stamp] : stamps) {
        if (const auto found = before.find(file); found != before.end()) stamp = found->second;
    }
    filesRead_ = std::move(build.filesRead);
    watch_.Built(std::move(stamps));

    const std::lock_guard lock(mutex_);
    if (!build.program) {
        current_.error = std::move(build.error);
        return false;
    }
    current_ = {current_.generation + 1, std::move(build.program), std::nullopt};
    return true;
}

bool LivePackage::Poll() {
    if (!watch_.Settled(StampFiles(filesRead_))) return false;
    Build();
    return true;
}

PackageSnapshot LivePackage::Current() const {
    const std::lock_guard lock(mutex_);
    return current_;
}

}  // namespace ambrevo::pack
