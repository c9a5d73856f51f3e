#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "hotkeys/Volumes.h"
#include "platform/sim/SimSound.h"
#include "platform/sim/SimVolume.h"

namespace tavlen {
namespace {

using Cls = VolumeDeviceClass;

TEST(Volumes, ChoosesTheFirstDeviceWithVolumeControl) {
  sim::SimVolume devices;
  devices.AddDevice(Cls::kWaveOut, 0x1);                             // pitch only
  const unsigned wave = devices.AddDevice(Cls::kWaveOut, 0x4 | 0x8);  // volume + left/right
  devices.AddDevice(Cls::kWaveOut, 0x4);
  devices.AddDevice(Cls::kMidiOut, 0x1);
  devices.AddDevice(Cls::kAux, 0x2);  // no volume flag
  TVolumeControl control(devices);
  EXPECT_EQ(control.Device(TVolumeControl::kCD), -1);
  EXPECT_EQ(control.Device(TVolumeControl::kWave), static_cast<int>(wave));
  EXPECT_EQ(control.Device(TVolumeControl::kMidi), 0);
}

TEST(Volumes, ReadAndWriteOnTheByteScale) {
  sim::SimVolume devices;
  const unsigned wave = devices.AddDevice(Cls::kWaveOut, volume_caps::kWaveVolume, 0xFFFFFFFF);
  TVolumeControl control(devices);
  EXPECT_EQ(control.WaveVolume(), 255);
  control.SetWaveVolume(128);
  EXPECT_EQ(devices.Volume(Cls::kWaveOut, wave), 0x80008000u);
  EXPECT_EQ(control.WaveVolume(), 128);
  control.SetWaveVolume(255);
  EXPECT_EQ(devices.Volume(Cls::kWaveOut, wave), (65280u << 16) | 65280u);
  EXPECT_EQ(control.WaveVolume(), 255);
  for (int v = 0; v <= 255; ++v) {
    control.SetWaveVolume(static_cast<std::uint8_t>(v));
    EXPECT_EQ(control.WaveVolume(), v);
  }
  // Channels set unequally by another program read as their mean.
  devices.SetChannels(Cls::kWaveOut, wave, 65535, 0);
  EXPECT_EQ(control.WaveVolume(), 127);
  devices.SetChannels(Cls::kWaveOut, wave, 0, 65535);
  EXPECT_EQ(control.WaveVolume(), 127);
  // The other channels are untouched by wave writes.
  EXPECT_EQ(control.MidiVolume(), 0);
}

TEST(Volumes, NoDeviceReadsZeroAndIgnoresWrites) {
  sim::SimVolume devices;
  devices.AddDevice(Cls::kWaveOut, 0x1, 0xFFFFFFFF);  // no volume control
  TVolumeControl control(devices);
  EXPECT_EQ(control.WaveVolume(), 0);
  control.SetWaveVolume(200);
  EXPECT_EQ(control.WaveVolume(), 0);
  EXPECT_EQ(devices.SetVolumeCalls(), 0);
  EXPECT_EQ(devices.Volume(Cls::kWaveOut, 0), 0xFFFFFFFFu);

  sim::SimVolume none;
  TVolumeControl empty(none);
  EXPECT_EQ(empty.WaveVolume(), 0);
  EXPECT_EQ(empty.CDVolume(), 0);
}

TEST(SimSoundPlayer, PositionFollowsTheClockUpToTheLength) {
  std::int64_t now = 1000;
  sim::SimSound sound([&now] { return now; });
  sound.AddFile("C:\\sons\\jingle.wav", 3000);
  sound.AddFile("C:\\sons\\court.wav", 500);
  sound.AddUnplayableFile("C:\\sons\\broken.mp3");
  auto player = sound.CreateMediaPlayer();

  EXPECT_EQ(player->Open("C:\\sons\\absent.wav"), std::string(sim::SimSound::kFileNotFound));
  EXPECT_EQ(player->Open(""), std::string(sim::SimSound::kFileNotFound));
  EXPECT_EQ(player->Open("C:\\sons\\broken.mp3"), std::string(sim::SimSound::kCannotPlay));
  EXPECT_TRUE(player->Play().has_value());  // nothing open

  ASSERT_EQ(player->Open("C:\\sons\\jingle.wav"), std::nullopt);
  EXPECT_EQ(player->Length(), 3000);
  EXPECT_EQ(player->Position(), 0);
  now += 700;
  EXPECT_EQ(player->Position(), 0);  // not playing yet
  ASSERT_EQ(player->Play(), std::nullopt);
  now += 1000;
  EXPECT_EQ(player->Position(), 1000);
  EXPECT_EQ(sound.Playing(), std::vector<std::string>{"C:\\sons\\jingle.wav"});
  ASSERT_EQ(player->Stop(), std::nullopt);
  now += 5000;
  EXPECT_EQ(player->Position(), 1000);
  EXPECT_TRUE(sound.Playing().empty());
  player->Play();  // goes on from where it stopped
  now += 2500;
  EXPECT_EQ(player->Position(), 3000);
  EXPECT_GE(player->Position(), player->Length());
  EXPECT_TRUE(sound.Playing().empty());

  // Reopening stops the first sound and starts over.
  player->Open("C:\\sons\\jingle.wav");
  player->Play();
  now += 100;
  ASSERT_EQ(player->Open("C:\\sons\\court.wav"), std::nullopt);
  EXPECT_EQ(player->Position(), 0);
  EXPECT_TRUE(sound.Playing().empty());
  player->Close();
  EXPECT_EQ(player->Length(), 0);
  EXPECT_TRUE(player->Stop().has_value());
}

TEST(SimSoundPlayer, PlaySoundIsRecordedFromAnyThread) {
  sim::SimSound sound([] { return 0; });
  std::vector<std::thread> workers;
  for (int t = 0; t < 4; ++t)
    workers.emplace_back([&sound] {
      for (int i = 0; i < 100; ++i) sound.PlaySound("C:\\notif.wav", true);
    });
  for (auto& w : workers) w.join();
  const auto calls = sound.PlaySoundCalls();
  ASSERT_EQ(calls.size(), 400u);
  EXPECT_EQ(calls[0].path, "C:\\notif.wav");
  EXPECT_TRUE(calls[0].async);
}

}  // namespace
}  // namespace tavlen
