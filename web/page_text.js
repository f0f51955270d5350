// Texts laid out as Windows lays them out: fonts sized in points, "&" marking an access
// key, lines broken at line breaks and, when wrapping, at spaces; and the player's
// measuring of a text by that layout.
function pixelsOfPoints(points) { return Math.round(points * 96 / 72); }
export function fontCss(face, size, style) {
    return (style & 2 ? "italic " : "") + (style & 1 ? "bold " : "") +
        pixelsOfPoints(size) + "px \"" + face + "\", Tahoma, \"DejaVu Sans\", sans-serif";
}
export function lineHeightOf(size) { return Math.ceil(pixelsOfPoints(size) * 1.21); }
// "&x" shows x underlined, "&&" a single "&".
export function withoutMnemonics(text) { return text.replace(/&(.)/gu, "$1").replace(/&$/, ""); }
// Where the first "&x" of the text puts its underlined x in the text without them; -1
// when there is none.
export function mnemonicIndex(text) {
    let shown = 0;
    for (let i = 0; i < text.length - 1; ++i, ++shown) {
        if (text[i] !== "&") continue;
        if (text[i + 1] !== "&") return shown;
        ++i;
    }
    return -1;
}

// Lines as Windows breaks them: at line breaks, and with wrap at spaces to fit width.
export function linesOf(ctx, text, width) {
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

// The host's call that measures a text as the page lays it out.
export function measureCalls() {
    const measurer = document.createElement("canvas").getContext("2d");
    return {
        measureText(text, face, size, style, maxWidth) {
            measurer.font = fontCss(face, size, style);
            const lines = text ? linesOf(measurer, text, maxWidth) : [];
            const widths = lines.map((line) => Math.ceil(measurer.measureText(line).width));
            const width = Math.max(0, ...widths);
            return [width, Math.max(1, lines.length) * lineHeightOf(size)];
        },
    };
}
