// The player's forms as elements of the page's desktop: each holds the canvas it is
// painted on, under a caption with a close button when the form has a frame, and is
// placed, shown and removed as the player asks. When the menu ends the desktop gives way
// to a closing note.
const CURSORS = ["default", "pointer", "move"];

// Places the form's element at its place on the desktop and sizes its canvas (and the layers
// over it, through --zoom) to its menu size shown at zoom. The place is not zoomed: a menu
// shown larger grows from its corner, and the desktop scrolls to the rest.
export function placeForm(form, zoom) {
    const [left, top] = form.place;
    Object.assign(form.element.style, { left: left + "px", top: top + "px" });
    form.element.style.setProperty("--zoom", zoom);
    form.canvas.style.width = form.size[0] * zoom + "px";
    form.canvas.style.height = form.size[1] * zoom + "px";
}

// The host's calls for forms; input follows them (page_input.js), the painter lists their
// texts (page_paint.js), and forgotten(id) is told of each form that goes.
export function formCalls(page, input, painter, forgotten) {
    const desktop = document.getElementById("desktop");
    const forms = page.forms;

    return {
        formCreated(id, style) {
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
                caption.append(close);
                element.append(caption);
            }
            element.append(canvas);
            desktop.append(element);
            const form = { element, canvas, ctx: canvas.getContext("2d"), place: [0, 0],
                           size: [0, 0], texts: [] };
            forms.set(id, form);
            input.listenToForm(id, form);
        },
        formDestroyed(id) {
            const form = forms.get(id);
            if (form) form.element.remove();
            forms.delete(id);
            forgotten(id);
            input.deactivate(id);
            painter.showTexts();
        },
        formCaption(id, text) {
            const caption = forms.get(id).element.querySelector(".caption span");
            if (caption) caption.textContent = text;
        },
        formBounds(id, left, top, width, height) {
            const form = forms.get(id);
            form.place = [left, top];
            form.size = [width, height];
            placeForm(form, page.zoom);
        },
        formVisible(id, visible) {
            const form = forms.get(id);
            form.element.hidden = !visible;
            if (visible) {
                input.activate(id);
            } else {
                input.deactivate(id);
            }
            painter.showTexts();
        },
        formCursor(id, cursor) { forms.get(id).canvas.style.cursor = CURSORS[cursor] || "default"; },

        setTitle(text) { document.title = text; },
        screenSize() { return [desktop.clientWidth || 1024, desktop.clientHeight || 768]; },
        // Device pixels to a menu pixel: the designer's zoom shows the menu as a denser
        // screen would.
        pixelRatio() { return page.pixelRatio * page.zoom; },
        menuEnded() {
            desktop.hidden = true;
            document.getElementById("ended").hidden = false;
            document.getElementById("texts").replaceChildren();
        },
    };
}
