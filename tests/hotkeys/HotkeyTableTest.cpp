#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Files.h"
#include "base/Text.h"
#include "hotkeys/HotkeyTable.h"
#include "platform/sim/SimHotkeys.h"

namespace tavlen {
namespace {

using Lines = std::vector<std::string>;

// A ¤ between fields, as the file holds it.
std::string Line(std::string_view key, std::string_view action) {
  return std::string(key) + "\xA4" + std::string(action);
}

TEST(HotkeyTable, SlotsAreNumberedFromOne) {
  HotkeyTable table;
  table.Slot(1).KeyText = "F1";
  table.Slot(100).KeyText = "F2";
  EXPECT_EQ(table.Slot(1).KeyText, "F1");
  EXPECT_EQ(table.Slot(100).KeyText, "F2");
  EXPECT_THROW(table.Slot(0), std::out_of_range);
  EXPECT_THROW(table.Slot(101), std::out_of_range);
}

TEST(HotkeyTable, GethotactionTakesTheLastExactMatch) {
  HotkeyTable table;
  table.Slot(1) = {"Ctrl+F1", "TALK"};
  table.Slot(5) = {"Ctrl+F2", "C:\\a.wav"};
  table.Slot(9) = {"Ctrl+F2", "C:\\b.wav"};
  EXPECT_EQ(table.gethotaction("Ctrl+F1"), "TALK");
  EXPECT_EQ(table.gethotaction("Ctrl+F2"), "C:\\b.wav");
  EXPECT_EQ(table.gethotaction("ctrl+f1"), "");
  EXPECT_EQ(table.gethotaction("F9"), "");
}

TEST(HotkeyTable, ActionForHotKeyMatchesByValue) {
  sim::SimHotkeys api;
  KeyNames names(api);
  HotkeyTable table;
  table.Slot(1) = {"ctrl+alt+t", "TALK"};
  table.Slot(2) = {"Alt+Ctrl+B", "BLOCKMIC"};
  table.Slot(5) = {"F5", "C:\\a.wav"};
  table.Slot(6) = {"f5", "C:\\b.wav"};
  table.Slot(7) = {"not a key", "C:\\c.wav"};
  EXPECT_EQ(ActionForHotKey(table, names, 0xC054), "TALK");
  EXPECT_EQ(ActionForHotKey(table, names, 0xC042), "BLOCKMIC");
  EXPECT_EQ(ActionForHotKey(table, names, 0x74), "C:\\b.wav");
  EXPECT_EQ(ActionForHotKey(table, names, 0x75), "");
  EXPECT_EQ(ActionForHotKey(table, names, 0), "");  // a text that is no hotkey never matches
}

TEST(HotkeysFile, FieldRules) {
  HotkeyTable table;
  ReadHotkeys(table, Line("Ctrl+F1", "TALK") + "\r\n" +
                         "F5\r\n" +                                      // no separator
                         "\xA4" "C:\\jingle.wav\r\n" +                    // empty first field is lost
                         Line("F6", "C:\\son\xA4" "2.wav") + "\r\n" +    // path cut at the first ¤
                         "F7\xA4\xA4\xA4" "C:\\x.wav\r\n" +              // a run of separators is one
                         "\xA4\xA4\r\n" +                                // nothing in it
                         "\r\n" +
                         "F8\xA4" "C:\\y.wav");                          // last line without a break
  EXPECT_EQ(table.Slot(1).KeyText, "Ctrl+F1");
  EXPECT_EQ(table.Slot(1).Action, "TALK");
  EXPECT_EQ(table.Slot(5).KeyText, "F5");
  EXPECT_EQ(table.Slot(5).Action, "");
  EXPECT_EQ(table.Slot(6).KeyText, "C:\\jingle.wav");
  EXPECT_EQ(table.Slot(6).Action, "");
  EXPECT_EQ(table.Slot(7).Action, "C:\\son");
  EXPECT_EQ(table.Slot(8).KeyText, "F7");
  EXPECT_EQ(table.Slot(8).Action, "C:\\x.wav");
  EXPECT_EQ(table.Slot(9).KeyText, "F8");
  EXPECT_TRUE(table.Slot(10).Free());
  EXPECT_TRUE(table.Slot(2).Free());
}

TEST(HotkeysFile, FixedActionsGoToTheirSlots) {
  HotkeyTable table;
  // Written after TALK was left empty, then edited by hand into another order.
  ReadHotkeys(table, Line("F5", "C:\\a.wav") + "\r\n" + Line("Ctrl+M", "SRCMIX") + "\r\n" + Line("Ctrl+B", "BLOCKMIC") +
                         "\r\n" + Line("F6", "C:\\b.wav") + "\r\n" + Line("Ctrl+I", "SRCMIC") + "\r\n" +
                         Line("Ctrl+T", "talk") + "\r\n" + Line("Ctrl+Y", "BLOCKMIC") + "\r\n");
  EXPECT_TRUE(table.Slot(1).Free());
  EXPECT_EQ(table.Slot(2).KeyText, "Ctrl+B");
  EXPECT_EQ(table.Slot(3).KeyText, "Ctrl+I");
  EXPECT_EQ(table.Slot(4).KeyText, "Ctrl+M");
  EXPECT_EQ(table.Slot(5).Action, "C:\\a.wav");
  EXPECT_EQ(table.Slot(6).Action, "C:\\b.wav");
  // Action names are exact; a second line for a fixed action is kept among the others.
  EXPECT_EQ(table.Slot(7).KeyText, "Ctrl+T");
  EXPECT_EQ(table.Slot(8).KeyText, "Ctrl+Y");
  EXPECT_EQ(table.Slot(8).Action, "BLOCKMIC");
  EXPECT_TRUE(table.ExtraLines.empty());
  // Every line comes back on writing.
  EXPECT_EQ(HotkeyLines(table).size(), 7u);
}

TEST(HotkeysFile, SlotsNoLineReachesKeepTheirContent) {
  HotkeyTable table;
  table.Slot(1) = {"Ctrl+F1", "TALK"};
  table.Slot(50) = {"F9", "C:\\keep.wav"};
  ReadHotkeys(table, Line("F5", "C:\\a.wav") + "\r\n");
  EXPECT_EQ(table.Slot(1).KeyText, "Ctrl+F1");
  EXPECT_EQ(table.Slot(5).KeyText, "F5");
  EXPECT_EQ(table.Slot(50).Action, "C:\\keep.wav");
}

class HotkeysFileOnDisk : public ::testing::Test {
 protected:
  std::filesystem::path dir;
  std::string path;
  sim::SimHotkeys api;
  KeyNames names{api};
  THotKeyManager manager{api};
  std::vector<std::string> warnings;
  std::vector<HotKeyValue> added;

  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("tavlen_hotkeys_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    path = (dir / "hotkeys.ini").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  void Save(const HotkeyTable& table) {
    savehotkeys(
        table, manager, names, path,
        [this](HotKeyValue v) {
          added.push_back(v);
          AddHotKey(manager, names, v, [this](const std::string& t) { warnings.push_back(t); });
        },
        [this](const std::string& t) { warnings.push_back(t); });
  }
};

TEST_F(HotkeysFileOnDisk, SaveRegistersWarnsAndWritesInSlotOrder) {
  HotkeyTable table;
  table.Slot(1) = {"Ctrl+F1", "TALK"};
  table.Slot(2) = {"", "BLOCKMIC"};  // left empty: neither registered nor written
  table.Slot(3) = {"Ctrl+F3", "SRCMIC"};
  table.Slot(4) = {"Ctrl+F4", "SRCMIX"};
  table.Slot(5) = {"Ctrl+Foo", "C:\\sons\\a.wav"};
  table.Slot(7) = {"ctrl+f1", "C:\\sons\\b.wav"};
  table.Slot(9) = {"F9", "C:\\sons\\c.wav"};
  ASSERT_NE(manager.Register(0x41), 0);  // an older registration goes first

  Save(table);
  EXPECT_EQ(added, (std::vector<HotKeyValue>{0x4070, 0x4072, 0x4073, 0x4070, 0x78}));
  EXPECT_EQ(warnings, (std::vector<std::string>{"Ctrl+Foo doesn't appear to be a hotkey.",
                                                "Ctrl+F1 couldn't be assigned to a hotkey."}));
  EXPECT_FALSE(manager.IsRegistered(0x41));
  EXPECT_EQ(manager.Registered().size(), 4u);
  EXPECT_EQ(*ReadWholeFile(path), Line("Ctrl+F1", "TALK") + "\r\n" + Line("Ctrl+F3", "SRCMIC") + "\r\n" +
                                       Line("Ctrl+F4", "SRCMIX") + "\r\n" + Line("Ctrl+Foo", "C:\\sons\\a.wav") +
                                       "\r\n" + Line("ctrl+f1", "C:\\sons\\b.wav") + "\r\n" +
                                       Line("F9", "C:\\sons\\c.wav") + "\r\n");

  // The next start puts each entry in a slot of its kind; shortcuts close up from 5.
  HotkeyTable loaded;
  loadhotkeys(loaded, path);
  EXPECT_EQ(loaded.Slot(1).KeyText, "Ctrl+F1");
  EXPECT_TRUE(loaded.Slot(2).Free());
  EXPECT_EQ(loaded.Slot(3).Action, "SRCMIC");
  EXPECT_EQ(loaded.Slot(4).Action, "SRCMIX");
  EXPECT_EQ(loaded.Slot(5).KeyText, "Ctrl+Foo");
  EXPECT_EQ(loaded.Slot(6).KeyText, "ctrl+f1");
  EXPECT_EQ(loaded.Slot(7).KeyText, "F9");
  EXPECT_TRUE(loaded.Slot(8).Free());

  // Saving what was loaded writes the same bytes.
  const std::string first = *ReadWholeFile(path);
  Save(loaded);
  EXPECT_EQ(*ReadWholeFile(path), first);
}

TEST_F(HotkeysFileOnDisk, MissingFileLeavesTheTableEmpty) {
  HotkeyTable table;
  loadhotkeys(table, path);
  for (int n = 1; n <= HotkeyTable::kSlots; ++n) EXPECT_TRUE(table.Slot(n).Free());
  int calls = 0;
  RegisterAllHotkeys(table, names, [&](HotKeyValue) { ++calls; }, [&](const std::string&) { ++calls; });
  EXPECT_EQ(calls, 0);
}

TEST_F(HotkeysFileOnDisk, LinesBeyondTheTableAreKeptAndWrittenBack) {
  std::string bytes = Line("Ctrl+F1", "TALK") + "\r\n";
  for (int i = 0; i < 105; ++i) bytes += Line("Ctrl+Shift+F" + std::to_string(i), "C:\\s" + std::to_string(i) + ".wav") + "\r\n";
  WriteFileAtomic(path, bytes);

  HotkeyTable table;
  loadhotkeys(table, path);
  EXPECT_EQ(table.Slot(100).KeyText, "Ctrl+Shift+F95");
  ASSERT_EQ(table.ExtraLines.size(), 9u);
  EXPECT_EQ(table.ExtraLines.front(), Line("Ctrl+Shift+F96", "C:\\s96.wav"));

  Save(table);
  const std::string saved = *ReadWholeFile(path);
  EXPECT_EQ(SplitLinesAnyBreak(saved).size(), 106u);
  EXPECT_NE(saved.find(Line("Ctrl+Shift+F104", "C:\\s104.wav") + "\r\n"), std::string::npos);
  // Freeing slots lets the kept lines in at the next start.
  table.Slot(5) = {};
  table.Slot(6) = {};
  Save(table);
  HotkeyTable again;
  loadhotkeys(again, path);
  EXPECT_EQ(again.ExtraLines.size(), 7u);
  EXPECT_EQ(again.Slot(100).KeyText, "Ctrl+Shift+F97");
}

TEST(HotkeysKeys, PotentialKeysInRangeOrder) {
  sim::SimHotkeys api;
  KeyNames names(api);
  const auto keys = GetPotentialKeys(names);
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys[0].Name, "Backspace");
  EXPECT_EQ(keys[0].Key.Code, 8);
  EXPECT_EQ(keys[1].Name, "Tab");
  EXPECT_EQ(keys[2].Name, "Enter");
  EXPECT_EQ(keys[3].Key.Code, 20);  // Caps Lock: the modifiers and Pause are never offered
  EXPECT_EQ(keys.back().Name, "Start Application 2");
  std::vector<unsigned> codes;
  for (const auto& k : keys) {
    EXPECT_FALSE(k.Name.empty());
    EXPECT_FALSE(k.Key.Code >= 16 && k.Key.Code <= 19) << k.Name;
    EXPECT_FALSE(k.Key.Code >= 160 && k.Key.Code <= 165) << k.Name;
    codes.push_back(k.Key.Code);
  }
  // The punctuation range comes before the media keys, each key once.
  const auto semicolon = std::find(codes.begin(), codes.end(), 186u);
  const auto next_track = std::find(codes.begin(), codes.end(), 176u);
  ASSERT_NE(semicolon, codes.end());
  ASSERT_NE(next_track, codes.end());
  EXPECT_LT(semicolon, next_track);
  std::sort(codes.begin(), codes.end());
  EXPECT_EQ(std::adjacent_find(codes.begin(), codes.end()), codes.end());
}

}  // namespace
}  // namespace tavlen
