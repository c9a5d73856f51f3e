#include "moderation/MessageCatalogue.h"

#include <stdexcept>

#include "base/Files.h"
#include "base/Text.h"

namespace tavlen {

namespace {
constexpr char kSeparator = '\xA4';

void CheckSlot(int k) {
  if (k < 0 || k >= MessageCatalogue::kSlots)
    throw std::out_of_range("catalogue slot out of range (" + std::to_string(k) + ")");
}
}  // namespace

std::string StorableField(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    out += (c == '\r' || c == '\n' || c == kSeparator) ? ' ' : c;
  }
  return out;
}

MessageCatalogue::MessageCatalogue(std::string path) : path_(std::move(path)) {}

CatalogueEntry& MessageCatalogue::Slot(int k) {
  CheckSlot(k);
  return slots_[static_cast<std::size_t>(k)];
}

const CatalogueEntry& MessageCatalogue::Slot(int k) const {
  CheckSlot(k);
  return slots_[static_cast<std::size_t>(k)];
}

std::optional<int> MessageCatalogue::FirstFreeSlot() const {
  for (int k = 0; k < kSlots; ++k)
    if (slots_[static_cast<std::size_t>(k)].Free()) return k;
  return std::nullopt;
}

CatalogueEntry MessageCatalogue::ParseLine(std::string_view line) {
  return CatalogueEntry{WordAt(1, line, kCurrency), WordAt(2, line, kCurrency), WordAt(3, line, kCurrency),
                        WordAt(4, line, kCurrency)};
}

std::string MessageCatalogue::FormatLine(const CatalogueEntry& e) {
  std::string line = StorableField(e.Category);
  for (const std::string* field : {&e.ShortcutName, &e.MessageText, &e.QuickFlag}) {
    line += kSeparator;
    line += StorableField(*field);
  }
  return line;
}

void MessageCatalogue::LoadMessageCatalogue() {
  if (!FileExists(path_)) return;
  const std::optional<std::string> bytes = ReadWholeFile(path_);
  if (!bytes) return;
  const std::vector<std::string> lines = SplitLinesAnyBreak(*bytes);
  slots_.fill(CatalogueEntry{});
  extra_lines_.clear();
  // Lines are read whole, however long: a cut would lose the end of the message
  // and the quick flag of an entry the editor wrote.
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (k < slots_.size()) {
      slots_[k] = ParseLine(lines[k]);
    } else if (!ParseLine(lines[k]).Free()) {
      extra_lines_.push_back(lines[k]);
    }
  }
}

void MessageCatalogue::SaveMessageCatalogue() const {
  std::vector<std::string> lines;
  for (const CatalogueEntry& e : slots_)
    if (!e.Free()) lines.push_back(FormatLine(e));
  lines.insert(lines.end(), extra_lines_.begin(), extra_lines_.end());
  WriteFileAtomic(path_, JoinLinesCrLf(lines));
}

}  // namespace tavlen
