// The designer: an editing layer over the running menu, when the authoring tool's edit
// command serves the page (its address carries the token that edits need). A click selects
// the item under the pointer, a drag or the arrow keys move the selection, handles resize
// it, the panel edits keys and adds items and menus. Every change of the author's TOML goes
// through change(): the boxes show it at once, the tool is asked, and then the model the
// tool answers is the truth, or, when it refuses, the menu as it was with the tool's
// message. The tool rebuilds the menu and the running player shows the new build (see
// page_live_reload.js). The designer's menu is always the one the player shows: a menu it
// switches to is taken up, and every edit names its menu, which the tool refuses when the
// sources no longer build it as shown. While editing, items do not launch: "Try it" runs
// the menu as the disc does. Pictures dragged from the desktop onto the menu, or chosen with
// "Add picture…", are stored in the folder and then used where they were dropped.
import { createBuildDialog } from "./build_dialog.js";
import { createClient } from "./client.js";
import { createDropZone } from "./drop_zone.js";
import { aligned, applied, arrowMoved, dragged, freePlace, itemAt, readableOn,
         resizedBy, spaced } from "./geometry.js";
import { changeLabel, itemName, itemsNamed, kindName } from "./names.js";
import { createOverlay } from "./overlay.js";
import { createPanel } from "./panel.js";
import { dropTarget, picturesAmong } from "./picture_drop.js";
import { askYesNo } from "./question.js";

const SAVED_KEY = "ambrevo.designer";   // in sessionStorage: what survives a reload
const ZOOMS = [1, 1.5, 2];              // the sizes the menu can be shown at
const NOTHING_TO_BUILD = "There is nothing to build yet: make the first menu in the panel above.";

const NEW_ITEMS = {
    button: { kind: "button", caption: "&New", target: "*", size: [96, 28] },
    text: { kind: "text", caption: "New text", target: "*", size: [96, 16] },
};

