#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "pack/common/pack_error.h"
#include "pack/editor/edit_history.h"

namespace ambrevo::pack {

// A file that no longer holds what an edit found in it: saved by someone else meanwhile.
class FileChanged : public PackError {
public:
    explicit FileChanged(std::filesystem::path file)
        : PackError("the file has changed"), file_(std::move(file)) {}
    const std::filesystem::path& File() const { return file_; }

private:
    std::filesystem::path file_;
};

// The file's text, or none when there is no such file (a link counts as one).
std::optional<std::string> TextIfAny(const std::filesystem::path& file);

// How a step is written: made (an edit, or redo) or taken back (undo).
enum class StepWay { Make, TakeBack };

// Writes the step, each file only while it holds what the step expects of it: the text
// before when made, the text after when taken back. The files are looked at once before
// anything is written and again right before each new text takes a file's place;
// `beforeCheck`, when given, runs just before that second look (a test saves a file
// there). A file the step created is removed when taken back only while it holds the
// step's text, and kept otherwise. When a file cannot be written or has changed, those
// already written get their earlier texts back and the failure (FileChanged or PackError)
// passes on.
void WriteStep(const EditStep& step, StepWay way, const std::function<void()>& beforeCheck);

}  // namespace ambrevo::pack
