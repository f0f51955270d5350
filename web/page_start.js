// Starts the player, after the page's other scripts: runs ambrevo-web.js with the page's
// host, on the menu that was on show before a reload; then watches for changes of the
// menu's source. A player that cannot be loaded, or that stops on an error, leaves a
// message in the page rather than a page that no longer answers. window.ambrevo is what the
// browser tests read of the running page.
"use strict";

(function (page) {
    let running = false;               // the player's runtime has started

    page.host.menuShown = function (name) { sessionStorage.setItem(page.menuKey, name); };

    // Only the first failure is shown: an abort is often reported twice.
    function fail(text) {
        const failure = document.getElementById("failure");
        if (!failure.hidden) return;
        failure.textContent = text;
        failure.hidden = false;
    }
    function failed(reason) {
        const cause = String(reason && reason.message ? reason.message : reason);
        fail(running
            ? "The player has stopped after an error (" + cause + "). Reload the page to start it again."
            : "The player cannot be loaded: ambrevo-web.wasm is missing or damaged (" + cause + ").");
    }

    window.addEventListener("error", (e) => failed(e.error || e.message));
    window.addEventListener("unhandledrejection", (e) => failed(e.reason));

    const started = performance.now();
    // The player's code is fetched and compiled while its script and the package load;
    // the runtime then only instantiates it. A compile that fails is reported as the
    // runtime's own failure would be.
    const WASM = "ambrevo-web.wasm";
    function compileStreaming() {
        return WebAssembly.compileStreaming(fetch(WASM)).catch(() =>
            // Served without the wasm type, or a browser without streaming compilation.
            fetch(WASM).then((response) => {
                if (!response.ok) throw new Error(WASM + ": " + response.status + " " + response.statusText);
                return response.arrayBuffer();
            }).then((bytes) => WebAssembly.compile(bytes)));
    }
    const compiled = compileStreaming();
    compiled.catch(() => {});  // reported when the runtime asks for it

    // ambrevo-web.js loads with the page, deferred: it has run, or failed to load, by the
    // time the document is ready.
    document.addEventListener("DOMContentLoaded", () => {
        if (typeof createAmbrevoPlayer !== "function") {
            fail("The player cannot be loaded: ambrevo-web.js is missing.");
            return;
        }
        const menu = sessionStorage.getItem(page.menuKey);
        // The browser's languages, most preferred first ("de-DE,en"): they choose the first
        // menu of a package that names one per language.
        const languages = navigator.languages && navigator.languages.length
            ? navigator.languages : [navigator.language || ""];
        page.module = {
            host: page.host,
            arguments: [menu || "", languages.join(",")],
            onRuntimeInitialized() { running = true; },
            onAbort: failed,
            instantiateWasm(imports, receiveInstance) {
                compiled.then((module) => WebAssembly.instantiate(module, imports))
                    .then((instance) => receiveInstance(instance))
                    .catch(failed);
                return {};
            },
        };
        window.ambrevo = { host: page.host, started, module: page.module, firstFrame: null, frames: 0 };
        createAmbrevoPlayer(page.module).catch(failed);
    });
    page.watchForChanges();
})(window.ambrevoPage);
