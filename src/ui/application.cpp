#include "ui/application.h"

#include <algorithm>
#include <utility>

#include "support/messages.h"

namespace ambrevo::ui {

Application::Application(Widgetset& widgetset, Dialogs& dialogs)
    : widgetset_(widgetset), dialogs_(dialogs) {}

Application::~Application() {
    // Forms go before the controls they retired, and both before the widgetset.
    forms_.clear();
    retiredForms_.clear();
    retiredControls_.clear();
}

void Application::SetTitle(const std::string& title) {
    if (title == title_) return;
    title_ = title;
    widgetset_.SetApplicationTitle(title_);
}

Form& Application::CreateForm(std::string name, FormStyle style) {
    forms_.push_back(std::make_unique<Form>(*this, std::move(name), style));
    return *forms_.back();
}

void Application::DestroyForm(Form& form) {
    const auto found = std::find_if(forms_.begin(), forms_.end(),
                                    [&](const auto& owned) { return owned.get() == &form; });
    if (found == forms_.end()) return;
    std::unique_ptr<Form> owned = std::move(*found);
    forms_.erase(found);
    owned->SetVisible(false);
    if (dispatchDepth_ > 0) {
        retiredForms_.push_back(std::move(owned));
    }
}

void Application::ProcessMessages() { widgetset_.ProcessMessages(); }

void Application::Run() {
    if (!terminated_) widgetset_.RunMessageLoop();
}

void Application::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    widgetset_.Quit();
}

void Application::Minimize() { widgetset_.MinimizeApplication(); }
void Application::Restore() { widgetset_.RestoreApplication(); }

void Application::ReportError(const std::string& text) {
    ambrevo::ReportError(dialogs_, title_, text);
}

void Application::ReportErrorSafely(const std::string& text) noexcept {
    try {
        ReportError(text);
    } catch (...) {
        // The report itself failed (no memory for a box): nothing more can be shown.
    }
}

void Application::Retire(std::unique_ptr<Control> control) {
    if (dispatchDepth_ > 0) retiredControls_.push_back(std::move(control));
}

void Application::ReleaseDestroyed() noexcept {
    retiredControls_.clear();
    retiredForms_.clear();
}

}  // namespace ambrevo::ui
