// The start page: a new disc from a template, a recent disc, or a disc's folder chosen in
// the tool's folder chooser; each opens the designer on that folder.
import { createStartClient } from "./start/start_client.js";
import {
    chosenTemplate, showFailure, showFolders, showRecent, showTemplates,
} from "./start/start_views.js";

// The tool ends some time after its last page stops asking it anything; an open page asks
// now and then, so that it does not.
const STILL_HERE_MS = 10000;

function pathJoin(folder, name) {
    const separator = folder.includes("\\") && !folder.includes("/") ? "\\" : "/";
    return folder.endsWith(separator) ? folder + name : folder + separator + name;
}

async function start() {
    const token = new URLSearchParams(location.search).get("token") || "";
    const byId = (id) => document.getElementById(id);
    const state = { client: createStartClient(token), listing: null };
    const failure = byId("failure");
    const folderView = { path: byId("browse-path"), up: byId("browse-up"), list: byId("folders") };

    async function attempt(action) {
        try {
            showFailure(failure, null);
            await action();
        } catch (error) {
            showFailure(failure, error);
        }
    }
    async function opened(answer) {
        location.assign(answer.address);
    }
    const open = (folder) => attempt(async () => opened(await state.client.openDisc(folder)));
    async function browse(path) {
        state.listing = await state.client.folders(path);
        showFolders(folderView, state.listing,
                    (name) => attempt(() => browse(pathJoin(state.listing.path, name))));
    }

    byId("new-make").addEventListener("click", () => attempt(async () => {
        opened(await state.client.makeDisc(chosenTemplate(byId("templates")),
                                           byId("new-folder").value.trim()));
    }));
    folderView.up.addEventListener("click",
                                   () => attempt(() => browse(state.listing.parent)));
    byId("browse-open").addEventListener("click", () => state.listing && open(state.listing.path));
    setInterval(() => state.client.places().catch(() => {}), STILL_HERE_MS);
    // The buttons answer from here on; what they use is shown as it comes.
    await attempt(async () => {
        const [templates, places, recent] = await Promise.all([
            state.client.templates(), state.client.places(), state.client.recent()]);
        showTemplates(byId("templates"), templates, state.client.templatePicture);
        byId("new-where").textContent = "Names without a folder go in " + places.documents;
        showRecent(byId("recent"), recent, open);
        await browse("");
    });
}

start();
