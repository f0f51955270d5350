// The start page's views: they build DOM from what the tool answered, and only DOM.

export function element(tag, properties, ...children) {
    const made = Object.assign(document.createElement(tag), properties);
    made.append(...children);
    return made;
}

// One choice per template, the first chosen, each with a picture of its menu once
// picture(name) gives its address (a card without one still chooses).
export function showTemplates(list, templates, picture) {
    list.replaceChildren(...templates.map((template, index) => {
        const shown = element("img", { alt: "", className: "template-picture" });
        picture(template.name).then((address) => { shown.src = address; }, () => shown.remove());
        return element("label", {},
            shown,
            element("input", { type: "radio", name: "template", value: template.name,
                               checked: index === 0 }),
            " ", element("b", { textContent: template.title }),
            element("span", { textContent: template.description }));
    }));
}

export function chosenTemplate(list) {
    const chosen = list.querySelector("input[name=template]:checked");
    return chosen ? chosen.value : "";
}

// The recent discs, each a button that opens it.
export function showRecent(list, discs, open) {
    if (discs.length === 0) {
        list.replaceChildren(element("li", { textContent: "None yet." }));
        return;
    }
    list.replaceChildren(...discs.map((disc) => element("li", {},
        element("button", { type: "button", onclick: () => open(disc.folder) },
            disc.name, element("small", { textContent: disc.folder })))));
}

// The folder being browsed and the folders in it, each a button that goes into it.
export function showFolders(view, listing, enter) {
    view.path.textContent = listing.path + (listing.disc ? "  (a disc: it holds package.toml)" : "");
    view.up.disabled = listing.parent === null;
    view.list.replaceChildren(...listing.folders.map((name) => element("li", {},
        element("button", { type: "button", onclick: () => enter(name) }, name))));
}

export function showFailure(box, error) {
    box.textContent = error ? String(error.message || error) : "";
    box.hidden = !error;
}
