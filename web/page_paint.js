// Painting the player's forms on their canvases: each paint starts from the button face
// and draws pictures, labels and push buttons as Windows draws them. The texts painted in
// the forms on show are also listed in the page, for screen readers.
import { deviceSize, pixelAligned } from "./page_scale.js";
import { fontCss, lineHeightOf, linesOf, mnemonicIndex, withoutMnemonics } from "./page_text.js";

const BUTTON_FACE = "#d4d0c8";

function colourOf(ref) {
    return "rgb(" + (ref & 255) + "," + ((ref >> 8) & 255) + "," + ((ref >> 16) & 255) + ")";
}

// The canvas's device pixels to a menu pixel, as paintBegin set its transform.
const ratioOf = (ctx) => ctx.getTransform().a;

// Rectangles are filled, clipped and pictures placed on whole device pixels (see pixelAligned),
// so that their edges stay crisp at fractional ratios.
function fill(ctx, x, y, w, h) { ctx.fillRect(...pixelAligned(x, y, w, h, ratioOf(ctx))); }

function clipTo(ctx, x, y, w, h) {
    ctx.beginPath();
    ctx.rect(...pixelAligned(x, y, w, h, ratioOf(ctx)));
    ctx.clip();
}

function drawEdges(ctx, x, y, w, h, topLeft, bottomRight) {
    ctx.fillStyle = topLeft;
    fill(ctx, x, y, w - 1, 1);
    fill(ctx, x, y, 1, h - 1);
    ctx.fillStyle = bottomRight;
    fill(ctx, x, y + h - 1, w, 1);
    fill(ctx, x + w - 1, y, 1, h);
}

// The dotted frame of a focused push button, inside the rectangle: its line is a whole
// number of device pixels wide (one menu pixel at ratio 1 and 2), along whole device pixels.
function drawFocusFrame(ctx, x, y, w, h) {
    const ratio = ratioOf(ctx);
    const line = Math.max(1, Math.round(ratio)) / ratio;
    const [left, top, width, height] = pixelAligned(x, y, w, h, ratio);
    ctx.strokeStyle = "#000";
    ctx.lineWidth = line;
    ctx.setLineDash([line, line]);
    ctx.strokeRect(left + line / 2, top + line / 2, width - line, height - line);
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
        if (style & 4) fill(ctx, Math.round(start), top + height - 2, Math.round(width), 1);
        // The access key's letter underlined, as Windows draws it.
        const lineStart = shown.indexOf(line, searchFrom);
        searchFrom = lineStart + line.length;
        const at = mnemonic - lineStart;
        if (lineStart >= 0 && at >= 0 && at < line.length) {
            const before = ctx.measureText(line.slice(0, at)).width;
            const letter = ctx.measureText(String.fromCodePoint(line.codePointAt(at))).width;
            fill(ctx, Math.round(start + before), top + height - 2, Math.round(letter), 1);
        }
    });
}

// The painter of the page's forms: showTexts lists the texts of the forms on show; calls
// are the host's.
export function createPainter(page) {
    const bitmaps = new Map();

    function showTexts() {
        const list = document.getElementById("texts");
        list.replaceChildren();
        for (const [id, form] of page.forms) {
            if (form.element.hidden) continue;
            for (const text of form.texts) {
                const item = document.createElement("p");
                item.dataset.form = id;
                item.textContent = text;
                list.append(item);
            }
        }
    }

    const calls = {
        bitmapUpload(id, pointer, width, height) {
            const canvas = document.createElement("canvas");
            canvas.width = width;
            canvas.height = height;
            const ctx = canvas.getContext("2d");
            const image = ctx.createImageData(width, height);
            image.data.set(page.memory.bytes(pointer, width * height * 4));
            ctx.putImageData(image, 0, 0);
            bitmaps.set(id, canvas);
        },
        bitmapRelease(id) { bitmaps.delete(id); },

        // The canvas holds the screen's device pixels and the drawing is scaled to them, so
        // that texts and edges are drawn at the screen's resolution, not enlarged.
        paintBegin(id, width, height) {
            const form = page.forms.get(id);
            const ratio = page.pixelRatio * page.zoom;
            const [deviceWidth, deviceHeight] = deviceSize(width, height, ratio);
            if (form.canvas.width !== deviceWidth) form.canvas.width = deviceWidth;
            if (form.canvas.height !== deviceHeight) form.canvas.height = deviceHeight;
            form.ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
            form.ctx.imageSmoothingQuality = ratio === 1 ? "low" : "high";
            form.ctx.globalCompositeOperation = "source-over";
            form.ctx.fillStyle = BUTTON_FACE;
            form.ctx.fillRect(0, 0, width, height);
            form.texts = [];
        },
        // The source is the picture's own size for a 1x picture, and its variant's for a
        // denser screen: drawn pixel for pixel where that is the canvas's size, smoothly
        // scaled otherwise.
        paintPicture(id, bitmap, x, y, width, height, sourceWidth, sourceHeight) {
            const image = bitmaps.get(bitmap);
            if (image && width > 0 && height > 0) {
                const ctx = page.forms.get(id).ctx;
                ctx.drawImage(image, 0, 0, sourceWidth, sourceHeight,
                              ...pixelAligned(x, y, width, height, ratioOf(ctx)));
            }
        },
        paintLabel(id, x, y, width, height, text, face, size, style, colour, alignment, flags) {
            const form = page.forms.get(id);
            const ctx = form.ctx;
            ctx.save();
            clipTo(ctx, x, y, width, height);
            if (!(flags & 2)) {
                ctx.fillStyle = BUTTON_FACE;
                fill(ctx, x, y, width, height);
            }
            drawText(ctx, text, x, y, width, height, face, size, style, colourOf(colour), alignment,
                     flags & 1);
            ctx.restore();
            if (text) form.texts.push(withoutMnemonics(text));
        },
        // A classic push button: raised edges, a black frame when focused, sunken when pressed.
        paintButton(id, x, y, width, height, text, face, size, style, state) {
            const form = page.forms.get(id);
            const ctx = form.ctx;
            const enabled = state & 1, focused = state & 2, pressed = state & 4;
            ctx.save();
            clipTo(ctx, x, y, width, height);
            ctx.fillStyle = BUTTON_FACE;
            fill(ctx, x, y, width, height);
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
            if (focused) drawFocusFrame(ctx, x + 4, y + 4, width - 8, height - 8);
            ctx.restore();
            if (text) form.texts.push(withoutMnemonics(text));
        },
        paintClear(id, x, y, width, height) {
            if (width <= 0 || height <= 0) return;
            const ctx = page.forms.get(id).ctx;
            ctx.clearRect(...pixelAligned(x, y, width, height, ratioOf(ctx)));
        },
        // The page's clock of painting: the first frame's time and a count of frames.
        paintEnd() {
            const now = performance.now();
            if (page.probe.firstFrame === null) page.probe.firstFrame = now;
            ++page.probe.frames;
            showTexts();
        },
    };
    return { showTexts, calls };
}
