// The designer's layer over the menu's canvas: a box for each item, the selected ones
// marked, those the check warns about marked too, a resize handle on each selected push button and text, and the snapping guides.
// show() changes the elements in place, so that a drag redraws only what moved; the
// pointer's events go to the listeners given.
import { rectOf } from "./geometry.js";

const px = (value) => value + "px";

export function createOverlay(listeners) {
    const layer = document.createElement("div");
    layer.className = "editor-layer";
    layer.tabIndex = 0;
    for (const [kind, listener] of Object.entries(listeners)) {
        layer.addEventListener(kind, listener);
    }
    const boxes = [];    // by item, in file order
    const guides = [];

    function place(element, r) {
        Object.assign(element.style,
                      { left: px(r.x), top: px(r.y), width: px(r.w), height: px(r.h) });
    }

    function showBox(box, item, selected, warned) {
        place(box, rectOf(item));
        box.classList.toggle("selected", selected);
        box.classList.toggle("has-problem", warned);
        const handle = selected && item.kind !== "picture";
        if (handle && !box.firstChild) {
            const element = document.createElement("div");
            element.className = "editor-handle";
            box.append(element);
        }
        if (!handle && box.firstChild) box.firstChild.remove();
        if (box.firstChild) box.firstChild.dataset.resize = item.index;
    }

    function showGuides(lines) {
        while (guides.length > lines.length) guides.pop().remove();
        while (guides.length < lines.length) {
            guides.push(document.createElement("div"));
            layer.append(guides[guides.length - 1]);
        }
        lines.forEach((guide, i) => {
            guides[i].className = "editor-guide " + guide.axis;
            guides[i].style.left = guide.axis === "x" ? px(guide.line) : "";
            guides[i].style.top = guide.axis === "y" ? px(guide.line) : "";
        });
    }

    return {
        layer,
        // The menu's items over form's canvas, the selected ones and those with problems
        // (item numbers) marked.
        show(form, menu, selected, lines, hidden, warned = []) {
            if (layer.parentNode !== form.element) form.element.append(layer);
            place(layer, { x: form.canvas.offsetLeft, y: form.canvas.offsetTop,
                           w: menu.size[0], h: menu.size[1] });
            layer.hidden = hidden;
            while (boxes.length > menu.items.length) boxes.pop().remove();
            while (boxes.length < menu.items.length) {
                const box = document.createElement("div");
                box.className = "editor-item";
                layer.insertBefore(box, guides[0] || null);   // under the guides
                boxes.push(box);
            }
            menu.items.forEach((item, i) => showBox(boxes[i], item, selected.includes(item.index),
                                                     warned.includes(item.index)));
            showGuides(lines);
        },
        // A pointer event's point in the menu's client area.
        pointOf(e) {
            const box = layer.getBoundingClientRect();
            return [Math.floor(e.clientX - box.left), Math.floor(e.clientY - box.top)];
        },
    };
}
