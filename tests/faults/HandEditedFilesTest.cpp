// Settings files edited by hand into anything at all: the console starts, every
// dialog opens on them, and nothing is written back until a dialog saves.
#include <filesystem>

#include "ConsoleFixture.h"

namespace tavlen::testing {
namespace {

std::vector<std::string> HostileContents() {
  std::string bytes(3000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 131 + 7) % 256);
  std::string long_lines;
  for (int i = 0; i < 700; ++i) long_lines += std::string(i % 50, '\xA4') + "MIX= 1 2 3 " + std::to_string(i) + "\r\n";
  return {
      "",
      "\r\n\r\n\n\r",
      std::string(5000, '\xA4'),
      bytes,
      long_lines,
      "MIC= 99 99 99 99\r\nMIX= -5 -5 -5 -5\r\n",
      "MIC= 0 1 1 2147483647\r\nMIX= 0 1 3 -2147483648\r\n",
      "MIC= 0 1 99999999999 1\r\n",
      "\xA4\xA4TALK\xA4\xA4\r\nCtrl+\xA4SRCMIC\r\n\"\xA4\r\n'''+\xA4" "BLOCKMIC\r\n",
      "<b>mot</b>\r\n&amp;\r\n" + std::string(10000, 'w') + "\r\n",
  };
}

class HandEditedFilesTest : public ConsoleTest {};

TEST_F(HandEditedFilesTest, TheConsoleStartsAndOpensEveryDialogOnAnyFile) {
  standin::RoomConfig owner;
  owner.owner = true;
  world.open_room("salon", owner);
  const std::vector<std::string> names = {"messages.ini", "hotkeys.ini", "config.ini", "highlight.ini", "sounds.ini"};
  for (const std::string& content : HostileContents()) {
    for (const std::string& name : names) world.write_file(name, content);
    SCOPED_TRACE("content of " + std::to_string(content.size()) + " bytes");
    console.reset();
    ASSERT_NO_THROW(Start());
    world.advance(2100ms);
    for (kit::MenuItem* item : {main().Editerlesmessages1, main().ConfigurerlesHighlights1, main().RaccourcisClavier1,
                                main().ConfigurationAudio1, main().Raccourcisdesons1, main().Reglageduvolume1}) {
      item->Click();
      world.advance(50ms);
      for (kit::Form* f : std::initializer_list<kit::Form*>{console->Form2.get(), console->Form5.get(),
                                                           console->Form7.get(), console->Form8.get(),
                                                           console->Form9.get(), console->Form12.get()})
        if (f->Visible()) f->RequestClose();
    }
    EXPECT_TRUE(main().Visible());
    for (const std::string& name : names) EXPECT_EQ(world.read_file(name), content) << name;
    world.dialogs.Forget();
  }

  // A folder where a file should be is a file that cannot be read.
  for (const std::string& name : names) {
    std::filesystem::remove(world.file_path(name));
    std::filesystem::create_directories(world.file_path(name) + "/inside");
  }
  console.reset();
  ASSERT_NO_THROW(Start());
  world.advance(2100ms);
  main().Editerlesmessages1->Click();
  EXPECT_TRUE(console->Form2->Visible());
  for (const std::string& name : names) EXPECT_TRUE(std::filesystem::is_directory(world.file_path(name) + "/inside"));
}

}  // namespace
}  // namespace tavlen::testing
