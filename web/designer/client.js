// The designer's client of the tool's edit interface (docs/designer.md): reads the model
// and the pictures, sends edits made on the version of the file it knows, and keeps each
// file's version from the answers, a refusal's (409) as well, and stores pictures dropped
// in. Every request carries the token.
export function createClient(token) {
    const versions = new Map();   // file name: the version the page knows
    const headers = { "X-Ambrevo-Token": token };

    async function read(path) {
        const response = await fetch(path, { cache: "no-store", headers });
        if (!response.ok) {
            throw new Error(path + ": " + response.status + " " + response.statusText);
        }
        return response.json();
    }

    // A POST: {ok, status, reply, message}, message saying why it was refused. Refusals
    // made before the body is read come as plain text, the others as JSON.
    async function post(path, body, type = "application/json") {
        let response;
        try {
            response = await fetch(path, {
                method: "POST",
                headers: { ...headers, "Content-Type": type },
                body: type === "application/json" ? JSON.stringify(body) : body,
            });
        } catch (error) {
            return { ok: false, status: 0, reply: {},
                     message: "the designer's tool does not answer" };
        }
        const text = await response.text().catch(() => "");
        let reply;
        try {
            reply = JSON.parse(text);
        } catch (error) {
            reply = { error: text.trim() };
        }
        return { ok: response.ok, status: response.status, reply,
                 message: response.ok ? "" : reply.error || "refused: " + response.status };
    }

    return {
        async model() {
            const model = await read("model");
            versions.clear();
            for (const file of model.files) versions.set(file.name, file.version);
            return model;
        },
        // The source folder's PNG files, [{file, size}]; none when they cannot be listed.
        async pictures() {
            try {
                return (await read("pictures")).pictures;
            } catch (error) {
                return [];
            }
        },
        // The disc folder's files, as targets name them; none when they cannot be listed.
        async files() {
            try {
                return (await read("files.json")).files;
            } catch (error) {
                return [];
            }
        },
        // A picture file (a File or Blob with its name) stored in the source folder's
        // pictures/; answers {ok, reply: {file, size}, message}, message the tool's reason
        // for a refusal (bytes that are no picture, or too many of them).
        async storePicture(file) {
            return post("pictures?name=" + encodeURIComponent(file.name), file,
                        "application/octet-stream");
        },
        // What the tool builds: {iso}; everything when it cannot be asked.
        async buildOffers() {
            try {
                return await read("build");
            } catch (error) {
                return { iso: true };
            }
        },
        // Builds the disc (the build dialog's request); answers {ok, reply, status, message}.
        async build(request) {
            return post("build", request);
        },
        // One edit; answers {ok, reply, status, message}, message saying why it was refused.
        async edit(request) {
            const body = request.undo || request.redo
                ? request : { ...request, version: versions.get(request.file) };
            const answer = await post("edit", body);
            if (answer.reply.version && (answer.ok || answer.status === 409)) {
                versions.set(answer.ok ? answer.reply.file : request.file, answer.reply.version);
            }
            return answer;
        },
    };
}
