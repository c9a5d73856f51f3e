#include "standin/sim/SimWorld.h"

#include <atomic>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "base/Files.h"

namespace tavlen::sim {

namespace {
// Named as our moderators' folders are: accents and another script (UTF-8).
std::string FreshFolder() {
  static std::atomic<int> counter{0};
  const auto base = std::filesystem::temp_directory_path() /
                    std::filesystem::u8path("tavlen-sim H\u00e9l\u00e8ne \u0422\u0435\u0441\u0442-" +
                                            std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(base);
  std::filesystem::create_directories(base);
  return base.string() + "/";
}
}  // namespace

SimWorld::SimWorld(bool with_sound_card)
    : exe_dir_(FreshFolder()),
      platform_{desktop, clock, dialogs, widgets, exe_dir_, mixer, hotkeys, sound, volume, metrics, popups, collation} {
  if (with_sound_card) sound_card = std::make_unique<SimSoundCard>(mixer);
  platform_.memory = &memory;
}

SimWorld::~SimWorld() {
  rooms_.clear();
  players_.clear();
  std::error_code ignored;
  std::filesystem::remove_all(exe_dir_, ignored);
}

SimRoom& SimWorld::open_room(const std::string& name, standin::RoomConfig config) {
  config.room = name;
  return open_room(std::move(config));
}

SimRoom& SimWorld::open_room(standin::RoomConfig config) {
  rooms_.push_back(std::make_unique<SimRoom>(desktop, std::move(config), [this] { return clock.NowMs(); }, &memory,
                                             room_client_bits));
  return *rooms_.back();
}

SimPlayer& SimWorld::open_player(const std::string& title) {
  players_.push_back(std::make_unique<SimPlayer>(desktop, title));
  return *players_.back();
}

void SimWorld::write_file(const std::string& name, const std::string& bytes) const {
  std::ofstream out(exe_dir_ + name, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string SimWorld::read_file(const std::string& name) const { return ReadWholeFile(exe_dir_ + name).value_or(""); }

bool SimWorld::has_file(const std::string& name) const { return FileExists(exe_dir_ + name); }

}  // namespace tavlen::sim
