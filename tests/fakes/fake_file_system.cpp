#include "fakes/fake_file_system.h"

#include <algorithm>
#include <string_view>

#include "package/memory_file.h"
#include "support/app_error.h"
#include "support/ascii.h"
#include "support/name_pattern.h"

namespace ambrevo::testing {
namespace {

// The lower-case path without trailing backslashes, except a root's ("e:\").
std::string Key(std::string_view path) {
    std::string key = AsciiLower(path);
    while (key.size() > 1 && key.back() == '\\' && !(key.size() == 3 && key[1] == ':')) {
        key.pop_back();
    }
    if (key.size() == 2 && key[1] == ':') key += '\\';
    return key;
}

// The key of the folder that holds key; empty for a root.
std::string ParentKey(const std::string& key) {
    const auto slash = key.find_last_of('\\');
    if (slash == std::string::npos || slash + 1 == key.size()) return {};
    return Key(key.substr(0, slash + 1));
}

bool IsRootKey(const std::string& key) { return !key.empty() && key.back() == '\\'; }

// A read that covers the broken byte fails.
class BrokenFile : public ReadOnlyFile {
public:
    BrokenFile(std::shared_ptr<const std::string> bytes, std::int64_t broken, std::string path)
        : file_(std::move(bytes)), broken_(broken), path_(std::move(path)) {}

    std::int64_t Size() const override { return file_.Size(); }
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t count) override {
        if (offset <= broken_ && broken_ < offset + static_cast<std::int64_t>(count)) {
            throw AppError("Cannot read file \"" + path_ +
                           "\". Data error (cyclic redundancy check)");
        }
        return file_.ReadAt(offset, buffer, count);
    }

private:
    MemoryFile file_;
    std::int64_t broken_;
    std::string path_;
};

}  // namespace

FakeFileSystem::Entry& FakeFileSystem::Insert(const std::string& path, FileAttributes attributes) {
    const std::string key = Key(path);
    const auto existing = entries_.find(key);
    if (existing != entries_.end()) {
        existing->second.attributes = attributes;
        return existing->second;
    }
    const std::string parent = ParentKey(key);
    std::string name = path;
    while (!name.empty() && name.back() == '\\') name.pop_back();
    name = name.substr(name.find_last_of('\\') + 1);
    if (!parent.empty()) {
        if (!entries_.count(parent)) AddFolder(parent);
        children_[parent].push_back(key);
    }
    return entries_[key] = Entry{name, attributes, nullptr};
}

void FakeFileSystem::AddFile(const std::string& path, std::string bytes,
                             FileAttributes attributes) {
    attributes.directory = false;
    Entry& entry = Insert(path, attributes);
    entry.bytes = std::make_shared<const std::string>(std::move(bytes));
    entry.broken = -1;
}

void FakeFileSystem::AddFolder(const std::string& path, FileAttributes attributes) {
    attributes.directory = true;
    Insert(path, attributes);
}

void FakeFileSystem::MakeUnreadable(const std::string& folder) { unreadable_.insert(Key(folder)); }

void FakeFileSystem::Remove(const std::string& path) {
    const std::string key = Key(path);
    entries_.erase(key);
    auto& siblings = children_[ParentKey(key)];
    siblings.erase(std::remove(siblings.begin(), siblings.end(), key), siblings.end());
}

void FakeFileSystem::BreakFileAt(const std::string& path, std::int64_t offset) {
    entries_.at(Key(path)).broken = offset;
}

std::unique_ptr<ReadOnlyFile> FakeFileSystem::OpenForReading(const std::string& path) {
    opened.push_back(path);
    const auto found = entries_.find(Key(path));
    if (found == entries_.end() || !found->second.bytes) {
        throw AppError("Cannot open file \"" + path +
                       "\". The system cannot find the file specified");
    }
    if (found->second.broken >= 0) {
        return std::make_unique<BrokenFile>(found->second.bytes, found->second.broken, path);
    }
    return std::make_unique<MemoryFile>(found->second.bytes);
}

bool FakeFileSystem::FileExists(const std::string& path) {
    const auto attributes = Attributes(path);
    return attributes && !attributes->directory;
}

std::optional<FileAttributes> FakeFileSystem::Attributes(const std::string& path) {
    const std::string key = Key(path);
    const auto found = entries_.find(key);
    if (found != entries_.end()) return found->second.attributes;
    if (IsRootKey(key) && children_.count(key)) return FileAttributes{true};
    return std::nullopt;
}

bool FakeFileSystem::ListFolder(const std::string& pattern,
                                const std::function<bool(const FolderEntry&)>& visit) {
    listed.push_back(pattern);
    const auto slash = pattern.find_last_of('\\');
    if (slash == std::string::npos) return false;
    const std::string folder = Key(pattern.substr(0, slash + 1));
    const std::string namePattern = pattern.substr(slash + 1);
    const auto attributes = Attributes(folder);
    if (!attributes || !attributes->directory || unreadable_.count(folder)) return false;

    std::vector<FolderEntry> matches;
    if (!IsRootKey(folder)) {
        for (const char* dots : {".", ".."}) {
            if (MatchesNamePattern(namePattern, dots))
                matches.push_back({dots, FileAttributes{true}});
        }
    }
    const auto children = children_.find(folder);
    if (children != children_.end()) {
        for (const std::string& key : children->second) {
            const Entry& entry = entries_.at(key);
            if (MatchesNamePattern(namePattern, entry.name))
                matches.push_back({entry.name, entry.attributes});
        }
    }
    if (matches.empty()) return false;  // as the platform's listing of nothing fails to start
    for (const FolderEntry& entry : matches) {
        if (!visit(entry)) break;
    }
    return true;
}

}  // namespace ambrevo::testing
