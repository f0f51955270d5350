#pragma once

#include <string>
#include <string_view>

namespace ambrevo {

// The conventions a menu author writes into an item's target and parameters, so that a
// menu plays from whatever drive and folder the disc gets. Pure text: nothing here looks
// at the file system. programFolder is the program's folder, ending in "\".

// Classes of targets; a target belongs to the first that matches. Letter case is ignored.
// Web: begins with "http", "www" or "ftp". Mail: begins with "mailto". File: any other.
bool IsWebTarget(std::string_view target);
bool IsMailTarget(std::string_view target);
bool IsFileTarget(std::string_view target);
// Another menu of the package: ends in ".mnu" (any case) and holds neither "/" nor "\".
bool IsMenuTarget(std::string_view target);

// Everything up to and including the last "\" or ":"; empty when there is neither.
std::string FolderPart(std::string_view path);
// Everything after the folder part.
std::string FileNamePart(std::string_view path);

// The first two characters of the program folder ("E:", or "\\" on a network share),
// taken as they stand.
std::string ProgramDrive(const std::string& programFolder);

// Every "%CD%" (exact case) replaced by the program's drive letter, the first character
// of programFolder.
std::string ExpandCdVariable(const std::string& text, const std::string& programFolder);

// A file target made a full path: a leading "%" stands for the program folder, "/" becomes
// "\", and a leading "\" gets the program's drive in front. A target written in double
// quotes gets the same inside them and keeps them. Web and mail targets come back
// unchanged.
std::string ResolveFileTarget(const std::string& target, const std::string& programFolder);

// Whether target is one path written in double quotes ("C:\Program Files\v.exe" in
// quotes), as an author writes it whose parameters must reach the program as written.
bool IsQuotedPath(std::string_view target);
// A quoted path without its quotes; any other target unchanged.
std::string UnquotedPath(std::string_view target);

std::string SlashesToBackslashes(std::string text);

// The pilcrow (U+00B6) of message texts becomes a carriage return.
std::string PilcrowsToLineBreaks(std::string text);

// The parameters as they go to the shell with file: in double quotes, unless they are
// empty, the file is quoted, or they begin with a switch character ("\", "/", " ", "-").
std::string QuoteParameters(const std::string& parameters, const std::string& file);

// The menu shown when file cannot be opened: what follows the file's last "." plus
// ".mnu" (all but the first character when the name has no ".").
std::string FallbackMenuName(const std::string& file);

}  // namespace ambrevo
