// hotkeys.ini as a hand-edited file: every line finds a place (a slot of its kind or
// the kept lines), and the file the console writes reads back into the same table.
#include <algorithm>

#include "base/Files.h"
#include "base/Text.h"
#include "FuzzSupport.h"
#include "hotkeys/HotkeyTable.h"

using namespace tavlen;

namespace {

bool SameTable(const HotkeyTable& a, const HotkeyTable& b) {
  for (int n = 1; n <= HotkeyTable::kSlots; ++n)
    if (a.Slot(n).KeyText != b.Slot(n).KeyText || a.Slot(n).Action != b.Slot(n).Action) return false;
  return a.ExtraLines == b.ExtraLines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::AsText(data, size);
  const std::string path = fuzz::ScratchFile("hotkeys.ini", bytes);

  HotkeyTable first;
  loadhotkeys(first, path);

  // Nothing is lost: one place per line that holds an entry.
  std::size_t entries = 0;
  for (const std::string& line : SplitLinesAnyBreak(bytes))
    if (!WordAt(1, line, kCurrency).empty()) ++entries;
  std::size_t placed = first.ExtraLines.size();
  for (int n = 1; n <= HotkeyTable::kSlots; ++n) placed += first.Slot(n).Free() ? 0 : 1;
  FUZZ_CHECK(placed == entries);
  // Slots 1 to 4 hold only their own fixed action.
  for (int n = 1; n <= 4; ++n)
    FUZZ_CHECK(first.Slot(n).Free() || first.Slot(n).Action == kFixedHotkeyActions[n - 1]);
  // Sound shortcuts fill their slots from the first one, without gaps.
  int n = kFirstSoundSlot;
  while (n <= HotkeyTable::kSlots && !first.Slot(n).Free()) ++n;
  for (; n <= HotkeyTable::kSlots; ++n) FUZZ_CHECK(first.Slot(n).Free());

  const std::string saved = JoinLinesCrLf(HotkeyLines(first));
  WriteFileAtomic(path, saved);
  HotkeyTable second;
  loadhotkeys(second, path);
  FUZZ_CHECK(SameTable(first, second));
  FUZZ_CHECK(JoinLinesCrLf(HotkeyLines(second)) == saved);

  // The action lookup agrees with the table: the last slot with the text wins.
  const std::string probe = first.Slot(kFirstSoundSlot).KeyText;
  std::string expected;
  for (int k = 1; k <= HotkeyTable::kSlots; ++k)
    if (first.Slot(k).KeyText == probe) expected = first.Slot(k).Action;
  FUZZ_CHECK(first.gethotaction(probe) == expected);
  return 0;
}
