// What pictures dragged in from the desktop mean, pure: which of the files the tool can take
// (PNG and JPEG), and what a drop at a point of a menu of the tool's model does. Nothing
// here reads or changes the page.
import { itemAt } from "./geometry.js";

const PICTURE_NAME = /\.(png|jpe?g)$/i;
const PICTURE_TYPES = ["image/png", "image/jpeg"];

// The files ({name, type}) split into the pictures the tool stores and the others; a file
// counts as a picture by its type or, where the system gives none, by its name.
export function picturesAmong(files) {
    const isPicture = (file) =>
        file.type ? PICTURE_TYPES.includes(file.type) : PICTURE_NAME.test(file.name);
    return { pictures: files.filter(isPicture), others: files.filter((f) => !isPicture(f)) };
}

// What a picture dropped at point ([x, y] in the window) of menu becomes: {item: n} when it
// lands on an item that `takes` (an item that can show the picture set chosen),
// {background: true} on the window where no item lies, else {newItem: true}: on an item of
// another kind, or beside the window.
export function dropTarget(menu, point, takes) {
    const [x, y] = point;
    if (x < 0 || y < 0 || x >= menu.size[0] || y >= menu.size[1]) return { newItem: true };
    const n = itemAt(menu, x, y);
    if (!n) return { background: true };
    return takes(menu.items[n - 1]) ? { item: n } : { newItem: true };
}
