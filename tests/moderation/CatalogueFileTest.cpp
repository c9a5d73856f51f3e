// messages.ini: loading over the store, saving with compaction, the field rules
// of the 0xA4 separator, long lines, lines past the last slot, the placeholders.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/Files.h"
#include "base/Text.h"
#include "moderation/MessageCatalogue.h"
#include "moderation/Placeholders.h"
#include "standin/sim/SimWorld.h"

namespace tavlen::testing {
namespace {

const std::string kSep = "\xA4";

class CatalogueFile : public ::testing::Test {
 protected:
  sim::SimWorld world;
  MessageCatalogue catalogue{world.file_path("messages.ini")};

  void Fill(int k, std::string category, std::string name, std::string text, std::string flag = "normal") {
    catalogue.Slot(k) = CatalogueEntry{std::move(category), std::move(name), std::move(text), std::move(flag)};
  }
  int UsedSlots() const {
    int used = 0;
    for (int k = 0; k < MessageCatalogue::kSlots; ++k) used += catalogue.Slot(k).Free() ? 0 : 1;
    return used;
  }
};

TEST_F(CatalogueFile, LoadReplacesAFullerStoreAndMissingFileKeepsIt) {
  for (int k = 0; k < 5; ++k) Fill(k, "MSG PUBLIC", "old" + std::to_string(k), "ancien");
  catalogue.LoadMessageCatalogue();  // no file yet: nothing changes
  EXPECT_EQ(UsedSlots(), 5);

  world.write_file("messages.ini", "MSG PUBLIC" + kSep + "a" + kSep + "A" + kSep + "normal\r\n" +
                                       "MSG INDIVIDUEL" + kSep + "b" + kSep + "B $nick" + kSep + "popup\r\n" +
                                       "AVERTIR/KICKER/PUNIR/BANNIR" + kSep + "c" + kSep + "C" + kSep + "normal");
  catalogue.LoadMessageCatalogue();
  EXPECT_EQ(catalogue.Slot(0), (CatalogueEntry{"MSG PUBLIC", "a", "A", "normal"}));
  EXPECT_EQ(catalogue.Slot(1), (CatalogueEntry{"MSG INDIVIDUEL", "b", "B $nick", "popup"}));
  // The last line has no line break and is read all the same.
  EXPECT_EQ(catalogue.Slot(2), (CatalogueEntry{"AVERTIR/KICKER/PUNIR/BANNIR", "c", "C", "normal"}));
  EXPECT_TRUE(catalogue.Slot(3).Free());
  EXPECT_TRUE(catalogue.Slot(4).Free());
  EXPECT_EQ(catalogue.Slot(3), CatalogueEntry{});
  EXPECT_EQ(UsedSlots(), 3);
}

TEST_F(CatalogueFile, LineBreaksBlankLinesAndCompaction) {
  // CR LF, lone LF and lone CR all end a line; the blank middle line is a free slot.
  world.write_file("messages.ini", "MSG PUBLIC" + kSep + "a" + kSep + "A" + kSep + "normal\r\n\r\n" + "MSG PUBLIC" +
                                       kSep + "b" + kSep + "B" + kSep + "normal\n" + "MSG PUBLIC" + kSep + "c" +
                                       kSep + "C" + kSep + "popup\r" + kSep + kSep + kSep + "\r\n");
  catalogue.LoadMessageCatalogue();
  EXPECT_EQ(catalogue.Slot(0).ShortcutName, "a");
  EXPECT_TRUE(catalogue.Slot(1).Free());
  EXPECT_EQ(catalogue.Slot(2).ShortcutName, "b");
  EXPECT_EQ(catalogue.Slot(3).ShortcutName, "c");
  EXPECT_TRUE(catalogue.Slot(4).Free());  // a line of separators only
  EXPECT_EQ(UsedSlots(), 3);

  catalogue.SaveMessageCatalogue();
  EXPECT_EQ(world.read_file("messages.ini"), "MSG PUBLIC" + kSep + "a" + kSep + "A" + kSep + "normal\r\n" +
                                                 "MSG PUBLIC" + kSep + "b" + kSep + "B" + kSep + "normal\r\n" +
                                                 "MSG PUBLIC" + kSep + "c" + kSep + "C" + kSep + "popup\r\n");
  catalogue.LoadMessageCatalogue();
  EXPECT_EQ(catalogue.Slot(1).ShortcutName, "b");
  EXPECT_EQ(catalogue.Slot(2).ShortcutName, "c");
}

TEST_F(CatalogueFile, SaveWritesUsedSlotsInOrderAndEmptyStoreGivesEmptyFile) {
  Fill(300, "MSG PUBLIC", "tard", "Bonsoir $room", "popup");
  Fill(7, "MSG INDIVIDUEL", "tot", "Salut $nick");
  catalogue.SaveMessageCatalogue();
  EXPECT_EQ(world.read_file("messages.ini"), "MSG INDIVIDUEL" + kSep + "tot" + kSep + "Salut $nick" + kSep +
                                                 "normal\r\n" + "MSG PUBLIC" + kSep + "tard" + kSep +
                                                 "Bonsoir $room" + kSep + "popup\r\n");
  // Empty fields are written as they are, with their separators.
  Fill(7, "MSG PUBLIC", "x", "y", "");
  Fill(300, "", "", "", "");
  catalogue.SaveMessageCatalogue();
  EXPECT_EQ(world.read_file("messages.ini"), "MSG PUBLIC" + kSep + "x" + kSep + "y" + kSep + "\r\n");

  Fill(7, "", "", "", "");
  catalogue.SaveMessageCatalogue();
  EXPECT_TRUE(world.has_file("messages.ini"));
  EXPECT_EQ(world.read_file("messages.ini"), "");
}

TEST_F(CatalogueFile, FieldRulesOfTheSeparator) {
  world.write_file("messages.ini", "MSG PUBLIC" + kSep + kSep + "Bonjour" + kSep + "normal\r\n" +       // empty name
                                       kSep + kSep + "MSG PUBLIC" + kSep + "n" + kSep + "t" + kSep + "popup\r\n" +
                                       "MSG PUBLIC" + kSep + "n" + kSep + "t" + kSep + "popup" + kSep + "extra\r\n" +
                                       "MSG PUBLIC" + kSep + "seul\r\n");
  catalogue.LoadMessageCatalogue();
  EXPECT_EQ(catalogue.Slot(0), (CatalogueEntry{"MSG PUBLIC", "Bonjour", "normal", ""}));
  EXPECT_FALSE(catalogue.Slot(0).Quick());
  EXPECT_EQ(catalogue.Slot(1), (CatalogueEntry{"MSG PUBLIC", "n", "t", "popup"}));  // leading separators skipped
  EXPECT_EQ(catalogue.Slot(2), (CatalogueEntry{"MSG PUBLIC", "n", "t", "popup"}));  // fifth field ignored
  EXPECT_EQ(catalogue.Slot(3), (CatalogueEntry{"MSG PUBLIC", "seul", "", ""}));
  EXPECT_TRUE(catalogue.Slot(1).Quick());
  EXPECT_FALSE((CatalogueEntry{"MSG PUBLIC", "n", "t", "POPUP"}.Quick()));
}

TEST_F(CatalogueFile, WhatIsSavedLoadsBackWhole) {
  // A message far longer than 4,096 characters keeps its end and its quick flag.
  const std::string long_text = std::string(5000, 'x') + " fin";
  Fill(0, "AVERTIR/KICKER/PUNIR/BANNIR", "long", long_text, "popup");
  // Line breaks and the separator cannot live in a line: each becomes one blank.
  Fill(1, "MSG PUBLIC", "deux" + kSep + "lignes", "un\r\ndeux\rtrois\nquatre", "normal");
  catalogue.SaveMessageCatalogue();
  EXPECT_EQ(SplitLinesAnyBreak(world.read_file("messages.ini")).size(), 2u);

  catalogue.Slot(0) = {};
  catalogue.Slot(1) = {};
  catalogue.LoadMessageCatalogue();
  EXPECT_EQ(catalogue.Slot(0).MessageText, long_text);
  EXPECT_TRUE(catalogue.Slot(0).Quick());
  EXPECT_EQ(catalogue.Slot(1), (CatalogueEntry{"MSG PUBLIC", "deux lignes", "un deux trois quatre", "normal"}));
  // The store itself keeps what the moderator typed until it is saved.
  EXPECT_EQ(StorableField("a\r\n\r\nb"), "a  b");
}

TEST_F(CatalogueFile, LinesPastTheLastSlotAreWrittenBack) {
  std::string file;
  for (int i = 0; i < 503; ++i) file += "MSG PUBLIC" + kSep + "m" + std::to_string(i) + kSep + "t" + kSep + "normal\r\n";
  file += "\r\n";  // a blank line past the end holds nothing
  file += "MSG PUBLIC" + kSep + "m503" + kSep + "t" + kSep + "popup" + kSep + "5e champ\r\n";
  world.write_file("messages.ini", file);
  catalogue.LoadMessageCatalogue();
  EXPECT_EQ(catalogue.Slot(500).ShortcutName, "m500");
  ASSERT_EQ(catalogue.ExtraLines().size(), 3u);
  EXPECT_FALSE(catalogue.FirstFreeSlot().has_value());

  // Opening and saving loses no entry: the lines come back after the slots, as read.
  catalogue.SaveMessageCatalogue();
  const auto lines = SplitLinesAnyBreak(world.read_file("messages.ini"));
  ASSERT_EQ(lines.size(), 504u);
  EXPECT_EQ(lines[501], "MSG PUBLIC" + kSep + "m501" + kSep + "t" + kSep + "normal");
  EXPECT_EQ(lines[503], "MSG PUBLIC" + kSep + "m503" + kSep + "t" + kSep + "popup" + kSep + "5e champ");

  // Once a slot is freed and saved, the next load gives the first kept line a slot.
  catalogue.Slot(0) = {};
  catalogue.SaveMessageCatalogue();
  catalogue.LoadMessageCatalogue();
  EXPECT_EQ(catalogue.Slot(0).ShortcutName, "m1");
  EXPECT_EQ(catalogue.Slot(500).ShortcutName, "m501");
  EXPECT_EQ(catalogue.ExtraLines().size(), 2u);
}

TEST_F(CatalogueFile, FailedSaveLeavesTheOldFileAndThrows) {
  world.write_file("messages.ini", "MSG PUBLIC" + kSep + "a" + kSep + "A" + kSep + "normal\r\n");
  catalogue.LoadMessageCatalogue();
  Fill(1, "MSG PUBLIC", "b", "B");
  // The temporary file cannot be created: a folder holds its name.
  std::filesystem::create_directory(world.file_path("messages.ini.tmp"));
  std::filesystem::create_directory(world.file_path("messages.ini.tmp") + "/x");
  EXPECT_ANY_THROW(catalogue.SaveMessageCatalogue());
  EXPECT_EQ(world.read_file("messages.ini"), "MSG PUBLIC" + kSep + "a" + kSep + "A" + kSep + "normal\r\n");
  EXPECT_EQ(catalogue.Slot(1).ShortcutName, "b");
}

TEST(Placeholders, BothOrdersAndExactMatches) {
  const std::string text = "Bienvenue $nick sur $room, $nick !";
  EXPECT_EQ(ExpandPlaceholders(text, PlaceholderOrder::kRoomThenNick, "bob", "salon"), "Bienvenue bob sur salon, bob !");
  EXPECT_EQ(ExpandPlaceholders(text, PlaceholderOrder::kNickThenRoom, "bob", "salon"), "Bienvenue bob sur salon, bob !");
  EXPECT_EQ(ExpandPlaceholders(text, PlaceholderOrder::kRoomOnly, "bob", "salon"), "Bienvenue $nick sur salon, $nick !");
  EXPECT_EQ(ExpandPlaceholders("$Room $NICK $roo", PlaceholderOrder::kRoomThenNick, "bob", "salon"), "$Room $NICK $roo");
  // The second replacement acts on what the first inserted; a value is never rescanned by its own replacement.
  EXPECT_EQ(ExpandPlaceholders("$nick", PlaceholderOrder::kNickThenRoom, "x$room", "salon"), "xsalon");
  EXPECT_EQ(ExpandPlaceholders("$nick", PlaceholderOrder::kRoomThenNick, "x$room", "salon"), "x$room");
  EXPECT_EQ(ExpandPlaceholders("$room$room", PlaceholderOrder::kRoomOnly, "", "$room"), "$room$room");
  EXPECT_EQ(ExpandPlaceholders("$$nicknick", PlaceholderOrder::kRoomThenNick, "$nick", "r"), "$$nicknick");
}

}  // namespace
}  // namespace tavlen::testing
