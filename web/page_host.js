// What the page's scripts share, so this script comes first: the host object that the
// player reaches as Module.host, to which each script adds its calls, the state that more
// than one of them reads, and the passage of texts in and out of the player's memory.
"use strict";

window.ambrevoPage = {
    host: {},
    module: null,       // the player's Module, once ambrevo-web.js is loaded
    forms: new Map(),   // by id: { element, canvas, ctx, texts painted }
    activeForm: 0,      // the form the keys go to
    modal: null,        // the open message box or popup menu
};

(function (page) {
    const decoder = new TextDecoder();   // the player's texts are UTF-8

    // A text for the player: UTF-8 allocated with malloc, which the player frees.
    page.utf8 = function (text) { return page.module.allocateUTF8(text); };

    Object.assign(page.host, {
        text(pointer, length) {
            return decoder.decode(page.module.HEAPU8.subarray(pointer, pointer + length));
        },
        // The clock's texts with plain spaces, as Windows writes its times and dates.
        clockText(text) { return page.utf8(text.replace(/[\u00a0\u202f]/g, " ")); },
    });
})(window.ambrevoPage);
