#pragma once

#include <optional>
#include <string_view>

namespace ambrevo {

// Errors with which Windows refuses to start a program that its security settings do not
// allow: Smart App Control and application-control policies (4551), software-restriction
// policies (1260), and the same without the policy's own message (786). The shell reports
// them as the thread's last error.
inline constexpr int kSystemIntegrityPolicyViolation = 4551;
inline constexpr int kAccessDisabledByPolicy = 1260;
inline constexpr int kAccessDisabledNoSaferUiByPolicy = 786;

// The system's name of a refusal by policy ("ERROR_ACCESS_DISABLED_BY_POLICY"), or nothing
// for any other error.
std::optional<std::string_view> PolicyRefusalName(int systemError);

}  // namespace ambrevo
