// "Build disc": a dialog that has the tool build the disc from the sources, as the build
// command does: the disc's label, the 32- or 64-bit player, the outputs (the disc folder
// with setup.exe and autorun.inf always, an ISO image and a USB-stick folder as chosen),
// optional signing, and the folder to write into. While the tool builds, the dialog is busy;
// then it lists what was written with sizes, and every problem the build found. The
// certificate's password goes in the request's body only and is cleared from the dialog
// once sent.

// The request the dialog's fields ask for; pure, so that the tests can call it.
export function buildRequest(fields) {
    const request = {
        label: fields.label.trim(),
        bits: fields.bits === 64 ? 64 : 32,
        folder: fields.folder.trim(),
        iso: Boolean(fields.iso),
        usb: Boolean(fields.usb),
    };
    if (fields.sign) {
        request.sign = { certificate: fields.certificate.trim(), password: fields.password };
        if (fields.timestamp.trim()) request.sign.timestamp = fields.timestamp.trim();
    }
    return request;
}

// A size in words: bytes, KB or MB, as a file manager shows it.
export function sizeText(bytes) {
    if (bytes < 1024) return bytes + " bytes";
    if (bytes < 1024 * 1024) return (bytes / 1024).toFixed(1) + " KB";
    return (bytes / (1024 * 1024)).toFixed(1) + " MB";
}

const OUTPUT_NAMES = {
    program: "Program",
    autorun: "autorun.inf",
    iso: "ISO image",
    usb: "USB-stick folder",
};

function newElement(tag, properties = {}, ...children) {
    const e = Object.assign(document.createElement(tag), properties);
    e.append(...children);
    return e;
}

function row(text, input) {
    return newElement("label", { className: "build-field" }, text, input);
}

// Makes the dialog and the button that opens it, in a bar under the designer's panel;
// build(request) asks the tool and answers {ok, status, reply, message}; offers() answers
// what the tool builds, {iso}. suggestedLabel() gives the disc's name offered while the
// label is empty. The button shows once allow() has said whether there is anything to build.
export function createBuildDialog(build, offers, suggestedLabel) {
    const fields = {
        label: newElement("input", { type: "text", required: true }),
        bits32: newElement("input", { type: "radio", name: "build-bits", checked: true }),
        bits64: newElement("input", { type: "radio", name: "build-bits" }),
        iso: newElement("input", { type: "checkbox", checked: true }),
        usb: newElement("input", { type: "checkbox", checked: true }),
        folder: newElement("input", { type: "text", value: "output" }),
        sign: newElement("input", { type: "checkbox" }),
        certificate: newElement("input", { type: "text", placeholder: "certificate.pfx" }),
        password: newElement("input", { type: "password", autocomplete: "off" }),
        timestamp: newElement("input", { type: "text", placeholder: "http://timestamp.example" }),
    };
    const signing = newElement("div", { className: "build-signing", hidden: true },
                            row("Certificate", fields.certificate),
                            row("Password", fields.password),
                            row("Time-stamp server", fields.timestamp));
    fields.sign.addEventListener("change", () => { signing.hidden = !fields.sign.checked; });
    const status = newElement("p", { className: "build-status", role: "status" });
    const results = newElement("ul", { className: "build-results" });
    const problems = newElement("ul", { className: "build-problems" });
    const start = newElement("button", { type: "submit", textContent: "Build" });
    const close = newElement("button", { type: "button", textContent: "Close" });
    const form = newElement("form", { method: "dialog" },
        newElement("h2", { textContent: "Build disc" }),
        row("Disc label", fields.label),
        newElement("fieldset", {}, newElement("legend", { textContent: "Player" }),
                newElement("label", {}, fields.bits32, " 32-bit (runs on every Windows)"),
                newElement("label", {}, fields.bits64, " 64-bit")),
        newElement("fieldset", {}, newElement("legend", { textContent: "Outputs" }),
                newElement("p", { textContent: "The disc folder: setup.exe and autorun.inf" }),
                newElement("label", {}, fields.iso, " An ISO image"),
                newElement("label", {}, fields.usb, " A USB-stick folder")),
        row("Write into the folder", fields.folder),
        newElement("label", {}, fields.sign, " Sign the program"),
        signing, status, results, problems,
        newElement("div", { className: "build-buttons" }, start, close));
    const dialog = newElement("dialog", { id: "build-dialog" }, form);
    const opener = newElement("button", { type: "button", id: "build-disc",
                                        textContent: "Build disc\u2026" });
    const bar = newElement("div", { id: "build-bar", hidden: true }, opener);
    document.body.append(bar, dialog);
    opener.addEventListener("click", async () => {
        if (!fields.label.value) fields.label.value = suggestedLabel() || "";
        // Only what this tool writes is offered.
        const offered = await offers();
        fields.iso.disabled = !offered.iso;
        if (!offered.iso) fields.iso.checked = false;
        dialog.showModal();
    });
    close.addEventListener("click", () => dialog.close());

    function show(answer) {
        results.replaceChildren();
        problems.replaceChildren();
        if (!answer.ok) {
            status.textContent = "Not built: " + answer.message;
            return;
        }
        const reply = answer.reply;
        status.textContent = reply.ok ? "Built."
            : reply.outputs.length ? "Stopped part way: see the problems below."
                : "Not built: see the problems below.";
        for (const output of reply.outputs) {
            results.append(newElement("li", { textContent: (OUTPUT_NAMES[output.kind] || output.kind) +
                ": " + output.path + " (" + sizeText(output.bytes) + ")" }));
        }
        for (const line of reply.messages) {
            problems.append(newElement("li", { textContent: line,
                                            className: /warning:/.test(line) ? "warning" : "error" }));
        }
    }

    form.addEventListener("submit", async (e) => {
        e.preventDefault();
        const request = buildRequest({
            label: fields.label.value, bits: fields.bits64.checked ? 64 : 32,
            folder: fields.folder.value, iso: fields.iso.checked, usb: fields.usb.checked,
            sign: fields.sign.checked, certificate: fields.certificate.value,
            password: fields.password.value, timestamp: fields.timestamp.value,
        });
        fields.password.value = "";
        form.classList.add("busy");
        start.disabled = true;
        status.textContent = "Building\u2026";
        results.replaceChildren();
        problems.replaceChildren();
        try {
            show(await build(request));
        } finally {
            form.classList.remove("busy");
            start.disabled = false;
        }
    });
    // The button enabled, or disabled with the reason (null: enabled) that its title gives.
    function allow(reason) {
        bar.hidden = false;
        opener.disabled = reason !== null;
        opener.title = reason || "";
    }
    return { dialog, opener, allow };
}
