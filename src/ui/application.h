#pragma once

#include <memory>
#include <string>
#include <vector>

#include "services/dialogs.h"
#include "ui/control.h"
#include "ui/form.h"
#include "ui/widgetset.h"

namespace ambrevo::ui {

// The running program as the user interface sees it: its title (the task-bar text), its
// forms, the message loop and the general error report.
class Application {
public:
    Application(Widgetset& widgetset, Dialogs& dialogs);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Widgetset& Widgets() { return widgetset_; }

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    // The application owns its forms; a form is destroyed with DestroyForm or at the end.
    Form& CreateForm(std::string name, FormStyle style);
    void DestroyForm(Form& form);
    const std::vector<std::unique_ptr<Form>>& Forms() const { return forms_; }

    // Lets every waiting event run, nested inside the caller.
    void ProcessMessages();
    // Runs the message loop until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    void Minimize();
    void Restore();
    Size ScreenSize() { return widgetset_.ScreenSize(); }

    // The general error report: a stop box titled with the current title, showing the
    // text with a full stop added where it lacks one.
    void ReportError(const std::string& text);

    // Runs one event handler: counts the nesting, so that controls destroyed inside
    // live until the outermost event ends, and reports any error it raises instead of
    // letting it leave the event. Every widgetset calls handlers through this.
    template <typename F>
    void Dispatch(F&& handler) noexcept {
        ++dispatchDepth_;
        try {
            handler();
        } catch (const std::exception& error) {
            ReportErrorSafely(error.what());
        } catch (...) {
            ReportErrorSafely("Unexpected error");
        }
        if (--dispatchDepth_ == 0) ReleaseDestroyed();
    }

    // For forms: keeps a removed control or form alive while events are dispatched.
    void Retire(std::unique_ptr<Control> control);

private:
    void ReportErrorSafely(const std::string& text) noexcept;
    void ReleaseDestroyed() noexcept;

    Widgetset& widgetset_;
    Dialogs& dialogs_;
    std::string title_;
    bool terminated_ = false;
    int dispatchDepth_ = 0;
    std::vector<std::unique_ptr<Form>> forms_;
    std::vector<std::unique_ptr<Control>> retiredControls_;
    std::vector<std::unique_ptr<Form>> retiredForms_;
};

}  // namespace ambrevo::ui
