#include "pack/web/live_package.h"

#include <algorithm>

#include "pack/web/web_build.h"

namespace ambrevo::pack {

LivePackage::LivePackage(std::filesystem::path source) : source_(std::move(source)) {}

bool LivePackage::Build() {
    // Stamped before reading, so that a file changed during the build is built again.
    SourceStamps stamps = StampFiles(filesRead_);
    WebBuild build = BuildWebPackage(source_, caches_);
    for (const auto& [file, stamp] : StampFiles(build.filesRead)) stamps.emplace(file, stamp);
    std::erase_if(stamps, [&](const auto& entry) {
        return std::find(build.filesRead.begin(), build.filesRead.end(), entry.first) ==
               build.filesRead.end();
    });
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
