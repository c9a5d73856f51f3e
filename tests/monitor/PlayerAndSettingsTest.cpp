#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "base/Files.h"
#include "monitor/WinampControl.h"
#include "notify/NotificationSettings.h"
#include "notify/SoundWorker.h"
#include "standin/sim/SimWorld.h"

namespace tavlen {
namespace {

TEST(PlayerTitle, SongFromTheWindowTitle) {
  EXPECT_EQ(SongFromPlayerTitle("12. Artist - Song - Winamp"), "Artist - Song");
  // Without playlist numbers the song is kept whole, blanks and all.
  EXPECT_EQ(SongFromPlayerTitle("Artist Name - Song - Winamp"), "Artist Name - Song");
  EXPECT_EQ(SongFromPlayerTitle("1. A - Winamp"), "A");
  EXPECT_EQ(SongFromPlayerTitle("12.Artist - Song - Winamp"), "12.Artist - Song");
  EXPECT_EQ(SongFromPlayerTitle("2001 Odyssey - Winamp"), "2001 Odyssey");
  EXPECT_EQ(SongFromPlayerTitle("Winamp 5.9"), "");
  EXPECT_EQ(SongFromPlayerTitle("- Winamp"), "");
  EXPECT_EQ(SongFromPlayerTitle("x- Winamp"), "");
  EXPECT_EQ(SongFromPlayerTitle("Song - Winamp [Paused]"), "Song");
}

TEST(PlayerTitle, NowPlayingReadsThePlayerWindow) {
  sim::SimWorld world;
  TWinampControl winamp(world.desktop);
  EXPECT_EQ(winamp.NowPlayingTitle(), "");
  // Any window with the player's title shape but another class is not the player.
  world.desktop.CreateTopLevel("Notepad", "3. Fake - Winamp", world.desktop.NewProcess());
  EXPECT_EQ(winamp.NowPlayingTitle(), "");
  sim::SimPlayer& player = world.open_player("12. Artist - Song - Winamp");
  EXPECT_EQ(winamp.NowPlayingTitle(), "Artist - Song");
  player.SetTitle("13. Other - Tune - Winamp");
  EXPECT_EQ(winamp.NowPlayingTitle(), "Other - Tune");
  // Only the first 254 characters of the title are read.
  player.SetTitle(std::string(250, 'a') + " - Winamp");
  EXPECT_EQ(winamp.NowPlayingTitle(), "");
  player.Close();
  EXPECT_EQ(winamp.NowPlayingTitle(), "");
}

TEST(NotificationFiles, ReadAndWrite) {
  sim::SimWorld world;
  NotificationSettings settings(world.exe_dir());
  EXPECT_EQ(settings.HighlightPath(), world.file_path("highlight.ini"));
  EXPECT_FALSE(ReadHighlightFile(settings.HighlightPath()));
  EXPECT_FALSE(ReadSoundsFile(settings.SoundsPath()));

  WriteHighlightFile(settings.HighlightPath(), {"salut", " deux mots ", "", "cam"});
  EXPECT_EQ(world.read_file("highlight.ini"), "salut\r\n deux mots \r\n\r\ncam\r\n");
  EXPECT_EQ(*ReadHighlightFile(settings.HighlightPath()),
            (std::vector<std::string>{"salut", " deux mots ", "", "cam"}));
  // Lone CR or LF line ends are read too.
  world.write_file("highlight.ini", "a\nb\rc");
  EXPECT_EQ(*ReadHighlightFile(settings.HighlightPath()), (std::vector<std::string>{"a", "b", "c"}));

  WriteSoundsFile(settings.SoundsPath(), "C:\\sons\\ding.wav");
  EXPECT_EQ(world.read_file("sounds.ini"), "C:\\sons\\ding.wav\r\n");
  world.write_file("sounds.ini", "C:\\a.wav\nC:\\b.wav\n");
  EXPECT_EQ(*ReadSoundsFile(settings.SoundsPath()), "C:\\a.wav");
  world.write_file("sounds.ini", "");
  EXPECT_EQ(*ReadSoundsFile(settings.SoundsPath()), "");
}

TEST(SoundWorker, RunsOffTheCallerAndLatestWins) {
  std::mutex m;
  std::vector<std::string> played;
  std::thread::id worker_thread;
  std::atomic<bool> release{false};
  SoundWorker worker([&](const std::string& file) {
    {
      std::lock_guard lock(m);
      played.push_back(file);
      worker_thread = std::this_thread::get_id();
    }
    while (file == "slow" && !release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (file == "throws") throw std::runtime_error("no device");
  });
  worker.Start("slow");
  // Wait until the worker is inside the slow call, then queue two more: only the
  // last one is still wanted when it is free again, and Start never waits.
  for (;;) {
    std::lock_guard lock(m);
    if (!played.empty()) break;
  }
  worker.Start("a");
  worker.Start("b");
  release = true;
  worker.WaitIdle();
  {
    std::lock_guard lock(m);
    EXPECT_EQ(played, (std::vector<std::string>{"slow", "b"}));
    EXPECT_NE(worker_thread, std::this_thread::get_id());
  }
  // A failing call does not stop the worker.
  worker.Start("throws");
  worker.WaitIdle();
  worker.Start("c");
  worker.WaitIdle();
  std::lock_guard lock(m);
  EXPECT_EQ(played.back(), "c");
  EXPECT_EQ(played.size(), 4u);
}

}  // namespace
}  // namespace tavlen
