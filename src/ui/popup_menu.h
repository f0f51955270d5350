#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ambrevo::ui {

// A context menu: shown by the widgetset on a right-button release over a control or
// form that carries it.
class PopupMenu {
public:
    struct Entry {
        std::string name;
        std::string caption;
        std::function<void()> onClick;
    };

    explicit PopupMenu(std::string name) : name_(std::move(name)) {}

    const std::string& Name() const { return name_; }
    const std::vector<Entry>& Entries() const { return entries_; }
    void AddEntry(std::string name, std::string caption, std::function<void()> onClick) {
        entries_.push_back({std::move(name), std::move(caption), std::move(onClick)});
    }
    // Fired by the widgetset when the user chooses entry index.
    void Choose(std::size_t index) const {
        if (index < entries_.size() && entries_[index].onClick) {
            const auto handler = entries_[index].onClick;
            handler();
        }
    }

private:
    std::string name_;
    std::vector<Entry> entries_;
};

}  // namespace ambrevo::ui
