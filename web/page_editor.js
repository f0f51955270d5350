// The designer: an editing layer over the running menu, when the authoring tool's edit
// command serves the page (its address carries the token that edits need). A click selects
// the item under the pointer, found from the menu's own geometry; a drag or the arrow keys
// move the selection; handles resize the selection's push buttons and texts; a panel edits
// the selection's keys, or the menu's, and adds items and menus. Every change is an edit of
// the author's TOML through POST /edit; the tool rebuilds the menu and the running player
// shows the new build (see page_live_reload.js), keeping what was selected. While editing, items do not launch: "Try it" runs the menu
// as the disc does.
"use strict";

(function (page) {
    const token = new URLSearchParams(location.search).get("token");
    if (!token) return;
    const STATE_KEY = "ambrevo.designer";
    const SNAP_PX = 4;
    const state = Object.assign({ selected: [], trying: false },
                                JSON.parse(sessionStorage.getItem(STATE_KEY) || "{}"));
    const saveState = () => sessionStorage.setItem(STATE_KEY, JSON.stringify(state));
    let model = null;
    let pictures = [];    // the source folder's PNG files: [{file, size}]
    let menu = null;      // the model's menu on show
    let overlay = null;   // over the menu's canvas
    let drag = null;

    // ---- The tool's edit interface ----

    async function loadModel() {
        const response = await fetch("model", { cache: "no-store" });
        model = await response.json();
        const listing = await fetch("pictures", { cache: "no-store" });
        pictures = listing.ok ? (await listing.json()).pictures : [];
        const shown = (sessionStorage.getItem(page.menuKey) || "").toLowerCase();
        menu = model.menus.find((m) => m.name.toLowerCase() === shown) || model.menus[0] || null;
        state.selected = state.selected.filter((n) => menu && n <= menu.items.length);
        render();
    }

    // Sends one edit made on the version of the file the page knows; on success the page
    // knows the new version. A refusal is shown beside `field` (or in the panel).
    async function edit(request, field) {
        if (!request.undo && !request.redo) {
            const file = model.files.find((f) => f.name === (request.file || menu.file));
            request.file = file.name;
            request.version = file.version;
        }
        const response = await fetch("edit", {
            method: "POST",
            headers: { "Content-Type": "application/json", "X-Ambrevo-Token": token },
            body: JSON.stringify(request),
        });
        const reply = await response.json().catch(() => ({ error: "no answer" }));
        if (response.ok) {
            const file = model.files.find((f) => f.name === reply.file);
            if (file) file.version = reply.version;
            page.expectChange();
            showMessage("", field);
            return reply;
        }
        showMessage(reply.error || ("refused: " + response.status), field);
        if (response.status === 409) await loadModel();
        return null;
    }

    // Keys of several items in one edit, which one undo takes back.
    const editEach = (requests) => requests.length ? edit({ each: requests }) : null;

    // ---- Geometry ----

    const itemOf = (n) => menu.items[n - 1];
    const rectOf = (item) => ({ x: item.position[0], y: item.position[1],
                                w: item.size[0], h: item.size[1] });

    // The item under a point, as the player routes the mouse: push buttons above the rest,
    // later items above earlier ones.
    function itemAt(x, y) {
        const under = menu.items.filter((item) => {
            const r = rectOf(item);
            return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h;
        });
        const buttons = under.filter((item) => item.kind === "button");
        const top = (buttons.length ? buttons : under).pop();
        return top ? top.index : 0;
    }

    // Moves a rectangle's edges onto another item's or the menu's edges, or its centre onto
    // theirs, within SNAP_PX: the offset to add and where the guide lies, for one axis.
    function snap(r, axis) {
        const [pos, len, size] = axis === "x" ? ["x", "w", 0] : ["y", "h", 1];
        const edges = [0, menu.size[size]];
        const centres = [menu.size[size] / 2];
        for (const item of menu.items) {
            if (state.selected.includes(item.index)) continue;
            const o = rectOf(item);
            edges.push(o[pos], o[pos] + o[len]);
            centres.push(o[pos] + o[len] / 2);
        }
        let best = null;
        const consider = (from, lines) => {
            for (const line of lines) {
                const offset = line - from;
                if (Math.abs(offset) <= SNAP_PX && (!best || Math.abs(offset) < Math.abs(best.offset))) {
                    best = { offset: Math.round(offset), line };
                }
            }
        };
        consider(r[pos], edges);
        consider(r[pos] + r[len], edges);
        consider(r[pos] + r[len] / 2, centres);
        return best || { offset: 0, line: null };
    }

    // ---- The layer over the canvas ----

    function menuForm() {
        for (const form of page.forms.values()) {
            if (!form.element.hidden && form.canvas.width === menu.size[0] &&
                form.canvas.height === menu.size[1]) return form;
        }
        return null;
    }

    function render() {
        renderPanel();
        if (!menu) return;
        const form = menuForm();
        if (!form) { setTimeout(render, 100); return; }   // the player has not shown it yet
        if (!overlay || overlay.parentNode !== form.element) {
            overlay = document.createElement("div");
            overlay.className = "editor-layer";
            overlay.tabIndex = 0;
            overlay.addEventListener("pointerdown", pressed);
            overlay.addEventListener("pointermove", moved);
            overlay.addEventListener("pointerup", released);
            form.element.append(overlay);
        }
        Object.assign(overlay.style, {
            left: form.canvas.offsetLeft + "px", top: form.canvas.offsetTop + "px",
            width: menu.size[0] + "px", height: menu.size[1] + "px",
        });
        overlay.hidden = state.trying;
        overlay.replaceChildren();
        for (const item of menu.items) {
            const r = rectOf(item);
            const box = document.createElement("div");
            box.className = "editor-item" + (state.selected.includes(item.index) ? " selected" : "");
            Object.assign(box.style, { left: r.x + "px", top: r.y + "px",
                                       width: r.w + "px", height: r.h + "px" });
            if (state.selected.includes(item.index) && item.kind !== "picture") {
                const handle = document.createElement("div");
                handle.className = "editor-handle";
                handle.dataset.resize = item.index;
                box.append(handle);
            }
            overlay.append(box);
        }
        for (const guide of drag && drag.guides || []) {
            const line = document.createElement("div");
            line.className = "editor-guide " + guide.axis;
            line.style[guide.axis === "x" ? "left" : "top"] = guide.line + "px";
            overlay.append(line);
        }
    }

    function pointOf(e) {
        const box = overlay.getBoundingClientRect();
        return [Math.floor(e.clientX - box.left), Math.floor(e.clientY - box.top)];
    }

    function pressed(e) {
        if (e.button !== 0) return;
        overlay.focus();
        overlay.setPointerCapture(e.pointerId);
        const [x, y] = pointOf(e);
        state.lastPoint = [x, y];
        const resize = Number(e.target.dataset.resize || 0);
        const n = resize || itemAt(x, y);
        if (!n) {
            if (!e.shiftKey) state.selected = [];
        } else if (e.shiftKey) {
            state.selected = state.selected.includes(n)
                ? state.selected.filter((s) => s !== n) : [...state.selected, n];
        } else if (!state.selected.includes(n)) {
            state.selected = [n];
        }
        saveState();
        drag = { x, y, dx: 0, dy: 0, resize, guides: [],
                 start: state.selected.map((s) => ({ n: s, ...rectOf(itemOf(s)) })) };
        render();
        e.preventDefault();
    }

    function moved(e) {
        if (!drag || !drag.start.length) return;
        const [x, y] = pointOf(e);
        drag.dx = x - drag.x;
        drag.dy = y - drag.y;
        drag.guides = [];
        const lead = drag.start.find((s) => s.n === (drag.resize || drag.start[0].n));
        if (drag.resize) {
            // Every selected push button and text by the same amount as the handle's item.
            for (const s of resized(drag)) {
                itemOf(s.n).size = [Math.max(1, s.w + drag.dx), Math.max(1, s.h + drag.dy)];
            }
        } else {
            const moved = { ...lead, x: lead.x + drag.dx, y: lead.y + drag.dy };
            // Alt drags freely; an axis the pointer has not moved along stays as it was.
            const none = { offset: 0, line: null };
            const sx = e.altKey || !drag.dx ? none : snap(moved, "x");
            const sy = e.altKey || !drag.dy ? none : snap(moved, "y");
            drag.dx += sx.offset;
            drag.dy += sy.offset;
            if (sx.line !== null) drag.guides.push({ axis: "x", line: sx.line });
            if (sy.line !== null) drag.guides.push({ axis: "y", line: sy.line });
            for (const s of drag.start) itemOf(s.n).position = [s.x + drag.dx, s.y + drag.dy];
        }
        render();
    }

    // The items a handle's drag resizes: the selection's, but picture items, which take
    // their pictures' size.
    const resized = (d) => d.start.filter((s) => itemOf(s.n).kind !== "picture");

    async function released() {
        const done = drag;
        drag = null;
        if (!done || (!done.dx && !done.dy)) { render(); return; }
        if (done.resize) {
            await editEach(resized(done).map((s) =>
                ({ item: s.n, set: { size: itemOf(s.n).size } })));
        } else {
            await editEach(done.start.map((s) =>
                ({ item: s.n, set: { position: itemOf(s.n).position } })));
        }
        render();
    }

    // Keys move or delete the selection; none reaches the menu while editing.
    function keyed(e) {
        if (e.ctrlKey || e.metaKey) {
            if (e.key === "z") edit({ undo: true });
            if (e.key === "y") edit({ redo: true });
            return;
        }
        const steps = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
        if (steps[e.key] && state.selected.length) {
            const [dx, dy] = steps[e.key].map((v) => v * (e.shiftKey ? 10 : 1));
            const requests = state.selected.map((n) => {
                const item = itemOf(n);
                item.position = [item.position[0] + dx, item.position[1] + dy];
                return { item: n, set: { position: item.position } };
            });
            render();
            editEach(requests);
        } else if (e.key === "Delete" && state.selected.length === 1) {
            removeSelected();
        }
    }

    // ---- Commands ----

    async function removeSelected() {
        const n = state.selected[0];
        if (await edit({ remove: n })) {
            menu.items.splice(n - 1, 1);
            menu.items.forEach((item, i) => { item.index = i + 1; });
            state.selected = [];
            saveState();
            render();
        }
    }

    // Left, top or centre edges of the selection on the first one selected's.
    function align(how) {
        const [first, ...rest] = state.selected.map(itemOf);
        const f = rectOf(first);
        const requests = rest.map((item) => {
            const r = rectOf(item);
            const x = how === "left" ? f.x : how === "centre-x" ? Math.round(f.x + (f.w - r.w) / 2) : r.x;
            const y = how === "top" ? f.y : how === "centre-y" ? Math.round(f.y + (f.h - r.h) / 2) : r.y;
            item.position = [x, y];
            return { item: item.index, set: { position: item.position } };
        });
        render();
        editEach(requests);
    }

    // The selection spaced evenly between its outermost items, along one axis.
    function space(axis) {
        const [pos, len] = axis === "x" ? ["x", "w"] : ["y", "h"];
        const items = state.selected.map(itemOf)
            .sort((a, b) => rectOf(a)[pos] - rectOf(b)[pos]);
        if (items.length < 3) return;
        const rects = items.map(rectOf);
        const total = rects.reduce((sum, r) => sum + r[len], 0);
        const span = rects[rects.length - 1][pos] + rects[rects.length - 1][len] - rects[0][pos];
        const gap = (span - total) / (items.length - 1);
        let at = rects[0][pos];
        const requests = items.map((item, i) => {
            const position = [...item.position];
            position[axis === "x" ? 0 : 1] = Math.round(at);
            at += rects[i][len] + gap;
            item.position = position;
            return { item: item.index, set: { position } };
        });
        render();
        editEach(requests);
    }

    const NEW_ITEMS = {
        button: { kind: "button", caption: "&New", target: "*", position: [10, 10], size: [96, 28] },
        text: { kind: "text", caption: "New text", target: "*", position: [10, 10], size: [96, 16] },
    };

    async function add(keys) {
        const reply = await edit({ add: keys });
        if (reply) { state.selected = [reply.item]; saveState(); }
    }

    // A picture item showing the file, where the author last clicked, moved in so that the
    // picture lies within the window; its size is the picture's.
    function addPicture(file) {
        const size = pictures.find((p) => p.file === file).size;
        const [x, y] = state.lastPoint || [10, 10];
        const within = (at, length, room) => Math.max(0, Math.min(at, room - length));
        add({ kind: "picture", target: "*",
              position: [within(x, size[0], menu.size[0]), within(y, size[1], menu.size[1])],
              "pictures.normal": file });
    }

    // ---- The panel ----

    const panel = document.createElement("aside");
    panel.id = "editor";
    panel.setAttribute("aria-label", "Designer");
    document.body.append(panel);

    function button(text, action, enabled = true) {
        const b = document.createElement("button");
        b.type = "button";
        b.textContent = text;
        b.disabled = !enabled;
        b.addEventListener("click", action);
        return b;
    }

    function showMessage(text, field) {
        const target = field || panel.querySelector(".editor-message");
        if (target) target.textContent = text;
    }

    // One input per key; keys of sub-tables as "table.key". A value is sent as the type it
    // had: numbers, pairs of numbers, true or false, else text.
    function keyField(label, value, send) {
        const row = document.createElement("label");
        row.className = "editor-field";
        row.append(label);
        const message = document.createElement("small");
        message.className = "editor-field-message";
        const inputs = [];
        const values = Array.isArray(value) ? value : [value];
        for (const v of values) {
            const input = document.createElement("input");
            input.type = typeof v === "boolean" ? "checkbox" : typeof v === "number" ? "number" : "text";
            if (typeof v === "boolean") input.checked = v; else input.value = v;
            inputs.push(input);
            row.append(input);
        }
        const read = (input, v) => typeof v === "boolean" ? input.checked
            : typeof v === "number" ? Number.parseInt(input.value, 10) : input.value;
        for (const input of inputs) {
            input.addEventListener("change", () => {
                const next = Array.isArray(value) ? values.map((v, i) => read(inputs[i], v))
                                                  : read(inputs[0], value);
                send(next, message);
            });
        }
        row.append(message);
        return row;
    }

    // A drop-down of the source folder's pictures; the current value stays a choice even when
    // it is not among them, and "none" (the key removed) where the key may be left out.
    function pictureField(label, value, optional, send) {
        const row = document.createElement("label");
        row.className = "editor-field";
        const message = document.createElement("small");
        message.className = "editor-field-message";
        const select = document.createElement("select");
        const files = pictures.map((p) => p.file);
        if (value && !files.includes(value)) files.unshift(value);
        if (optional || !value) select.append(new Option("none", "", false, !value));
        for (const file of files) select.append(new Option(file, file, false, file === value));
        select.addEventListener("change", () => send(select.value || null, message));
        row.append(label, select, message);
        return row;
    }

    // The keys that name one picture: the menu's background, an item's still pictures.
    const MENU_PICTURES = ["background"];
    const ITEM_PICTURES = ["pictures.normal", "pictures.highlighted", "pictures.pressed",
                           "pictures.description"];

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

    // required: the picture key that must not be "none".
    function keyFields(keys, prefix, send, into, required = "") {
        for (const [key, value] of Object.entries(keys)) {
            const name = prefix + key;
            if ((MENU_PICTURES.includes(name) && !prefix) || ITEM_PICTURES.includes(name)) {
                into.append(pictureField(name, value, name !== required,
                                         (v, field) => send(name, v, field)));
            } else if (value !== null && typeof value === "object" && !Array.isArray(value)) {
                keyFields(value, prefix + key + ".", send, into, required);
            } else if (!Array.isArray(value) || value.every((v) => typeof v !== "object")) {
                into.append(keyField(prefix + key, value, (v, field) => send(prefix + key, v, field)));
            }
        }
    }

    // "Picture item": a drop-down of the pictures; choosing one adds an item showing it.
    function pictureItemChooser() {
        const select = document.createElement("select");
        select.setAttribute("aria-label", "Add picture item");
        select.append(new Option("Add picture item\u2026", "", true, true));
        select.options[0].disabled = true;
        for (const p of pictures) select.append(new Option(p.file, p.file));
        select.disabled = !menu || !pictures.length;
        select.addEventListener("change", () => addPicture(select.value));
        return select;
    }

    // "New menu": its file (a plain name.toml, new in the source folder), title and
    // background; created beside the sources and listed last in the package's "menus".
    function newMenuForm() {
        const form = document.createElement("form");
        form.className = "editor-new-menu";
        const fileName = document.createElement("input");
        fileName.placeholder = "help.toml";
        const title = document.createElement("input");
        const background = document.createElement("select");
        background.append(new Option("none", ""));
        for (const p of pictures) background.append(new Option(p.file, p.file));
        const message = document.createElement("small");
        message.className = "editor-field-message";
        const labelled = (text, input) => {
            const row = document.createElement("label");
            row.className = "editor-field";
            row.append(text, input);
            return row;
        };
        const create = button("Create menu", () => {});
        create.type = "submit";
        form.append(labelled("file", fileName), labelled("title", title),
                    labelled("background", background), message,
                    create, button("Cancel", () => renderPanel()));
        form.addEventListener("submit", async (e) => {
            e.preventDefault();
            const name = fileName.value.trim();
            if (!/^[^\\/:.][^\\/:]*\.toml$/.test(name) || name.toLowerCase() === "package.toml") {
                message.textContent = "a plain file name ending in .toml, as help.toml";
                return;
            }
            if (model.files.some((f) => f.name.toLowerCase() === name.toLowerCase())) {
                message.textContent = name + " is a file of the package already";
                return;
            }
            const reply = await edit({ file: model.files[0].name, add_menu: {
                file: name, title: title.value, background: background.value || null } }, message);
            if (reply) {
                // Shown once the page reloads on the new build: its entry name, as the tool
                // names a menu without a "name" key.
                const entry = name.slice(0, -5).replace(/[A-Z]/g, (c) => c.toLowerCase()) + ".mnu";
                sessionStorage.setItem(page.menuKey, entry);
                state.selected = [];
                saveState();
            }
        });
        panel.querySelector(".editor-tools").after(form);
        fileName.focus();
    }

    function renderPanel() {
        panel.replaceChildren();
        const heading = document.createElement("h2");
        heading.textContent = "Designer";
        panel.append(heading);
        if (!model) return;
        const menus = document.createElement("select");
        for (const m of model.menus) {
            const option = new Option(m.name + " (" + m.file + ")", m.name, false, m === menu);
            menus.append(option);
        }
        menus.append(new Option("New menu\u2026", ""));
        menus.addEventListener("change", () => {
            if (!menus.value) { newMenuForm(); return; }
            sessionStorage.setItem(page.menuKey, menus.value);
            state.selected = [];
            saveState();
            location.reload();
        });
        const trying = document.createElement("label");
        const tryIt = document.createElement("input");
        tryIt.type = "checkbox";
        tryIt.checked = state.trying;
        tryIt.addEventListener("change", () => { state.trying = tryIt.checked; saveState(); render(); });
        trying.append(tryIt, " Try it");
        const selected = state.selected.length;
        const tools = document.createElement("div");
        tools.className = "editor-tools";
        tools.append(
            menus, trying,
            button("Undo", () => edit({ undo: true })), button("Redo", () => edit({ redo: true })),
            button("Add push button", () => add(NEW_ITEMS.button)),
            button("Add text", () => add(NEW_ITEMS.text)),
            pictureItemChooser(),
            button("Duplicate", () => {
                const item = itemOf(state.selected[0]);
                add({ ...item.keys, position: [item.position[0] + 10, item.position[1] + 10] });
            }, selected === 1),
            button("Delete", removeSelected, selected === 1),
            button("Earlier in tab order", () => edit({ move: state.selected[0], to: state.selected[0] - 1 }),
                   selected === 1 && state.selected[0] > 1),
            button("Later in tab order", () => edit({ move: state.selected[0], to: state.selected[0] + 1 }),
                   selected === 1 && menu && state.selected[0] < menu.items.length),
            button("Align left", () => align("left"), selected > 1),
            button("Align top", () => align("top"), selected > 1),
            button("Align centres \u2194", () => align("centre-x"), selected > 1),
            button("Align centres \u2195", () => align("centre-y"), selected > 1),
            button("Space across", () => space("x"), selected > 2),
            button("Space down", () => space("y"), selected > 2));
        panel.append(tools);
        const message = document.createElement("p");
        message.className = "editor-message";
        message.setAttribute("role", "status");
        panel.append(message);
        if (!menu) return;
        const fields = document.createElement("div");
        if (selected === 1) {
            const item = itemOf(state.selected[0]);
            const title = document.createElement("h3");
            title.textContent = "Item " + item.index + " (" + item.kind + "), " + item.file + " line " + item.line;
            fields.append(title);
            // A picture item is read out by its name and shows all its pictures, so those
            // fields are there even before the source has them.
            const isPicture = item.kind === "picture";
            const keys = isPicture && !("name" in item.keys) ? { ...item.keys, name: "" } : item.keys;
            keyFields(isPicture ? withPictureKeys(keys, ITEM_PICTURES) : keys, "",
                      (key, value, field) =>
                          edit({ item: item.index, set: { [key]: value } }, field),
                      fields, isPicture ? "pictures.normal" : "");
        } else if (selected === 0) {
            const title = document.createElement("h3");
            title.textContent = "Menu " + menu.name + ", " + menu.file;
            fields.append(title);
            keyFields(withPictureKeys(menu.keys, MENU_PICTURES), "",
                      (key, value, field) => edit({ set: { [key]: value } }, field), fields);
        }
        panel.append(fields);
        if (model.problems.length) {
            const problems = document.createElement("pre");
            problems.className = "editor-problems";
            problems.textContent = model.problems.join("\n");
            panel.append(problems);
        }
    }

    // The panel's own keys never reach the menu; the others reach it only in "Try it".
    for (const kind of ["keydown", "keyup"]) {
        panel.addEventListener(kind, (e) => e.stopPropagation());
        window.addEventListener(kind, (e) => {
            if (state.trying || panel.contains(e.target)) return;
            e.stopPropagation();
            e.preventDefault();
            if (kind === "keydown") keyed(e);
        }, true);
    }

    page.designer = { reload: loadModel, itemAt: (x, y) => itemAt(x, y), item: (n) => itemOf(n), state };
    loadModel();
})(window.ambrevoPage);
