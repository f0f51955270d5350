#include "pack/page/web_site.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <system_error>
#include <utility>

#include "pack/common/file_io.h"
#include "pack/common/pack_error.h"
#include "support/ascii.h"

namespace ambrevo::pack {
namespace {

constexpr std::string_view kNotBuilt =
    "the browser player is not built: run \"make web\" (needs Debian's emscripten)";

std::filesystem::path Checked(const std::filesystem::path& site) {
    std::error_code error;
    if (site.empty() || !std::filesystem::is_regular_file(site / "ambrevo-web.wasm", error)) {
        throw PackError(std::string(kNotBuilt));
    }
    return site;
}

// FNV-1a, 64 bits.
std::uint64_t Hashed(std::uint64_t hash, std::string_view bytes) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

// Tells pages apart by their files' names and bytes, as 16 hexadecimal digits.
std::string PageHash(std::span<const SiteFile> files) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const SiteFile& file : files) {
        hash = Hashed(hash, file.name);
        hash = Hashed(hash, std::string_view("\0", 1));
        hash = Hashed(hash, std::to_string(file.bytes.size()));
        hash = Hashed(hash, std::string_view("\0", 1));
        hash = Hashed(hash, file.bytes);
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// Whether folder holds each of files with exactly its bytes.
bool HoldsWhole(const std::filesystem::path& folder, std::span<const SiteFile> files) {
    for (const SiteFile& file : files) {
        const std::filesystem::path path = folder / PathFromUtf8(file.name);
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error) ||
            std::filesystem::file_size(path, error) != file.bytes.size() || error) {
            return false;
        }
        std::ifstream stream(path, std::ios::binary);
        std::string bytes(file.bytes.size(), '\0');
        if (!stream.read(bytes.data(), static_cast<std::streamsize>(bytes.size())) ||
            bytes != file.bytes) {
            return false;
        }
    }
    return true;
}

// A new folder beside folder, which no other program picks: ".<name>.part-<random>".
std::filesystem::path NewPrivateFolder(const std::filesystem::path& folder) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[9];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
        const std::filesystem::path candidate =
            folder.parent_path() /
            PathFromUtf8("." + PathToUtf8(folder.filename()) + ".part-" + suffix);
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) return candidate;
        if (error) {
            throw PackError("cannot unpack the browser player's page into " +
                            QuotedPath(folder.parent_path()) + ": " + error.message());
        }
    }
    throw PackError("cannot find a free name beside " + QuotedPath(folder));
}

}  // namespace

std::filesystem::path FindWebSite(const std::optional<std::filesystem::path>& given) {
    if (given) return Checked(*given);
    if (const char* environment = std::getenv("AMBREVO_WEB_SITE");
        environment != nullptr && *environment != '\0') {
        return Checked(environment);
    }
    return OwnWebSite();
}

#ifdef AMBREVO_WEB_SITE_DIR
// The Linux tool's page: in the folder "page" beside the program, as the download has it,
// else where this build's web build puts it. The Windows tool's is web_site_win32.cpp's.
std::filesystem::path OwnWebSite() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path beside = program.parent_path() / "page";
    if (!error && std::filesystem::is_regular_file(beside / "ambrevo-web.wasm", error)) {
        return beside;
    }
    return Checked(AMBREVO_WEB_SITE_DIR);
}
#endif

std::string SiteResourceName(std::string_view name) {
    std::string resource;
    for (const char c : name) {
        const bool letterOrDigit =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        resource += letterOrDigit ? AsciiUpper(c) : '_';
    }
    return resource;
}

std::filesystem::path UnpackSite(std::span<const SiteFile> files,
                                 const std::filesystem::path& parent) {
    const std::filesystem::path folder = parent / ("ambrevo-page-" + PageHash(files));
    if (HoldsWhole(folder, files)) return folder;
    std::error_code error;
    std::filesystem::create_directories(parent, error);
    if (error) {
        throw PackError("cannot unpack the browser player's page into " + QuotedPath(parent) +
                        ": " + error.message());
    }
    // Removed unless it was put in place.
    const RemovedFolder unpacked(NewPrivateFolder(folder));
    for (const SiteFile& file : files) {
        WriteTextFile(unpacked.Path() / PathFromUtf8(file.name), file.bytes);
    }
    std::filesystem::rename(unpacked.Path(), folder, error);
    if (!error) return folder;
    // Another program put the same page there first; or an earlier run left it damaged,
    // and it is replaced.
    if (HoldsWhole(folder, files)) return folder;
    error.clear();
    std::filesystem::remove_all(folder, error);
    if (!error) std::filesystem::rename(unpacked.Path(), folder, error);
    if (error) {
        throw PackError("cannot unpack the browser player's page into " + QuotedPath(folder) +
                        ": " + error.message());
    }
    return folder;
}

}  // namespace ambrevo::pack
