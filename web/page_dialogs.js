// The player's dialogs on the page: message boxes and popup menus, modal while they are
// open, and the panel that shows what Windows would have been asked to launch.
import { withoutMnemonics } from "./page_text.js";

// The host's calls for dialogs; the launch panel's close button is wired once they are made.
export function dialogCalls(page) {
    let menuChoice = -2;
    let launches = 0;   // since the launch panel was last closed
    let focusBefore = null;   // what had the page's focus when the dialog opened

    // The focus goes back where it was when the dialog closes, as Windows gives it back to
    // the control that had it: a screen reader then reads the item it left.
    function openModal(element) {
        focusBefore = document.activeElement;
        page.modal = element;
        document.body.append(element);
    }
    function closeModal() {
        if (page.modal) page.modal.remove();
        page.modal = null;
        if (focusBefore && focusBefore.isConnected) focusBefore.focus({ preventScroll: true });
        focusBefore = null;
    }

    // A popup menu's keys, as on Windows: the arrows move among the entries, wrapping,
    // Enter or Space chooses the focused one and Escape dismisses the menu. True when taken.
    function menuKey(popup, e) {
        const entries = [...popup.children];
        const at = entries.indexOf(document.activeElement);
        if (e.key === "ArrowDown" || e.key === "ArrowUp") {
            const step = e.key === "ArrowDown" ? 1 : entries.length - 1;
            entries[at < 0 ? 0 : (at + step) % entries.length].focus();
        } else if (e.key === "Enter" || e.key === " ") {
            if (at >= 0) entries[at].click();
        } else if (e.key === "Escape") {
            menuChoice = -1;
            closeModal();
        } else {
            return false;
        }
        return true;
    }

    const calls = {
        messageBox(text, title, kind) {
            const box = document.createElement("div");
            box.className = "modal";
            box.innerHTML = '<div class="dialog" role="alertdialog"><div class="caption"><span></span></div>' +
                '<div class="body"><span class="icon"></span><span class="text"></span></div>' +
                '<div class="buttons"><button type="button">OK</button></div></div>';
            box.querySelector(".caption span").textContent = title;
            box.querySelector(".icon").textContent = ["\u26a0\ufe0f", "\u26d4", "\u2139\ufe0f"][kind];
            box.querySelector(".text").textContent = text;
            const ok = box.querySelector("button");
            ok.addEventListener("click", closeModal);
            box.addEventListener("keydown", (e) => {
                if (e.key === "Escape" || e.key === "Enter") { e.stopPropagation(); closeModal(); }
            });
            openModal(box);
            ok.focus();
        },
        messageBoxOpen() { return page.modal !== null && page.modal.classList.contains("modal") ? 1 : 0; },
        menuShow(id, x, y, captions) {
            const box = page.forms.get(id).canvas.getBoundingClientRect();
            const cover = document.createElement("div");
            cover.className = "modal popup-cover";
            const popup = document.createElement("div");
            popup.className = "popup";
            popup.setAttribute("role", "menu");
            popup.style.left = (box.left + x) + "px";
            popup.style.top = (box.top + y) + "px";
            captions.forEach((caption, index) => {
                const entry = document.createElement("div");
                entry.textContent = withoutMnemonics(caption);
                entry.setAttribute("role", "menuitem");
                entry.tabIndex = -1;
                entry.addEventListener("click", (e) => {
                    e.stopPropagation();
                    menuChoice = index;
                    closeModal();
                });
                popup.append(entry);
            });
            cover.style.display = "block";
            cover.append(popup);
            cover.addEventListener("pointerdown", (e) => {
                if (e.target === cover) { menuChoice = -1; closeModal(); }
            });
            popup.addEventListener("keydown", (e) => {
                if (menuKey(popup, e)) { e.preventDefault(); e.stopPropagation(); }
            });
            menuChoice = -2;
            openModal(cover);
            popup.firstChild.focus();
        },
        menuChoice() { return menuChoice; },
        // The latest request, and how many came since the panel opened.
        launchShown(request) {
            document.getElementById("launch-verb").textContent = request.verb || "(default)";
            document.getElementById("launch-file").textContent = request.file;
            document.getElementById("launch-parameters").textContent = request.parameters;
            document.getElementById("launch-folder").textContent = request.folder;
            document.getElementById("launch-exists").textContent = request.exists ? "yes" : "no";
            document.getElementById("launch-count").textContent = String(++launches);
            document.getElementById("launch").hidden = false;
        },
    };

    document.getElementById("launch-close").addEventListener("click", () => {
        document.getElementById("launch").hidden = true;
        launches = 0;
    });
    return calls;
}
