// The fields of the designer's panel, one per key of the tool's catalogue (the model's
// "keys"): the key's plain label with its name beside it, the default as a placeholder, a
// mark and a "default" button where the source sets the key, and under it the tool's
// message. Each field sends its key's new value, or null to leave the key out; a value the
// field itself can tell is wrong is said under it and not sent.

// Fonts every Windows has; the font a source names is offered too.
const COMMON_FONTS = ["Arial", "Arial Black", "Comic Sans MS", "Courier New", "Georgia",
                      "Impact", "Lucida Console", "Microsoft Sans Serif", "Palatino Linotype",
                      "Segoe UI", "Tahoma", "Times New Roman", "Trebuchet MS", "Verdana"];

const COLOUR = /^#[0-9a-fA-F]{6}$/;

function element(tag, properties = {}) {
    return Object.assign(document.createElement(tag), properties);
}

// A number typed: a whole number, null when left empty, or undefined when it is none.
function wholeNumber(text) {
    if (text.trim() === "") return null;
    return /^-?\d+$/.test(text.trim()) ? Number(text) : undefined;
}

function numberInput(value, placeholder, label, key = {}) {
    const input = element("input", { type: "number", step: 1 });
    if (key.lowest !== undefined) input.min = key.lowest;
    if (key.highest !== undefined) input.max = key.highest;
    input.value = value ?? "";
    input.placeholder = placeholder ?? "";
    input.setAttribute("aria-label", label);
    return input;
}

function checkbox(checked, label) {
    const input = element("input", { type: "checkbox", checked: !!checked });
    input.setAttribute("aria-label", label);
    return input;
}

function select(options, value, label) {
    const chooser = element("select");
    chooser.setAttribute("aria-label", label);
    for (const [text, v] of options) chooser.append(new Option(text, v, false, v === value));
    return chooser;
}

// The colour chooser and its text, kept alike; answers the text typed.
function colourInputs(value, placeholder, label, changed) {
    const text = element("input", { type: "text", value: value ?? "", placeholder });
    text.setAttribute("aria-label", label);
    const picker = element("input", { type: "color" });
    picker.setAttribute("aria-label", label + " chooser");
    picker.value = COLOUR.test(value ?? "") ? value : COLOUR.test(placeholder) ? placeholder
                                                                               : "#000000";
    picker.addEventListener("change", () => {
        text.value = picker.value.toUpperCase();
        changed();
    });
    text.addEventListener("change", changed);
    return { inputs: [picker, text], read: () => text.value.trim() };
}

// What an item's target does, as the chooser names it, from the target and its exit switch.
export function targetKind(target, exits) {
    if (target === "" && exits) return "exit";
    if (target === "" || target === "*" || target === undefined) return "nothing";
    if (target.startsWith("$")) return "message";
    if (/^mailto:/i.test(target)) return "mail";
    if (/^(https?|ftp):\/\/|^www\./i.test(target)) return "web";
    if (/\.mnu$/i.test(target)) return "menu";
    return "file";
}

const TARGET_KINDS = [["Nothing", "nothing"], ["Ends the menu (an exit button)", "exit"],
                      ["A file of the disc", "file"], ["Another menu", "menu"],
                      ["A web address", "web"], ["An e-mail address", "mail"],
                      ["A message", "message"]];

// The target chooser: what the item does, then which file, menu, address or message. The
// exit is an empty target with the exit switch; the other kinds leave that switch as it is.
function targetInputs(value, keys, context, sendSet, message) {
    const kind = select(TARGET_KINDS, targetKind(value, keys.exit_after_launch), "does");
    const detail = element("span", { className: "editor-target" });
    const sendTarget = (target, extra = {}) => sendSet({ target, ...extra }, message);
    function showDetail() {
        const now = kind.value;
        detail.replaceChildren();
        const same = targetKind(value, keys.exit_after_launch) === now;
        if (now === "file" || now === "menu") {
            const names = now === "file" ? context.files : context.menus;
            const options = names.map((name) => [name, name]);
            if (same && value && !names.includes(value)) options.unshift([value, value]);
            options.unshift(["(choose)", ""]);
            const chooser = select(options, same ? value : "", now === "file" ? "file" : "menu");
            chooser.addEventListener("change", () => {
                if (chooser.value) sendTarget(chooser.value);
            });
            detail.append(chooser);
        } else if (now === "web" || now === "mail" || now === "message") {
            const prefix = { web: "https://", mail: "mailto:", message: "$" }[now];
            const text = element("input", { type: "text", value: same ? value : prefix });
            text.setAttribute("aria-label", { web: "address", mail: "e-mail address",
                                              message: "message" }[now]);
            text.addEventListener("change", () => {
                const typed = text.value.trim();
                const full = typed.toLowerCase().startsWith(prefix.toLowerCase())
                    ? typed : prefix + typed;
                if (full.length <= prefix.length) {
                    message.textContent = "Type the " + text.getAttribute("aria-label") + ".";
                    return;
                }
                sendTarget(full);
            });
            detail.append(text);
        }
    }
    kind.addEventListener("change", () => {
        message.textContent = "";
        if (kind.value === "nothing") sendTarget("*");
        else if (kind.value === "exit") sendTarget("", { exit_after_launch: true });
        showDetail();
    });
    showDetail();
    return [kind, detail];
}

