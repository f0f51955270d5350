// Starts the player, after the page's other scripts: loads ambrevo-web.js and runs it with
// the page's host, on the menu that was on show before a reload; then watches for changes
// of the menu's source. window.ambrevo is what the browser tests read of the running page.
"use strict";

(function (page) {
    const MENU_KEY = "ambrevo.menu";   // the menu on show, kept across the page's reloads

    page.host.menuShown = function (name) { sessionStorage.setItem(MENU_KEY, name); };

    const started = performance.now();
    const script = document.createElement("script");
    script.src = "ambrevo-web.js";
    script.onload = () => {
        const menu = sessionStorage.getItem(MENU_KEY);
        page.module = { host: page.host, arguments: menu ? [menu] : [] };
        window.ambrevo = { host: page.host, started, module: page.module, firstFrame: null, frames: 0 };
        createAmbrevoPlayer(page.module);
    };
    document.head.append(script);
    page.watchForChanges();
})(window.ambrevoPage);
