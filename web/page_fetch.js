// What the player reads from the server of the page: the menu package with the list of
// the disc's files, and the disc's files themselves, each copied into the player's memory.
"use strict";

(function (page) {
    const { host, memory } = page;

    function bytesToHeap(bytes, sizePointer) {
        memory.setWord(sizePointer, bytes.length);
        return memory.newBytes(bytes);
    }

    // The package is asked for as the page starts, while the player itself still loads and
    // compiles; the player's first request takes this answer, later ones ask again. Failures
    // are kept as values, so that none is reported before the player asks.
    function fetchSite() {
        const settle = (promise) => promise.then((value) => ({ value }), (error) => ({ error }));
        return {
            package: settle(fetch("package.bin", { cache: "no-store" })),
            files: settle(fetch("files.json", { cache: "no-store" })),
        };
    }
    let early = fetchSite();
    async function answer(settled) {
        const { value, error } = await settled;
        if (error) throw error;
        return value;
    }

    page.discUrl = function (path) {
        return "disc/" + path.split("/").map(encodeURIComponent).join("/");
    };

    Object.assign(host, {
        async loadSite(sizePointer, filesPointer) {
            const site = early || fetchSite();
            early = null;
            try {
                const response = await answer(site.package);
                if (!response.ok) throw new Error("package.bin: " + response.status + " " + response.statusText);
                const bytes = new Uint8Array(await response.arrayBuffer());
                let files = [];
                const listed = await answer(site.files);
                if (listed.ok) files = (await listed.json()).files || [];
                memory.setWord(filesPointer, memory.newText(files.join("\n")));
                return bytesToHeap(bytes, sizePointer);
            } catch (error) {
                memory.setWord(filesPointer, memory.newText(
                    "The menu package cannot be loaded (" + error.message + ")"));
                return 0;
            }
        },
        async fetchDiscFile(pointer, length, sizePointer) {
            try {
                const response = await fetch(page.discUrl(host.text(pointer, length)));
                if (!response.ok) return 0;
                return bytesToHeap(new Uint8Array(await response.arrayBuffer()), sizePointer);
            } catch (error) {
                return 0;
            }
        },
    });
})(window.ambrevoPage);
