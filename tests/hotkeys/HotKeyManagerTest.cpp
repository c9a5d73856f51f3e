#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "hotkeys/HotKeyManager.h"
#include "platform/sim/SimHotkeys.h"

namespace tavlen {
namespace {

using Pressed = std::vector<std::pair<HotKeyValue, std::uint16_t>>;

class HotKeyManagerTest : public ::testing::Test {
 protected:
  sim::SimHotkeys api;
  KeyNames names{api};
  THotKeyManager manager{api};
  Pressed pressed;
  std::vector<std::string> warnings;

  void SetUp() override {
    manager.OnHotKeyPressed = [this](HotKeyValue value, std::uint16_t index) { pressed.emplace_back(value, index); };
  }
  void Add(HotKeyValue value) {
    AddHotKey(manager, names, value, [this](const std::string& text) { warnings.push_back(text); });
  }
};

TEST_F(HotKeyManagerTest, RegisterUsesNamedAtomsAsIds) {
  const std::uint16_t id = manager.Register(0xC070);
  ASSERT_NE(id, 0);
  EXPECT_EQ(api.AtomName(id), "HotKeyManagerHotKey49264");
  EXPECT_TRUE(manager.IsRegistered(0xC070));
  EXPECT_FALSE(manager.IsRegistered(0x70));
  EXPECT_TRUE(api.HeldByThisProgram(hotkey_mod::kControl | hotkey_mod::kAlt, 0x70));

  const std::uint16_t id2 = manager.Register(0x10041);  // Win+A
  ASSERT_NE(id2, 0);
  EXPECT_NE(id2, id);
  EXPECT_TRUE(api.HeldByThisProgram(hotkey_mod::kWin, 'A'));
  ASSERT_EQ(manager.Registered().size(), 2u);
  EXPECT_EQ(manager.Registered()[0].HotKey, 0xC070u);
  EXPECT_EQ(manager.Registered()[1].Id, id2);
}

TEST_F(HotKeyManagerTest, RefusedRegistrationsLeaveNoTrace) {
  Add(0x4041);
  EXPECT_TRUE(warnings.empty());
  const std::size_t atoms = api.AtomCount();

  // The same value twice: the second is refused and warned about, the first stays.
  Add(0x4041);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0], "Ctrl+A couldn't be assigned to a hotkey.");
  EXPECT_EQ(manager.Registered().size(), 1u);
  EXPECT_EQ(api.AtomCount(), atoms);
  EXPECT_TRUE(manager.IsRegistered(0x4041));

  // Held by another program.
  api.HoldByAnotherProgram(hotkey_mod::kControl | hotkey_mod::kAlt, 0x70);
  EXPECT_EQ(manager.Register(0xC070), 0);
  Add(0xC070);
  EXPECT_EQ(warnings.back(), "Ctrl+Alt+F1 couldn't be assigned to a hotkey.");
  EXPECT_FALSE(manager.IsRegistered(0xC070));
  EXPECT_EQ(api.AtomCount(), atoms);

  // Not a valid combination.
  EXPECT_EQ(manager.Register(0x4000), 0);
  EXPECT_EQ(manager.Registered().size(), 1u);
  EXPECT_EQ(api.AtomCount(), atoms);
}

TEST_F(HotKeyManagerTest, UnregisterAllReleasesEverything) {
  manager.UnregisterAll();  // empty: nothing happens
  EXPECT_EQ(api.AtomCount(), 0u);

  ASSERT_NE(manager.Register(0x4041), 0);
  ASSERT_NE(manager.Register(0x2070), 0);
  ASSERT_NE(manager.Register(0x71), 0);
  EXPECT_EQ(api.RegistrationCount(), 3u);
  manager.UnregisterAll();
  EXPECT_TRUE(manager.Registered().empty());
  EXPECT_FALSE(manager.IsRegistered(0x4041));
  EXPECT_EQ(api.RegistrationCount(), 0u);
  EXPECT_EQ(api.AtomCount(), 0u);
  // Released combinations can be taken again.
  EXPECT_NE(manager.Register(0x4041), 0);
}

