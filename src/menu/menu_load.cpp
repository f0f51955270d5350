#include "menu/menu_load.h"

#include <exception>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "menu/menu_reader.h"
#include "menu/menu_rules.h"
#include "menu/picture_load.h"
#include "support/app_error.h"
#include "support/ascii.h"
#include "support/messages.h"

namespace ambrevo {
namespace {

// Gives each item read its controls and applies its fields, as if each field were
// applied as soon as it was read; between items the pictures move on.
void ApplyItems(ItemsRead& read, int version, MenuWindow& window, PictureLoad* pictures) {
    MenuDefinition& def = window.Definition();
    const std::span<const ItemField> fields = ItemFields(version);
    for (std::size_t i = 0; i < read.items.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        // The item enters the definition only together with its controls.
        def.items.push_back(std::move(read.items[i]));
        try {
            window.CreateItemControls(n);
        } catch (...) {
            def.items.pop_back();
            throw;
        }
        const bool last = i + 1 == read.items.size();
        const std::size_t fieldCount = last ? read.fieldsOfLast : fields.size();
        for (std::size_t f = 0; f < fieldCount; ++f) window.ApplyItemField(n, fields[f]);
        if (fieldCount == fields.size()) window.FinishItem(n);
        if (pictures) pictures->Advance();
    }
}

// A DebugOutput that writes nothing: the pictures for denser screens are a form of the
// pictures already traced.
class Unheard final : public DebugOutput {
public:
    void Write(const std::string&) override {}
};

// The pictures for a screen denser than 96 DPI, where the package holds them for this
// menu: per picture the scale chosen for dpi, of exactly the 1x picture's size at that
// scale (halves up), decoded as the 1x pictures are. A damaged entry or picture leaves
// none, and the 1x pictures are shown alone.
void LoadDensePictures(const MenuLoadServices& services, std::string_view entryName, int dpi,
                       MenuDefinition& def) {
    if (dpi <= 96) return;
    const DensityTable table = services.package.ReadDensityTable();
    const DensityMenu* menu = table.Of(entryName);
    if (menu == nullptr) return;
    const auto scaled = [](std::int32_t side, int percent) {
        return (std::int64_t{side} * percent + 50) / 100;
    };
    std::vector<DensityRecord> fitting;
    for (const DensityRecord& record : menu->records) {
        const auto picture = def.pictures.Picture(record.record, record.set, record.frame);
        if (picture && record.width == scaled(picture->width, record.percent) &&
            record.height == scaled(picture->height, record.percent)) {
            fitting.push_back(record);
        }
    }
    std::vector<std::int64_t> positions = ChooseDensityRecords(fitting, dpi);
    if (positions.empty()) return;
    LoadError& errors = services.package.Errors();
    const bool errorsBefore = errors.IsSet();
    bool failed = false;
    Unheard unheard;
    const int count = static_cast<int>(positions.size());
    try {
        PictureLoad pictures(services.package.Reader(), unheard, count, menu->version,
                             def.densePictures, nullptr, std::move(positions));
        pictures.Finish();
    } catch (const AppError&) {
        failed = true;
    }
    if (failed || errors.IsSet() != errorsBefore) {
        def.densePictures.Clear();
        if (!errorsBefore) errors.Clear();
    }
}

// Reads the body after the header: the window-level fields, each applied as soon as it
// has been read, then the items and the pictures. The items are read first and their
// controls made while the first pictures decode, which keeps every effect in file order:
// the pictures' debug lines follow the items, and when the items' controls fail, the
// pictures are given up.
void ReadAndApplyBody(const MenuHeader& header, TaggedReader& reader,
                      const MenuLoadServices& services, const MenuText& text,
                      std::string_view entryName, MenuWindow& window) {
    MenuDefinition& def = window.Definition();
    const int version = header.version;
    for (const WindowField field : WindowFields(version)) {
        ReadWindowField(field, reader, services.debug, def, text);
        window.ApplyWindowField(field);
    }
    ItemsRead items = ReadItems(reader, header.itemCount, version, text);
    NameItems(services.package.ItemNames(), entryName, text, items.items);
    std::optional<PictureLoad> pictures;
    if (!items.error) {
        pictures.emplace(reader, services.debug, header.pictureCount, version, def.pictures,
                         services.reuse);
    }
    try {
        ApplyItems(items, version, window, pictures ? &*pictures : nullptr);
    } catch (...) {
        if (pictures) pictures->Abandon();
        throw;
    }
    if (items.error) std::rethrow_exception(items.error);
    pictures->Finish();
    LoadDensePictures(services, entryName, window.Dpi(), def);
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

// Opens the package stream on the entry name and reads the menu's header. Empty, with the
// stream closed and the messages shown, when the entry cannot be read as a menu.
std::optional<MenuHeader> OpenMenuEntry(const std::string& name, const MenuLoadServices& services) {
    const std::string& caption = services.program.messageCaption;
    services.package.OpenPackageStream(services.program.fileName, services.program.folder);
    std::string entry = name;
    services.package.SeekEntry(entry);
    std::optional<MenuHeader> header;
    if (!services.package.Errors().IsSet()) {
        header = ReadMenuHeader(services.package.Reader(), services.dialogs, caption);
    }
    if (!header) {
        services.package.ClosePackageStream();
        ShowMessage(services.dialogs, kMenuNotReadMessage, MessageKind::Error, caption);
    }
    return header;
}

}  // namespace

void LoadMenu(const std::string& name, const MenuLoadServices& services, MenuWindow& window) {
    window.BeginLoad(name);
    const bool hadBackground = window.HasBackground();

    std::optional<MenuHeader> header;
    try {
        header = OpenMenuEntry(name, services);
    } catch (const AppError& error) {
        // The program file can no longer be opened or read, as when its disc has been
        // taken out. Reported here, before the earlier menu shows again or the program ends.
        services.package.ClosePackageStream();
        ShowMessage(services.dialogs, ErrorReportText(error.what()), MessageKind::Error,
                    services.program.messageCaption);
        EndEarly(window, hadBackground);
        return;
    }
    if (!header) {
        EndEarly(window, hadBackground);
        return;
    }

    window.ClearMenu();
    window.Definition().header = *header;
    if (services.reuse) services.reuse->BeginLoad();
    try {
        const std::string entryName = AsciiLower(name);
        const MenuText text{services.text, services.package.CodePages().Of(entryName)};
        ReadAndApplyBody(*header, services.package.Reader(), services, text, entryName, window);
    } catch (...) {
        // A damaged picture, or a file that can no longer be read: the window shows what
        // was read before the error is reported.
        if (services.reuse) services.reuse->EndLoad();
        services.package.ClosePackageStream();
        ShowWindow(window);
        throw;
    }
    if (services.reuse) services.reuse->EndLoad();
    services.package.ClosePackageStream();

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

void ReloadDensePictures(const std::string& name, const MenuLoadServices& services,
                         MenuWindow& window) {
    if (services.package.StreamOpen()) return;
    MenuDefinition& def = window.Definition();
    def.densePictures.Clear();
    try {
        services.package.OpenPackageStream(services.program.fileName, services.program.folder);
        LoadDensePictures(services, AsciiLower(name), window.Dpi(), def);
    } catch (...) {
        // The disc was taken out, or no memory is left for them: the 1x pictures stay.
        def.densePictures.Clear();
    }
    services.package.ClosePackageStream();
}

}  // namespace ambrevo
