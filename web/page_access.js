// What the player tells assistive technology about a form's items, as elements of the page:
// over the canvas, a layer labelled with the menu's title holds one element per item in tab
// order, placed over the item, with its name, role, description, shortcut and whether it
// can act. The layer is transparent and lets the pointer through to the canvas, so sighted
// users and the mouse meet the canvas as before. The element of the item the player
// focuses gets the page's focus, so that screen readers announce it; the keys still reach
// the player through page_input.js. A click on an element, which only assistive technology
// or a script can give since the pointer passes through, presses the item as Enter does;
// the focus that assistive technology moves to an element moves the player's focus too.
import { EVENT } from "./page_events.js";

// The host's calls that describe forms' items to assistive technology; forget(id) drops a
// form that went.
export function createAccess(page, input) {
    const layers = new Map();   // by form id: { layer, generation, elements }
    let focusing = false;       // the page itself is moving the focus

    function layerOf(id) {
        let found = layers.get(id);
        if (found) return found;
        const form = page.forms.get(id);
        if (!form) return null;
        const layer = document.createElement("div");
        layer.className = "access-layer";
        layer.setAttribute("role", "application");
        layer.tabIndex = -1;
        form.element.append(layer);
        found = { layer, generation: 0, elements: [] };
        layers.set(id, found);
        return found;
    }

    function newElement(id, found, index) {
        const element = document.createElement("div");
        element.addEventListener("click", () => {
            input.post(EVENT.accessiblePress, id, found.generation, 0, index + 1, 0);
        });
        element.addEventListener("focus", () => {
            if (!focusing) input.post(EVENT.accessibleFocus, id, found.generation, 0, index + 1, 0);
        });
        return element;
    }

    function setAttribute(element, name, value) {
        if (value) {
            element.setAttribute(name, value);
        } else {
            element.removeAttribute(name);
        }
    }

    // A push button is named by its label; ARIA names no element without a role, so a
    // static text is its own (transparent) text.
    function describe(element, item) {
        setAttribute(element, "role", item.button ? "button" : "");
        setAttribute(element, "aria-label", item.button ? item.name : "");
        element.textContent = item.button ? "" : item.name;
        setAttribute(element, "aria-description", item.description);
        setAttribute(element, "aria-keyshortcuts", item.shortcut);
        setAttribute(element, "aria-disabled", item.button && item.unavailable ? "true" : "");
        if (item.focusable) {
            element.tabIndex = -1;
        } else {
            element.removeAttribute("tabindex");
        }
        const [left, top, width, height] = item.bounds;
        element.hidden = width <= 0 || height <= 0;
        Object.assign(element.style, { left: left + "px", top: top + "px",
                                       width: width + "px", height: height + "px" });
    }

    // The page's focus may move to an item only from nowhere or from another item: never
    // away from the page's own controls (a message box, the designer's panel).
    function focusIsFree() {
        const active = document.activeElement;
        return !active || active === document.body || active.closest(".access-layer") !== null;
    }

    function moveFocus(element) {
        focusing = true;
        try {
            element.focus({ preventScroll: true });
        } finally {
            focusing = false;
        }
    }

    const calls = {
        // The elements are changed in place, so that the focused one keeps the focus. A new
        // generation (another menu) has no focused item until the player tells of one: a
        // focus on an item moves to the layer, which is read with the new menu's title.
        formAccessible(id, list) {
            const found = layerOf(id);
            if (!found) return;
            const { layer, elements } = found;
            const replaced = list.generation !== found.generation;
            const focused = layer.contains(document.activeElement);   // before any goes
            found.generation = list.generation;
            setAttribute(layer, "aria-label", list.name);
            // In menu pixels, scaled as the canvas is by the form's --zoom (page.css).
            const { canvas, size } = page.forms.get(id);
            Object.assign(layer.style, { left: canvas.offsetLeft + "px", top: canvas.offsetTop + "px",
                                         width: size[0] + "px", height: size[1] + "px" });
            while (elements.length > list.items.length) elements.pop().remove();
            while (elements.length < list.items.length) {
                const element = newElement(id, found, elements.length);
                elements.push(element);
                layer.append(element);
            }
            list.items.forEach((item, index) => describe(elements[index], item));
            layer.hidden = elements.length === 0;
            if (replaced && focused) moveFocus(layer);
        },
        formAccessibleFocus(id, element) {
            const found = layers.get(id);
            const target = found && found.elements[element - 1];
            if (target && focusIsFree()) moveFocus(target);
        },
    };
    return { calls, forget: (id) => layers.delete(id) };
}
