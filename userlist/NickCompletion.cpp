#include "userlist/NickCompletion.h"

#include <algorithm>

#include "base/Text.h"

namespace tavlen {

namespace {
bool StartsIgnoringCase(std::string_view text, std::string_view stem) {
  return text.size() >= stem.size() && EqualsIgnoreCase(text.substr(0, stem.size()), stem);
}
}  // namespace

void NickCompletion::Tick() {
  // The box holds our own line while it is submitted: nothing to complete, and
  // the read would cross into the room at every 10 ms of the submission.
  if (ctx_.Submitting()) return;
  // Taken for this watch and given back after it, so a watch nested in this one
  // reads into a buffer of its own.
  std::string text = std::move(reading_);
  controls_.ReadOtherWindowMemoText(ctx_.room.RoomWindowTitle, "Edit", 0, text);
  Capture(text);
  InputWasNonEmpty = !text.empty();
  Complete(text, WordViewAt(WordCount(text, kBlank), text, kBlank));
  reading_ = std::move(text);
}

void NickCompletion::Capture(const std::string& text) {
  // One word ending in a comma and one more character that appeared at once in
  // an empty box, not typed key by key.
  if (InputWasNonEmpty || WordCount(text, kBlank) != 1 || text.size() <= 1) return;
  if (Pos(",", text) != text.size() - 1) return;
  box_.SetText(text.substr(0, text.size() - 2));
  controls_.SetOtherWindowMemoText(ctx_.room.RoomWindowTitle, "", false, false);
}

void NickCompletion::Complete(const std::string& text, std::string_view last_word) {
  if (Pos("*", last_word) < 2 || Pos("(", last_word) > 0 || Pos(":", last_word) > 0) return;
  // Only a text that ends with the star word: anything typed after it within the
  // same tick would otherwise be cut into the nick.
  if (!text.ends_with(last_word)) return;
  const std::string prefix = text.substr(0, text.size() - last_word.size());
  const std::string stem(last_word.substr(0, last_word.size() - 1));
  if (LastCompletion != text) CompletionIndex = -1;
  std::string match;
  if (CompletionIndex == -1) {
    CompletionCandidates.clear();
    for (int i = 0; i < user_list_.Count(); ++i)
      if (StartsIgnoringCase(user_list_.Item(i), stem)) CompletionCandidates.push_back(user_list_.Item(i));
    if (!CompletionCandidates.empty()) {
      std::stable_sort(CompletionCandidates.begin(), CompletionCandidates.end(),
                       [this](const std::string& a, const std::string& b) { return user_list_.Compare(a, b) < 0; });
      match = CompletionCandidates.front();
      CompletionIndex = 0;
    }
  } else {
    if (++CompletionIndex >= static_cast<int>(CompletionCandidates.size())) CompletionIndex = 0;
    match = CompletionCandidates.at(static_cast<std::size_t>(CompletionIndex));
  }
  controls_.SetOtherWindowMemoText(ctx_.room.RoomWindowTitle, prefix + match, false, false);
  LastCompletion = prefix + match + "*";
}

}  // namespace tavlen
