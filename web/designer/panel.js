// The designer's panel beside the menu: the menus, the commands, the items with a mark on
// those the check warns about, every key of the one item selected, or of the menu with none
// selected, each a field that edits its key (key_fields.js), and the problems. It is
// built again only when the model, the menu on show or the selection changed; a message
// (a refusal) is shown without building it again. Commands go to the actions given.
import { keyGroups, withStyleTable } from "./key_fields.js";
import { itemName, kindName, menuName } from "./names.js";

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

// "Add picture…": the system's file chooser for PNG and JPEG files, each added as a new
// picture item. The chooser's input stays out of the tab order; the button is reached by Tab.
function pictureFilesButton(enabled, add) {
    const chooser = document.createElement("input");
    chooser.type = "file";
    chooser.multiple = true;
    chooser.accept = ".png,.jpg,.jpeg,image/png,image/jpeg";
    chooser.hidden = true;
    chooser.addEventListener("change", () => {
        const files = [...chooser.files];
        chooser.value = "";
        if (files.length) add(files);
    });
    const open = button("Add picture\u2026", () => chooser.click(), enabled);
    open.title = "PNG or JPEG files from your computer, stored in the folder's pictures";
    return [open, chooser];
}

// Which of an item's pictures a picture dropped on it becomes.
const DROP_SETS = [["normal", "normal"], ["highlighted", "highlighted"],
                   ["pressed", "pressed"], ["description", "description"]];

function dropSetChooser(chosen, choose) {
    const select = document.createElement("select");
    select.setAttribute("aria-label", "A picture dropped on an item becomes its");
    for (const [text, set] of DROP_SETS) {
        select.append(new Option("Dropped on an item: its " + text + " picture", set, false,
                                 set === chosen));
    }
    select.addEventListener("change", () => choose(select.value));
    return select;
}

