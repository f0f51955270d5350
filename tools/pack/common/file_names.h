#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ambrevo::pack {

// Why `name` cannot be a file's name on a Windows disc, worded to follow the name or "its
// name" ("holds \":\", which no file name on a Windows disc holds"); nothing when it can.
// Refused: the empty name, control characters, \ / : * ? " < > |, the names Windows keeps
// for devices (CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9, COM¹-COM³, LPT¹-LPT³, CONIN$,
// CONOUT$) in any case and with any extension ("con.txt", "NUL .tar.gz"), and names
// ending in a dot or a space, which Windows drops.
std::optional<std::string> WindowsNameProblem(std::string_view name);

// Names the tool keeps to itself, never listing, offering or publishing them: those
// beginning with a dot (".git", ".DS_Store", ".#notes.txt", "." and ".."), editor backups
// ("notes.txt~", "#notes.txt#") and the shell's own files ("Thumbs.db", "desktop.ini",
// "$RECYCLE.BIN", "System Volume Information"), in any case.
bool IsHiddenName(std::string_view name);

// The one rule for each name of a path that the page lists, serves or offers: a hidden
// name is left out silently; a name a Windows disc cannot carry or the page cannot ask
// for (not UTF-8) is left out with a reason.
enum class NameVerdict { kPublished, kHidden, kUnservable };
struct NameCheck {
    NameVerdict verdict = NameVerdict::kPublished;
    std::string reason;  // for kUnservable: why, as "its name ..."
};
NameCheck CheckPublishedName(std::string_view name);

}  // namespace ambrevo::pack
