// Live reload under the authoring tool's serve command: its status.json tells of each new
// build of the menu, which reloads the page, and of a failed one, shown in the banner. A
// static site has no status.json, and the page then stops asking.
"use strict";

(function (page) {
    let generation = null;

    async function pollStatus() {
        try {
            const response = await fetch("status.json", { cache: "no-store" });
            if (!response.ok) return;
            const status = await response.json();
            const banner = document.getElementById("banner");
            banner.hidden = !status.error;
            banner.textContent = status.error || "";
            if (generation !== null && status.generation > generation) location.reload();
            generation = status.generation;
        } catch (error) {
            return;
        }
        setTimeout(pollStatus, 250);
    }

    page.watchForChanges = pollStatus;
})(window.ambrevoPage);
