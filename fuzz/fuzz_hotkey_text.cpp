// Hotkey texts as users type them and values as the system reports them, with the
// English layout of the simulated desktop: a text that parses names a key the
// layout can write again, and every written text parses back to its value.
#include "FuzzSupport.h"
#include "hotkeys/HotKeyManager.h"
#include "platform/sim/SimHotkeys.h"

using namespace tavlen;

namespace {

constexpr HotKeyValue kModifierBits =
    hotkey_bits::kShift | hotkey_bits::kCtrl | hotkey_bits::kAlt | hotkey_bits::kWin;

bool Named(const KeyNames& names, unsigned key) {
  // A bare code's name is its text without modifiers.
  return !FormatHotKey(names, key).empty();
}

// Shift, Ctrl and Alt (and their left and right keys) carry a modifier's name:
// as the last item of a text they are read as a modifier alone, never as a key.
bool NamedLikeAModifier(const KeyNames& names, unsigned key) {
  const std::string name = FormatHotKey(names, key);
  const ModifierNames& m = names.Modifiers();
  return name == m.Shift || name == m.Ctrl || name == m.Alt || name == m.Win;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static sim::SimHotkeys api;
  static const KeyNames names(api);
  fuzz::Input in(fuzz::AsText(data, size));
  const HotKeyValue raw = in.Byte() | (in.Byte() << 8) | (in.Byte() << 16) | (in.Byte() << 24);
  const std::string_view text = in.Rest();

  // Text → value → text → value.
  const HotKeyValue parsed = ParseHotKey(names, text);
  if (parsed != 0) {
    const unsigned key = parsed & 0xFF;
    FUZZ_CHECK((parsed & ~(kModifierBits | 0xFF)) == 0);
    FUZZ_CHECK(key != 0 && Named(names, key));
  }
  // A modifier's key typed in other letters ("ctrl") is read by name as that key;
  // written back it is the modifier alone.
  if (parsed != 0 && !NamedLikeAModifier(names, parsed & 0xFF)) {
    const std::string written = FormatHotKey(names, parsed);
    FUZZ_CHECK(ParseHotKey(names, written) == parsed);
    FUZZ_CHECK(FormatHotKey(names, ParseHotKey(names, written)) == written);
  }

  // Value → text → value, for what the system can report: modifiers and a key byte.
  const HotKeyValue value = raw & (kModifierBits | 0xFF);
  const std::string text_of_value = FormatHotKey(names, value);
  const unsigned key = value & 0xFF;
  if (key >= 8 && Named(names, key) && !NamedLikeAModifier(names, key)) {
    const HotKeyValue back = ParseHotKey(names, text_of_value);
    FUZZ_CHECK(back == value);
  }
  (void)FormatHotKey(names, raw);  // any 32 bits at all

  // Registration values and the system's split agree.
  std::uint16_t modifiers = 0, vk = 0;
  SplitHotKey(value, modifiers, vk);
  FUZZ_CHECK(MakeHotKey(modifiers, vk) == value);
  return 0;
}
