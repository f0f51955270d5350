#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

#include "pack/common/file_io.h"
#include "pack/common/file_replace.h"

namespace ambrevo::pack {
namespace {

constexpr int kNoFile = -1;
constexpr int kCreateTries = 8;  // fresh names that happen to exist already, in a row

ReplaceFault SystemFault(int error) { return ReplaceFault(std::strerror(error)); }

// The mask new files get; read from the kernel's status, as setting it to read it would
// race with other threads creating files. Linux has given it there since 4.7.
mode_t CreationMask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:"))
            return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    }
    return 022;
}

// Flushes the folder's list of names, so that the rename outlasts a power cut. Some
// filesystems cannot flush a folder; the file is in place by then, so that is no failure.
void FlushFolder(const std::filesystem::path& folder) {
    const int descriptor = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor == kNoFile) return;
    fsync(descriptor);
    close(descriptor);
}

}  // namespace

std::optional<std::string> ReplaceRefusal(const std::filesystem::path& target) {
    struct stat status {};
    if (lstat(target.c_str(), &status) != 0) {
        if (errno == ENOENT) return std::nullopt;
        return std::strerror(errno);
    }
    if (S_ISLNK(status.st_mode)) {
        std::error_code error;
        const std::filesystem::path to = std::filesystem::read_symlink(target, error);
        return "it is a link" + (error ? std::string() : " (to " + QuotedPath(to) + ")") +
               "; the tool writes only plain files";
    }
    if (S_ISDIR(status.st_mode)) return "it is a folder";
    if (!S_ISREG(status.st_mode)) return "it is not a plain file";
    // The owner's write permission counts even for the superuser, whom access() lets
    // write anything: a file its author made read-only stays as it is.
    if ((status.st_mode & S_IWUSR) == 0 || access(target.c_str(), W_OK) != 0) {
        return "the file is read-only";
    }
    return std::nullopt;
}

TemporaryFile::TemporaryFile(const std::filesystem::path& target)
    : target_(target), handle_(kNoFile) {
    for (int tries = 0; handle_ == kNoFile; ++tries) {
        path_ = TemporaryNameFor(target);
        handle_ = open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (handle_ == kNoFile && (errno != EEXIST || tries + 1 == kCreateTries))
            throw SystemFault(errno);
    }
}

TemporaryFile::~TemporaryFile() {
    if (handle_ != kNoFile) close(static_cast<int>(handle_));
    if (!placed_) unlink(path_.c_str());
}

void TemporaryFile::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = pwrite(static_cast<int>(handle_), bytes.data(), bytes.size(),
                                       static_cast<off_t>(offset));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw SystemFault(written < 0 ? errno : EIO);
        bytes = bytes.subspan(static_cast<std::size_t>(written));
        offset += static_cast<std::uint64_t>(written);
    }
}

void TemporaryFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) {
    while (!into.empty()) {
        const ssize_t read =
            pread(static_cast<int>(handle_), into.data(), into.size(), static_cast<off_t>(offset));
        if (read < 0 && errno == EINTR) continue;
        if (read <= 0) throw SystemFault(read < 0 ? errno : EIO);
        into = into.subspan(static_cast<std::size_t>(read));
        offset += static_cast<std::uint64_t>(read);
    }
}

void TemporaryFile::Finish() {
    const int descriptor = static_cast<int>(handle_);
    // The target's permissions and, where the user may give it, its owner; a new file
    // gets what a file created by the user would.
    struct stat earlier {};
    if (stat(target_.c_str(), &earlier) == 0) {
        if (fchmod(descriptor, earlier.st_mode & 07777) != 0) throw SystemFault(errno);
        if (fchown(descriptor, earlier.st_uid, earlier.st_gid) != 0 && errno != EPERM) {
            throw SystemFault(errno);
        }
    } else if (fchmod(descriptor, 0666 & ~CreationMask()) != 0) {
        throw SystemFault(errno);
    }
    if (fsync(descriptor) != 0) throw SystemFault(errno);
    handle_ = kNoFile;
    if (close(descriptor) != 0) throw SystemFault(errno);
}

void TemporaryFile::PutInPlace(bool createOnly) {
    if (createOnly) {
        // A second name made atomically fails when the target exists; a filesystem without
        // them (FAT) gets a look and a rename, with a moment between the two.
        if (link(path_.c_str(), target_.c_str()) == 0) {
            unlink(path_.c_str());
        } else {
            if (errno == EEXIST) throw ReplaceFault("it exists already");
            struct stat existing {};
            if (lstat(target_.c_str(), &existing) == 0) throw ReplaceFault("it exists already");
            if (rename(path_.c_str(), target_.c_str()) != 0) throw SystemFault(errno);
        }
    } else if (rename(path_.c_str(), target_.c_str()) != 0) {
        throw SystemFault(errno);
    }
    placed_ = true;
    FlushFolder(target_.parent_path());
}

}  // namespace ambrevo::pack
