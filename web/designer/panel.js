// The designer's panel beside the menu: the menus, the commands, and the keys of the one
// item selected, or of the menu with none selected, each a field that edits its key. It is
// built again only when the model, the menu on show or the selection changed; a message
// (a refusal) is shown without building it again. Commands go to the actions given.
import { itemName, kindName, menuName } from "./names.js";

// The keys that name one picture: the menu's background, an item's still pictures.
const MENU_PICTURES = ["background"];
const ITEM_SWITCHES = ["minimize_after_launch", "exit_after_launch", "auto_restore"];
const ITEM_PICTURES = ["pictures.normal", "pictures.highlighted", "pictures.pressed",
                       "pictures.description"];

function button(text, action, enabled = true) {
    const b = document.createElement("button");
    b.type = "button";
    b.textContent = text;
    b.disabled = !enabled;
    b.addEventListener("click", action);
    return b;
}

function fieldMessage() {
    const message = document.createElement("small");
    message.className = "editor-field-message";
    return message;
}

// One input per key; keys of sub-tables as "table.key". A value is sent as the type it
// had: numbers, pairs of numbers, true or false, else text.
function keyField(label, value, send) {
    const row = document.createElement("label");
    row.className = "editor-field";
    row.append(label);
    const message = fieldMessage();
    const values = Array.isArray(value) ? value : [value];
    const inputs = values.map((v) => {
        const input = document.createElement("input");
        input.type = typeof v === "boolean" ? "checkbox"
                   : typeof v === "number" ? "number" : "text";
        if (typeof v === "boolean") input.checked = v; else input.value = v;
        row.append(input);
        return input;
    });
    const read = (input, v) => typeof v === "boolean" ? input.checked
        : typeof v === "number" ? Number.parseInt(input.value, 10) : input.value;
    for (const input of inputs) {
        input.addEventListener("change", () => {
            const next = values.map((v, i) => read(inputs[i], v));
            send(Array.isArray(value) ? next : next[0], message);
        });
    }
    row.append(message);
    return row;
}

// A drop-down of the source folder's pictures; the current value stays a choice even when
// it is not among them, and "none" (the key removed) where the key may be left out.
function pictureField(label, value, optional, pictures, send) {
    const row = document.createElement("label");
    row.className = "editor-field";
    const message = fieldMessage();
    const select = document.createElement("select");
    const files = pictures.map((p) => p.file);
    if (value && !files.includes(value)) files.unshift(value);
    if (optional || !value) select.append(new Option("none", "", false, !value));
    for (const file of files) select.append(new Option(file, file, false, file === value));
    select.addEventListener("change", () => send(select.value || null, message));
    row.append(label, select, message);
    return row;
}

// Every picture key of `names` as a field, null where the source leaves it out.
function withPictureKeys(keys, names) {
    const all = structuredClone(keys);
    for (const name of names) {
        const path = name.split(".");
        let table = all;
        for (const part of path.slice(0, -1)) table = table[part] = table[part] || {};
        if (!(path[path.length - 1] in table)) table[path[path.length - 1]] = null;
    }
    return all;
}

// The fields of keys into `into`; required: the picture key that must not be "none".
function keyFields(keys, prefix, pictures, send, into, required = "") {
    for (const [key, value] of Object.entries(keys)) {
        const name = prefix + key;
        if ((MENU_PICTURES.includes(name) && !prefix) || ITEM_PICTURES.includes(name)) {
            into.append(pictureField(name, value, name !== required, pictures,
                                     (v, field) => send(name, v, field)));
        } else if (value !== null && typeof value === "object" && !Array.isArray(value)) {
            keyFields(value, name + ".", pictures, send, into, required);
        } else if (!Array.isArray(value) || value.every((v) => typeof v !== "object")) {
            into.append(keyField(name, value, (v, field) => send(name, v, field)));
        }
    }
}

// "Add picture item": a drop-down of the pictures; choosing one adds an item showing it.
function pictureItemChooser(pictures, enabled, add) {
    const select = document.createElement("select");
    select.setAttribute("aria-label", "Add picture item");
    select.append(new Option("Add picture item\u2026", "", true, true));
    select.options[0].disabled = true;
    for (const p of pictures) select.append(new Option(p.file, p.file));
    select.disabled = !enabled || !pictures.length;
    select.addEventListener("change", () => add(select.value));
    return select;
}

function labelled(text, input) {
    const row = document.createElement("label");
    row.className = "editor-field";
    row.append(text, input);
    return row;
}

function input(type, value, label) {
    const element = document.createElement("input");
    element.type = type;
    element.value = value;
    element.setAttribute("aria-label", label);
    return element;
}

