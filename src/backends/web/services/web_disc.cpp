#include "backends/web/services/web_disc.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

#include "backends/web/bridge/web_host.h"
#include "package/memory_file.h"
#include "support/app_error.h"
#include "support/ascii.h"
#include "support/name_pattern.h"
#include "support/utf8.h"
#include "ui/font.h"

namespace ambrevo::web {
namespace {

std::string Slashed(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    while (!path.empty() && path.front() == '/') path.erase(path.begin());
    return path;
}

// Windows finds a file whatever the case of its letters: keys hold them in upper case.
// Bytes that are not UTF-8 are kept as they are.
std::string CaseKey(std::string_view text) {
    std::string key;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const std::uint32_t character = NextCodePoint(text, i);
        if (character == kInvalidUtf8) {
            key.append(text.substr(start, i - start));
        } else {
            AppendUtf8(key, ui::UpperCaseLetter(character));
        }
    }
    return key;
}

AppError NotFound(const std::string& path) {
    return AppError("Cannot open file \"" + path +
                    "\". The system cannot find the file specified.");
}

}  // namespace

BytesInMemory AdoptHostBytes(unsigned char* bytes, std::size_t size) {
    return {std::shared_ptr<unsigned char>(bytes, [](unsigned char* gone) { std::free(gone); }),
            std::span<const unsigned char>(bytes, size)};
}

WebDisc::WebDisc(BytesInMemory program, const std::vector<std::string>& files)
    : program_(std::move(program)) {
    for (const std::string& file : files) {
        const std::string name = Slashed(file);
        if (!name.empty()) files_.push_back({CaseKey(name), name});
    }
}

std::optional<std::string> WebDisc::KeyOf(const std::string& path) {
    if (path.size() < 2 || AsciiUpper(path[0]) != 'D' || path[1] != ':') return std::nullopt;
    const std::string relative = CaseKey(Slashed(path.substr(2)));
    // "." parts name the folder they are in; ".." is not followed out of the disc's root.
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= relative.size()) {
        const std::size_t end = std::min(relative.find('/', start), relative.size());
        const std::string part = relative.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string joined;
    for (const std::string& part : parts) joined += (joined.empty() ? "" : "/") + part;
    return joined;
}

const WebDisc::Entry* WebDisc::Find(const std::string& path) const {
    const auto key = KeyOf(path);
    if (!key) return nullptr;
    const auto entry =
        std::find_if(files_.begin(), files_.end(), [&](const Entry& e) { return e.key == *key; });
    return entry == files_.end() ? nullptr : &*entry;
}

std::optional<std::string> WebDisc::ListedName(const std::string& path) const {
    const Entry* entry = Find(path);
    return entry ? std::optional<std::string>(entry->name) : std::nullopt;
}

bool WebDisc::IsFolder(const std::string& key) const {
    if (key.empty()) return true;  // the root
    return std::any_of(files_.begin(), files_.end(), [&](const Entry& entry) {
        return entry.key.size() > key.size() && entry.key.compare(0, key.size(), key) == 0 &&
               entry.key[key.size()] == '/';
    });
}

std::unique_ptr<ReadOnlyFile> WebDisc::OpenForReading(const std::string& path) {
    if (EqualsIgnoringAsciiCase(path, kProgramPath)) return std::make_unique<MemoryFile>(program_);
    const Entry* entry = Find(path);
    if (!entry) throw NotFound(path);
    std::size_t size = 0;
    unsigned char* bytes =
        ambrevo_host_fetch_disc_file(entry->name.data(), entry->name.size(), &size);
    if (!bytes) throw NotFound(path);
    return std::make_unique<MemoryFile>(AdoptHostBytes(bytes, size));
}

bool WebDisc::FileExists(const std::string& path) {
    return EqualsIgnoringAsciiCase(path, kProgramPath) || Find(path) != nullptr;
}

std::optional<FileAttributes> WebDisc::Attributes(const std::string& path) {
    if (FileExists(path)) return FileAttributes{};
    const auto key = KeyOf(path);
    if (key && IsFolder(*key)) return FileAttributes{true};
    return std::nullopt;
}

bool WebDisc::ListFolder(const std::string& pattern,
                         const std::function<bool(const FolderEntry&)>& visit) {
    const std::size_t cut = pattern.find_last_of("\\/");
    if (cut == std::string::npos) return false;
    const auto folder = KeyOf(pattern.substr(0, cut + 1));
    if (!folder || !IsFolder(*folder)) return false;
    const std::string namePattern = pattern.substr(cut + 1);
    const std::string prefix = folder->empty() ? "" : *folder + "/";
    // A drive's root has no "." and ".." entries; it holds the program file.
    std::vector<FolderEntry> entries;
    if (folder->empty()) {
        entries.push_back({"setup.exe", {}});
    } else {
        entries = {{".", {true}}, {"..", {true}}};
    }
    std::set<std::string> seen;
    for (const Entry& entry : files_) {
        if (entry.key.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string rest = entry.name.substr(prefix.size());
        const std::size_t slash = rest.find('/');
        const std::string name = rest.substr(0, slash);
        if (!seen.insert(CaseKey(name)).second) continue;
        entries.push_back({name, {slash != std::string::npos}});
    }
    for (const FolderEntry& entry : entries) {
        if (MatchesNamePattern(namePattern, entry.name) && !visit(entry)) break;
    }
    return true;
}

}  // namespace ambrevo::web
