// Dialog answers for the editor window in tests: file choices and question
// answers come from a script, messages are recorded; the Option dialog is the
// real widget (drive it with a ModalDriver).
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "support/ScriptedAnswers.h"
#include "ui/DialogService.h"
#include "ui/OptionDialog.h"
#include "ui/WeightToolDialog.h"

namespace posewright {

class ScriptedDialogs final : public DialogService {
 public:
  std::deque<std::optional<FileChoice>> files;
  std::deque<bool> answers;
  std::vector<FileDialogRequest> fileRequests;
  /// "caption: text" of every message box.
  std::vector<std::string> messages;
  std::vector<std::string> details;
  std::unique_ptr<OptionDialog> options;
  std::unique_ptr<WeightToolDialog> weightTool;

  void answerFile(const std::string& path, int filter = 1) { files.push_back(FileChoice{path, filter}); }
  void cancelFile() { files.push_back(std::nullopt); }

  std::optional<FileChoice> chooseFile(const FileDialogRequest& request) override {
    fileRequests.push_back(request);
    if (files.empty()) {
      ADD_FAILURE() << "unexpected file dialog " << request.filters.front().description;
      return std::nullopt;
    }
    std::optional<FileChoice> answer = files.front();
    files.pop_front();
    return answer;
  }
  void showMessage(const std::string& text, const std::string& caption, const std::string& detail) override {
    messages.push_back(caption + ": " + text);
    details.push_back(detail);
  }
  bool askOkCancel(const std::string& text, const std::string& caption) override {
    messages.push_back(caption + "? " + text);
    details.emplace_back();
    return NextAnswer(answers, text, false);
  }
  /// Answers to "Save changes?", in order.
  std::deque<SaveChangesAnswer> saveAnswers;
  SaveChangesAnswer askSaveChanges(const std::string& text, const std::string& detail) override {
    messages.push_back("Save? " + text);
    details.push_back(detail);
    return NextAnswer(saveAnswers, text, SaveChangesAnswer::Cancel);
  }
  OptionDialogView& optionDialog() override {
    if (!options) {
      options = std::make_unique<OptionDialog>(nullptr);
    }
    return *options;
  }
  WeightToolDialogView& weightToolDialog() override {
    if (!weightTool) {
      weightTool = std::make_unique<WeightToolDialog>(nullptr);
    }
    return *weightTool;
  }
};
}  // namespace posewright
