// The page's input for the player: pointer and wheel events on the forms' canvases, the
// close buttons of their captions and the keys, queued as events that the player takes
// between its own steps. While a message box or popup menu is open none is queued. The
// keys go to the active form: the one last clicked or shown, and when that hides or goes,
// the one shown that was active before it.
import { EVENT, MODIFIER } from "./page_events.js";
import { menuPoint } from "./page_scale.js";

function modifiersOf(e) {
    return (e.shiftKey ? MODIFIER.shift : 0) | (e.ctrlKey ? MODIFIER.control : 0) |
           (e.altKey ? MODIFIER.alt : 0) | (e.repeat ? MODIFIER.repeated : 0);
}

// The page's input: post queues an event (also for the requests of assistive technology),
// repaint asks for a form's whole canvas again, activate and deactivate follow the forms
// shown, listenToForm is called once for each new form; calls are the host's.
export function createInput(page) {
    const queue = [];
    const activated = [];   // form ids by their last activation, the latest last

    function post(kind, form, x, y, code, modifiers) {
        if (page.modal) return;
        queue.push([kind, form, x, y, code, modifiers]);
    }

    // The form's canvas lost its pixels: the player paints it again, also behind a dialog.
    function repaint(id) { queue.push([EVENT.repaint, id, 0, 0, 0, 0]); }

    function forget(id) {
        const at = activated.indexOf(id);
        if (at >= 0) activated.splice(at, 1);
    }

    function activate(id) {
        forget(id);
        activated.push(id);
        page.activeForm = id;
    }

    // The form hid or went: if it was the active one, the keys go to the form on show that
    // was active last before it, as Windows activates another window of the program.
    function deactivate(id) {
        forget(id);
        if (id !== page.activeForm) return;
        const shown = activated.filter((other) => page.forms.has(other) &&
                                                  !page.forms.get(other).element.hidden);
        page.activeForm = shown.length > 0 ? shown[shown.length - 1] : 0;
    }

    // The keyboard's way to the player's context menu, which the player opens: the browser
    // must not open its own as well.
    const isMenuKey = (e) => e.key === "ContextMenu" || (e.key === "F10" && e.shiftKey);

    function keysGoSomewhere() {
        const form = page.forms.get(page.activeForm);
        return !page.modal && form && !form.element.hidden;
    }

    // Called once for each new form, with its canvas and any caption in the page.
    function listenToForm(id, form) {
        const close = form.element.querySelector(".caption button");
        if (close) close.addEventListener("click", () => post(EVENT.close, id, 0, 0, 0, 0));
        const canvas = form.canvas;
        const at = (e) => menuPoint(e.clientX, e.clientY, canvas.getBoundingClientRect(),
                                    ...form.size);
        canvas.addEventListener("pointerdown", (e) => {
            activate(id);
            canvas.setPointerCapture(e.pointerId);
            post(EVENT.mouseDown, id, ...at(e), e.button, 0);
            e.preventDefault();
        });
        canvas.addEventListener("pointermove", (e) => post(EVENT.mouseMove, id, ...at(e), 0, 0));
        canvas.addEventListener("pointerup", (e) => post(EVENT.mouseUp, id, ...at(e), e.button, 0));
        // The browser took the pointer (a touch became a scroll): the press ends unclicked.
        canvas.addEventListener("pointercancel", () => post(EVENT.pointerCancel, id, 0, 0, 0, 0));
        canvas.addEventListener("contextmenu", (e) => e.preventDefault());
        // Only vertical turns are notches; a sideways scroll is left to the page.
        canvas.addEventListener("wheel", (e) => {
            if (e.deltaY === 0) return;
            post(EVENT.wheel, id, 0, 0, e.deltaY < 0 ? 1 : -1, 0);
            e.preventDefault();
        }, { passive: false });
    }

    document.addEventListener("keydown", (e) => {
        if (!keysGoSomewhere()) return;
        const modifiers = modifiersOf(e);
        post(EVENT.keyDown, page.activeForm, 0, 0, e.keyCode, modifiers);
        // A typed character goes as its code point (a key's name, such as "Shift", is longer).
        let typed = [...e.key].length === 1 ? e.key.codePointAt(0) : 0;
        if (e.key === "Enter") typed = 13;
        if (e.key === "Escape") typed = 27;
        if (e.key === "Backspace") typed = 8;
        // A held key types once: its repeats would launch the item again (Enter, a digit, an
        // access key), while the repeated key downs go on moving the selection.
        if (typed > 0 && !e.ctrlKey && !e.repeat) {
            post(EVENT.keyPress, page.activeForm, 0, 0, typed, modifiers);
        }
        if (isMenuKey(e) || ["Tab", " ", "ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight",
                             "Enter"].includes(e.key)) e.preventDefault();
    });

    // A push button clicks when Space comes up.
    document.addEventListener("keyup", (e) => {
        if (!keysGoSomewhere()) return;
        post(EVENT.keyUp, page.activeForm, 0, 0, e.keyCode, modifiersOf(e));
        if (isMenuKey(e)) e.preventDefault();
    });

    function nextEvent(pointer) {
        const event = queue.shift();
        if (!event) return 0;
        page.memory.setInts(pointer, event);
        return 1;
    }

    return { post, repaint, activate, deactivate, listenToForm, calls: { nextEvent } };
}
