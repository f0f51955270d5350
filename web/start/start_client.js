// The start page's client of the tool (docs/designer.md, "The start page"): every request
// carries the token of the page's address; a refusal becomes an Error with the tool's reason.
export function createStartClient(token) {
    const headers = { "X-Ambrevo-Token": token };

    async function answered(response) {
        const body = await response.json().catch(() => ({}));
        if (!response.ok) throw new Error(body.error || response.status + " " + response.statusText);
        return body;
    }
    async function read(path) {
        return answered(await fetch(path, { cache: "no-store", headers }));
    }
    async function post(path, body) {
        return answered(await fetch(path, {
            method: "POST",
            headers: { ...headers, "Content-Type": "application/json" },
            body: JSON.stringify(body),
        }));
    }

    return {
        templates: () => read("start/templates"),
        // The template's first menu as a picture: an address the page's img can show.
        async templatePicture(name) {
            const response = await fetch("start/templates/" + encodeURIComponent(name) + ".png",
                                         { headers });
            if (!response.ok) throw new Error(response.status + " " + response.statusText);
            return URL.createObjectURL(await response.blob());
        },
        places: () => read("start/places"),
        recent: () => read("start/recent"),
        folders: (path) => read("start/folders?path=" + encodeURIComponent(path || "")),
        // Each answers {folder, address}: the designer's page on the disc.
        makeDisc: (template, folder) => post("start/new", { template, folder }),
        openDisc: (folder) => post("start/open", { folder }),
    };
}
