#pragma once

#include <string>

#include "ui/accessible.h"
#include "ui/form.h"

namespace ambrevo::web {

// A form's accessible elements as the page shows them to the browser's accessibility tree
// (web/page_access.js): the list goes to the page when the elements are replaced and
// again whenever what it says changes; focus moves go as they happen. Each replacement
// starts a new generation, which the page sends back with its requests, so that a request
// meant for a replaced menu is dropped.
class WebFormAccessibility {
public:
    WebFormAccessibility(int formId, ui::Form& form) : formId_(formId), form_(form) {}

    void Notify(ui::AccessibleEvent event, int element);
    // Sends the list when it differs from the one the page has.
    void SendIfChanged();
    // A request of the page: the element to focus or press, meant for the elements of that
    // generation. Elements that are gone, and numbers that name no element, change nothing.
    void Focus(int element, int generation);
    void Press(int element, int generation);

private:
    // The elements of this generation; null when the request is for others.
    ui::AccessibleElements* ElementsFor(int element, int generation) const;

    int formId_;
    ui::Form& form_;
    int generation_ = 0;
    std::string sent_;  // the list the page has, as sent
};

}  // namespace ambrevo::web
