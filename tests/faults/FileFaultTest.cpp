// Every settings file, saved through its own save function while a write fault
// strikes at each step: the previous file stays byte for byte, loading still gives
// the previous settings, and the next save works.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "base/Files.h"
#include "hotkeys/HotkeyTable.h"
#include "mixer/MixerSourceSetting.h"
#include "moderation/MessageCatalogue.h"
#include "notify/NotificationSettings.h"
#include "platform/sim/SimHotkeys.h"
#include "WriteFaults.h"

namespace tavlen::testing {
namespace {

namespace fs = std::filesystem;

// One settings file: how the console saves generation n of it, and what loading
// it gives back (one value that differs between generations).
struct SettingsFile {
  std::string name;
  std::function<void(const std::string& path, int generation)> save;
  std::function<std::string(const std::string& path)> load;
};

class FileFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("tavlen-faults-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                       "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Path(const std::string& name) const { return (dir / name).string(); }

  fs::path dir;
  sim::SimHotkeys hotkey_api;
  KeyNames names{hotkey_api};
  THotKeyManager manager{hotkey_api};
  int registered = 0;

  std::vector<SettingsFile> Files() {
    return {
        {kMessagesFile,
         [](const std::string& path, int n) {
           MessageCatalogue c(path);
           c.Slot(0) = {"MSG PUBLIC", "Regles", "version " + std::to_string(n), "normal"};
           c.SaveMessageCatalogue();
         },
         [](const std::string& path) {
           MessageCatalogue c(path);
           c.LoadMessageCatalogue();
           return c.Slot(0).MessageText;
         }},
        {"hotkeys.ini",
         [this](const std::string& path, int n) {
           HotkeyTable t;
           t.Slot(1) = {"Ctrl+F" + std::to_string(n), "TALK"};
           savehotkeys(t, manager, names, path, [this](HotKeyValue v) { registered += manager.Register(v) != 0; }, {});
         },
         [](const std::string& path) {
           HotkeyTable t;
           loadhotkeys(t, path);
           return t.Slot(1).KeyText;
         }},
        {std::string(kMixerConfigFileName),
         [](const std::string& path, int n) { SaveMixerConfig(path, {0, 1, n, 40000}, {0, 1, 5, 65535}); },
         [](const std::string& path) {
           MixerSourceSetting mic, mix;
           LoadMixerConfig(path, mic, mix);
           return std::to_string(mic.LineIndex);
         }},
        {kHighlightFile, [](const std::string& path, int n) { WriteHighlightFile(path, {"modo", "mot" + std::to_string(n)}); },
         [](const std::string& path) { return ReadHighlightFile(path).value_or(std::vector<std::string>{}).back(); }},
        {kSoundsFile, [](const std::string& path, int n) { WriteSoundsFile(path, "C:\\son" + std::to_string(n) + ".wav"); },
         [](const std::string& path) { return ReadSoundsFile(path).value_or(""); }},
    };
  }
};

TEST_F(FileFaultTest, AFailedOrInterruptedSaveLeavesThePreviousFileOfEverySettingsFile) {
  for (const SettingsFile& file : Files()) {
    const std::string path = Path(file.name);
    file.save(path, 1);
    const std::string before = ReadWholeFile(path).value();
    const std::string loaded_before = file.load(path);
    file.save(path, 2);
    const std::string second = ReadWholeFile(path).value();
    ASSERT_NE(second, before) << file.name;
    file.save(path, 1);

    for (const WriteFault& fault : AllWriteFaults()) {
      SCOPED_TRACE(file.name + ": " + fault.what);
      {
        InjectedFault injected(fault);
        if (fault.crash)
          EXPECT_THROW(file.save(path, 2), SimulatedCrash);
        else
          EXPECT_THROW(file.save(path, 2), std::runtime_error);
        EXPECT_TRUE(injected.Fired());
      }
      EXPECT_EQ(ReadWholeFile(path), before);
      EXPECT_EQ(file.load(path), loaded_before);
      // A refusal cleans up after itself; a crash may leave its temporary file.
      if (!fault.crash) EXPECT_FALSE(fs::exists(path + ".tmp"));

      // The next save works, whatever the failed one left behind.
      file.save(path, 2);
      EXPECT_EQ(ReadWholeFile(path), second);
      EXPECT_FALSE(fs::exists(path + ".tmp"));
      file.save(path, 1);
    }
  }
}

TEST_F(FileFaultTest, HotkeysAreRegisteredEvenWhenTheirFileCannotBeWritten) {
  const std::string path = Path("hotkeys.ini");
  Files()[1].save(path, 1);
  ASSERT_EQ(registered, 1);
  InjectedFault injected(AllWriteFaults()[4]);
  EXPECT_THROW(Files()[1].save(path, 2), std::runtime_error);
  EXPECT_EQ(registered, 2);
  EXPECT_EQ(manager.Registered().size(), 1u);
  EXPECT_TRUE(manager.IsRegistered(ParseHotKey(names, "Ctrl+F2")));
}

TEST_F(FileFaultTest, FaultsTheFileSystemItselfRaises) {
  const std::string path = Path("config.ini");
  SaveMixerConfig(path, {0, 1, 2, 3}, {0, 1, 5, 6});
  const std::string before = ReadWholeFile(path).value();

  // The temporary file's name is taken by a folder: nothing can be created.
  fs::create_directory(path + ".tmp");
  EXPECT_THROW(SaveMixerConfig(path, {9, 9, 9, 9}, {}), std::runtime_error);
  EXPECT_EQ(ReadWholeFile(path), before);
  EXPECT_TRUE(fs::is_directory(path + ".tmp"));
  fs::remove(path + ".tmp");

  // The file's own name is a folder: the rename fails and the new bytes go away.
  const std::string folder = Path("highlight.ini");
  fs::create_directories(fs::path(folder) / "inside");
  EXPECT_THROW(WriteHighlightFile(folder, {"mot"}), std::runtime_error);
  EXPECT_TRUE(fs::is_directory(fs::path(folder) / "inside"));
  EXPECT_FALSE(fs::exists(folder + ".tmp"));
  EXPECT_FALSE(ReadHighlightFile(folder).has_value());
  // Read as a file, the folder gives nothing rather than an error.
  EXPECT_EQ(ReadWholeFile(folder), std::nullopt);
  HotkeyTable table;
  EXPECT_NO_THROW(loadhotkeys(table, folder));
  MixerSourceSetting mic, mix;
  EXPECT_EQ(LoadMixerConfig(folder, mic, mix), MixerConfigReading::kMissing);

  // A file marked read-only is refused, even where renaming over it would work.
  const std::string locked = Path("messages.ini");
  WriteFileAtomic(locked, "MSG PUBLIC\xA4" "a\xA4" "b\r\n");
  fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_THROW(WriteFileAtomic(locked, "autre\r\n"), std::runtime_error);
  EXPECT_EQ(ReadWholeFile(locked), "MSG PUBLIC\xA4" "a\xA4" "b\r\n");
  EXPECT_FALSE(fs::exists(locked + ".tmp"));
  fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
  WriteFileAtomic(locked, "autre\r\n");
  EXPECT_EQ(ReadWholeFile(locked), "autre\r\n");

  // The folder is gone.
  EXPECT_THROW(WriteSoundsFile(Path("missing/sounds.ini"), "C:\\a.wav"), std::runtime_error);
  EXPECT_FALSE(fs::exists(Path("missing")));

  // A temporary file left by an earlier crash is neither read nor in the way.
  std::ofstream(Path("sounds.ini.tmp"), std::ios::binary) << "D:\\half";
  EXPECT_FALSE(ReadSoundsFile(Path("sounds.ini")).has_value());
  WriteSoundsFile(Path("sounds.ini"), "C:\\a.wav");
  EXPECT_EQ(ReadWholeFile(Path("sounds.ini")), "C:\\a.wav\r\n");
  EXPECT_FALSE(fs::exists(Path("sounds.ini.tmp")));
}

TEST_F(FileFaultTest, ProductionSavesMeetNoHookAndHooksNest) {
  const std::string path = Path("sounds.ini");
  int outer_calls = 0, inner_calls = 0;
  {
    ScopedWriteFaultHook outer([&](WriteStep, const std::string&) {
      ++outer_calls;
      return StepFault{};
    });
    {
      ScopedWriteFaultHook inner([&](WriteStep, const std::string& p) {
        EXPECT_EQ(p, path);
        ++inner_calls;
        return StepFault{};
      });
      WriteSoundsFile(path, "a");
    }
    EXPECT_EQ(inner_calls, 4);  // create, write, flush, replace
    WriteSoundsFile(path, "b");
    EXPECT_EQ(outer_calls, 4);
  }
  WriteSoundsFile(path, "c");
  EXPECT_EQ(outer_calls + inner_calls, 8);
  EXPECT_EQ(ReadWholeFile(path), "c\r\n");
}

}  // namespace
}  // namespace tavlen::testing
