// The screen's density for the forms' canvases: each canvas holds a device pixel for each of
// the screen's, while the player keeps drawing and hit-testing in its menu coordinates, one
// per CSS pixel.

// The canvas's size in device pixels for a form of that size at that ratio of device pixels
// to CSS pixels; at least one pixel each way once the form has any size.
export function deviceSize(width, height, ratio) {
    const scaled = (length) => (length > 0 ? Math.max(1, Math.round(length * ratio)) : 0);
    return [scaled(width), scaled(height)];
}

// The rectangle (x, y, width, height in menu pixels) moved to the nearest whole device
// pixels at that ratio, each edge on its own, halves up as the Windows player rounds: a
// 1-pixel frame at ratio 1.5 fills whole device pixels rather than two half-covered ones,
// and rectangles that touch still touch. At whole ratios it is the rectangle as given.
export function pixelAligned(x, y, width, height, ratio) {
    const edge = (v) => Math.floor(v * ratio + 0.5);
    const [left, top, right, bottom] = [edge(x), edge(y), edge(x + width), edge(y + height)];
    return [left / ratio, top / ratio, (right - left) / ratio, (bottom - top) / ratio];
}

// The menu point under a pointer at (clientX, clientY) over a canvas whose box on the page
// (getBoundingClientRect) shows a form of width x height menu pixels, whatever the canvas's
// zoom: each axis counts in the form's pixels, rounded down as the pixel hit.
export function menuPoint(clientX, clientY, box, width, height) {
    const along = (offset, shown, length) =>
        Math.floor(shown > 0 && length > 0 ? (offset * length) / shown : offset);
    return [along(clientX - box.left, box.width, width),
            along(clientY - box.top, box.height, height)];
}

// The frames after a resize over which a new ratio is looked for.
const RATIO_SETTLE_FRAMES = 30;

// Calls changed(ratio) each time the window's ratio of device pixels to CSS pixels changes:
// the browser zoomed (which also resizes the page's viewport), or the window went to a
// screen of another density (which a query of the present ratio tells, once it stops
// holding; each change makes a new one).
export function watchPixelRatio(changed) {
    let ratio = window.devicePixelRatio;
    let query = null;
    function check() {
        if (window.devicePixelRatio === ratio) return;
        ratio = window.devicePixelRatio;
        listen();
        changed(ratio);
    }
    function listen() {
        if (query) query.removeEventListener("change", check);
        query = matchMedia("(resolution: " + ratio + "dppx)");
        query.addEventListener("change", check);
    }
    listen();
    // Chromium may fire the resize of a new density before devicePixelRatio gives it, and
    // then no media query change: the ratio is looked at again over the frames that follow.
    let following = 0;
    function follow() {
        check();
        if (--following > 0) requestAnimationFrame(follow);
    }
    window.addEventListener("resize", () => {
        if (following === 0) requestAnimationFrame(follow);
        following = RATIO_SETTLE_FRAMES;
        check();
    });
}
