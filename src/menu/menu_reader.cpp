#include "menu/menu_reader.h"

#include <algorithm>
#include <deque>
#include <string>

#include "menu/menu_fields.h"
#include "menu/menu_rules.h"
#include "menu/picture_reader.h"
#include "support/messages.h"

namespace ambrevo {

namespace {
constexpr int kMinimumVersion = 6;
}  // namespace

const char* const kMenuVersionMessage =
    "This is not an Ambrevo Version 6 or above file. If you have created the menu in a "
    "previous version of Ambrevo, you can use the Menu Conversion Wizard available from "
    "Quorel Software's site to convert the file to Version 6 format.";

std::optional<MenuHeader> ReadMenuHeader(TaggedReader& reader, Dialogs& dialogs,
                                         const std::string& messageCaption) {
    MenuHeader header;
    reader.RawBytes(header.magic.data(), header.magic.size());  // not compared
    header.formatKind = reader.RawByte();
    if (header.formatKind == 1) header.version = reader.RawByte();
    if (header.formatKind != 1 || header.version < kMinimumVersion) {
        ShowMessage(dialogs, kMenuVersionMessage, MessageKind::Information, messageCaption);
        reader.Errors().Set();
        return std::nullopt;
    }
    reader.RawBytes(header.spare.data(), header.spare.size());
    header.itemCount = reader.RawByte();
    header.pictureCount = reader.RawInt16();
    return header;
}

// The records are read in file order while worker threads decode the blocks read
// before; each picture is taken, and each debug line written, in file order too, so
// the load has the effects it would have read one record at a time: the first damaged
// record ends it with the records before it stored and nothing after it.
void ReadPictures(TaggedReader& reader, DebugOutput& debug, int pictureCount, int version,
                  PictureTable& table) {
    PictureDecoder decoder;
    std::deque<PendingPicture> started;  // records n - started.size() to n - 1
    std::int64_t bytesAhead = 0;         // of the blocks in started
    int nextToStore = 1;
    const auto storeOldest = [&] {
        DebugTrace(debug, "Getting Image " + std::to_string(nextToStore++));
        bytesAhead -= started.front().blockBytes;
        PictureRecord record = decoder.FinishPicture(started.front());
        started.pop_front();
        if (record.picture == nullptr) return;
        table.StorePicture(record.slot.record, record.slot.set, record.slot.frame,
                           std::move(record.picture));
    };
    const ReadAheadLimit limit = decoder.Limit();
    for (int n = 1; n <= pictureCount; ++n) {
        try {
            started.push_back(decoder.StartPicture(reader, version));
        } catch (...) {
            // Record n cannot be read; an earlier one may be damaged, which then counts first.
            while (!started.empty()) storeOldest();
            DebugTrace(debug, "Getting Image " + std::to_string(n));
            throw;
        }
        bytesAhead += started.back().blockBytes;
        if (started.size() > limit.pictures || bytesAhead > limit.bytes) {
            // The older half is taken at once: the reader waits for the newest of them
            // while the workers finish the others, so it sleeps once per half, not once
            // per picture (waking it costs a system call, under Wine more).
            const std::size_t keep = started.size() / 2;
            decoder.AwaitPicture(started[started.size() - keep - 1]);
            while (started.size() > keep) storeOldest();
        }
    }
    while (!started.empty()) storeOldest();
}

bool ReadMenu(TaggedReader& reader, Dialogs& dialogs, DebugOutput& debug,
              const std::string& messageCaption, MenuDefinition& def) {
    const std::optional<MenuHeader> header = ReadMenuHeader(reader, dialogs, messageCaption);
    if (!header) return false;

    MenuDefinition menu;
    menu.header = *header;
    const int version = header->version;
    for (const WindowField field : WindowFields(version)) {
        ReadWindowField(field, reader, debug, menu);
    }
    menu.items.reserve(std::min<std::size_t>(header->itemCount, kMaxItems));
    for (int n = 1; n <= header->itemCount; ++n) {
        if (n <= kMaxItems) {
            ReadItem(reader, version, menu.items.emplace_back());
        } else {
            MenuItem excess;  // outside the model: read to stay in step, then dropped
            ReadItem(reader, version, excess);
        }
    }
    ReadPictures(reader, debug, header->pictureCount, version, menu.pictures);
    CountFrames(menu);
    def = std::move(menu);
    return true;
}

}  // namespace ambrevo
