// What the player reads from the server of the page: the menu package with the list of
// the disc's files, and the disc's files themselves, each copied into the player's memory.
"use strict";

(function (page) {
    const { host, memory } = page;

    function bytesToHeap(bytes, sizePointer) {
        memory.setWord(sizePointer, bytes.length);
        return memory.newBytes(bytes);
    }

    page.discUrl = function (path) {
        return "disc/" + path.split("/").map(encodeURIComponent).join("/");
    };

    Object.assign(host, {
        async loadSite(sizePointer, filesPointer) {
            try {
                const response = await fetch("package.bin", { cache: "no-store" });
                if (!response.ok) throw new Error("package.bin: " + response.status + " " + response.statusText);
                const bytes = new Uint8Array(await response.arrayBuffer());
                let files = [];
                const listed = await fetch("files.json", { cache: "no-store" });
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
