#pragma once

#include <cstdint>
#include <vector>

#include "fakes/fake_dialogs.h"
#include "fakes/fake_file_system.h"
#include "package/package.h"

namespace ambrevo::pack::testing {

// A written program file opened by the player's own package reader, as E:\setup.exe.
struct OpenedPackage {
    explicit OpenedPackage(const std::vector<std::uint8_t>& file) {
        files.AddFile("E:\\setup.exe", std::string(file.begin(), file.end()));
        package.OpenPackage("setup.exe");
    }

    ambrevo::testing::FakeFileSystem files;
    ambrevo::testing::FakeDialogs dialogs;
    const ProgramInfo program{"E:\\", "setup.exe", "Ambrevo"};
    LoadError loadError;
    MenuPackage package{files, dialogs, program, loadError};
};

}  // namespace ambrevo::pack::testing
