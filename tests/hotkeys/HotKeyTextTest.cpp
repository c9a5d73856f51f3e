#include <gtest/gtest.h>

#include "base/Text.h"
#include "hotkeys/HotKeyManager.h"
#include "platform/sim/SimHotkeys.h"

namespace tavlen {
namespace {

class HotKeyText : public ::testing::Test {
 protected:
  sim::SimHotkeys api;
  KeyNames names{api};
  HotKeyValue Parse(std::string_view text) { return ParseHotKey(names, text); }
  std::string Format(HotKeyValue value) { return FormatHotKey(names, value); }
};

TEST_F(HotKeyText, ValueAndModifierFormsConvert) {
  EXPECT_EQ(MakeHotKey(hotkey_mod::kControl | hotkey_mod::kAlt, 0x70), 0xC070u);
  EXPECT_EQ(MakeHotKey(hotkey_mod::kShift, 0x41), 0x2041u);
  EXPECT_EQ(MakeHotKey(hotkey_mod::kWin, 0x41), 0x10041u);
  EXPECT_EQ(MakeHotKey(0, 0x41), 0x41u);
  for (unsigned mods = 0; mods < 16; ++mods) {
    std::uint16_t m = 0, k = 0;
    SplitHotKey(MakeHotKey(static_cast<std::uint16_t>(mods), 0xBA), m, k);
    EXPECT_EQ(m, mods);
    EXPECT_EQ(k, 0xBA);
  }
}

TEST_F(HotKeyText, EnglishLayoutNamesAndModifierNames) {
  EXPECT_EQ(names.Modifiers().Shift, "Shift");
  EXPECT_EQ(names.Modifiers().Ctrl, "Ctrl");
  EXPECT_EQ(names.Modifiers().Alt, "Alt");
  EXPECT_EQ(names.Modifiers().Win, "Win");
  EXPECT_EQ(Format(0xC070), "Ctrl+Alt+F1");
  EXPECT_EQ(Format(0x6041), "Ctrl+Shift+A");
  EXPECT_EQ(Format(0x1E041), "Ctrl+Shift+Alt+Win+A");
  EXPECT_EQ(Format(8), "Backspace");
  EXPECT_EQ(Format(13), "Enter");
  EXPECT_EQ(Format(32), "Space");
  EXPECT_EQ(Format(186), ";");
  // The navigation block reads its names with the extended flag; the keypad without.
  EXPECT_EQ(Format(33), "Page Up");
  EXPECT_EQ(Format(105), "Num 9");
  EXPECT_EQ(Format(46), "Delete");
  EXPECT_EQ(Format(110), "Num Del");
  EXPECT_EQ(Format(107), "Num +");
  // Keys without a name.
  EXPECT_EQ(Format(0), "");
  EXPECT_EQ(Format(7), "");
  EXPECT_EQ(Format(0x4000 | 7), "Ctrl+");
}

TEST_F(HotKeyText, MediaKeysTakeTheFixedEnglishNames) {
  EXPECT_EQ(api.MapVirtualKey(176), 0u);
  EXPECT_EQ(Format(166), "Browser Back");
  EXPECT_EQ(Format(176), "Next Track");
  EXPECT_EQ(Format(183), "Start Application 2");
  EXPECT_EQ(Format(0x4000 | 179), "Ctrl+Play/Pause Media");
  EXPECT_EQ(Parse("Next Track"), 176u);
  EXPECT_EQ(Parse("ctrl+next track"), 0x4000u | 176);
  EXPECT_EQ(Parse("Play/Pause Media"), 179u);
  // Just outside the media range, an unnamed key stays unnamed.
  EXPECT_EQ(Format(184), "");
}

TEST_F(HotKeyText, ParseEdgeCases) {
  EXPECT_EQ(Parse("Alt+Ctrl+F1"), 0xC070u);
  EXPECT_EQ(Parse("ctrl+alt+f1"), 0xC070u);
  EXPECT_EQ(Parse("Ctrl+Alt+F1"), 0xC070u);
  EXPECT_EQ(Parse("  Ctrl +  Alt+ F1 "), 0xC070u);
  EXPECT_EQ(Parse("a"), 0x41u);
  EXPECT_EQ(Parse("ctrl+a"), 0x4041u);
  EXPECT_EQ(Parse("7"), 0x37u);
  EXPECT_EQ(Parse("Ctrl++A"), 0x4041u);  // empty items are dropped
  EXPECT_EQ(Parse("Ctrl"), 0u);
  EXPECT_EQ(Parse("Ctrl+"), 0u);
  EXPECT_EQ(Parse("Ctrl+Alt"), 0u);
  // Only the exact modifier names count as "a modifier alone"; in another letter
  // case the name lookup finds the Ctrl key itself.
  EXPECT_EQ(Parse("ctrl"), 17u);
  EXPECT_EQ(Parse("Foo+A"), 0u);
  EXPECT_EQ(Parse("Ctrl+Foo+A"), 0u);
  EXPECT_EQ(Parse("Foo"), 0u);
  EXPECT_EQ(Parse(""), 0u);
  EXPECT_EQ(Parse("   "), 0u);
  EXPECT_EQ(Parse("+"), 0u);
  // The keypad plus key's name is cut by the split and put back.
  EXPECT_EQ(Parse("Ctrl+Num +"), 0x406Bu);
  EXPECT_EQ(Parse("Num +"), 0x6Bu);
  EXPECT_EQ(Parse("Num"), 0x6Bu);
  EXPECT_EQ(Parse("num +"), 0u);  // "num" is not put back
  EXPECT_EQ(Parse("Ctrl+Num -"), 0x406Du);
  EXPECT_EQ(Parse("Shift+Page Down"), 0x2022u);
  EXPECT_EQ(Parse("Right Shift"), 161u);
  EXPECT_EQ(Parse("Ctrl+;"), 0x40BAu);
}

TEST_F(HotKeyText, QuotationMarksProtectPlusSigns) {
  // A lone apostrophe is the key of that name.
  EXPECT_EQ(Parse("'"), 222u);
  EXPECT_EQ(Parse("Ctrl+'"), 0x40DEu);
  // An opened quote runs to the next mark of its kind (or the end) and keeps the
  // "+" inside the item, so these name no key.
  EXPECT_EQ(Parse("Ctrl+'+A"), 0u);
  EXPECT_EQ(Parse("Ctrl+\"A+B\""), 0u);
  EXPECT_EQ(Parse("\"Ctrl+A\""), 0u);
  // A quoted stretch inside a modifier item makes it a non-modifier.
  EXPECT_EQ(Parse("\"Ctrl\"+A"), 0u);
}

TEST_F(HotKeyText, FormatAndParseAreInverseForEveryNamedKey) {
  const ModifierNames& m = names.Modifiers();
  int named = 0;
  for (unsigned code = 8; code <= 255; ++code) {
    const std::string name = Format(code);
    if (name.empty()) continue;
    // A modifier key's name is not a key.
    if (name == m.Shift || name == m.Ctrl || name == m.Alt || name == m.Win) {
      EXPECT_EQ(Parse(name), 0u) << code;
      continue;
    }
    ++named;
    for (unsigned mods = 0; mods < 16; ++mods) {
      const HotKeyValue value = MakeHotKey(static_cast<std::uint16_t>(mods), static_cast<std::uint16_t>(code));
      const std::string text = Format(value);
      EXPECT_EQ(Parse(text), value) << code << " '" << text << "'";
      EXPECT_EQ(Parse(LowerAscii(text)), code == 107 ? 0 : value) << text;  // "num +" is case-sensitive
    }
  }
  // Every key of a US keyboard: letters, digits, F1-F24, keypad, navigation, punctuation, media.
  EXPECT_GE(named, 26 + 10 + 24 + 16 + 10 + 11 + 18);
}

// A layout that writes its key names in capitals.
class CapitalLayout : public sim::SimHotkeys {
 public:
  std::string GetKeyNameText(std::int32_t lparam) override { return UpperAscii(SimHotkeys::GetKeyNameText(lparam)); }
};

// A layout with X-style names (as Wine gives them).
class XStyleLayout : public sim::SimHotkeys {
 public:
  std::string GetKeyNameText(std::int32_t lparam) override {
    const std::string name = SimHotkeys::GetKeyNameText(lparam);
    if (name == "Ctrl") return "Control";
    if (name == "Backspace") return "BackSpace";
    return name;
  }
};

TEST(HotKeyLayouts, ModifierNamesFollowTheLayout) {
  CapitalLayout capitals;
  KeyNames caps(capitals);
  EXPECT_EQ(caps.Modifiers().Ctrl, "CTRL");
  EXPECT_EQ(caps.Modifiers().Alt, "ALT");
  EXPECT_EQ(caps.Modifiers().Win, "WIN");
  EXPECT_EQ(FormatHotKey(caps, 0x1C070), "CTRL+ALT+WIN+F1");
  EXPECT_EQ(ParseHotKey(caps, "CTRL+ALT+WIN+F1"), 0x1C070u);
  EXPECT_EQ(ParseHotKey(caps, "ctrl+alt+win+f1"), 0x1C070u);  // English accepted whatever the layout
  EXPECT_EQ(ParseHotKey(caps, "CTRL"), 0u);
  EXPECT_EQ(ParseHotKey(caps, "Ctrl+WIN"), 0u);

  XStyleLayout x;
  KeyNames xnames(x);
  EXPECT_EQ(xnames.Modifiers().Ctrl, "Control");
  EXPECT_EQ(xnames.Modifiers().Win, "Win");
  EXPECT_EQ(FormatHotKey(xnames, 0xC070), "Control+Alt+F1");
  EXPECT_EQ(ParseHotKey(xnames, "Control+Alt+F1"), 0xC070u);
  EXPECT_EQ(ParseHotKey(xnames, "Ctrl+Alt+F1"), 0xC070u);
  EXPECT_EQ(ParseHotKey(xnames, "Shift+Control"), 0u);
  EXPECT_EQ(ParseHotKey(xnames, "BackSpace"), 8u);
}

}  // namespace
}  // namespace tavlen
