// Scripted dialogs: every message box is recorded; prompts and file choices are
// answered from queues (an empty queue answers Cancel).
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace tavlen::sim {

class SimDialogs : public Dialogs {
 public:
  struct Box {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::kNone;
  };
  struct Prompt {
    std::string caption;
    std::string prompt;
    std::string initial;
  };

  void ShowMessage(std::string_view text, std::string_view caption = {},
                   MessageIcon icon = MessageIcon::kNone) override;
  std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view initial) override;
  std::optional<std::string> OpenFile(std::string_view filter) override;

  // Queues the answer of the next prompt: a text is OK with that text, nullopt is Cancel.
  void Answer(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }
  void ChooseFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }

  const std::vector<Box>& Boxes() const { return boxes_; }
  std::vector<std::string> BoxTexts() const;
  const std::vector<Prompt>& Prompts() const { return prompts_; }
  const std::vector<std::string>& FileFilters() const { return filters_; }
  std::size_t PendingAnswers() const { return answers_.size(); }
  void Forget() { boxes_.clear(); prompts_.clear(); filters_.clear(); }
  // Runs inside every message box, as the modal loop would (for example to record order).
  std::function<void(const Box&)> OnBox;

 private:
  std::vector<Box> boxes_;
  std::vector<Prompt> prompts_;
  std::vector<std::string> filters_;
  std::deque<std::optional<std::string>> answers_;
  std::deque<std::optional<std::string>> files_;
};

}  // namespace tavlen::sim
