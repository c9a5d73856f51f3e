// Win32Sound: PlaySound returns (also from a worker thread), and the MCI player
// opens a generated .wav, reports its length, plays, stops and closes, with the
// system's error texts where nothing can be played.
#include "platform/win32/WinApi.h"

#include <string>
#include <thread>

#include "platform/win32/Win32Sound.h"
#include "tests/e2e/ports/Support.h"

namespace ports {

void SoundSmoke() {
  tavlen::Win32Sound api;
  const std::string wav = TempPath("tavlen-ports-smoke.wav");
  CHECK(WriteSilentWav(wav, 700), "test sound written");

  CHECK(api.PlaySound(wav, true), "PlaySound async");
  bool from_worker = false;
  std::thread([&] { from_worker = api.PlaySound(wav, true); }).join();
  CHECK(from_worker, "PlaySound from a worker thread");

  auto player = api.CreateMediaPlayer();
  CHECK(player->Play().has_value(), "Play with nothing open fails");
  CHECK_EQ(player->Length(), std::int64_t{0}, "no length with nothing open");

  const auto missing = player->Open(TempPath("tavlen-no-such-sound.wav"));
  CHECK(missing.has_value() && !missing->empty(), "a missing file gives an error text");
  if (missing) Note("missing file: " + *missing);

  const auto opened = player->Open(wav);
  CHECK(!opened.has_value(), "the .wav opens" + (opened ? ": " + *opened : std::string()));
  const std::int64_t length = player->Length();
  Note("length " + std::to_string(length) + " ms");
  CHECK(length >= 650 && length <= 750, "length of a 700 ms sound");
  CHECK_EQ(player->Position(), std::int64_t{0}, "position 0 before playing");

  CHECK(!player->Play().has_value(), "Play");
  if (SoundExpected()) {
    const bool ended = PumpUntil([&] { return player->Position() >= player->Length(); }, 5000);
    CHECK(ended, "position reaches the length");
  } else {
    PumpUntil([] { return false; }, 200);
    Note("position without a sound server after 200 ms: " + std::to_string(player->Position()));
  }
  CHECK(!player->Stop().has_value(), "Stop");

  // Opening again closes what was open first.
  CHECK(!player->Open(wav).has_value(), "open again over an open file");
  CHECK(player->Length() >= 650, "length after reopening");
  player->Close();
  CHECK_EQ(player->Length(), std::int64_t{0}, "no length after Close");
  CHECK_EQ(player->Position(), std::int64_t{0}, "no position after Close");
  CHECK(player->Stop().has_value(), "Stop after Close fails");
  player->Close();  // harmless twice

  // Two players at once, as two sound shortcuts would have.
  // Two players at once, also on the same file (a shortcut playing while its
  // sound is tried in the shortcut window).
  auto second = api.CreateMediaPlayer();
  const auto first_open = player->Open(wav);
  const auto second_open = second->Open(wav);
  CHECK(!first_open.has_value(), "first player opens");
  CHECK(!second_open.has_value(), "a second player opens the same file" + (second_open ? ": " + *second_open : ""));
  CHECK(!second->Play().has_value() && !player->Play().has_value(), "both play");
  player.reset();
  CHECK(second->Length() >= 650, "the other player keeps its file");
  const std::string other = TempPath("tavlen-ports-smoke-2.wav");
  WriteSilentWav(other, 300);
  CHECK(!second->Open(other).has_value(), "reopened on another file");
  CHECK(second->Length() >= 250 && second->Length() <= 350, "the new file's length");
  second.reset();
  DeleteFileA(other.c_str());
  DeleteFileA(wav.c_str());
}

}  // namespace ports
