// A yes-or-no question in the page's own dialog style (page.css ".modal .dialog"), over
// the menu and the designer's panel: Enter answers the focused button, Escape says no, Tab
// goes between the two.
export function askYesNo(title, question, yes = "Yes", no = "No") {
    return new Promise((answer) => {
        const before = document.activeElement;
        const box = document.createElement("div");
        box.className = "modal editor-question";
        box.innerHTML = '<div class="dialog" role="alertdialog" aria-modal="true">' +
            '<div class="caption"><span></span></div>' +
            '<div class="body"><span class="icon">\u2753</span><span class="text"></span></div>' +
            '<div class="buttons"><button type="button"></button> ' +
            '<button type="button"></button></div></div>';
        box.querySelector(".caption span").textContent = title;
        box.querySelector(".text").textContent = question;
        const dialog = box.querySelector(".dialog");
        dialog.setAttribute("aria-label", question);
        const [yesButton, noButton] = box.querySelectorAll("button");
        yesButton.textContent = yes;
        noButton.textContent = no;
        const close = (value) => {
            box.remove();
            if (before && before.isConnected) before.focus({ preventScroll: true });
            answer(value);
        };
        yesButton.addEventListener("click", () => close(true));
        noButton.addEventListener("click", () => close(false));
        // The question's keys never reach the menu under it.
        box.addEventListener("keyup", (e) => e.stopPropagation());
        box.addEventListener("keydown", (e) => {
            e.stopPropagation();
            if (e.key === "Escape") close(false);
            // Tab stays between the two buttons while the question is open.
            if (e.key === "Tab") {
                e.preventDefault();
                (document.activeElement === yesButton ? noButton : yesButton).focus();
            }
        });
        document.body.append(box);
        yesButton.focus();
    });
}