// "New menu": its file, title and background, sent as typed: the tool checks the name and
// its refusal is shown under the form. The background is one of the folder's pictures, none,
// or a plain one of a size and colour that the tool draws (a window takes its background's
// size). The first menu of a folder is made the same way.
function newMenuForm(pictures, create, cancel, first = false) {
    const form = document.createElement("form");
    form.className = "editor-new-menu";
    const fileName = input("text", first ? "main.toml" : "", "file");
    fileName.placeholder = "help.toml";
    const title = input("text", "", "title");
    const background = document.createElement("select");
    background.setAttribute("aria-label", "background");
    background.append(new Option("A plain background\u2026", "plain", true, true));
    if (!first) background.append(new Option("none", ""));
    for (const p of pictures) background.append(new Option(p.file, p.file));
    const width = input("number", 640, "width");
    const height = input("number", 480, "height");
    const colour = input("color", "#203040", "colour");
    const plain = document.createElement("div");
    plain.append(labelled("width", width), labelled("height", height),
                 labelled("colour", colour));
    background.addEventListener("change", () => { plain.hidden = background.value !== "plain"; });
    const message = fieldMessage();
    const submit = button(first ? "Make the menu" : "Create menu", () => {});
    submit.type = "submit";
    form.append(labelled("file", fileName), labelled("title", title),
                labelled("background", background), plain, message, submit);
    if (cancel) form.append(button("Cancel", cancel));
    form.addEventListener("submit", (e) => {
        e.preventDefault();
        const chosen = background.value === "plain"
            ? { size: [Number(width.value), Number(height.value)], color: colour.value }
            : background.value || null;
        create({ file: fileName.value, title: title.value, background: chosen }, message);
    });
    return { form, focus: () => title.focus() };
}

// The menu's items in tab order, each by kind and caption or name: a click selects it (items
// under others are reached here), a drag to another place, or the buttons, change the order.
function itemList(menu, selected, actions) {
    const list = document.createElement("ol");
    list.className = "editor-items";
    list.setAttribute("aria-label", "Items in tab order");
    for (const item of menu.items) {
        const entry = document.createElement("li");
        entry.textContent = item.index + ". " + kindName(item.kind) + " " + itemName(item);
        entry.dataset.item = item.index;
        entry.draggable = true;
        entry.classList.toggle("selected", selected.includes(item.index));
        entry.addEventListener("click", () => actions.select(item.index));
        entry.addEventListener("dragstart", (e) => {
            actions.select(item.index);
            e.dataTransfer.setData("text/plain", String(item.index));
        });
        entry.addEventListener("dragover", (e) => {
            e.preventDefault();
            entry.classList.add("dragged-over");
        });
        entry.addEventListener("dragleave", () => entry.classList.remove("dragged-over"));
        entry.addEventListener("drop", (e) => {
            e.preventDefault();
            if (Number(e.dataTransfer.getData("text/plain")) !== item.index) {
                actions.moveTo(item.index);
            }
        });
        list.append(entry);
    }
    return list;
}

