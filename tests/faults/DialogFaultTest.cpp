// The five settings files saved by their own dialogs while a write fault strikes:
// the previous file stays, a refused save leaves its dialog open and can be tried
// again, and a console started again after a crash shows the previous settings.
#include <filesystem>
#include <functional>

#include "ConsoleFixture.h"
#include "WriteFaults.h"

namespace tavlen::testing {
namespace {

struct DialogCase {
  const char* file;
  std::string previous_bytes;
  // Opens the dialog and changes the setting (the file is not written yet).
  std::function<void(Console&, sim::SimWorld&)> edit;
  // The user's click that writes the file.
  std::function<void(Console&, sim::SimWorld&)> save;
  // The dialog that must stay open after a refused save (none: it has no closing step).
  std::function<kit::Form*(Console&)> dialog;
  // The setting as the running console uses it.
  std::function<std::string(Console&)> setting;
  std::string previous_setting;
  std::string new_setting;
};

std::string Join(const std::deque<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "|";
  return out;
}

std::vector<DialogCase> Cases() {
  return {
      {"messages.ini", "MSG PUBLIC\xA4" "Ancien\xA4" "ancien texte\xA4normal\r\n",
       [](Console& c, sim::SimWorld& world) {
         c.Form1->Editerlesmessages1->Click();
         c.Form2->ComboBox1.Select(1);
         world.advance(std::chrono::milliseconds(20));  // the editor's timer enables its buttons
         c.Form2->Edit1.Type("Nouveau");
         c.Form2->Memo1.Type("nouveau texte");
         c.Form2->Button1.Click();
       },
       [](Console& c, sim::SimWorld&) { c.Form2->Button4.Click(); }, [](Console& c) -> kit::Form* { return c.Form2.get(); },
       [](Console& c) {
         std::string names;
         for (int k = 0; k < MessageCatalogue::kSlots; ++k)
           if (!c.Form2->Catalogue.Slot(k).Free()) names += c.Form2->Catalogue.Slot(k).ShortcutName + "|";
         return names;
       },
       "Ancien|", "Ancien|Nouveau|"},
      {"hotkeys.ini", "Ctrl+F1\xA4TALK\r\n",
       [](Console& c, sim::SimWorld&) {
         c.Form1->RaccourcisClavier1->Click();
         c.Form7->Edit1.Type("Ctrl+F5");
       },
       [](Console& c, sim::SimWorld&) { c.Form7->Button1.Click(); }, [](Console& c) -> kit::Form* { return c.Form7.get(); },
       [](Console& c) { return c.hotkeyTable.Slot(1).KeyText; }, "Ctrl+F1", "Ctrl+F5"},
      {"hotkeys.ini", "Ctrl+F1\xA4TALK\r\nF9\xA4" "C:\\a.wav\r\n",
       [](Console& c, sim::SimWorld&) {
         c.Form1->Raccourcisdesons1->Click();
         c.Form8->Edit1.Type("F10");
         c.Form8->Edit2.Type("C:\\b.wav");
         c.Form8->Button1.Click();
       },
       [](Console& c, sim::SimWorld&) { c.Form8->Button6.Click(); }, [](Console& c) -> kit::Form* { return c.Form8.get(); },
       [](Console& c) { return c.hotkeyTable.Slot(5).Action + "|" + c.hotkeyTable.Slot(6).Action; },
       "C:\\a.wav|", "C:\\a.wav|C:\\b.wav"},
      {"config.ini", "MIC= 0 1 1 30000\r\nMIX= 0 1 3 52000\r\n",
       [](Console& c, sim::SimWorld&) {
         c.Form1->ConfigurationAudio1->Click();
         c.Form12->TrackBar.Slide(40000);
       },
       [](Console& c, sim::SimWorld&) { c.Form12->Button1.Click(); }, [](Console& c) -> kit::Form* { return c.Form12.get(); },
       [](Console& c) { return std::to_string(c.recordingSource.MicSetting.Volume); }, "30000", "40000"},
      {"highlight.ini", "ancien\r\n",
       [](Console& c, sim::SimWorld&) {
         c.Form1->ConfigurerlesHighlights1->Click();
         c.Form5->Memo1.Type("ancien\r\nnouveau");
       },
       [](Console& c, sim::SimWorld&) { c.Form5->Button1.Click(); }, [](Console& c) -> kit::Form* { return c.Form5.get(); },
       [](Console& c) { return Join(c.Form5->NotificationWords()); }, "ancien|", "ancien|nouveau|"},
      {"sounds.ini", "C:\\ancien.wav\r\n",
       [](Console& c, sim::SimWorld&) { c.Form1->ConfigurerlesHighlights1->Click(); },
       [](Console& c, sim::SimWorld& world) {
         world.dialogs.ChooseFile("C:\\nouveau.wav");
         c.Form5->SpeedButton1.Click();
       }, [](Console&) -> kit::Form* { return nullptr; },
       [](Console& c) { return c.notifier.notification.NotificationSoundFile + "|" + c.Form5->Edit1.Text(); },
       "C:\\ancien.wav|C:\\ancien.wav", "C:\\nouveau.wav|C:\\nouveau.wav"},
  };
}

class DialogFaultTest : public ConsoleTest {
 protected:
  // Started again, the console learns it may use the owners' commands.
  void Restart() {
    console.reset();
    Start();
    world.advance(2100ms);
    ASSERT_TRUE(main().Commandes1->Visible());
  }
};

TEST_F(DialogFaultTest, EveryDialogSurvivesEveryWriteFault) {
  standin::RoomConfig owner;
  owner.owner = true;
  world.open_room("salon", owner);
  const std::vector<DialogCase> cases = Cases();
  for (const DialogCase& dialog : cases) {
    for (const WriteFault& fault : AllWriteFaults()) {
      SCOPED_TRACE(std::string(dialog.file) + " (case " + std::to_string(&dialog - &cases.front()) + "): " + fault.what);
      world.write_file(dialog.file, dialog.previous_bytes);
      std::filesystem::remove(world.file_path(dialog.file) + ".tmp");
      Restart();
      ASSERT_EQ(dialog.setting(*console), dialog.previous_setting);

      dialog.edit(*console, world);
      if (kit::Form* form = dialog.dialog(*console)) ASSERT_TRUE(form->Visible());
      const std::uint64_t dropped = console->app.DroppedErrors();
      {
        InjectedFault injected(fault);
        dialog.save(*console, world);
        EXPECT_TRUE(injected.Fired());
      }
      // Whatever happened went through the error guard and no further.
      EXPECT_EQ(console->app.DroppedErrors(), dropped + 1);
      EXPECT_EQ(world.read_file(dialog.file), dialog.previous_bytes);

      if (!fault.crash) {
        EXPECT_FALSE(world.has_file(std::string(dialog.file) + ".tmp"));
        if (kit::Form* form = dialog.dialog(*console)) EXPECT_TRUE(form->Visible());
        if (std::string(dialog.file) == "sounds.ini") EXPECT_EQ(dialog.setting(*console), dialog.previous_setting);
        // Tried again once the fault is gone, the save goes through and closes the dialog.
        dialog.save(*console, world);
        if (kit::Form* form = dialog.dialog(*console)) EXPECT_FALSE(form->Visible());
      } else {
        // The process died there; started again, the console has the previous settings.
        Restart();
        EXPECT_EQ(dialog.setting(*console), dialog.previous_setting);
        dialog.edit(*console, world);
        dialog.save(*console, world);
      }
      EXPECT_NE(world.read_file(dialog.file), dialog.previous_bytes);
      EXPECT_FALSE(world.has_file(std::string(dialog.file) + ".tmp"));
      Restart();
      EXPECT_EQ(dialog.setting(*console), dialog.new_setting);
      EXPECT_TRUE(world.dialogs.Boxes().empty()) << world.dialogs.Boxes().front().text;
    }
  }
}

}  // namespace
}  // namespace tavlen::testing
