// The player's forms as elements of the page's desktop: each holds the canvas it is
// painted on, under a caption with a close button when the form has a frame, and is
// placed, shown and removed as the player asks. When the menu ends the desktop gives way
// to a closing note.
"use strict";

(function (page) {
    const CURSORS = ["default", "pointer", "move"];
    const desktop = document.getElementById("desktop");
    const forms = page.forms;

    Object.assign(page.host, {
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
            const form = { element, canvas, ctx: canvas.getContext("2d"), texts: [] };
            forms.set(id, form);
            page.listenToForm(id, form);
        },
        formDestroyed(id) {
            const form = forms.get(id);
            if (form) form.element.remove();
            forms.delete(id);
            page.deactivate(id);
            page.showTexts();
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
            if (visible) {
                page.activate(id);
            } else {
                page.deactivate(id);
            }
            page.showTexts();
        },
        formCursor(id, cursor) { forms.get(id).canvas.style.cursor = CURSORS[cursor] || "default"; },

        setTitle(text) { document.title = text; },
        screenSize() { return [desktop.clientWidth || 1024, desktop.clientHeight || 768]; },
        menuEnded() {
            desktop.hidden = true;
            document.getElementById("ended").hidden = false;
            document.getElementById("texts").replaceChildren();
        },
    });
})(window.ambrevoPage);
