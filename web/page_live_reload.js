// Live reload under the authoring tool's serve command: its status.json tells of each new
// build of the menu, and of a failed one, shown in the banner. A new build is shown by the
// running player itself, which fetches the package again and decodes only the pictures
// that changed; when it cannot (it has ended, waits on a message box, or finds no
// package), the page reloads. A static site has no status.json, and the page then stops
// asking. While the server does not answer the page asks less and less often; when it
// answers again it may have been restarted on changed sources, so the page reloads.
const QUICKEST_MS = 250;
const SLOWEST_MS = 2000;
const EXPECTING_MS = 15;          // while a build of the page's own edit is awaited
const EXPECT_FOR_MS = 3000;
const RELOAD_TAKEN_WITHIN_MS = 500;   // else the player is not in its loop: reload the page

// watch starts asking; expectChange asks at once and often for a while; rebuilt(listener)
// tells listener of each new build on show; failed(listener) tells it of the last build's
// error, or null once a build is good again; goodBuild() answers a promise of the first
// good build, which a player without a package waits for; calls are the host's.
export function createLiveReload(page) {
    const listeners = [];
    const failedListeners = [];
    let lastError;   // the last build's error as last told, null when it was good
    let generation = null;
    let firstBuilt;
    const firstBuild = new Promise((resolve) => { firstBuilt = resolve; });
    let delay = QUICKEST_MS;
    let lost = false;   // the last request found no server
    let timer = null;
    let expectingUntil = 0;
    let reloadWanted = null;   // the fallback timer while the player has not taken the wish

    function showRebuilt() {
        if (reloadWanted !== null) return;
        reloadWanted = setTimeout(() => location.reload(), RELOAD_TAKEN_WITHIN_MS);
    }

    const calls = {
        // The player asks between rounds of its loop whether to show a rebuilt package.
        takeReload() {
            if (reloadWanted === null) return 0;
            clearTimeout(reloadWanted);
            reloadWanted = null;
            return page.memory.newText(sessionStorage.getItem(page.menuKey) || "");
        },
        reloaded(shown) {
            if (!shown) {
                location.reload();
                return;
            }
            // The new build's first frame is painted: the designer's benchmark reads this.
            page.probe.rebuiltFrame = performance.now();
            for (const listener of listeners) listener();
        },
    };

    function showStatus(status) {
        const banner = document.getElementById("banner");
        banner.hidden = !status.error;
        banner.textContent = status.error || "";
        const error = status.error || null;
        if (error === lastError) return;
        lastError = error;
        for (const listener of failedListeners) listener(error);
    }

    async function pollStatus() {
        try {
            const response = await fetch("status.json", { cache: "no-store" });
            if (response.status === 404 && generation === null) return;   // a static site
            if (!response.ok) throw new Error(response.status);
            const status = await response.json();
            showStatus(status);
            if (generation !== null && lost) {
                location.reload();
                return;
            }
            // Before the first good build (generation 0) the player has no package and waits
            // for one: it loads that build itself, which no reload needs to show.
            if (generation && status.generation !== generation) showRebuilt();
            if (status.generation > 0) firstBuilt();
            generation = status.generation;
            lost = false;
            delay = QUICKEST_MS;
        } catch (error) {
            lost = true;
            delay = Math.min(delay * 2, SLOWEST_MS);
        }
        timer = setTimeout(pollStatus, performance.now() < expectingUntil ? EXPECTING_MS : delay);
    }

    // The page has just changed a source (the designer): ask at once and often for a while,
    // so that the new build shows without waiting for the next ordinary poll.
    function expectChange() {
        if (timer === null) return;   // not polling: a static site
        expectingUntil = performance.now() + EXPECT_FOR_MS;
        clearTimeout(timer);
        timer = setTimeout(pollStatus, 0);
    }

    const rebuilt = (listener) => listeners.push(listener);
    const failed = (listener) => failedListeners.push(listener);
    return { calls, watch: pollStatus, expectChange, rebuilt, failed,
             goodBuild: () => firstBuild };
}
