// The message catalogue: 501 slots of ready-made messages and reasons, stored in
// messages.ini one entry per line, four fields separated by the byte 0xA4.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavlen {

inline constexpr const char* kQuickFlagPopup = "popup";
inline constexpr const char* kQuickFlagNormal = "normal";
inline constexpr const char* kMessagesFile = "messages.ini";

struct CatalogueEntry {
  std::string Category;      // empty: the slot is free
  std::string ShortcutName;
  std::string MessageText;   // may hold "$nick" and "$room"
  std::string QuickFlag;     // exactly "popup" puts the entry into the quick menu

  bool Free() const { return Category.empty(); }
  bool Quick() const { return QuickFlag == kQuickFlagPopup; }
  friend bool operator==(const CatalogueEntry&, const CatalogueEntry&) = default;
};

class MessageCatalogue {
 public:
  static constexpr int kSlots = 501;

  // `path`: the file the catalogue is loaded from and saved to.
  explicit MessageCatalogue(std::string path);

  // Throw std::out_of_range outside 0..500.
  CatalogueEntry& Slot(int k);
  const CatalogueEntry& Slot(int k) const;
  std::optional<int> FirstFreeSlot() const;

  // Replaces the store with the file; a missing or unreadable file changes nothing.
  void LoadMessageCatalogue();
  // Writes every used slot in slot order, then the lines kept from past the last
  // slot. Throws when the file cannot be written; the old file then stays intact.
  void SaveMessageCatalogue() const;

  // Lines read beyond the 501st that hold an entry: the store has no slot for
  // them, so they are kept as read and written back after the slots.
  const std::vector<std::string>& ExtraLines() const { return extra_lines_; }
  const std::string& Path() const { return path_; }

  // One line of the file: fields 1 to 4 by the 0xA4 word rules (adjacent
  // separators count as one, a fifth field is ignored).
  static CatalogueEntry ParseLine(std::string_view line);
  // The line written for an entry. A line break cannot live inside a line and
  // 0xA4 would split a field: each becomes one blank.
  static std::string FormatLine(const CatalogueEntry& entry);

 private:
  std::string path_;
  std::array<CatalogueEntry, kSlots> slots_;
  std::vector<std::string> extra_lines_;
};

// Line breaks (CR LF, CR, LF) and 0xA4 replaced by one blank each.
std::string StorableField(std::string_view text);

}  // namespace tavlen
