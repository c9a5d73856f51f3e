// Reading the client's user tree across processes and keeping both nick lists.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/Text.h"
#include "bridge/RemoteMemory.h"
#include "platform/TreeViewItem.h"
#include "standin/sim/SimRoom.h"
#include "tests/support/UserTreeFixture.h"
#include "userlist/TreeViewReader.h"

namespace tavlen::testing {

TEST(UserTree, HeadersAndPlaceholdersAreSkippedAndNicksSorted) {
  UserTreeFixture t;
  t.Room({"carl", "Bob", "alice"});
  t.tree->Add(t.hidden, "No users are visible");
  const Texts read = t.Read();
  EXPECT_EQ(read, (Texts{"Visible Users", "carl", "Bob", "alice", "Hidden Users", "No users are visible",
                         " Click name to view"}));
  EXPECT_EQ(t.Users(), (Texts{"alice", "Bob", "carl"}));
  EXPECT_EQ(t.Chooser(), t.Users());
  // Only the exact placeholder texts are skipped.
  t.Room({"Click name to view", "visible users"});
  t.Read();
  EXPECT_EQ(t.Users(), (Texts{"Click name to view", "visible users"}));
  EXPECT_TRUE(t.Clean());
}

TEST(UserTree, NickInOtherLetterCaseIsListedOnce) {
  UserTreeFixture t;
  t.Room({"Bob", "BOB", "bob", ansi("Élodie"), ansi("élodie"), "Bob"});
  t.Read();
  EXPECT_EQ(t.Users(), (Texts{"Bob", ansi("Élodie")}));
  EXPECT_EQ(t.Chooser(), t.Users());
  // Still there in other letters: kept as first listed.
  t.Room({"bob", ansi("ÉLODIE")});
  t.Read();
  EXPECT_EQ(t.Users(), (Texts{"Bob", ansi("Élodie")}));
}

TEST(UserTree, LeavingAndArrivingNicksFollowAtTheNextTickInBothLists) {
  UserTreeFixture t;
  t.Room({"Bob", "carl", "Dan"});
  t.Read();
  t.chooser_list.SetItemIndex(2);  // "Dan" picked in the chooser
  t.Room({"Dan", "aaron", "Carl", "Bea"});
  EXPECT_EQ(t.Users(), (Texts{"Bob", "carl", "Dan"}));  // not before the tick
  t.Read();
  EXPECT_EQ(t.Users(), (Texts{"aaron", "Bea", "carl", "Dan"}));
  EXPECT_EQ(t.Chooser(), t.Users());
  EXPECT_EQ(t.chooser_list.Item(t.chooser_list.ItemIndex()), "Dan");
  t.Room({});
  t.Read();
  EXPECT_TRUE(t.Users().empty());
  EXPECT_TRUE(t.Chooser().empty());
}

TEST(UserTree, CollapsedGroupsAreNotRead) {
  UserTreeFixture t;
  t.Room({"Bob"});
  for (const char* ghost : {"ghost1", "ghost2", "ghost3"}) t.tree->Add(t.hidden, ghost);
  t.tree->SetExpanded(t.hidden, false);
  const auto messages = t.tree->Messages();
  t.Read();
  EXPECT_EQ(t.Users(), Texts{"Bob"});
  // Count, root, then one request and one "next" per visible item: the walk
  // stops when the visible items run out, though the tree counts 7 items.
  EXPECT_EQ(t.tree->Count(), 7);
  EXPECT_EQ(t.tree->Messages() - messages, 2u + 2u * 4u);
  t.tree->SetExpanded(t.hidden, true);
  t.Read();
  EXPECT_EQ(t.Users(), (Texts{"Bob", "ghost1", "ghost2", "ghost3"}));
  // A collapsed group that is not the last: the items after it are read.
  t.tree->SetExpanded(t.visible, false);
  t.Read();
  EXPECT_EQ(t.Users(), (Texts{"ghost1", "ghost2", "ghost3"}));
}

TEST(UserTree, LongItemsAreReadUpTo259Characters) {
  UserTreeFixture t;
  const std::string nick259(259, 'n');
  const std::string nick300 = std::string(259, 'z') + std::string(41, 'q');
  t.Room({nick259, nick300, "x"});
  t.Read();
  EXPECT_EQ(t.Users(), (Texts{nick259, "x", std::string(259, 'z')}));
}

TEST(UserTree, AFailedTransferOrRequestCostsOneItemAtMost) {
  UserTreeFixture t;
  Texts nicks = {"ann", "bob", "cat", "dan", "eve"};
  for (int i = 10; i < 25; ++i) nicks.push_back("n" + std::to_string(i));
  t.Room(nicks);
  t.Read();
  // 23 items. A read takes one transfer for the records of up to 16 items and
  // one for all the answers; a failed batch of records is sent record by record,
  // failed answers are read item by item. Whichever transfer fails, and a second
  // one on the way, every other nick is still read, and the block and the handle
  // are given back.
  ASSERT_EQ(t.memory.Transfers(), 3u);
  for (std::uint64_t first : {1u, 2u, 3u}) {
    for (std::uint64_t second = first; second <= first + 24; ++second) {
      const std::uint64_t base = t.memory.Transfers();
      t.memory.FailTransfer = [&](const sim::SimTransfer& x) {
        return x.number == base + first || x.number == base + second;
      };
      t.Read();
      t.memory.FailTransfer = nullptr;
      EXPECT_GE(t.Users().size(), nicks.size() - 1) << "failing " << first << " and " << second;
      EXPECT_EQ(t.Chooser(), t.Users());
      EXPECT_TRUE(t.Clean()) << "failing " << first << " and " << second;
      t.Read();
      ASSERT_EQ(t.Users(), nicks);
    }
  }

  // The control refuses one item.
  t.Room(nicks);
  t.Read();
  t.tree->Clear();
  auto group = t.tree->Add(0, "Visible Users");
  for (const auto& n : nicks) {
    const auto item = t.tree->Add(group, n);
    if (n == "cat") t.tree->FailRequest(item);
    if (n == "dan") t.tree->AnswerFromOwnStorage(item, true);   // its own copy, readable
    if (n == "eve") t.tree->AnswerFromOwnStorage(item, false);  // a pointer nobody can read
  }
  t.Read();
  Texts answered = nicks;
  std::erase_if(answered, [](const std::string& n) { return n == "cat" || n == "eve"; });
  EXPECT_EQ(t.Users(), answered);
  EXPECT_EQ(t.Chooser(), t.Users());
  EXPECT_TRUE(t.Clean());

  // Every transfer fails: nothing is read, the lists empty, nothing is left behind.
  t.memory.FailTransfer = [](const sim::SimTransfer&) { return true; };
  t.Read();
  EXPECT_TRUE(t.Users().empty());
  EXPECT_TRUE(t.Chooser().empty());
  EXPECT_TRUE(t.Clean());
}

// A control that lies about its count and whose "next visible" chain runs in a
// circle: each item is read once and the walk ends. A count far above any room
// is read up to the ceiling. Both say how the read ended.
TEST(UserTree, ALyingTreeEndsTheWalk) {
  UserTreeFixture t;
  t.Room({"ann", "bob"});
  sim::SimWindow& window = t.desktop.At(t.tree_window);
  const auto honest = window.handler;
  int next_asked = 0;
  std::intptr_t first = 0;
  window.handler = [&](sim::SimWindow& w, sim::SimMessage& m) {
    const bool handled = honest(w, m);
    if (m.msg == wm::kTvmGetCount) m.result = 1000000000;
    if (m.msg == wm::kTvmGetNextItem) {
      ++next_asked;
      if (m.wparam == tv::kRoot) first = m.result;
      if (m.wparam == tv::kNextVisible && m.result == 0) m.result = first;  // the last item leads back
    }
    return handled;
  };
  TreeReadEnd end = TreeReadEnd::kWhole;
  const Texts texts = ReadTreeItemTexts(t.desktop, &t.memory, t.tree_window, &end);
  EXPECT_EQ(texts, (Texts{"Visible Users", "ann", "bob", "Hidden Users", " Click name to view"}));
  EXPECT_EQ(end, TreeReadEnd::kCircle);
  EXPECT_EQ(next_asked, 6);
  EXPECT_TRUE(t.Clean());

  // An honest chain longer than the ceiling, under the same lying count.
  Texts crowd;
  for (int i = 0; i < kTreeItemCeiling + 50; ++i) crowd.push_back("u" + std::to_string(i));
  t.Room(crowd);
  window.handler = [&](sim::SimWindow& w, sim::SimMessage& m) {
    const bool handled = honest(w, m);
    if (m.msg == wm::kTvmGetCount) m.result = 1000000000;
    return handled;
  };
  EXPECT_EQ(ReadTreeItemTexts(t.desktop, &t.memory, t.tree_window, &end).size(),
            static_cast<std::size_t>(kTreeItemCeiling));
  EXPECT_EQ(end, TreeReadEnd::kCeiling);
  EXPECT_TRUE(t.Clean());
}

// A lying room's tree: every other request answered TRUE with the record left
// as it came, or with the text pointed outside our block (nowhere, at the
// client's own memory, off the end of its memory, at memory nobody mapped), and
// texts that fill the whole buffer with no terminator. The honest answers are
// read, a lie costs its own item at most, no text passes 259 characters, and
// nothing is left behind in the client.
TEST(UserTree, LyingItemAnswersCostTheirOwnItemsAtMost) {
  using standin::Lie;
  const Texts honest = {"Visible Users", "ann", "bob", "carl", "dan", "modo", "Hidden Users", " Click name to view"};
  const std::vector<std::vector<Lie>> cases = {{Lie::kUnwrittenItem},
                                               {Lie::kWildText},
                                               {Lie::kUnwrittenItem, Lie::kWildText},
                                               {Lie::kNoTerminator},
                                               {Lie::kUnwrittenItem, Lie::kWildText, Lie::kNoTerminator}};
  for (const auto& lies : cases) {
    for (const int bits : {64, 32}) {
      UserTreeFixture t;
      standin::RoomConfig config;
      config.users = {"ann", "bob", "carl", "dan"};
      for (Lie lie : lies) config.lies.Add(lie);
      sim::SimRoom liar(t.desktop, config, [] { return std::int64_t{0}; }, &t.memory, bits);
      std::string name;
      for (Lie lie : lies) name += std::string(standin::LieName(lie)) + " ";
      SCOPED_TRACE(name + std::to_string(bits) + "-bit client");

      const Texts read = ReadTreeView(t.desktop, &t.memory, liar.Tree(), t.user_list, &t.chooser_list);
      const bool item_lies = config.lies.Has(Lie::kUnwrittenItem) || config.lies.Has(Lie::kWildText);
      const bool unterminated = config.lies.Has(Lie::kNoTerminator);
      ASSERT_LE(read.size(), honest.size());
      if (!item_lies) ASSERT_EQ(read.size(), honest.size());
      const auto whole = [&](const std::string& text, const std::string& want) {
        return unterminated ? text.size() == kTreeTextCapacity - 1 && text.starts_with(want) : text == want;
      };
      std::size_t at = 0;
      for (std::size_t i = 0; i < honest.size(); ++i) {
        // Every other item is lied about: nothing, or one text of no use. The
        // others come whole, in order.
        if (item_lies && i % 2 == 1) {
          if (at < read.size() && (i + 1 == honest.size() || !whole(read[at], honest[i + 1]))) ++at;
          continue;
        }
        ASSERT_LT(at, read.size());
        EXPECT_TRUE(whole(read[at], honest[i])) << read[at];
        ++at;
      }
      EXPECT_EQ(at, read.size());
      for (const std::string& text : read) EXPECT_LE(text.size(), kTreeTextCapacity - 1);
      // An item whose text never came is no nick.
      for (const std::string& nick : t.Users()) EXPECT_FALSE(nick.empty());
      EXPECT_EQ(t.memory.OpenHandles(), 0);
      EXPECT_EQ(t.memory.OutsideAllocations(liar.Process()), 0);
    }
  }
}

TEST(UserTree, UnreachableTreeEmptiesBothLists) {
  UserTreeFixture t;
  t.Room({"ann", "bob"});
  t.Read();
  ASSERT_EQ(t.Users().size(), 2u);
  t.memory.KillProcess(t.process);
  EXPECT_TRUE(t.Read().empty());
  EXPECT_TRUE(t.Users().empty());
  EXPECT_TRUE(t.Chooser().empty());
  EXPECT_EQ(t.memory.OpenHandles(), 0);

  UserTreeFixture u;
  u.Room({"ann"});
  u.Read();
  u.desktop.Destroy(u.tree_window);  // the tree window is gone
  u.Read();
  EXPECT_TRUE(u.Users().empty());
  u.Read();
  EXPECT_TRUE(ReadTreeView(u.desktop, &u.memory, kNoWindow, u.user_list, &u.chooser_list).empty());
  EXPECT_TRUE(ReadTreeView(u.desktop, nullptr, u.tree_window, u.user_list, &u.chooser_list).empty());
}

TEST(UserTree, RecordFollowsTheClientsWidth) {
  {
    UserTreeFixture t(32, 64);  // 64-bit console, 32-bit client
    t.Room({"ann", "bob"});
    t.Read();
    EXPECT_EQ(t.Users(), (Texts{"ann", "bob"}));
    EXPECT_TRUE(t.Clean());
  }
  {
    UserTreeFixture t(32, 32);
    t.Room({"ann", "bob"});
    t.Read();
    EXPECT_EQ(t.Users(), (Texts{"ann", "bob"}));
  }
  {
    UserTreeFixture t(64, 32);  // a 32-bit console cannot address a 64-bit client
    t.Room({"ann", "bob"});
    t.user_list.Add("old");
    t.chooser_list.Add("old");
    t.Read();
    EXPECT_TRUE(t.Users().empty());
    EXPECT_TRUE(t.Chooser().empty());
    EXPECT_EQ(t.memory.Transfers(), 0u);
    EXPECT_EQ(t.tree->Messages(), 0u);
    EXPECT_TRUE(t.Clean());
  }
}

TEST(UserTree, ClientIsOpenedWithTheReadingRightsOnlyAndTheBlockIsNotExecutable) {
  UserTreeFixture t;
  // A client that refuses every other right is still read.
  t.memory.RefuseRights(t.process, ~kRemoteBlockRights);
  t.Room({"ann"});
  t.Read();
  EXPECT_EQ(t.Users(), Texts{"ann"});
  EXPECT_EQ(t.memory.LastAccess(), 0x0438u);
  ASSERT_FALSE(t.memory.ProtectionsUsed().empty());
  for (std::uint32_t protect : t.memory.ProtectionsUsed()) EXPECT_EQ(protect, mem::kReadWrite);
}

TEST(RemoteBlock, FirstFreeRegionFrom0x5F000000ElseAnyPlace) {
  UserTreeFixture t(32);
  ProcessMemory& m = t.memory;
  const ProcessHandle h = m.OpenProcess(kRemoteBlockRights, t.process);
  ASSERT_NE(h, 0u);
  EXPECT_EQ(AllocRemote(m, h, 0), 0u);
  // The system library at 0x5F000000 ends at 0x5F023000: the walk steps by whole
  // 64 KiB and lands on the free space at 0x5F030000.
  const RemoteAddress first = AllocRemote(m, h, 300);
  EXPECT_EQ(first, 0x5F030000u);
  std::uint8_t bytes[300] = {1, 2, 3};
  EXPECT_TRUE(m.WriteProcessMemory(h, first, bytes, sizeof bytes));
  EXPECT_TRUE(m.ReadProcessMemory(h, first + 200, bytes, 100));
  const RemoteAddress second = AllocRemote(m, h, 300);
  EXPECT_EQ(second, 0x5F040000u);
  FreeRemote(m, h, first);
  FreeRemote(m, h, second);
  EXPECT_EQ(t.memory.OutsideAllocations(t.process), 0);
  EXPECT_FALSE(m.ReadProcessMemory(h, first, bytes, 1));

  // Nothing free from 0x5F000000 to the top of a 32-bit space: anywhere else.
  ASSERT_TRUE(t.memory.Map(t.process, 0x5F030000, 0x7FFF0000 - 0x5F030000, mem::kReserve, 0));
  const RemoteAddress fallback = AllocRemote(m, h, 300);
  EXPECT_NE(fallback, 0u);
  EXPECT_LT(fallback, 0x5F000000u);
  FreeRemote(m, h, fallback);
  m.CloseHandle(h);
  EXPECT_TRUE(t.Clean());
}

TEST(UserTree, FewCrossProcessOperationsPerItem) {
  UserTreeFixture t;
  Texts nicks;
  for (int i = 0; i < 500; ++i) nicks.push_back("user" + std::to_string(1000 + i));
  t.Room(nicks);
  const auto ops = t.memory.Operations() + t.tree->Messages();
  t.Read();
  ASSERT_EQ(t.Users(), nicks);
  const double items = 503;  // the nicks, two headers and the placeholder
  // The step to the item and its request; records and answers a batch at a time.
  EXPECT_LE(static_cast<double>(t.memory.Operations() + t.tree->Messages() - ops) / items, 2.1);
  EXPECT_TRUE(t.Clean());
}

}  // namespace tavlen::testing
