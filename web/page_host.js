// The page's state that more than one of its scripts reads, created once by the entry
// (page_start.js) and passed on: the host object that the player reaches as Module.host, to
// which the entry adds each script's calls, the forms, and the player's memory, through
// which texts and bytes pass. `probe` is what the browser tests and benchmarks read of the
// running page (window.ambrevo).
export function createPage() {
    const page = {
        host: {},
        module: null,       // the player's Module, once ambrevo-web.js is loaded
        forms: new Map(),   // by id: { element, canvas, ctx, size in menu pixels, texts painted }
        pixelRatio: window.devicePixelRatio || 1,   // device pixels to a CSS pixel
        zoom: 1,            // CSS pixels to a menu pixel: the designer's view of the menu
        activeForm: 0,      // the form the keys go to
        modal: null,        // the open message box or popup menu
        menuKey: "ambrevo.menu",   // in sessionStorage: the menu on show, kept across reloads
        shownListeners: [],        // told the entry name of each menu the player shows
        probe: { started: performance.now(), firstFrame: null, frames: 0, rebuiltFrame: null },
    };
    page.memory = memoryOf(page);
    page.probe.host = page.host;
    return page;
}

// The player's memory, only through the names its build exports (EXPORTED_FUNCTIONS and
// EXPORTED_RUNTIME_METHODS in src/backends/web/CMakeLists.txt). The views are looked up at
// each use, since a memory that grows gets new ones.
function memoryOf(page) {
    const decoder = new TextDecoder();   // the player's texts are UTF-8
    const memory = {
        text(pointer, length) {
            return decoder.decode(page.module.HEAPU8.subarray(pointer, pointer + length));
        },
        // UTF-8 allocated with malloc, which the player frees.
        newText(text) { return page.module.allocateUTF8(text); },
        // length bytes allocated with malloc, unset, which the player frees; 0 when there
        // is no memory for them. free gives back one that does not reach the player.
        newBlock(length) { return page.module._malloc(Math.max(1, length)); },
        free(pointer) { page.module._free(pointer); },
        // A copy allocated with malloc, which the player frees.
        newBytes(bytes) {
            const pointer = memory.newBlock(bytes.length);
            if (pointer) page.module.HEAPU8.set(bytes, pointer);
            return pointer;
        },
        setWord(pointer, value) { page.module.HEAPU32[pointer >> 2] = value; },
        setInts(pointer, values) { page.module.HEAP32.set(values, pointer >> 2); },
        bytes(pointer, length) { return page.module.HEAPU8.subarray(pointer, pointer + length); },
    };
    return memory;
}

// The host's calls for texts and the player's debug trace.
export function textAndTraceCalls(memory) {
    let trace = [];                      // the player's debug lines not yet written
    const whenIdle = window.requestIdleCallback
        ? (task) => requestIdleCallback(task, { timeout: 500 }) : (task) => setTimeout(task, 0);
    function writeTrace() {
        const lines = trace;
        trace = [];
        for (const line of lines) console.debug(line);
    }
    return {
        text: memory.text,
        // The clock's texts with plain spaces, as Windows writes its times and dates.
        clockText(text) { return memory.newText(text.replace(/[\u00a0\u202f]/g, " ")); },
        // The player's debug trace (OutputDebugString on Windows), written to the console in
        // order once the browser is idle: while developer tools listen, each console line
        // costs more than the player's work around it, and the first frame would wait.
        debug(text) {
            if (!trace.length) whenIdle(writeTrace);
            trace.push(text);
        },
    };
}
