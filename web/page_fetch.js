// What the player reads from the server of the page: the menu package with the list of
// the disc's files, and the disc's files themselves, each copied into the player's memory.

// The disc's file at a path (with "/"), as the server of the page answers it.
export function discUrl(path) {
    return "disc/" + path.split("/").map(encodeURIComponent).join("/");
}

// The host's calls that load the package and the disc's files. The package is asked for as
// soon as they are made, while the player itself still loads. goodBuild() answers a promise
// of the tool's first good build (page_live_reload.js). With afterGoodBuild (the designer,
// whose folder may hold no menu yet) the package is asked for only after it, so that the
// page never asks for a package that cannot exist.
export function fetchCalls(memory, goodBuild, { afterGoodBuild = false } = {}) {

    function bytesToHeap(bytes, sizePointer) {
        memory.setWord(sizePointer, bytes.length);
        return memory.newBytes(bytes);
    }

    // The package's body is read from the moment it starts to arrive, so that its download
    // goes on at full speed while the player itself loads: each read is asked for as the one
    // before ends, and nextRead gives them in order, those already done first.
    function readingEarly(response) {
        if (!response.ok || !response.body) return response;
        const reader = response.body.getReader();
        const reads = [];
        const readOn = () => {
            const read = reader.read();
            reads.push(read);
            read.then(({ done }) => { if (!done) readOn(); }, () => {});
        };
        readOn();
        let next = 0;
        response.nextRead = () => reads[next++];
        return response;
    }

    // The package into the player's memory, part by part: those that arrived before the
    // player asked at once, the others as they come, so that copying 30 MB overlaps the
    // download rather than following it. Its length is the Content-Length of a body sent as
    // it is; any other is gathered whole first.
    async function packageIntoMemory(response, sizePointer) {
        if (!response.ok) throw new Error("package.bin: " + response.status + " " + response.statusText);
        if (!response.nextRead) return bytesToHeap(new Uint8Array(await response.arrayBuffer()), sizePointer);
        const parts = [];
        let length = response.headers.get("Content-Encoding")
            ? NaN : parseInt(response.headers.get("Content-Length"), 10);
        const gathered = !(length >= 0);
        if (gathered) {
            for (let read = await response.nextRead(); !read.done; read = await response.nextRead()) {
                parts.push(read.value);
            }
            length = parts.reduce((sum, part) => sum + part.length, 0);
        }
        const pointer = memory.newBlock(length);
        if (!pointer) throw new Error("package.bin: no memory for " + length + " bytes");
        let at = 0;
        const put = (part) => {
            if (at + part.length > length) throw new Error("package.bin: longer than its Content-Length");
            memory.bytes(pointer + at, part.length).set(part);
            at += part.length;
        };
        try {
            parts.forEach(put);
            while (!gathered) {
                const read = await response.nextRead();
                if (read.done) break;
                put(read.value);
            }
            if (at !== length) throw new Error("package.bin: shorter than its Content-Length");
        } catch (error) {
            memory.free(pointer);
            throw error;
        }
        memory.setWord(sizePointer, length);
        return pointer;
    }

    // The package is asked for as the page starts, while the player itself still loads and
    // compiles; the player's first request takes this answer, later ones ask again. Failures
    // are kept as values, so that none is reported before the player asks.
    function fetchSite() {
        const settle = (promise) => promise.then((value) => ({ value }), (error) => ({ error }));
        return {
            package: settle(fetch("package.bin", { cache: "no-store" }).then(readingEarly)),
            files: settle(fetch("files.json", { cache: "no-store" })),
        };
    }
    let early = afterGoodBuild ? goodBuild().then(fetchSite) : fetchSite();

    async function answer(settled) {
        const { value, error } = await settled;
        if (error) throw error;
        return value;
    }

    return {
        async loadSite(sizePointer, filesPointer) {
            const asked = early || fetchSite();
            early = null;
            let site = await asked;
            // The tool answers 503 until it has a good build (a source with an error): the
            // player waits for one rather than report a failure that the page already explains.
            const { value } = await site.package;
            if (value && value.status === 503) {
                await goodBuild();
                site = fetchSite();
            }
            try {
                const program = await packageIntoMemory(await answer(site.package), sizePointer);
                let files = [];
                try {
                    const listed = await answer(site.files);
                    if (listed.ok) files = (await listed.json()).files || [];
                } catch (error) {
                    memory.free(program);
                    throw error;
                }
                memory.setWord(filesPointer, memory.newText(files.join("\n")));
                return program;
            } catch (error) {
                memory.setWord(filesPointer, memory.newText(
                    "The menu package cannot be loaded (" + error.message + ")"));
                return 0;
            }
        },
        async fetchDiscFile(pointer, length, sizePointer) {
            try {
                const response = await fetch(discUrl(memory.text(pointer, length)));
                if (!response.ok) return 0;
                return bytesToHeap(new Uint8Array(await response.arrayBuffer()), sizePointer);
            } catch (error) {
                return 0;
            }
        },
    };
}
