// The codes of the input events the page queues for the player, as EventKind and the
// modifier bits of src/backends/web/widgetset/web_form.h number them.
export const EVENT = Object.freeze({
    mouseDown: 1,
    mouseMove: 2,
    mouseUp: 3,
    wheel: 4,
    keyDown: 5,
    keyPress: 6,
    close: 7,
    keyUp: 8,
    pointerCancel: 9,
    accessibleFocus: 10,
    accessiblePress: 11,
    repaint: 12,
});

export const MODIFIER = Object.freeze({ shift: 1, control: 2, alt: 4, repeated: 8 });
