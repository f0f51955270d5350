#include "menu/menu_load.h"

#include <algorithm>
#include <optional>

#include "menu/menu_reader.h"
#include "menu/menu_rules.h"
#include "support/messages.h"

namespace ambrevo {
namespace {

// Closes the package stream however the reading ends.
class StreamCloser {
public:
    explicit StreamCloser(MenuPackage& package) : package_(package) {}
    ~StreamCloser() { package_.ClosePackageStream(); }
    StreamCloser(const StreamCloser&) = delete;
    StreamCloser& operator=(const StreamCloser&) = delete;

private:
    MenuPackage& package_;
};

// Reads the body after the header: the window-level fields, the items and the pictures,
// each value applied as soon as it has been read.
void ReadAndApplyBody(const MenuHeader& header, TaggedReader& reader,
                      const MenuLoadServices& services, MenuWindow& window) {
    MenuDefinition& def = window.Definition();
    const int version = header.version;
    for (const WindowField field : WindowFields(version)) {
        ReadWindowField(field, reader, services.debug, def);
        window.ApplyWindowField(field);
    }
    for (int n = 1; n <= header.itemCount; ++n) {
        if (n > kMaxItems) {
            MenuItem excess;  // the window has no room: read to stay in step, then dropped
            ReadItem(reader, version, excess);
            continue;
        }
        // The item enters the definition only together with its controls.
        def.items.emplace_back();
        try {
            window.CreateItemControls(n);
        } catch (...) {
            def.items.pop_back();
            throw;
        }
        for (const ItemField field : ItemFields(version)) {
            ReadItemField(field, reader, def.items.back());
            window.ApplyItemField(n, field);
        }
        window.FinishItem(n);
    }
    ReadPictures(reader, services.debug, header.pictureCount, version, def.pictures);
}

// The window put together from the menu just read and shown with the menu's timers.
void ShowWindow(MenuWindow& window) {
    window.FinishWindow();
    const int itemCount = static_cast<int>(window.Definition().items.size());
    for (int n = 1; n <= itemCount; ++n) window.ShowItem(n);
    CountFrames(window.Definition());
    window.ShowMenu();
}

// A load that stops before the previous menu was released.
void EndEarly(MenuWindow& window, bool hadBackground) {
    if (hadBackground) {
        window.ShowPreviousMenu();
    } else {
        window.EndProgram();
    }
}

}  // namespace

void LoadMenu(const std::string& name, const MenuLoadServices& services, MenuWindow& window) {
    window.BeginLoad(name);
    const bool hadBackground = window.HasBackground();
    const std::string& caption = services.program.messageCaption;

    std::optional<StreamCloser> closer;
    services.package.OpenPackageStream(services.program.fileName, services.program.folder);
    closer.emplace(services.package);
    std::string entry = name;
    services.package.SeekEntry(entry);
    if (services.package.Errors().IsSet()) {
        closer.reset();
        ShowMessage(services.dialogs, kMenuNotReadMessage, MessageKind::Error, caption);
        EndEarly(window, hadBackground);
        return;
    }

    TaggedReader& reader = services.package.Reader();
    const std::optional<MenuHeader> header = ReadMenuHeader(reader, services.dialogs, caption);
    if (!header) {
        closer.reset();
        ShowMessage(services.dialogs, kMenuNotReadMessage, MessageKind::Error, caption);
        EndEarly(window, hadBackground);
        return;
    }

    window.ClearMenu();
    window.Definition().header = *header;
    try {
        ReadAndApplyBody(*header, reader, services, window);
    } catch (...) {
        // A damaged picture: the window shows what was read before the error is reported.
        closer.reset();
        ShowWindow(window);
        throw;
    }
    closer.reset();

    if (services.package.Errors().IsSet()) {
        ShowMessage(services.dialogs, kBinaryDataMessage, MessageKind::Warning, "");
    }
    ShowWindow(window);
    window.PresentMenu();

    if (ExpiryDue(window.Definition(), services.clock.Today())) {
        ShowMessage(services.dialogs, window.Definition().expiryMessage, MessageKind::Information,
                    kExpiryCaption);
    }
}

}  // namespace ambrevo
