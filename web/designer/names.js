// How the designer names items, menus and its changes to the author: an item by its caption
// (without the "&" of its shortcut) or its name, a menu by its title and file, a change by
// what it did ("move 'Read me'"), as undo and redo then say.

export function itemName(item) {
    const text = (item.keys.caption || item.keys.name || "").replace(/&(.)/g, "$1").trim();
    return text ? "'" + text + "'" : "item " + item.index;
}

const KIND_NAMES = { picture: "picture", button: "push button", text: "text" };

export function kindName(kind) { return KIND_NAMES[kind] || kind || "item"; }

// "Gallery — gallery.toml", or the file alone when the menu has no title.
export function menuName(menu) {
    const title = menu.keys.title;
    return title ? title + " \u2014 " + menu.file : menu.file;
}

// The items named, of menu: one by its name, several by their number.
export function itemsNamed(menu, numbers) {
    return numbers.length === 1 ? itemName(menu.items[numbers[0] - 1])
                                : numbers.length + " items";
}

// An edit's parts ({item, set}) named: "move 'Read me'", "resize 2 items", "change caption
// of 'Exit'".
export function changeLabel(menu, each) {
    const keys = [...new Set(each.flatMap((part) => Object.keys(part.set)))];
    const verb = keys.join() === "position" ? "move" : keys.join() === "size" ? "resize"
                                                                               : "change " + keys.join(", ");
    const items = each.filter((part) => part.item).map((part) => part.item);
    if (!items.length) return verb + " of the menu";
    return (verb.startsWith("change") ? verb + " of " : verb + " ") + itemsNamed(menu, items);
}
