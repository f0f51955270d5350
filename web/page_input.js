// The page's input for the player: pointer and wheel events on the forms' canvases, the
// close buttons of their captions and the keys, queued as events that the player takes
// between its own steps. While a message box or popup menu is open none is queued.
"use strict";

(function (page) {
    // The kinds of EventKind in web_form.h.
    const EVENT = { mouseDown: 1, mouseMove: 2, mouseUp: 3, wheel: 4, keyDown: 5, keyPress: 6,
                    close: 7, keyUp: 8 };
    // The bits of an event's modifiers in web_form.h.
    const modifiersOf = (e) => (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0) |
                               (e.repeat ? 8 : 0);
    const queue = [];

    function post(kind, form, x, y, code, modifiers) {
        if (page.modal) return;
        queue.push([kind, form, x, y, code, modifiers]);
    }

    // Called once for each new form, with its canvas and any caption in the page.
    page.listenToForm = function (id, form) {
        const close = form.element.querySelector(".caption button");
        if (close) close.addEventListener("click", () => post(EVENT.close, id, 0, 0, 0, 0));
        const canvas = form.canvas;
        const at = (e) => {
            const box = canvas.getBoundingClientRect();
            return [Math.floor(e.clientX - box.left), Math.floor(e.clientY - box.top)];
        };
        canvas.addEventListener("pointerdown", (e) => {
            page.activeForm = id;
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
    };

    document.addEventListener("keydown", (e) => {
        if (page.modal || !page.forms.has(page.activeForm)) return;
        const modifiers = modifiersOf(e);
        post(EVENT.keyDown, page.activeForm, 0, 0, e.keyCode, modifiers);
        // A typed character goes as its code point (a key's name, such as "Shift", is longer).
        let typed = [...e.key].length === 1 ? e.key.codePointAt(0) : 0;
        if (e.key === "Enter") typed = 13;
        if (e.key === "Escape") typed = 27;
        if (e.key === "Backspace") typed = 8;
        if (typed > 0 && !e.ctrlKey) {
            post(EVENT.keyPress, page.activeForm, 0, 0, typed, modifiers);
        }
        if (["Tab", " ", "ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", "Enter"]
            .includes(e.key)) e.preventDefault();
    });

    // A push button clicks when Space comes up.
    document.addEventListener("keyup", (e) => {
        if (page.modal || !page.forms.has(page.activeForm)) return;
        post(EVENT.keyUp, page.activeForm, 0, 0, e.keyCode, modifiersOf(e));
    });

    page.host.nextEvent = function (pointer) {
        const event = queue.shift();
        if (!event) return 0;
        page.module.HEAP32.set(event, pointer >> 2);
        return 1;
    };
})(window.ambrevoPage);
