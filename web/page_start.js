// The page's entry: creates the page's state, gathers the host's calls from the other
// scripts, runs ambrevo-web.js with that host on the menu that was on show before a reload,
// then watches for changes of the menu's source; with a token in its address, the designer
// edits the menu. A player that cannot be loaded, or that stops on an error, leaves a
// message in the page rather than a page that no longer answers. window.ambrevo is what the
// browser tests and benchmarks read of the running page.
import { createAccess } from "./page_access.js";
import { dialogCalls } from "./page_dialogs.js";
import { discUrl, fetchCalls } from "./page_fetch.js";
import { formCalls, placeForm } from "./page_forms.js";
import { createPage, textAndTraceCalls } from "./page_host.js";
import { createInput } from "./page_input.js";
import { createLiveReload } from "./page_live_reload.js";
import { createPainter } from "./page_paint.js";
import { watchPixelRatio } from "./page_scale.js";
import { soundCalls } from "./page_sounds.js";
import { measureCalls } from "./page_text.js";
import { startDesigner } from "./designer/designer.js";

function startPage() {
    const page = createPage();
    // With a token in its address the designer edits the menu.
    const token = new URLSearchParams(location.search).get("token");
    const live = createLiveReload(page);
    // The package is asked for first, while the player itself still loads; the designer's
    // folder may hold no menu yet, and then there is no package until its first build, which
    // the status, asked for first, tells of.
    Object.assign(page.host, fetchCalls(page.memory, live.goodBuild, { afterGoodBuild: !!token }),
                  textAndTraceCalls(page.memory));
    live.watch();
    const input = createInput(page);
    const painter = createPainter(page);
    const access = createAccess(page, input);
    Object.assign(page.host, measureCalls(), input.calls, painter.calls, access.calls,
                  formCalls(page, input, painter, access.forget), dialogCalls(page),
                  soundCalls(), live.calls, {
                      menuShown(name) {
                          sessionStorage.setItem(page.menuKey, name);
                          for (const listener of page.shownListeners) listener(name);
                      },
                  });
    Object.assign(page.probe, { postEvent: input.post, discUrl });
    window.ambrevo = page.probe;
    // Every form placed and painted again at a new scale.
    function rescaled() {
        for (const [id, form] of page.forms) {
            placeForm(form, page.zoom);
            input.repaint(id);
        }
    }
    // Zoomed, or moved to a screen of another density: every canvas is painted again at it.
    watchPixelRatio((ratio) => {
        page.pixelRatio = ratio;
        rescaled();
    });
    startPlayer(page);
    // The designer shows the menu larger: the player keeps its menu pixels.
    const zoomTo = (zoom) => {
        page.zoom = zoom;
        rescaled();
    };
    if (token) page.probe.designer = startDesigner(page, live, token, zoomTo);
}

function startPlayer(page) {
    let running = false;               // the player's runtime has started

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
        page.probe.module = page.module;
        createAmbrevoPlayer(page.module).catch(failed);
    });
}

startPage();