// The inputs of one key of the catalogue, named `name` in the edit. A value read as
// undefined is not sent: the message says why.
function inputsOf(key, name, value, keys, context, sendSet, message) {
    const send = (v) => sendSet({ [name]: v }, message);
    const label = key.label;
    const fallback = key.default;
    const placeholder = fallback === null || fallback === undefined ? ""
        : typeof fallback === "object" ? "" : String(fallback);
    const say = (text) => { message.textContent = text; };
    const sendRead = (read) => () => {
        say("");
        const v = read();
        if (v !== undefined) send(v);
    };
    switch (key.type) {
    case "switch": {
        const input = checkbox(value ?? fallback, label);
        input.addEventListener("change", () => send(input.checked));
        return [input];
    }
    case "choice": {
        const options = [["(default: " + (fallback ?? "none") + ")", ""],
                         ...key.choices.map((c) => [c, c])];
        // A table in place of the name (a button style's own keys) shows as such.
        const shown = value !== null && typeof value === "object" ? "(its own keys, below)"
                                                                  : String(value);
        if (value !== undefined && !key.choices.includes(shown)) options.push([shown, shown]);
        const chooser = select(options, value === undefined ? "" : shown, label);
        chooser.addEventListener("change", () => send(chooser.value || null));
        return [chooser];
    }
    case "number":
    case "code_page": {
        const input = numberInput(value, placeholder, label, key);
        input.addEventListener("change", sendRead(() => {
            const n = wholeNumber(input.value);
            if (n === undefined) say("A whole number, please.");
            return n;
        }));
        return [input];
    }
    case "colour": {
        const colour = colourInputs(value, placeholder, label, sendRead(() => {
            const text = colour.read();
            if (text === "") return null;
            if (!COLOUR.test(text)) say("A colour is written #RRGGBB, as #FF8000.");
            return COLOUR.test(text) ? text.toUpperCase() : undefined;
        }));
        return colour.inputs;
    }
    case "position":
    case "size":
    case "bounds": {
        const inputs = key.parts.map((part, i) => numberInput(
            Array.isArray(value) ? value[i] : undefined,
            Array.isArray(fallback) ? fallback[i] : "", label + " " + part.toLowerCase()));
        for (const input of inputs) {
            input.title = key.parts[inputs.indexOf(input)];
            input.addEventListener("change", sendRead(() => {
                const numbers = inputs.map((i) => wholeNumber(i.value));
                if (numbers.every((n) => n === null)) return null;
                if (numbers.some((n) => n === null || n === undefined)) {
                    say("Give each of " + key.parts.join(", ") + " as a whole number.");
                    return undefined;
                }
                return numbers;
            }));
        }
        return inputs;
    }
    case "font": {
        const now = { ...(fallback || {}), ...(value || {}) };
        // A key that takes only some fonts offers those; others, every Windows' and its own.
        const fonts = key.fonts ||
            [...new Set([...(now.name ? [now.name] : []), ...COMMON_FONTS])];
        const name = select(fonts.map((f) => [f, f]), now.name, label + " name");
        const size = numberInput(value?.size, fallback?.size, label + " size",
                                 { lowest: 0, highest: 1000 });
        const named = ["bold", "italic", "underline"].filter((s) => key.fields.includes(s));
        const switches = named.map((s) => {
            const box = checkbox(now[s], label + " " + s);
            const wrap = element("label", { className: "editor-switch" });
            wrap.append(box, " " + s);
            return { s, box, wrap };
        });
        const colour = key.fields.includes("color")
            ? colourInputs(value?.color, fallback?.color ?? "", label + " colour", () => {})
            : null;
        const read = () => {
            const font = { ...now, name: name.value };
            const n = wholeNumber(size.value);
            if (n === undefined) return say("The size is a whole number of points.");
            font.size = n ?? now.size;
            if (font.size === undefined) delete font.size;   // no size given, none by default
            for (const { s, box } of switches) font[s] = box.checked;
            if (colour) {
                const c = colour.read() || now.color;
                if (c && !COLOUR.test(c)) return say("A colour is written #RRGGBB, as #FF8000.");
                if (c) font.color = c.toUpperCase();
            }
            return font;
        };
        const all = [name, size, ...switches.map((s) => s.box),
                     ...(colour ? colour.inputs : [])];
        for (const input of all) input.addEventListener("change", sendRead(read));
        return [name, size, ...switches.map((s) => s.wrap), ...(colour ? colour.inputs : [])];
    }
    case "picture": {
        const files = context.pictures.map((p) => p.file);
        if (value && !files.includes(value)) files.unshift(value);
        const options = [["none", ""], ...files.map((f) => [f, f])];
        const chooser = select(options, value ?? "", label);
        chooser.addEventListener("change", () => {
            say("");
            if (!chooser.value && context.required === key.path) {
                say("A picture item needs its normal picture.");
                return;
            }
            send(chooser.value || null);
        });
        return [chooser];
    }
    case "picture_list": {
        const input = element("input", { type: "text",
                                          value: Array.isArray(value) ? value.join(", ") : "" });
        input.placeholder = "one.png, two.png";
        input.setAttribute("aria-label", label);
        input.addEventListener("change", sendRead(() => {
            const text = input.value.trim();
            return text ? text.split(",").map((f) => f.trim()) : null;
        }));
        return [input];
    }
    case "target":
        return targetInputs(value, keys, context, sendSet, message);
    default: {
        const input = element("input", { type: "text", value: value ?? "", placeholder });
        input.setAttribute("aria-label", label);
        input.addEventListener("change", () => send(input.value));
        return [input];
    }
    }
}

