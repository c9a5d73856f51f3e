// Everything a scenario needs around the console: the simulated desktop, virtual
// clock, scripted dialogs, widget backend, stand-in rooms and a fresh settings
// folder.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/sim/SimBackend.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimCollation.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimHotkeys.h"
#include "platform/sim/SimMixer.h"
#include "platform/sim/SimPopupWindow.h"
#include "platform/sim/SimProcessMemory.h"
#include "platform/sim/SimSound.h"
#include "platform/sim/SimTextMetrics.h"
#include "platform/sim/SimVolume.h"
#include "standin/sim/SimPlayer.h"
#include "standin/sim/SimRoom.h"
#include "standin/sim/SimSoundCard.h"

namespace tavlen::sim {

class SimWorld {
 public:
  // A desktop has a sound card unless asked for one without.
  explicit SimWorld(bool with_sound_card = true);
  ~SimWorld();

  SimDesktop desktop;
  SimClock clock;
  SimDialogs dialogs;
  SimBackend widgets{desktop};
  SimMixer mixer;
  SimHotkeys hotkeys{[this](std::function<void()> work) { clock.Post(std::move(work)); }};
  SimSound sound{[this] { return clock.NowMs(); }};
  SimVolume volume;
  SimTextMetrics metrics;
  SimCollation collation;
  SimPopupHost popups;
  // Memory of the rooms' processes; rooms opened next run with this pointer width.
  SimProcessMemory memory;
  int room_client_bits = 64;
  // The sound card in `mixer`, none on a desktop without one.
  std::unique_ptr<SimSoundCard> sound_card;

  // A stand-in room window at the top of the Z order.
  SimRoom& open_room(const std::string& name, standin::RoomConfig config = {});
  SimRoom& open_room(standin::RoomConfig config);
  // A stand-in media player window showing `title`, at the top of the Z order.
  SimPlayer& open_player(const std::string& title);
  void advance(std::chrono::milliseconds ms) { clock.Advance(ms.count()); }
  void advance_ms(std::int64_t ms) { clock.Advance(ms); }

  // The settings folder, with a trailing separator.
  const std::string& exe_dir() const { return exe_dir_; }
  std::string file_path(const std::string& name) const { return exe_dir_ + name; }
  void write_file(const std::string& name, const std::string& bytes) const;
  std::string read_file(const std::string& name) const;
  bool has_file(const std::string& name) const;

  Platform& platform() { return platform_; }

 private:
  std::string exe_dir_;
  std::vector<std::unique_ptr<SimRoom>> rooms_;
  std::vector<std::unique_ptr<SimPlayer>> players_;
  Platform platform_;
};

}  // namespace tavlen::sim
