#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/application_icon.h"
#include "platform/clock.h"
#include "platform/debug_output.h"
#include "platform/dialogs.h"
#include "platform/shell_launcher.h"
#include "platform/sound_player.h"
#include "platform/version_info.h"
#include "platform/viewer_lookups.h"

namespace ambrevo::web {

class WebDisc;

// The browser's local time, in its locale's formats.
class WebClock : public Clock {
public:
    Date Today() override;
    std::string LongTimeText() override;
    std::string ShortDateText() override;
    std::uint32_t Seed() override;
};

// The browser's console.
class WebDebugOutput : public DebugOutput {
public:
    void Write(const std::string& text) override;
};

// In-page message boxes: the call waits, yielding to the browser, until the user closes it.
class WebDialogs : public Dialogs {
public:
    void ShowMessageBox(const std::string& text, MessageKind kind,
                        const std::string& title) override;
};

// Web Audio: clips from memory, sound files from the disc beside the menu.
class WebSoundPlayer : public SoundPlayer {
public:
    explicit WebSoundPlayer(const WebDisc& disc) : disc_(disc) {}
    void PlayFile(const std::string& path, bool wait) override;
    void PlayClip(const void* clip, bool wait) override;

private:
    const WebDisc& disc_;
};

// The built-in sounds, compiled into the player (web_builtin_sounds.cpp, made by the build).
class WebProgramResources : public ProgramResources {
public:
    const void* Load(const std::string& type, const std::string& name) override;
};

// Runs nothing: the page's launch panel shows what Windows would be asked.
class WebShellLauncher : public ShellLauncher {
public:
    explicit WebShellLauncher(WebDisc& disc) : disc_(disc) {}
    ShellResult Launch(const ShellRequest& request) override;

private:
    WebDisc& disc_;
};

// A browser has no file associations, Windows folder or version resources: every lookup
// answers "none", so the viewer checks find no viewer, as on a system without one.
class WebViewerLookups : public ViewerLookups {
public:
    std::string ExecutableFor(const std::string&, const std::string&) override { return {}; }
    std::string WindowsFolder() override { return {}; }
    std::string TemporaryFolder() override { return {}; }
    bool CreateNewFile(const std::string&, std::string_view) override { return false; }
    bool RemoveFile(const std::string&) override { return false; }
};

class WebVersionInfoReader : public VersionInfoReader {
public:
    std::optional<FileVersionInfo> Read(const std::string&) override { return std::nullopt; }
};

// The page keeps its own icon; an icon file beside the program changes nothing.
class WebApplicationIcon : public ApplicationIcon {
public:
    void LoadFromFile(const std::string&) override {}
};

// Runs the browser's events for a moment, so that the page stays alive during a wait.
void YieldToBrowser(int milliseconds);

}  // namespace ambrevo::web