// Starts the designer on the page; answers what the browser tests read of it.
// zoomTo(zoom) shows the page's forms at that zoom (CSS pixels to a menu pixel).
export function startDesigner(page, live, token, zoomTo) {
    const saved = JSON.parse(sessionStorage.getItem(SAVED_KEY) || "{}");
    const d = {
        client: createClient(token),
        model: null,
        menu: null,          // the model's menu on show
        pictures: [],        // the source folder's PNG files: [{file, size}]
        files: [],           // the disc folder's files, as targets name them
        selected: Array.isArray(saved.selected) ? saved.selected : [],
        trying: saved.trying === true,
        dropSet: saved.dropSet || "normal",   // the picture an item dropped on takes
        zoom: ZOOMS.includes(saved.zoom) ? saved.zoom : 1,   // the menu shown larger
        lastPoint: null,     // where the author last pressed on the menu
        drag: null,
        pending: null,       // the menu as a change not yet answered leaves it
        busy: 0,             // changes not yet answered
        queue: Promise.resolve(),   // the changes asked, answered one after the other
        stale: false,        // a new build came during a drag
        nudging: null,       // arrow moves not yet sent: {menu as they leave it, items}
        buildError: null,    // why the sources do not build: the player shows an older build
        message: "",         // why the last change was refused
    };
    const view = {
        overlay: createOverlay({ pointerdown: pressed, pointermove: moved, pointerup: released,
                                 lostpointercapture: released }),
        panel: createPanel({
            edit: (request, field) => change(request, { field }),
            undo: () => replay("undo"),
            redo: () => replay("redo"),
            add: addNew,
            addPicture,
            addPictureFiles,
            chooseDropSet: (dropSet) => update({ dropSet }),
            zooms: ZOOMS,
            // The selection stays in sight of a menu shown larger.
            zoom: (zoom) => {
                zoomTo(zoom);
                update({ zoom });
                const desktop = document.getElementById("desktop");
                if (d.selected.length) view.overlay.reveal(d.selected[0], desktop);
            },
            duplicate,
            remove,
            moveTo,
            select: (n) => update({ selected: [n] }),
            align: (how) => changeEach(aligned(current(), d.selected, how)),
            space: (axis) => changeEach(spaced(current(), d.selected, axis)),
            tryIt: (trying) => update({ trying }),
            showMenu,
            newMenu,
            history,
        }),
    };

    const building = createBuildDialog((request) => d.client.build(request),
                                       () => d.client.buildOffers(),
                                       () => (d.menu && d.menu.keys && d.menu.keys.title) || "");

    // ---- The state and what shows it ----

    function menuForm() {
        for (const form of page.forms.values()) {
            if (!form.element.hidden && form.size[0] === d.menu.size[0] &&
                form.size[1] === d.menu.size[1]) return form;
        }
        return null;
    }

    // The one place that keeps and shows the state: the panel only when the model, the menu
    // or the selection changed, the boxes always.
    function update(changes = {}) {
        Object.assign(d, changes);
        const saved = { selected: d.selected, trying: d.trying, dropSet: d.dropSet,
                        zoom: d.zoom };
        sessionStorage.setItem(SAVED_KEY, JSON.stringify(saved));
        view.panel.show(d);
        showBoxes();
    }

    let awaitingForm = false;   // showBoxes is asked again at the next frame
    function showBoxes() {
        if (!d.menu) return;
        const form = menuForm();
        if (!form) {   // the player has not shown the menu yet
            if (!awaitingForm) {
                awaitingForm = true;
                requestAnimationFrame(() => {
                    awaitingForm = false;
                    showBoxes();
                });
            }
            return;
        }
        const menu = d.drag ? d.drag.menu : current();
        const warned = (d.model.problem_list || [])
            .filter((p) => p.item && p.file === d.menu.file).map((p) => p.item);
        view.overlay.show(form, menu, d.selected, d.drag ? d.drag.guides : [], d.trying, warned,
                          d.zoom);
    }

    // The model's menu the player shows: the one named, else, before the player named one,
    // the first; none when the sources as they are now have no such menu.
    function shownMenu(model) {
        const shown = (sessionStorage.getItem(page.menuKey) || "").toLowerCase();
        if (!shown) return model.menus[0] || null;
        return model.menus.find((m) => m.name.toLowerCase() === shown) || null;
    }

    // The model and the pictures as the tool has them now.
    async function load() {
        const [model, pictures, files] =
            await Promise.all([d.client.model(), d.client.pictures(), d.client.files()]);
        const menu = shownMenu(model);
        // With no menu yet, the tool's build error (no package file) says nothing new, and
        // there is nothing to build.
        document.body.classList.toggle("designer-empty", !model.menus.length);
        building.allow(model.menus.length ? null : NOTHING_TO_BUILD);
        const same = menu && d.menu && menu.name === d.menu.name;
        update({ model, pictures, files, menu,
                 selected: same ? d.selected.filter((n) => n <= menu.items.length) : [] });
    }

    // The model is read again after the changes asked before, so that an older model never
    // overtakes a newer edit's versions; during a drag, once it ends.
    function reload() {
        if (d.drag) {
            d.stale = true;
            return Promise.resolve();
        }
        d.stale = false;
        const loaded = d.queue.then(load);
        d.queue = loaded.catch(() => {});
        return loaded;
    }

    // ---- The one path of every change ----

    // Asks the tool for the change, after those asked before it; `preview`, the menu as the
    // change leaves it, shows at once. Then the model as the tool has it, or, refused, the
    // menu as it was and the tool's message beside `field` (or in the panel). Answers the
    // tool's reply, or null when refused. A request given as a function is made when its
    // turn comes (moves joined while it waits).
    function change(request, { field = null, preview = null } = {}) {
        ++d.busy;
        if (preview) update({ pending: preview });
        const answered = d.queue.then(() => send(request, field));
        d.queue = answered.catch(() => {});
        return answered;
    }

    async function send(asked, field) {
        const request = typeof asked === "function" ? asked() : asked;
        // Edits of the menu name it and its file: the tool refuses them when it is not the
        // menu the player shows.
        const ofMenu = !(request.undo || request.redo || request.add_menu);
        const answer = ofMenu && !d.menu
            ? { ok: false, status: 0, reply: {}, message: "no menu is on show to edit" }
            : await d.client.edit(ofMenu ? { ...request, file: d.menu.file, menu: d.menu.name }
                                         : request);
        if (answer.ok) live.expectChange();
        if (answer.ok || answer.status === 409) await load().catch(() => {});
        --d.busy;
        // The message stays in the panel, across its builds, until the next change's answer.
        const atField = field && field.isConnected;
        update({ message: atField ? "" : answer.message, ...(d.busy ? {} : { pending: null }) });
        if (atField) view.panel.message(answer.message, field);
        return answer.ok ? answer.reply : null;
    }

    // What the next change starts from: the menu as the changes not yet answered leave it.
    const current = () => d.pending || d.menu;

    // Keys of several items in one edit, which one undo takes back.
    function changeEach(each) {
        if (!each.length) return null;
        return change({ each, label: changeLabel(current(), each) },
                      { preview: applied(current(), each) });
    }

    // Arrow moves: shown at once, and those made while one waits for its turn join it, so
    // that every press lands however quickly they come.
    function nudge(each) {
        const preview = applied(current(), each);
        if (d.nudging) {
            d.nudging.menu = preview;
            update({ pending: preview });
            return;
        }
        d.nudging = { menu: preview, items: each.map((part) => part.item) };
        change(() => {
            const { menu, items } = d.nudging;
            d.nudging = null;
            const parts = items.map((n) => ({ item: n,
                                              set: { position: menu.items[n - 1].position } }));
            return { each: parts, label: changeLabel(menu, parts) };
        }, { preview });
    }

    async function add(keys, label) {
        const reply = await change({ add: keys, label });
        if (reply) update({ selected: [reply.item] });
    }

    // The colours of the menu's canvas under a rectangle, as RGBA values.
    function pixelsUnder(position, size) {
        const form = menuForm();
        if (!form) return [];
        const [x, y, width, height] =
            [...position, ...size].map((v) => Math.round(v * page.pixelRatio * page.zoom));
        return form.ctx.getImageData(x, y, width, height).data;
    }

    // A new push button or text where the author last pressed, apart from the items there;
    // a text in a colour readable on the background under it (item fonts are version 7's).
    function addNew(kind) {
        const keys = { ...NEW_ITEMS[kind] };
        keys.position = freePlace(current(), d.lastPoint || [10, 10], keys.size);
        if (kind === "text" && d.menu.keys.version !== 6) {
            keys["font.color"] = readableOn(pixelsUnder(keys.position, keys.size));
        }
        add(keys, "add " + kindName(kind));
    }

    // A picture item showing the file of size at point (where the author last pressed when
    // none), moved in so that the picture lies within the window and apart from the items
    // there; its size is the picture's.
    function addPictureItem(file, size, point) {
        const position = freePlace(current(), point || d.lastPoint || [10, 10], size);
        return add({ kind: "picture", target: "*", position, "pictures.normal": file },
                   "add picture");
    }

    function addPicture(file) {
        addPictureItem(file, d.pictures.find((p) => p.file === file).size, null);
    }

    // Files from the desktop, dropped at point of the window or chosen with the file button
    // (point null), each stored in turn and then used as dropTarget says. Only the first
    // takes an item's or the background's place: the others become new picture items
    // there, as one picture per item or window is all a drop can mean. Files that are no
    // PNG or JPEG are named and not sent; the tool's refusals are said plainly.
    async function addPictureFiles(files, point) {
        const { pictures, others } = picturesAmong(files);
        const said = others.map((f) => f.name + " is no PNG or JPEG picture: it was not added.");
        const takes = (item) => d.model.keys.some((key) =>
            key.path === "item.pictures." + d.dropSet && key.kinds.includes(item.kind));
        let target = point ? dropTarget(current(), point, takes) : { newItem: true };
        for (const file of pictures) {
            const stored = await d.client.storePicture(file);
            if (!stored.ok) {
                said.push(file.name + " was not added: " + stored.message);
                continue;
            }
            update({ pictures: await d.client.pictures() });
            await usePicture(stored.reply, target, point);
            target = { newItem: true };
        }
        if (said.length) update({ message: [...said, d.message].filter(Boolean).join("\n") });
    }

    // A stored picture ({file, size}) as the target of its drop.
    async function usePicture({ file, size }, target, point) {
        if (target.item) {
            const each = [{ item: target.item, set: { ["pictures." + d.dropSet]: file } }];
            await change({ ...each[0], label: changeLabel(current(), each) });
            return;
        }
        const background = target.background && await askYesNo(
            "Designer", "Use " + file + " as the menu's background?\n\nNo adds it as a new " +
            "picture item where it was dropped.");
        if (background) {
            const set = { background: file };
            await change({ set, label: changeLabel(current(), [{ set }]) });
        } else {
            await addPictureItem(file, size, point);
        }
    }

    // The tool copies the item as written; the copy lies apart from it.
    async function duplicate() {
        const item = d.menu.items[d.selected[0] - 1];
        const position = freePlace(current(), [item.position[0] + 10, item.position[1] + 10],
                                   item.size);
        const reply = await change({ duplicate: item.index, set: { position },
                                     label: "duplicate " + itemName(item) });
        if (reply) update({ selected: [reply.item] });
    }

    async function remove() {
        const label = "delete " + itemsNamed(d.menu, d.selected);
        if (await change({ remove: d.selected[0], label })) update({ selected: [] });
    }

    // The selected item to another place in the tab order; it stays selected.
    async function moveTo(to) {
        const from = d.selected[0];
        const label = "reorder " + itemName(d.menu.items[from - 1]);
        if (await change({ move: from, to, label })) update({ selected: [to] });
    }

    // The step undo or redo takes: the newest of the menu on show, else the newest of all
    // (its files named); null when there is none.
    function history(which) {
        const steps = (d.model && d.model[which]) || [];
        const file = d.menu && d.menu.file;
        const own = steps.findLast((step) => step.files.includes(file));
        if (own) return { label: own.label, file };
        const last = steps[steps.length - 1];
        return last ? { label: last.label + " (" + last.files.join(", ") + ")", file: null }
                    : null;
    }

    function replay(which) {
        const step = history(which);
        if (step) change({ [which]: true, ...(step.file ? { file: step.file } : {}) });
    }

    function showMenu(name) {
        sessionStorage.setItem(page.menuKey, name);
        update({ selected: [] });
        location.reload();
    }

    // The new menu is shown once the player takes up the new build. The first menu of a
    // folder without one is made with the package file that lists it.
    async function newMenu(keys, field) {
        const reply = await change({ file: d.model.source.name, add_menu: keys }, { field });
        const created = reply && d.model.menus.find((m) => m.file === reply.menu);
        if (created) {
            sessionStorage.setItem(page.menuKey, created.name);
            update({ selected: [] });
        }
    }

    // ---- The pointer and the keys ----

    function pressed(e) {
        if (e.button !== 0 || !d.menu) return;
        const layer = view.overlay.layer;
        layer.focus();
        layer.setPointerCapture(e.pointerId);
        const [x, y] = view.overlay.pointOf(e);
        const resize = Number(e.target.dataset.resize || 0);
        const n = resize || itemAt(current(), x, y);
        let selected = d.selected;
        if (!n) {
            if (!e.shiftKey) selected = [];
        } else if (e.shiftKey) {
            selected = selected.includes(n) ? selected.filter((s) => s !== n) : [...selected, n];
        } else if (!selected.includes(n)) {
            selected = [n];
        }
        // A handle's item leads the resize; the first selected leads a move.
        const lead = resize ? [resize, ...selected.filter((s) => s !== resize)] : selected;
        d.drag = { client: [e.clientX, e.clientY], resize, lead, from: current(),
                   menu: current(), each: [], guides: [] };
        update({ selected, lastPoint: [x, y] });
        e.preventDefault();
    }

    // Only the boxes and guides are drawn again while the pointer moves. The pointer's way
    // on the page counts in menu pixels at the zoom shown.
    function moved(e) {
        const drag = d.drag;
        if (!drag || !drag.lead.length) return;
        const [dx, dy] = [e.clientX - drag.client[0], e.clientY - drag.client[1]]
            .map((way) => Math.round(way / d.zoom));
        if (drag.resize) {
            drag.each = resizedBy(drag.from, drag.lead, dx, dy);
            drag.guides = [];
        } else {
            ({ each: drag.each, guides: drag.guides } =
                dragged(drag.from, drag.lead, dx, dy, e.altKey));
        }
        drag.menu = applied(drag.from, drag.each);
        showBoxes();
    }

    function released() {
        const drag = d.drag;
        if (!drag) return;
        d.drag = null;
        const each = drag.each.filter((part) => {
            const item = drag.from.items[part.item - 1];
            return Object.entries(part.set)
                .some(([key, value]) => String(value) !== String(item[key]));
        });
        if (each.length) {
            changeEach(each);
        } else {
            showBoxes();
            if (d.stale) reload();
        }
    }

    // Keys move or delete the selection; none reaches the menu while editing.
    function keyed(e) {
        if (e.ctrlKey || e.metaKey) {
            if (e.key === "z") replay("undo");
            if (e.key === "y") replay("redo");
            return;
        }
        const each = d.menu && arrowMoved(current(), d.selected, e.key, e.shiftKey);
        if (each) {
            nudge(each);
        } else if (e.key === "Delete" && d.selected.length === 1) {
            remove();
        }
    }

    // The keys of the panel, of "Build disc…" and of its dialog never reach the menu; the
    // others reach it only in "Try it".
    const ownKeys = [view.panel.element, building.opener, building.dialog];
    for (const kind of ["keydown", "keyup"]) {
        for (const own of ownKeys) own.addEventListener(kind, (e) => e.stopPropagation());
        window.addEventListener(kind, (e) => {
            if (d.trying || ownKeys.some((own) => own.contains(e.target)) ||
                e.target.closest?.(".editor-question")) return;
            e.stopPropagation();
            e.preventDefault();
            if (kind === "keydown") keyed(e);
        }, true);
    }

    // The designer follows the player: a menu it switches to ("Try it") is the one edited.
    page.shownListeners.push((name) => {
        if (!d.model || (d.menu && d.menu.name === name)) return;
        const menu = shownMenu(d.model);
        update({ menu, selected: [] });
        if (!menu) reload().catch(() => {});
    });
    createDropZone(document.getElementById("desktop"), () => !!d.menu && !d.trying,
                   (files, e) => addPictureFiles(files, view.overlay.pointOf(e)));
    live.failed((error) => update({ buildError: error }));
    live.rebuilt(() => reload().catch(() => {}));
    if (d.zoom !== 1) zoomTo(d.zoom);
    reload().catch((error) => update({ message: "The model cannot be read: " + error.message }));
    return {
        state: d,
        item: (n) => d.menu.items[n - 1],
        itemAt: (x, y) => itemAt(d.menu, x, y),
        reload,
    };
}
