#pragma once

#include <nlohmann/json.hpp>

#include "pack/editor/edit_request.h"

namespace ambrevo::pack {

// The edit the designer's page sends, checked once, as the session takes it:
// {"file", "version"?, "menu"?, "label"?, "item"?, and one of "set": {key: value or null},
// "add": {key: value}, "remove": n, "move": n with "to": m, "duplicate": n with "set"? (the
// copy's keys), "each": [{"item"?, "set"}]}; or {"undo": true, "file"?} or {"redo": true,
// "file"?}; or on the package file {"file", "version"?, "add_menu": {"file", "title"?,
// "background"?}}, "background" a picture's name or {"size": [w, h], "color": "#RRGGBB"}.
// Items are numbered from 1; a key "a.b" is the key b of the table a ("pictures.normal"),
// in "add" too. Throws PackError naming the field that is missing or of the wrong type, or
// the key whose value no menu source holds (null, a fraction):
// `Position ("position"): "Left" needs a whole number, not 1.5`.
EditRequest ParseEditRequest(const nlohmann::json& request);

}  // namespace ambrevo::pack
