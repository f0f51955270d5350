#pragma once

#include <filesystem>
#include <ostream>
#include <string_view>

namespace ambrevo::pack {

// new FOLDER [--template NAME]: writes a new disc's sources from a template into a folder
// that does not exist or is empty, and says how to go on. Returns the exit status.
int RunNew(const std::filesystem::path& folder, std::string_view templateName, std::ostream& out,
           std::ostream& err);

// new --list: each template's name, title and description, one a line.
int RunNewList(std::ostream& out);

}  // namespace ambrevo::pack
