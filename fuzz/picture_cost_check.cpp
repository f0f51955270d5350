#include "picture_cost_check.h"

#include <sanitizer/allocator_interface.h>

#include <cstdio>
#include <cstdlib>

#include "menu/menu_fields.h"
#include "menu/menu_reader.h"
#include "menu/picture_reader.h"
#include "support/app_error.h"

namespace ambrevo::fuzzing {
namespace {

// The decoder's state (zlib's and libdeflate's) and its input and excess buffers, made at
// its first compressed records, and a bitmap's bookkeeping: allowed on top of a record's
// pixels.
constexpr std::size_t kDecoderAllowance = 256 * 1024;

thread_local bool metering = false;
thread_local std::size_t allocated = 0;

void CountAllocation(const volatile void*, std::size_t size) {
    if (metering) allocated += size;
}
void IgnoreFree(const volatile void*) {}

const bool hooksInstalled =
    __sanitizer_install_malloc_and_free_hooks(CountAllocation, IgnoreFree) != 0;

// Counts what the thread allocates while it lives.
class Meter {
public:
    Meter() {
        allocated = 0;
        metering = true;
    }
    ~Meter() { metering = false; }
    Meter(const Meter&) = delete;
    Meter& operator=(const Meter&) = delete;
    std::size_t Allocated() const { return allocated; }
};

void CheckRecords(TaggedReader& reader, DebugOutput& debug, const MenuHeader& header) {
    const int version = header.version;
    MenuDefinition def;  // the fields are read only to reach the pictures
    for (const WindowField field : WindowFields(version)) {
        ReadWindowField(field, reader, debug, def);
    }
    for (int n = 1; n <= header.itemCount; ++n) {
        MenuItem item;
        ReadItem(reader, version, item);
    }
    PictureDecoder decoder;
    for (int n = 1; n <= header.pictureCount; ++n) {
        std::size_t cost = 0;
        PictureRecord record;
        {
            const Meter meter;
            record = decoder.ReadPicture(reader, version);
            cost = meter.Allocated();
        }
        const std::size_t picture =
            record.picture ? record.picture->pixels.size() * sizeof(std::uint32_t) : 0;
        if (cost > picture + kDecoderAllowance) {
            std::fprintf(stderr, "picture record %d allocated %zu bytes for a picture of %zu\n", n,
                         cost, picture);
            std::abort();
        }
    }
}

}  // namespace

void CheckPictureCosts(MenuPackage& package, const ProgramInfo& program, Dialogs& dialogs,
                       DebugOutput& debug, const std::string& name) {
    if (!hooksInstalled) {
        std::fprintf(stderr, "no malloc hooks: the picture cost check needs a sanitizer\n");
        std::abort();
    }
    package.Errors().Clear();
    std::string entry = name;
    try {
        package.OpenPackageStream(program.fileName, program.folder);
        package.SeekEntry(entry);
        if (!package.Errors().IsSet()) {
            TaggedReader& reader = package.Reader();
            const auto header = ReadMenuHeader(reader, dialogs, program.messageCaption);
            if (header) CheckRecords(reader, debug, *header);
        }
    } catch (const AppError&) {
        // A damaged picture ends the menu's records, as it ends a menu load.
    }
    package.ClosePackageStream();
}

}  // namespace ambrevo::fuzzing
