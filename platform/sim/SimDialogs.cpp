#include "platform/sim/SimDialogs.h"

namespace tavlen::sim {

void SimDialogs::ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) {
  boxes_.push_back(Box{std::string(text), std::string(caption), icon});
  if (OnBox) OnBox(boxes_.back());
}

std::string SimDialogs::InputBox(std::string_view caption, std::string_view prompt, std::string_view initial) {
  prompts_.push_back(Prompt{std::string(caption), std::string(prompt), std::string(initial)});
  if (answers_.empty()) return std::string(initial);
  auto answer = std::move(answers_.front());
  answers_.pop_front();
  return answer ? *answer : std::string(initial);
}

std::optional<std::string> SimDialogs::OpenFile(std::string_view filter) {
  filters_.emplace_back(filter);
  if (files_.empty()) return std::nullopt;
  auto choice = std::move(files_.front());
  files_.pop_front();
  return choice;
}

std::vector<std::string> SimDialogs::BoxTexts() const {
  std::vector<std::string> texts;
  for (const auto& b : boxes_) texts.push_back(b.text);
  return texts;
}

}  // namespace tavlen::sim
