#include "backends/web/widgetset/web_form_accessibility.h"

#include "backends/web/bridge/web_host.h"
#include "support/json_string.h"
#include "ui/application.h"

namespace ambrevo::web {
namespace {

const char* Flag(bool value) { return value ? "true" : "false"; }

std::string ElementJson(const ui::AccessibleElement& element) {
    const ui::Rect& at = element.bounds;
    return "{\"name\":" + JsonString(element.name) +
           ",\"button\":" + Flag(element.role == ui::AccessibleRole::PushButton) +
           ",\"focusable\":" + Flag(element.focusable) +
           ",\"unavailable\":" + Flag(element.unavailable) +
           ",\"shortcut\":" + JsonString(element.shortcut) +
           ",\"description\":" + JsonString(element.description) + ",\"bounds\":[" +
           std::to_string(at.left) + "," + std::to_string(at.top) + "," + std::to_string(at.width) +
           "," + std::to_string(at.height) + "]}";
}

// The list as the page reads it: JSON with the generation, the form's name and, in tab
// order, each element's name, whether it is a push button, focusable and unavailable, its
// shortcut, description and bounds [left, top, width, height] in the client area.
std::string AccessibleElementsJson(const ui::AccessibleElements* elements, int generation) {
    std::string json = "{\"generation\":" + std::to_string(generation) +
                       ",\"name\":" + JsonString(elements ? elements->Name() : "") + ",\"items\":[";
    const int count = elements ? elements->Count() : 0;
    for (int element = 1; element <= count; ++element) {
        if (element > 1) json += ",";
        json += ElementJson(elements->Element(element));
    }
    return json + "]}";
}

}  // namespace

void WebFormAccessibility::Notify(ui::AccessibleEvent event, int element) {
    if (event == ui::AccessibleEvent::FocusMoved) {
        ambrevo_host_form_accessible_focus(formId_, element);
        return;
    }
    ++generation_;
    SendIfChanged();
}

// Focus and hover are left out of the list: focus moves go on their own, and the pointer's
// moves change nothing a screen reader is told of the elements. A form that never had
// elements (the About window) sends nothing.
void WebFormAccessibility::SendIfChanged() {
    if (sent_.empty() && !form_.Accessible()) return;
    const std::string json = AccessibleElementsJson(form_.Accessible(), generation_);
    if (json == sent_) return;
    sent_ = json;
    ambrevo_host_form_accessible(formId_, json.data(), json.size());
}

ui::AccessibleElements* WebFormAccessibility::ElementsFor(int element, int generation) const {
    ui::AccessibleElements* elements = form_.Accessible();
    if (!elements || generation != generation_ || element < 1 || element > elements->Count()) {
        return nullptr;
    }
    return elements;
}

void WebFormAccessibility::Focus(int element, int generation) {
    if (ui::AccessibleElements* elements = ElementsFor(element, generation)) {
        form_.App().Dispatch([&] { elements->Focus(element); });
    }
}

void WebFormAccessibility::Press(int element, int generation) {
    if (ui::AccessibleElements* elements = ElementsFor(element, generation)) {
        form_.App().Dispatch([&] { elements->Press(element); });
    }
}

}  // namespace ambrevo::web