// The panel in the page, for the designer's state d.
export function createPanel(actions) {
    const panel = document.createElement("aside");
    panel.id = "editor";
    panel.setAttribute("aria-label", "Designer");
    document.body.append(panel);
    let shown = null;   // what the panel was built for

    function tools(d) {
        const { model, menu, selected } = d;
        const count = selected.length;
        const menus = document.createElement("select");
        menus.setAttribute("aria-label", "Menu");
        if (!menu) menus.append(new Option("(the menu on show is not in the sources)", "", true, true));
        for (const m of model.menus) {
            menus.append(new Option(menuName(m), m.name, false, m === menu));
        }
        menus.append(new Option("New menu\u2026", ""));
        menus.addEventListener("change", () => {
            if (menus.value) {
                actions.showMenu(menus.value);
                return;
            }
            const { form, focus } = newMenuForm(d.pictures, actions.newMenu, () => form.remove());
            panel.querySelector(".editor-tools").after(form);
            focus();
        });
        const trying = document.createElement("label");
        const tryIt = document.createElement("input");
        tryIt.type = "checkbox";
        tryIt.checked = d.trying;
        tryIt.addEventListener("change", () => actions.tryIt(tryIt.checked));
        trying.append(tryIt, " Try it");
        const first = selected[0];
        const undo = actions.history("undo");
        const redo = actions.history("redo");
        const row = document.createElement("div");
        row.className = "editor-tools";
        row.append(
            menus, trying, button(undo ? "Undo: " + undo.label : "Undo", actions.undo, !!undo),
            button(redo ? "Redo: " + redo.label : "Redo", actions.redo, !!redo),
            button("Add push button", () => actions.add("button"), !!menu),
            button("Add text", () => actions.add("text"), !!menu),
            pictureItemChooser(d.pictures, !!menu, actions.addPicture),
            button("Duplicate", actions.duplicate, count === 1),
            button("Delete", actions.remove, count === 1),
            button("Earlier in tab order", () => actions.moveTo(first - 1),
                   count === 1 && first > 1),
            button("Later in tab order", () => actions.moveTo(first + 1),
                   count === 1 && !!menu && first < menu.items.length),
            button("Align left", () => actions.align("left"), count > 1),
            button("Align top", () => actions.align("top"), count > 1),
            button("Align centres \u2194", () => actions.align("centre-x"), count > 1),
            button("Align centres \u2195", () => actions.align("centre-y"), count > 1),
            button("Space across", () => actions.space("x"), count > 2),
            button("Space down", () => actions.space("y"), count > 2));
        return row;
    }

    function fields(d) {
        const { menu, selected } = d;
        const into = document.createElement("div");
        const title = document.createElement("h3");
        into.append(title);
        if (selected.length === 1) {
            const item = menu.items[selected[0] - 1];
            title.textContent =
                "Item " + item.index + " (" + item.kind + "), " + item.file + " line " + item.line;
            // A picture item is read out by its name and shows all its pictures, so those
            // fields are there even before the source has them.
            const isPicture = item.kind === "picture";
            const keys =
                isPicture && !("name" in item.keys) ? { ...item.keys, name: "" } : { ...item.keys };
            // The switches are offered unset too: an exit button is an empty target with
            // exit_after_launch.
            for (const name of ITEM_SWITCHES) if (!(name in keys)) keys[name] = false;
            keyFields(isPicture ? withPictureKeys(keys, ITEM_PICTURES) : keys, "", d.pictures,
                      (key, value, field) =>
                          actions.edit({ item: item.index, set: { [key]: value } }, field),
                      into, isPicture ? "pictures.normal" : "");
        } else if (!selected.length) {
            title.textContent = "Menu " + menuName(menu);
            keyFields(withPictureKeys(menu.keys, MENU_PICTURES), "", d.pictures,
                      (key, value, field) => actions.edit({ set: { [key]: value } }, field), into);
        } else {
            title.textContent = selected.length + " items";
        }
        return into;
    }

    function build(d) {
        const heading = document.createElement("h2");
        heading.textContent = "Designer";
        const message = document.createElement("p");
        message.className = "editor-message";
        message.setAttribute("role", "status");
        panel.replaceChildren(heading);
        if (d.model && !d.model.menus.length) {
            // Nothing to show yet: the first menu, made here.
            const intro = document.createElement("p");
            intro.textContent = "There is no menu here yet. Make the first one: its title and " +
                "its background, a picture of this folder or a plain one the designer draws " +
                "(the window takes the background's size).";
            const { form } = newMenuForm(d.pictures, actions.newMenu, null, true);
            panel.append(intro, form, message);
            return;
        }
        if (d.model) panel.append(tools(d));
        panel.append(message);
        const notice = d.buildError
            ? "The sources do not build (" + d.buildError + "): the menu shown is the last good " +
              "build, and edits wait until the source is mended."
            : d.model && !d.menu ? "The menu on show is not in the sources as they are now: " +
              "mend the source, or choose a menu above." : "";
        if (notice) {
            const p = document.createElement("p");
            p.className = "editor-notice";
            p.setAttribute("role", "alert");
            p.textContent = notice;
            panel.append(p);
        }
        if (d.menu) panel.append(itemList(d.menu, d.selected, actions), fields(d));
        if (d.model && d.model.problems.length) {
            const problems = document.createElement("pre");
            problems.className = "editor-problems";
            problems.textContent = d.model.problems.join("\n");
            panel.append(problems);
        }
    }

    return {
        element: panel,
        // Builds the panel when the model, the menu or the selection changed; shows d.message.
        show(d) {
            const now = { model: d.model, menu: d.menu, selected: d.selected.join(","),
                          buildError: d.buildError };
            if (!shown || now.model !== shown.model || now.menu !== shown.menu ||
                now.selected !== shown.selected || now.buildError !== shown.buildError) {
                shown = now;
                build(d);
            }
            const status = panel.querySelector(".editor-message");
            if (status.textContent !== d.message) status.textContent = d.message;
        },
        // A refusal's message under the field it concerns.
        message(text, field) { field.textContent = text; },
    };
}
