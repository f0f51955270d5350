#include "backends/web/services/web_program_resources.h"

#include "backends/web/services/builtin_resources.h"
#include "support/app_error.h"
#include "support/ascii.h"

namespace ambrevo::web {

const void* WebProgramResources::Load(const std::string& type, const std::string& name) {
    for (std::size_t i = 0; i < kBuiltinResourceCount; ++i) {
        const BuiltinResource& resource = kBuiltinResources[i];
        if (EqualsIgnoringAsciiCase(type, resource.type) &&
            EqualsIgnoringAsciiCase(name, resource.name)) {
            return resource.bytes;
        }
    }
    // The text Windows gives for a missing resource.
    throw AppError("The specified resource name cannot be found in the image file.");
}

}  // namespace ambrevo::web
