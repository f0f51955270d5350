#include "pack/start/browser_opener.h"

namespace ambrevo::pack {

void ShowInBrowser(const std::string& address, std::ostream& out) {
    if (!OpenInBrowser(address)) out << "Open that address in your browser." << std::endl;
}

}  // namespace ambrevo::pack
