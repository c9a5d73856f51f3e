#include "standin/RoomLies.h"

#include <array>

#include "base/Text.h"

namespace tavlen::standin {

namespace {
constexpr std::array<std::string_view, static_cast<std::size_t>(Lie::kCount)> kNames = {
    "huge-length", "negative-length", "no-terminator", "huge-count",      "cycle",
    "unwritten-item", "wild-text",    "crowd",         "renaming-switch", "reborn"};
}  // namespace

std::string_view LieName(Lie lie) { return kNames.at(static_cast<std::size_t>(lie)); }

std::string LieNames() {
  std::string names;
  for (std::string_view name : kNames) {
    if (!names.empty()) names += ',';
    names += name;
  }
  return names;
}

std::string ParseLies(std::string_view list, RoomLies& lies) {
  RoomLies parsed = lies;
  std::size_t start = 0;
  bool any = false;
  while (start <= list.size()) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    const std::string word = TrimBlanks(list.substr(start, comma - start));
    start = comma + 1;
    if (word.empty()) continue;
    any = true;
    if (word == "all") {
      for (unsigned i = 0; i < static_cast<unsigned>(Lie::kCount); ++i) parsed.Add(static_cast<Lie>(i));
      continue;
    }
    bool known = false;
    for (unsigned i = 0; i < static_cast<unsigned>(Lie::kCount); ++i)
      if (kNames[i] == word) {
        parsed.Add(static_cast<Lie>(i));
        known = true;
      }
    if (!known) return "unknown lie: " + word;
  }
  if (!any) return "no lie named";
  lies = parsed;
  return {};
}

std::string_view SwitchCaption(const RoomLies& lies, std::uint64_t read) {
  return lies.Has(Lie::kRenamingSwitch) && read % 2 == 1 ? kRenamedSwitchCaption : "Hands Free";
}

std::string Unterminated(std::string_view text, std::size_t buffer) {
  std::string filled(text.substr(0, buffer));
  // No zero inside either: the text's own zeros would end it early.
  for (char& c : filled)
    if (c == '\0') c = '?';
  filled.resize(buffer, 'x');
  return filled;
}

}  // namespace tavlen::standin
