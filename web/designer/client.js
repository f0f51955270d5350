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
            let response;
            try {
                response = await fetch("pictures?name=" + encodeURIComponent(file.name), {
                    method: "POST",
                    headers: { ...headers, "Content-Type": "application/octet-stream" },
                    body: file,
                });
            } catch (error) {
                return { ok: false, reply: {}, message: "the designer's tool does not answer" };
            }
            // Refusals before the body is read come as plain text, the others as JSON.
            const text = await response.text().catch(() => "");
            let reply = {};
            try {
                reply = JSON.parse(text);
            } catch (error) {
                reply = { error: text.trim() };
            }
            return { ok: response.ok, reply,
                     message: response.ok ? "" : reply.error || "refused: " + response.status };
        },
        // One edit; answers {ok, reply, status, message}, message saying why it was refused.
        async edit(request) {
            const body = request.undo || request.redo
                ? request : { ...request, version: versions.get(request.file) };
            let response;
            try {
                response = await fetch("edit", {
                    method: "POST",
                    headers: { ...headers, "Content-Type": "application/json" },
                    body: JSON.stringify(body),
                });
            } catch (error) {
                return { ok: false, status: 0, reply: {},
                         message: "the designer's tool does not answer" };
            }
            const reply = await response.json().catch(() => ({}));
            if (reply.version && (response.ok || response.status === 409)) {
                versions.set(response.ok ? reply.file : request.file, reply.version);
            }
            return { ok: response.ok, status: response.status, reply,
                     message: response.ok ? "" : reply.error || "refused: " + response.status };
        },
    };
}
