// The player's forms as elements of the page's desktop: each holds the canvas it is
// painted on, under a caption with a close button when the form has a frame, and is
// placed, shown and removed as the player asks. When the menu ends the desktop gives way
// to a closing note.
const CURSORS = ["default", "pointer", "move"];

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
            const form = { element, canvas, ctx: canvas.getContext("2d"), size: [0, 0], texts: [] };
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
            form.element.style.left = left + "px";
            form.element.style.top = top + "px";
            form.size = [width, height];
            form.canvas.style.width = width + "px";
            form.canvas.style.height = height + "px";
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
        menuEnded() {
            desktop.hidden = true;
            document.getElementById("ended").hidden = false;
            document.getElementById("texts").replaceChildren();
        },
    };
}
