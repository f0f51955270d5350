#pragma once

namespace ambrevo::win32 {

// Makes the system report critical errors, such as a drive without a medium, to the
// program as failed calls instead of showing its own box ("There is no disk in the
// drive"), for the whole process. Keeps the error modes already set. Once, at start.
void ReportCriticalErrorsAsFailures();

}  // namespace ambrevo::win32
