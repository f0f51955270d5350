#include "actions/policy_refusal.h"

namespace ambrevo {

std::optional<std::string_view> PolicyRefusalName(int systemError) {
    switch (systemError) {
        case kSystemIntegrityPolicyViolation:
            return "ERROR_SYSTEM_INTEGRITY_POLICY_VIOLATION";
        case kAccessDisabledByPolicy:
            return "ERROR_ACCESS_DISABLED_BY_POLICY";
        case kAccessDisabledNoSaferUiByPolicy:
            return "ERROR_ACCESS_DISABLED_NO_SAFER_UI_BY_POLICY";
        default:
            return std::nullopt;
    }
}

}  // namespace ambrevo
