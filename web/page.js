// The page of the browser player: it loads the player (ambrevo-web.js), gives it the
// browser's services as Module.host, queues the input it reads between its own steps,
// and shows the forms it paints, its message boxes, menus and launch requests.
"use strict";

(function () {
    const BUTTON_FACE = "#d4d0c8";
    const CURSORS = ["default", "pointer", "move"];
    const EVENT = { mouseDown: 1, mouseMove: 2, mouseUp: 3, wheel: 4, keyDown: 5, keyPress: 6,
                    close: 7 };
    const desktop = document.getElementById("desktop");
    const decoder = new TextDecoder();   // the player's texts are UTF-8
    const forms = new Map();
    const bitmaps = new Map();
    const queue = [];
    let modal = null;           // the open message box or popup menu
    let menuChoice = -2;
    let activeForm = 0;         // the form the keys go to
    let audio = null;
    let soundDeadline = 0;
    let soundSource = null;
    let Module = null;

    function pixelsOfPoints(points) { return Math.round(points * 96 / 72); }
    function fontCss(face, size, style) {
        return (style & 2 ? "italic " : "") + (style & 1 ? "bold " : "") +
            pixelsOfPoints(size) + "px \"" + face + "\", Tahoma, \"DejaVu Sans\", sans-serif";
    }
    function lineHeightOf(size) { return Math.ceil(pixelsOfPoints(size) * 1.21); }
    function colourOf(ref) {
        return "rgb(" + (ref & 255) + "," + ((ref >> 8) & 255) + "," + ((ref >> 16) & 255) + ")";
    }
    // "&x" shows x underlined, "&&" a single "&".
    function withoutMnemonics(text) { return text.replace(/&(.)/gu, "$1").replace(/&$/, ""); }
    // Where the first "&x" of the text puts its underlined x in the text without them; -1
    // when there is none.
    function mnemonicIndex(text) {
        let shown = 0;
        for (let i = 0; i < text.length - 1; ++i, ++shown) {
            if (text[i] !== "&") continue;
            if (text[i + 1] !== "&") return shown;
            ++i;
        }
        return -1;
    }

    const measurer = document.createElement("canvas").getContext("2d");
    // Lines as Windows breaks them: at line breaks, and with wrap at spaces to fit width.
    function linesOf(ctx, text, width) {
        const lines = [];
        for (const paragraph of withoutMnemonics(text).split(/\r\n|\r|\n/)) {
            if (width <= 0) { lines.push(paragraph); continue; }
            let line = "";
            for (const word of paragraph.split(/(?<= )/)) {
                const tried = line + word;
                if (line && ctx.measureText(tried.trimEnd()).width > width) {
                    lines.push(line.trimEnd());
                    line = word;
                } else {
                    line = tried;
                }
            }
            lines.push(line.trimEnd());
        }
        return lines;
    }

    function addForm(id, style) {
        const element = document.createElement("div");
        element.className = "form" + (style ? " framed" : "");
        element.hidden = true;
        const canvas = document.createElement("canvas");
        canvas.id = "form-" + id;
        if (style) {
            const caption = document.createElement("div");
            caption.className = "caption";
            caption.append(document.createElement("span"));
            const close = document.createElement("button");
            close.type = "button";
            close.textContent = "\u2715";
            close.addEventListener("click", () => post(EVENT.close, id, 0, 0, 0, 0));
            caption.append(close);
            element.append(caption);
        }
        element.append(canvas);
        desktop.append(element);
        const form = { element, canvas, ctx: canvas.getContext("2d"), texts: [] };
        forms.set(id, form);
        const at = (e) => {
            const box = canvas.getBoundingClientRect();
            return [Math.floor(e.clientX - box.left), Math.floor(e.clientY - box.top)];
        };
        canvas.addEventListener("pointerdown", (e) => {
            activeForm = id;
            canvas.setPointerCapture(e.pointerId);
            post(EVENT.mouseDown, id, ...at(e), e.button, 0);
            e.preventDefault();
        });
        canvas.addEventListener("pointermove", (e) => post(EVENT.mouseMove, id, ...at(e), 0, 0));
        canvas.addEventListener("pointerup", (e) => post(EVENT.mouseUp, id, ...at(e), e.button, 0));
        canvas.addEventListener("contextmenu", (e) => e.preventDefault());
        canvas.addEventListener("wheel", (e) => {
            post(EVENT.wheel, id, 0, 0, e.deltaY < 0 ? 1 : -1, 0);
            e.preventDefault();
        }, { passive: false });
    }

    function post(kind, form, x, y, code, modifiers) {
        if (modal) return;
        queue.push([kind, form, x, y, code, modifiers]);
    }

    document.addEventListener("keydown", (e) => {
        if (modal || !forms.has(activeForm)) return;
        const modifiers = (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
        post(EVENT.keyDown, activeForm, 0, 0, e.keyCode, modifiers);
        // A typed character goes as its code point (a key's name, such as "Shift", is longer).
        let typed = [...e.key].length === 1 ? e.key.codePointAt(0) : 0;
        if (e.key === "Enter") typed = 13;
        if (e.key === "Escape") typed = 27;
        if (e.key === "Backspace") typed = 8;
        if (typed > 0 && !e.ctrlKey) {
            post(EVENT.keyPress, activeForm, 0, 0, typed, modifiers);
        }
        if (["Tab", " ", "ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", "Enter"]
            .includes(e.key)) e.preventDefault();
    });

    function showTexts() {
        const list = document.getElementById("texts");
        list.replaceChildren();
        for (const [id, form] of forms) {
            if (form.element.hidden) continue;
            for (const text of form.texts) {
                const item = document.createElement("p");
                item.dataset.form = id;
                item.textContent = text;
                list.append(item);
            }
        }
    }

    function drawEdges(ctx, x, y, w, h, topLeft, bottomRight) {
        ctx.fillStyle = topLeft;
        ctx.fillRect(x, y, w - 1, 1);
        ctx.fillRect(x, y, 1, h - 1);
        ctx.fillStyle = bottomRight;
        ctx.fillRect(x, y + h - 1, w, 1);
        ctx.fillRect(x + w - 1, y, 1, h);
    }

    function drawText(ctx, text, x, y, w, h, face, size, style, colour, alignment, wrap) {
        ctx.font = fontCss(face, size, style);
        ctx.fillStyle = colour;
        ctx.textBaseline = "top";
        ctx.textAlign = ["left", "right", "center"][alignment];
        const left = [x, x + w, x + w / 2][alignment];
        const height = lineHeightOf(size);
        const shown = withoutMnemonics(text);
        const mnemonic = mnemonicIndex(text);
        let searchFrom = 0;
        linesOf(ctx, text, wrap ? w : 0).forEach((line, n) => {
            const top = y + n * height;
            ctx.fillText(line, left, top);
            const width = ctx.measureText(line).width;
            const start = [left, left - width, left - width / 2][alignment];
            if (style & 4) ctx.fillRect(Math.round(start), top + height - 2, Math.round(width), 1);
            // The access key's letter underlined, as Windows draws it.
            const lineStart = shown.indexOf(line, searchFrom);
            searchFrom = lineStart + line.length;
            const at = mnemonic - lineStart;
            if (lineStart >= 0 && at >= 0 && at < line.length) {
                const before = ctx.measureText(line.slice(0, at)).width;
                const letter = ctx.measureText(String.fromCodePoint(line.codePointAt(at))).width;
                ctx.fillRect(Math.round(start + before), top + height - 2, Math.round(letter), 1);
            }
        });
    }

    // A text for the player: UTF-8 allocated with malloc, which the player frees.
    function utf8(text) { return Module.allocateUTF8(text); }

    function bytesToHeap(bytes, sizePointer) {
        const pointer = Module._malloc(Math.max(1, bytes.length));
        Module.HEAPU8.set(bytes, pointer);
        Module.HEAPU32[sizePointer >> 2] = bytes.length;
        return pointer;
    }

    function discUrl(path) {
        return "disc/" + path.split("/").map(encodeURIComponent).join("/");
    }

    function openModal(element) {
        modal = element;
        document.body.append(element);
    }
    function closeModal() {
        if (modal) modal.remove();
        modal = null;
    }

    function playBuffer(bytes) {
        try {
            if (!audio) audio = new AudioContext();
            if (soundSource) soundSource.stop();
            soundSource = null;
            // Until the clip is decoded the wait is bounded, in case the browser refuses.
            soundDeadline = performance.now() + 2000;
            audio.decodeAudioData(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.length))
                .then((buffer) => {
                    const source = audio.createBufferSource();
                    source.buffer = buffer;
                    source.connect(audio.destination);
                    source.onended = () => { if (soundSource === source) soundDeadline = 0; };
                    source.start();
                    soundSource = source;
                    soundDeadline = performance.now() + buffer.duration * 1000 + 50;
                }, () => { soundDeadline = 0; });
        } catch (error) {
            soundDeadline = 0;
        }
    }

    const host = {
        text(pointer, length) { return decoder.decode(Module.HEAPU8.subarray(pointer, pointer + length)); },
        // The clock's texts with plain spaces, as Windows writes its times and dates.
        clockText(text) { return utf8(text.replace(/[\u00a0\u202f]/g, " ")); },

        async loadSite(sizePointer, filesPointer) {
            try {
                const response = await fetch("package.bin", { cache: "no-store" });
                if (!response.ok) throw new Error("package.bin: " + response.status + " " + response.statusText);
                const bytes = new Uint8Array(await response.arrayBuffer());
                let files = [];
                const listed = await fetch("files.json", { cache: "no-store" });
                if (listed.ok) files = (await listed.json()).files || [];
                Module.HEAPU32[filesPointer >> 2] = utf8(files.join("\n"));
                return bytesToHeap(bytes, sizePointer);
            } catch (error) {
                Module.HEAPU32[filesPointer >> 2] = utf8("The menu package cannot be loaded (" + error.message + ")");
                return 0;
            }
        },
        async fetchDiscFile(pointer, length, sizePointer) {
            try {
                const response = await fetch(discUrl(host.text(pointer, length)));
                if (!response.ok) return 0;
                return bytesToHeap(new Uint8Array(await response.arrayBuffer()), sizePointer);
            } catch (error) {
                return 0;
            }
        },

        nextEvent(pointer) {
            const event = queue.shift();
            if (!event) return 0;
            Module.HEAP32.set(event, pointer >> 2);
            return 1;
        },

        formCreated: addForm,
        formDestroyed(id) {
            const form = forms.get(id);
            if (form) form.element.remove();
            forms.delete(id);
            showTexts();
        },
        formCaption(id, text) {
            const caption = forms.get(id).element.querySelector(".caption span");
            if (caption) caption.textContent = text;
        },
        formBounds(id, left, top, width, height) {
            const form = forms.get(id);
            form.element.style.left = left + "px";
            form.element.style.top = top + "px";
            form.canvas.style.width = width + "px";
            form.canvas.style.height = height + "px";
        },
        formVisible(id, visible) {
            const form = forms.get(id);
            form.element.hidden = !visible;
            if (visible) activeForm = id;
            showTexts();
        },
        formCursor(id, cursor) { forms.get(id).canvas.style.cursor = CURSORS[cursor] || "default"; },

        bitmapUpload(id, pointer, width, height) {
            const canvas = document.createElement("canvas");
            canvas.width = width;
            canvas.height = height;
            const ctx = canvas.getContext("2d");
            const image = ctx.createImageData(width, height);
            const source = Module.HEAPU32.subarray(pointer >> 2, (pointer >> 2) + width * height);
            const target = image.data;
            for (let i = 0, j = 0; i < source.length; ++i, j += 4) {
                const pixel = source[i];
                target[j] = (pixel >> 16) & 255;
                target[j + 1] = (pixel >> 8) & 255;
                target[j + 2] = pixel & 255;
                target[j + 3] = 255;
            }
            ctx.putImageData(image, 0, 0);
            bitmaps.set(id, canvas);
        },
        bitmapRelease(id) { bitmaps.delete(id); },

        paintBegin(id, width, height) {
            const form = forms.get(id);
            if (form.canvas.width !== width) form.canvas.width = width;
            if (form.canvas.height !== height) form.canvas.height = height;
            form.ctx.globalCompositeOperation = "source-over";
            form.ctx.fillStyle = BUTTON_FACE;
            form.ctx.fillRect(0, 0, width, height);
            form.texts = [];
        },
        paintPicture(id, bitmap, x, y, width, height) {
            const image = bitmaps.get(bitmap);
            if (image && width > 0 && height > 0) {
                forms.get(id).ctx.drawImage(image, 0, 0, width, height, x, y, width, height);
            }
        },
        paintLabel(id, x, y, width, height, text, face, size, style, colour, alignment, flags) {
            const form = forms.get(id);
            const ctx = form.ctx;
            ctx.save();
            ctx.beginPath();
            ctx.rect(x, y, width, height);
            ctx.clip();
            if (!(flags & 2)) {
                ctx.fillStyle = BUTTON_FACE;
                ctx.fillRect(x, y, width, height);
            }
            drawText(ctx, text, x, y, width, height, face, size, style, colourOf(colour), alignment,
                     flags & 1);
            ctx.restore();
            if (text) form.texts.push(withoutMnemonics(text));
        },
        // A classic push button: raised edges, a black frame when focused, sunken when pressed.
        paintButton(id, x, y, width, height, text, face, size, style, state) {
            const form = forms.get(id);
            const ctx = form.ctx;
            const enabled = state & 1, focused = state & 2, pressed = state & 4;
            ctx.save();
            ctx.beginPath();
            ctx.rect(x, y, width, height);
            ctx.clip();
            ctx.fillStyle = BUTTON_FACE;
            ctx.fillRect(x, y, width, height);
            let inner = [x, y, width, height];
            if (focused || pressed) {
                drawEdges(ctx, x, y, width, height, "#000", "#000");
                inner = [x + 1, y + 1, width - 2, height - 2];
            }
            if (pressed) {
                drawEdges(ctx, ...inner, "#808080", "#808080");
            } else {
                drawEdges(ctx, ...inner, "#fff", "#404040");
                drawEdges(ctx, inner[0] + 1, inner[1] + 1, inner[2] - 2, inner[3] - 2, BUTTON_FACE, "#808080");
            }
            const shift = pressed ? 1 : 0;
            const lines = Math.max(1, linesOf(ctx, text, 0).length);
            const top = y + shift + Math.round((height - lines * lineHeightOf(size)) / 2);
            if (!enabled) {
                drawText(ctx, text, x + 1, top + 1, width, height, face, size, style, "#fff", 2, false);
            }
            drawText(ctx, text, x + shift, top, width, height, face, size, style,
                     enabled ? "#000" : "#808080", 2, false);
            if (focused) {
                ctx.strokeStyle = "#000";
                ctx.setLineDash([1, 1]);
                ctx.strokeRect(x + 4.5, y + 4.5, width - 9, height - 9);
            }
            ctx.restore();
            if (text) form.texts.push(withoutMnemonics(text));
        },
        paintClear(id, x, y, width, height) {
            if (width > 0 && height > 0) forms.get(id).ctx.clearRect(x, y, width, height);
        },
        // The page's clock of painting: the first frame's time and a count of frames.
        paintEnd() {
            const now = performance.now();
            if (window.ambrevo.firstFrame === null) window.ambrevo.firstFrame = now;
            ++window.ambrevo.frames;
            showTexts();
        },
        measureText(text, face, size, style, maxWidth) {
            measurer.font = fontCss(face, size, style);
            const lines = text ? linesOf(measurer, text, maxWidth) : [];
            const width = Math.max(0, ...lines.map((line) => Math.ceil(measurer.measureText(line).width)));
            return [width, Math.max(1, lines.length) * lineHeightOf(size)];
        },

        setTitle(text) { document.title = text; },
        screenSize() { return [desktop.clientWidth || 1024, desktop.clientHeight || 768]; },

        messageBox(text, title, kind) {
            const box = document.createElement("div");
            box.className = "modal";
            box.innerHTML = '<div class="dialog" role="alertdialog"><div class="caption"><span></span></div>' +
                '<div class="body"><span class="icon"></span><span class="text"></span></div>' +
                '<div class="buttons"><button type="button">OK</button></div></div>';
            box.querySelector(".caption span").textContent = title;
            box.querySelector(".icon").textContent = ["\u26a0\ufe0f", "\u26d4", "\u2139\ufe0f"][kind];
            box.querySelector(".text").textContent = text;
            const ok = box.querySelector("button");
            ok.addEventListener("click", closeModal);
            box.addEventListener("keydown", (e) => {
                if (e.key === "Escape" || e.key === "Enter") { e.stopPropagation(); closeModal(); }
            });
            openModal(box);
            ok.focus();
        },
        messageBoxOpen() { return modal !== null && modal.classList.contains("modal") ? 1 : 0; },
        menuShow(id, x, y, captions) {
            const box = forms.get(id).canvas.getBoundingClientRect();
            const cover = document.createElement("div");
            cover.className = "modal popup-cover";
            const popup = document.createElement("div");
            popup.className = "popup";
            popup.style.left = (box.left + x) + "px";
            popup.style.top = (box.top + y) + "px";
            captions.forEach((caption, index) => {
                const entry = document.createElement("div");
                entry.textContent = withoutMnemonics(caption);
                entry.addEventListener("click", (e) => {
                    e.stopPropagation();
                    menuChoice = index;
                    closeModal();
                });
                popup.append(entry);
            });
            cover.style.display = "block";
            cover.append(popup);
            cover.addEventListener("pointerdown", (e) => {
                if (e.target === cover) { menuChoice = -1; closeModal(); }
            });
            menuChoice = -2;
            openModal(cover);
        },
        menuChoice() { return menuChoice; },
        launchShown(request) {
            document.getElementById("launch-verb").textContent = request.verb || "(default)";
            document.getElementById("launch-file").textContent = request.file;
            document.getElementById("launch-parameters").textContent = request.parameters;
            document.getElementById("launch-folder").textContent = request.folder;
            document.getElementById("launch-exists").textContent = request.exists ? "yes" : "no";
            document.getElementById("launch").hidden = false;
        },
        menuShown(name) { sessionStorage.setItem("ambrevo.menu", name); },
        menuEnded() {
            desktop.hidden = true;
            document.getElementById("ended").hidden = false;
            document.getElementById("texts").replaceChildren();
        },

        soundClip(bytes) { playBuffer(bytes); },
        soundFile(path) {
            // Not on the disc: Windows would sound its default, which a page does not have.
            if (!path) { soundDeadline = 0; return; }
            soundDeadline = performance.now() + 2000;
            fetch(discUrl(path)).then((r) => (r.ok ? r.arrayBuffer() : Promise.reject()))
                .then((buffer) => playBuffer(new Uint8Array(buffer)), () => { soundDeadline = 0; });
        },
        soundBusy() { return performance.now() < soundDeadline ? 1 : 0; },
    };

    document.getElementById("launch-close").addEventListener("click", () => {
        document.getElementById("launch").hidden = true;
    });

    // Live reload from the authoring tool's server; a static site has no status.json.
    let generation = null;
    async function pollStatus() {
        try {
            const response = await fetch("status.json", { cache: "no-store" });
            if (!response.ok) return;
            const status = await response.json();
            const banner = document.getElementById("banner");
            banner.hidden = !status.error;
            banner.textContent = status.error || "";
            if (generation !== null && status.generation > generation) location.reload();
            generation = status.generation;
        } catch (error) {
            return;
        }
        setTimeout(pollStatus, 250);
    }

    const started = performance.now();
    const script = document.createElement("script");
    script.src = "ambrevo-web.js";
    script.onload = () => {
        const menu = sessionStorage.getItem("ambrevo.menu");
        Module = { host, arguments: menu ? [menu] : [] };
        window.ambrevo = { host, started, module: Module, firstFrame: null, frames: 0 };
        createAmbrevoPlayer(Module);
    };
    document.head.append(script);
    pollStatus();
})();