TEST_F(HotKeyManagerTest, DestroyingTheManagerReleasesItsHotkeys) {
  {
    THotKeyManager second(api);
    ASSERT_NE(second.Register(0x4042), 0);
    EXPECT_EQ(manager.Register(0x4042), 0);
  }
  EXPECT_EQ(api.AtomCount(), 0u);
  EXPECT_NE(manager.Register(0x4042), 0);
}

TEST_F(HotKeyManagerTest, PressRaisesTheEventWithTheRebuiltValue) {
  const std::uint16_t id = manager.Register(0x1E041);  // Ctrl+Shift+Alt+Win+A
  const std::uint16_t id2 = manager.Register(0x2070);  // Shift+F1
  ASSERT_NE(id, 0);
  EXPECT_TRUE(api.Press(hotkey_mod::kControl | hotkey_mod::kShift | hotkey_mod::kAlt | hotkey_mod::kWin, 'A'));
  EXPECT_TRUE(api.Press(hotkey_mod::kShift, 0x70));
  EXPECT_TRUE(pressed.empty());  // queued, not sent
  EXPECT_EQ(api.DeliverQueued(), 2);
  EXPECT_EQ(pressed, (Pressed{{0x1E041, id}, {0x2070, id2}}));
  // Every message goes on to the default procedure.
  EXPECT_EQ(api.DefWindowProcCalls(), 2);

  // Combinations nobody registered, or another program holds, reach nothing.
  api.HoldByAnotherProgram(hotkey_mod::kControl, 'B');
  EXPECT_FALSE(api.Press(hotkey_mod::kControl, 'B'));
  EXPECT_FALSE(api.Press(0, 'A'));
  EXPECT_EQ(api.DeliverQueued(), 0);
}

TEST_F(HotKeyManagerTest, UnknownHotkeyMessagesRaiseNothing) {
  ASSERT_NE(manager.Register(0x4041), 0);
  // Another process posts WM_HOTKEY for a combination the manager does not hold.
  api.PostMessage(manager.Window(), wm::kHotKey, 7, hotkey_mod::kControl | ('B' << 16));
  api.PostMessage(manager.Window(), wm::kHotKey, 7, hotkey_mod::kAlt | ('A' << 16));
  api.PostMessage(manager.Window(), 0x0400, 0, 0);
  api.DeliverQueued();
  EXPECT_TRUE(pressed.empty());
  EXPECT_EQ(api.DefWindowProcCalls(), 3);

  // After UnregisterAll a stale press raises nothing either.
  ASSERT_TRUE(api.Press(hotkey_mod::kControl, 'A'));
  manager.UnregisterAll();
  api.DeliverQueued();
  EXPECT_TRUE(pressed.empty());

  // Without a handler the message still goes to the default procedure.
  manager.OnHotKeyPressed = nullptr;
  ASSERT_NE(manager.Register(0x4041), 0);
  api.Press(hotkey_mod::kControl, 'A');
  api.DeliverQueued();
  EXPECT_EQ(api.DefWindowProcCalls(), 5);
}

TEST(SimHotkeysDelivery, PressesGoThroughTheGivenMessageLoop) {
  std::vector<std::function<void()>> loop;
  sim::SimHotkeys api([&loop](std::function<void()> work) { loop.push_back(std::move(work)); });
  THotKeyManager manager(api);
  Pressed pressed;
  manager.OnHotKeyPressed = [&](HotKeyValue v, std::uint16_t i) { pressed.emplace_back(v, i); };
  const std::uint16_t id = manager.Register(0x41);
  ASSERT_TRUE(api.Press(0, 'A'));
  EXPECT_EQ(api.DeliverQueued(), 0);
  ASSERT_EQ(loop.size(), 1u);
  loop[0]();
  EXPECT_EQ(pressed, (Pressed{{0x41, id}}));
}

}  // namespace
}  // namespace tavlen
