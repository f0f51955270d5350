// The designer's geometry, pure: from a menu of the tool's model (its size, its items with
// index, kind, position and size, and its stacking order) and the selection, what a click,
// a drag, an arrow key, align or space means, as the parts of one edit ({item, set}) that
// the tool's edit interface takes in its "each" list. Nothing here reads or changes the page.

// How near, in pixels, an edge or centre must come to another's to snap onto it.
export const SNAP_PX = 4;

export function rectOf(item) {
    return { x: item.position[0], y: item.position[1], w: item.size[0], h: item.size[1] };
}

const itemOf = (menu, n) => menu.items[n - 1];

// The item under a point, as the player routes the mouse: the frontmost of the menu's
// stacking order (item numbers, back to front); 0 when there is none.
export function itemAt(menu, x, y) {
    for (let i = menu.stacking.length - 1; i >= 0; --i) {
        const r = rectOf(itemOf(menu, menu.stacking[i]));
        if (x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h) return menu.stacking[i];
    }
    return 0;
}

// Along one axis ("x" or "y"): the offset that puts the rectangle's edges on another's
// edges or the window's, or its centre on theirs, within tolerance, and the guide's line;
// the nearest wins.
function snapAxis(rect, others, room, axis, tolerance) {
    const [pos, len] = axis === "x" ? ["x", "w"] : ["y", "h"];
    const edges = [0, room];
    const centres = [room / 2];
    for (const o of others) {
        edges.push(o[pos], o[pos] + o[len]);
        centres.push(o[pos] + o[len] / 2);
    }
    let best = { offset: 0, line: null };
    const consider = (from, lines) => {
        for (const line of lines) {
            const offset = line - from;
            if (Math.abs(offset) <= tolerance &&
                (best.line === null || Math.abs(offset) < Math.abs(best.offset))) {
                best = { offset: Math.round(offset), line };
            }
        }
    };
    consider(rect[pos], edges);
    consider(rect[pos] + rect[len], edges);
    consider(rect[pos] + rect[len] / 2, centres);
    return best;
}

// A rectangle snapped onto others within a window of room [width, height], along the axes
// asked: the offset to add and the guides ({axis, line}) to show.
export function snapped(rect, others, room, axes = { x: true, y: true }, tolerance = SNAP_PX) {
    const none = { offset: 0, line: null };
    const sx = axes.x ? snapAxis(rect, others, room[0], "x", tolerance) : none;
    const sy = axes.y ? snapAxis(rect, others, room[1], "y", tolerance) : none;
    const guides = [];
    if (sx.line !== null) guides.push({ axis: "x", line: sx.line });
    if (sy.line !== null) guides.push({ axis: "y", line: sy.line });
    return { dx: sx.offset, dy: sy.offset, guides };
}

// The selection dragged by dx, dy from where it lies in menu: the first selected item snaps
// onto the others and the window unless free (Alt), along an axis only once the pointer
// moved along it. Answers the edit's parts and the guides.
export function dragged(menu, selected, dx, dy, free) {
    const lead = rectOf(itemOf(menu, selected[0]));
    const others = menu.items.filter((item) => !selected.includes(item.index)).map(rectOf);
    const moved = { ...lead, x: lead.x + dx, y: lead.y + dy };
    const snap = free ? { dx: 0, dy: 0, guides: [] }
                      : snapped(moved, others, menu.size, { x: dx !== 0, y: dy !== 0 });
    return { each: movedBy(menu, selected, dx + snap.dx, dy + snap.dy), guides: snap.guides };
}

// Every selected item moved by dx, dy.
export function movedBy(menu, selected, dx, dy) {
    return selected.map((n) => {
        const [x, y] = itemOf(menu, n).position;
        return { item: n, set: { position: [x + dx, y + dy] } };
    });
}

const ARROW_STEPS = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };

