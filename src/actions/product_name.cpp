#include "actions/product_name.h"

#include "support/ascii.h"

namespace ambrevo {

std::string NormaliseProductName(std::string name) {
    if (AsciiLower(name).find("adobe reader") != std::string::npos ||
        AsciiLower(name).find("acrobat") != std::string::npos) {
        name = "Adobe Acrobat";
    }
    for (const char* word : {" viewer", " reader", " version", " ver "}) {
        const auto found = AsciiLower(name).find(word);
        if (found != std::string::npos) name.resize(found);
    }
    return name;
}

std::string ProductNameOf(const FileVersionInfo& info) {
    const bool namesTheSystem = info.productName.find("Operating System") != std::string::npos;
    // An empty description names nothing, so the product name stays then too.
    if (namesTheSystem && !info.fileDescription.empty()) {
        return NormaliseProductName(info.fileDescription);
    }
    return NormaliseProductName(info.productName);
}

std::string FileVersionOf(const FileVersionInfo& info) {
    if (!info.fixedVersion) return {};
    return std::to_string(info.fixedVersion->major) + "." +
           std::to_string(info.fixedVersion->minor);
}

}  // namespace ambrevo