// A key's value in keys (a "a.b" path reads the table a); undefined when not set.
export function valueAt(keys, path) {
    return path.split(".").reduce((table, part) =>
        table && typeof table === "object" ? table[part] : undefined, keys);
}

// The keys to set of an item as its style is written. On a ready style's name (`style =
// "blue"`), keys of the style's table make the name give way to the table, with the name
// as its "preset", in the same edit; on a table, a ready style chosen is its "preset", so
// that the table's own keys stay.
export function withStyleTable(itemKeys, set) {
    const style = itemKeys.style;
    if (typeof style === "string" && Object.keys(set).some((k) => k.startsWith("style."))) {
        return { style: null, "style.preset": style, ...set };
    }
    if (style && typeof style === "object" && typeof set.style === "string") {
        const { style: preset, ...rest } = set;
        return { ...rest, "style.preset": preset };
    }
    return set;
}

// One key's field. name: the key as the edit names it ("caption", "pictures.normal"); keys:
// the item's or menu's keys; send({key: value}, message) makes the edit.
export function keyField(key, name, keys, context, send) {
    const value = valueAt(keys, name);
    const row = element("div", { className: "editor-field" });
    row.dataset.key = name;
    row.classList.toggle("set", value !== undefined);
    row.title = key.help;
    const label = element("label", { className: "editor-label" });
    label.append(key.label, " ", element("span", { className: "editor-key", textContent: name }));
    const message = element("small", { className: "editor-field-message" });
    const inputs = element("span", { className: "editor-inputs" });
    inputs.append(...inputsOf(key, name, value, keys, context, send, message));
    if (key.version7 && context.version6) {
        for (const input of inputs.querySelectorAll("input, select")) input.disabled = true;
        row.title = "Needs menu format 7. " + key.help;
    }
    row.append(label, inputs);
    if (value !== undefined && context.required !== key.path) {
        const reset = element("button", { type: "button", className: "editor-reset",
                                          textContent: "default", title: "Leave " + name +
                                          " out of the source: the default applies" });
        reset.addEventListener("click", () => send({ [name]: null }, message));
        row.append(reset);
    }
    row.append(message);
    return row;
}

// The fields of the catalogue's keys that `applies` takes, by group, each group a section
// that can be folded. prefix: "item." for an item's keys, "" for the menu's.
export function keyGroups(catalogue, prefix, applies, keys, context, send) {
    const groups = new Map();
    for (const key of catalogue) {
        const isItemKey = key.path.startsWith("item.");
        if (isItemKey !== (prefix === "item.") || !applies(key)) continue;
        const name = key.path.slice(prefix.length);
        if (!groups.has(key.group)) {
            const section = element("details", { className: "editor-group", open: true });
            section.append(element("summary", { textContent: key.group }));
            groups.set(key.group, section);
        }
        groups.get(key.group).append(keyField(key, name, keys, context, send));
    }
    return [...groups.values()];
}
