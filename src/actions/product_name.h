#pragma once

#include <string>

#include "services/version_info.h"

namespace ambrevo {

// A viewer's product name in the form items ask for it: every Adobe Reader and Acrobat
// becomes "Adobe Acrobat", and the name is cut before the first " viewer", " reader",
// " version" or " ver " (any case), so "Example Viewer 2" is "Example". Nothing else changes.
std::string NormaliseProductName(std::string name);

// The normalised product name of a version resource. Programs that come with the system
// name the system ("... Operating System") as their product; their file description names
// them instead, when there is one.
std::string ProductNameOf(const FileVersionInfo& info);

// "major.minor" of the fixed file version in decimal ("7.0"); empty when there is none.
std::string FileVersionOf(const FileVersionInfo& info);

}  // namespace ambrevo
