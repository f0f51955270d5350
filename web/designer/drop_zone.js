// Files dragged from the desktop onto `zone`: outlined while a drag carrying files is over
// it, and dropped(files, event) once they are let go, while active() holds. Files let go
// anywhere else on the page are taken too, so that the browser never leaves the page to
// open them; they are refused there (the pointer shows it).
const carriesFiles = (e) => !!e.dataTransfer && [...e.dataTransfer.types].includes("Files");

export function createDropZone(zone, active, dropped) {
    let depth = 0;   // dragenter minus dragleave: the zone's children pass the drag along
    const outline = (on) => zone.classList.toggle("editor-drop-target", on);

    zone.addEventListener("dragenter", (e) => {
        if (!carriesFiles(e) || !active()) return;
        ++depth;
        outline(true);
    });
    zone.addEventListener("dragleave", (e) => {
        if (!carriesFiles(e) || depth === 0) return;
        if (--depth === 0) outline(false);
    });
    zone.addEventListener("dragover", (e) => {
        if (!carriesFiles(e) || !active()) return;
        e.preventDefault();
        e.dataTransfer.dropEffect = "copy";
    });
    zone.addEventListener("drop", (e) => {
        if (!carriesFiles(e)) return;
        e.preventDefault();
        depth = 0;
        outline(false);
        if (active()) dropped([...e.dataTransfer.files], e);
    });
    window.addEventListener("dragover", (e) => {
        if (!carriesFiles(e) || e.defaultPrevented) return;
        e.preventDefault();
        e.dataTransfer.dropEffect = "none";
    });
    window.addEventListener("drop", (e) => {
        if (carriesFiles(e)) e.preventDefault();
    });
}