// An arrow key moves the selection by 1 pixel, with Shift by 10; null for other keys.
export function arrowMoved(menu, selected, key, shift) {
    const step = ARROW_STEPS[key];
    if (!step || !selected.length) return null;
    const [dx, dy] = step.map((v) => v * (shift ? 10 : 1));
    return movedBy(menu, selected, dx, dy);
}

// A handle dragged by dx, dy resizes every selected push button and text by as much; picture
// items take their pictures' size.
export function resizedBy(menu, selected, dx, dy) {
    return selected.map((n) => itemOf(menu, n)).filter((item) => item.kind !== "picture")
        .map((item) => ({ item: item.index, set: { size: [Math.max(1, item.size[0] + dx),
                                                           Math.max(1, item.size[1] + dy)] } }));
}

// The selection's left edges, top edges or centres ("left", "top", "centre-x", "centre-y")
// on the first selected item's.
export function aligned(menu, selected, how) {
    const [first, ...rest] = selected.map((n) => rectOf(itemOf(menu, n)));
    return rest.map((r, i) => {
        const x = how === "left" ? first.x
                : how === "centre-x" ? Math.round(first.x + (first.w - r.w) / 2) : r.x;
        const y = how === "top" ? first.y
                : how === "centre-y" ? Math.round(first.y + (first.h - r.h) / 2) : r.y;
        return { item: selected[i + 1], set: { position: [x, y] } };
    });
}

// Three or more selected items spaced evenly along one axis between the outermost ones, in
// the order they lie; fewer give no change.
export function spaced(menu, selected, axis) {
    if (selected.length < 3) return [];
    const [pos, len, at] = axis === "x" ? ["x", "w", 0] : ["y", "h", 1];
    const items = selected.map((n) => itemOf(menu, n))
        .sort((a, b) => a.position[at] - b.position[at]);
    const rects = items.map(rectOf);
    const last = rects[rects.length - 1];
    const total = rects.reduce((sum, r) => sum + r[len], 0);
    const gap = (last[pos] + last[len] - rects[0][pos] - total) / (items.length - 1);
    let next = rects[0][pos];
    return items.map((item, i) => {
        const position = [...item.position];
        position[at] = Math.round(next);
        next += rects[i][len] + gap;
        return { item: item.index, set: { position } };
    });
}

// Where an item of size lies when placed at point, moved in as far as needed to lie inside
// a window of room.
export function placedInside(point, size, room) {
    return point.map((at, i) => Math.max(0, Math.min(at, room[i] - size[i])));
}

// The menu as the parts of an edit leave it, the menu given unchanged.
export function applied(menu, each) {
    const items = menu.items.map((item) => {
        const sets = each.filter((part) => part.item === item.index).map((part) => part.set);
        return sets.length ? Object.assign({ ...item }, ...sets) : item;
    });
    return { ...menu, items };
}

// Where a new item of size goes when asked for at point: there, moved inside the window,
// and then down and to the right in steps of `step` while another item already lies at
// that place, so that new items never land on one another.
export function freePlace(menu, point, size, step = 12) {
    let [x, y] = placedInside(point, size, menu.size);
    const taken = (px, py) => menu.items.some((item) =>
        Math.abs(item.position[0] - px) < step && Math.abs(item.position[1] - py) < step);
    for (let tries = 0; taken(x, y) && tries < 100; ++tries) {
        [x, y] = placedInside([x + step, y + step], size, menu.size);
        if (x + size[0] >= menu.size[0] && y + size[1] >= menu.size[1]) break;
    }
    return [x, y];
}

// The text colour readable on pixels (RGBA values, as a canvas gives them): black on a
// light background, white on a dark one, by the pixels' mean luminance.
export function readableOn(rgba) {
    let sum = 0;
    let count = 0;
    for (let i = 0; i + 3 < rgba.length; i += 4) {
        sum += 0.2126 * rgba[i] + 0.7152 * rgba[i + 1] + 0.0722 * rgba[i + 2];
        ++count;
    }
    return count && sum / count < 128 ? "#FFFFFF" : "#000000";
}