// The size the menu is shown at: a group of radio buttons (arrow keys choose among them).
// Items keep their menu pixels whatever the zoom.
function zoomSwitch(zooms, chosen, choose) {
    const group = document.createElement("fieldset");
    group.className = "editor-zoom";
    const legend = document.createElement("legend");
    legend.textContent = "Zoom";
    group.append(legend);
    for (const zoom of zooms) {
        const option = document.createElement("label");
        const radio = document.createElement("input");
        radio.type = "radio";
        radio.name = "editor-zoom";
        radio.value = zoom;
        radio.checked = zoom === chosen;
        radio.addEventListener("change", () => choose(zoom));
        option.append(radio, " " + zoom * 100 + " %");
        group.append(option);
    }
    return group;
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
    plain.append(labelled("Width", width), labelled("Height", height),
                 labelled("Colour", colour));
    background.addEventListener("change", () => { plain.hidden = background.value !== "plain"; });
    const message = fieldMessage();
    const submit = button(first ? "Make the menu" : "Create menu", () => {});
    submit.type = "submit";
    form.append(labelled("Menu file", fileName), labelled("Title", title),
                labelled("Background", background), plain, message, submit);
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
function itemList(menu, selected, problems, actions) {
    const list = document.createElement("ol");
    list.className = "editor-items";
    list.setAttribute("aria-label", "Items in tab order");
    for (const item of menu.items) {
        const entry = document.createElement("li");
        entry.textContent = item.index + ". " + kindName(item.kind) + " " + itemName(item);
        entry.dataset.item = item.index;
        const own = problems.filter((p) => p.item === item.index);
        if (own.length) {
            entry.classList.add("has-problem");
            entry.title = own.map((p) => p.message).join("\n");
        }
        entry.draggable = true;
        entry.classList.toggle("selected", selected.includes(item.index));
        entry.addEventListener("click", () => actions.select(item.index));
        entry.addEventListener("dragstart", (e) => {
            actions.select(item.index);
            e.dataTransfer.setData("text/plain", String(item.index));
        });
        // Files from the desktop are no reorder: they go to the designer's drop zone.
        const reorders = (e) => ![...e.dataTransfer.types].includes("Files");
        entry.addEventListener("dragover", (e) => {
            if (!reorders(e)) return;
            e.preventDefault();
            entry.classList.add("dragged-over");
        });
        entry.addEventListener("dragleave", () => entry.classList.remove("dragged-over"));
        entry.addEventListener("drop", (e) => {
            if (!reorders(e)) return;
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
            menus, trying, zoomSwitch(actions.zooms, d.zoom, actions.zoom),
            button(undo ? "Undo: " + undo.label : "Undo", actions.undo, !!undo),
            button(redo ? "Redo: " + redo.label : "Redo", actions.redo, !!redo),
            button("Add push button", () => actions.add("button"), !!menu),
            button("Add text", () => actions.add("text"), !!menu),
            pictureItemChooser(d.pictures, !!menu, actions.addPicture),
            ...pictureFilesButton(!!menu, (files) => actions.addPictureFiles(files, null)),
            dropSetChooser(d.dropSet, actions.chooseDropSet),
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

    // What the fields offer beside the keys: the pictures, the disc's files and the other
    // menus as targets, and whether the menu is of the older format.
    function fieldContext(d, required = "") {
        return { pictures: d.pictures, files: d.files,
                 menus: d.model.menus.filter((m) => m !== d.menu).map((m) => m.name),
                 version6: d.menu.keys.version === 6, required };
    }

    function fields(d) {
        const { menu, selected } = d;
        const into = document.createElement("div");
        into.className = "editor-keys";
        const title = document.createElement("h3");
        into.append(title);
        if (selected.length === 1) {
            const item = menu.items[selected[0] - 1];
            title.textContent = kindName(item.kind) + " " + itemName(item) + " \u2014 " +
                item.file + " line " + item.line;
            into.append(problemList(d, menuProblems(d).filter((p) => p.item === item.index),
                                    "editor-item-problems"));
            into.append(...keyGroups(
                d.model.keys, "item.", (key) => key.kinds.includes(item.kind), item.keys,
                fieldContext(d, item.kind === "picture" ? "item.pictures.normal" : ""),
                (set, field) => actions.edit({ item: item.index,
                                               set: withStyleTable(item.keys, set) }, field)));
        } else if (!selected.length) {
            title.textContent = "Menu " + menuName(menu);
            into.append(...keyGroups(d.model.keys, "", () => true, menu.keys, fieldContext(d),
                                     (set, field) => actions.edit({ set }, field)));
        } else {
            title.textContent = selected.length + " items";
        }
        return into;
    }

    // The problems of the menu on show, as the tool's check lists them.
    function menuProblems(d) {
        const all = (d.model && d.model.problem_list) || [];
        return d.menu ? all.filter((p) => p.file === d.menu.file) : all;
    }

    // The problems as a list; one of an item of the menu on show selects it.
    function problemList(d, problems, className) {
        const list = document.createElement("ul");
        list.className = "editor-problems " + className;
        for (const problem of problems) {
            const entry = document.createElement("li");
            entry.classList.add(problem.warning ? "warning" : "error");
            entry.textContent = (problem.warning ? "Warning: " : "Error: ") + problem.file +
                (problem.line ? " line " + problem.line : "") + ": " + problem.message;
            if (problem.item && d.menu && problem.file === d.menu.file) {
                entry.classList.add("of-item");
                entry.addEventListener("click", () => actions.select(problem.item));
            }
            list.append(entry);
        }
        return list;
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
        if (d.menu) {
            panel.append(itemList(d.menu, d.selected, menuProblems(d), actions), fields(d));
        }
        const problems = (d.model && d.model.problem_list) || [];
        if (problems.length) {
            const heading = document.createElement("h3");
            heading.textContent = "Problems";
            panel.append(heading, problemList(d, problems, "editor-all-problems"));
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
