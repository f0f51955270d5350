// The designer's layer over the menu's canvas: a box for each item, the selected ones
// marked, those the check warns about marked too, a resize handle on each selected push
// button and text, and the snapping guides, all in menu pixels shown at the page's zoom.
// show() changes the elements in place, so that a drag redraws only what moved; the
// pointer's events go to the listeners given.
import { menuPoint } from "../page_scale.js";
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
    let zoom = 1;
    let size = [0, 0];   // the menu's, in menu pixels

    function place(element, r) {
        Object.assign(element.style, { left: px(r.x * zoom), top: px(r.y * zoom),
                                       width: px(r.w * zoom), height: px(r.h * zoom) });
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
            guides[i].style.left = guide.axis === "x" ? px(guide.line * zoom) : "";
            guides[i].style.top = guide.axis === "y" ? px(guide.line * zoom) : "";
        });
    }

    return {
        layer,
        // The menu's items over form's canvas shown at zoom, the selected ones and those
        // with problems (item numbers) marked.
        show(form, menu, selected, lines, hidden, warned, shownZoom) {
            if (layer.parentNode !== form.element) form.element.append(layer);
            [zoom, size] = [shownZoom, menu.size];
            Object.assign(layer.style, {
                left: px(form.canvas.offsetLeft), top: px(form.canvas.offsetTop),
                width: px(size[0] * zoom), height: px(size[1] * zoom) });
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
        // The scroller (the desktop) scrolled to show item n's box in its middle, as far as
        // it goes.
        reveal(n, scroller) {
            if (!boxes[n - 1]) return;
            const box = boxes[n - 1].getBoundingClientRect();
            const view = scroller.getBoundingClientRect();
            scroller.scrollBy(box.left + box.width / 2 - view.left - view.width / 2,
                              box.top + box.height / 2 - view.top - view.height / 2);
        },
        // A pointer event's point in the menu's client area, in menu pixels.
        pointOf(e) {
            return menuPoint(e.clientX, e.clientY, layer.getBoundingClientRect(), ...size);
        },
    };
}
