#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pack/common/file_io.h"
#include "pack/source/package_source.h"
#include "source_folder.h"

namespace ambrevo::pack::testing {

// Menu sources written into a temporary folder and read as the tool reads them, with the
// problems found formatted as the tool prints them.
class SourceReadingTest : public ::testing::Test {
protected:
    PackageSource Read(const std::vector<std::filesystem::path>& sources) {
        return ReadPackageSource(sources, cache_, diagnostics_);
    }
    // One menu source with the given text, read alone.
    MenuSource ReadOne(const std::string& toml) {
        PackageSource package = Read({folder_.Write("main.toml", toml)});
        return package.menus.empty() ? MenuSource{} : package.menus.front();
    }
    std::vector<std::string> Problems() const {
        std::vector<std::string> problems;
        for (const Diagnostic& diagnostic : diagnostics_.ByFileAndLine()) {
            problems.push_back(FormatDiagnostic(diagnostic));
        }
        return problems;
    }
    std::string File(const std::string& name) const { return PathToUtf8(folder_.Path(name)); }

    SourceFolder folder_;
    PictureCache cache_;
    Diagnostics diagnostics_;
};

}  // namespace ambrevo::pack::testing
