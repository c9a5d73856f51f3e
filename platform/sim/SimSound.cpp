#include "platform/sim/SimSound.h"

#include <algorithm>
#include <utility>

namespace tavlen::sim {

namespace {
constexpr const char* kNotOpen = "The specified device is not open or is not recognized by MCI.";
}  // namespace

class SimMediaPlayer : public MediaPlayer {
 public:
  SimMediaPlayer(SimSound& sound, std::shared_ptr<SimSound::PlayerState> state)
      : sound_(sound), state_(std::move(state)) {}
  ~SimMediaPlayer() override { Close(); }

  std::optional<std::string> Open(std::string_view file) override {
    Close();
    auto it = sound_.files_.find(std::string(file));
    if (it == sound_.files_.end()) return std::string(SimSound::kFileNotFound);
    if (it->second < 0) return std::string(SimSound::kCannotPlay);
    *state_ = SimSound::PlayerState{};
    state_->file = it->first;
    state_->length = it->second;
    return std::nullopt;
  }

  std::optional<std::string> Play() override {
    if (state_->file.empty()) return std::string(kNotOpen);
    state_->position = sound_.PositionOf(*state_);
    state_->playing = true;
    state_->started_at = sound_.Now();
    state_->started_position = state_->position;
    return std::nullopt;
  }

  std::optional<std::string> Stop() override {
    if (state_->file.empty()) return std::string(kNotOpen);
    state_->position = sound_.PositionOf(*state_);
    state_->playing = false;
    return std::nullopt;
  }

  void Close() override { *state_ = SimSound::PlayerState{}; }

  std::int64_t Position() override { return state_->file.empty() ? 0 : sound_.PositionOf(*state_); }
  std::int64_t Length() override { return state_->length; }

 private:
  SimSound& sound_;
  std::shared_ptr<SimSound::PlayerState> state_;
};

SimSound::SimSound(TimeSource now) : now_(std::move(now)) {}

void SimSound::AddFile(const std::string& path, std::int64_t length_ms) { files_[path] = length_ms; }

void SimSound::AddUnplayableFile(const std::string& path) { files_[path] = -1; }

std::int64_t SimSound::PositionOf(const PlayerState& state) const {
  if (!state.playing) return state.position;
  return std::min(state.length, state.started_position + (Now() - state.started_at));
}

bool SimSound::PlaySound(std::string_view path, bool async) {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back(PlaySoundCall{std::string(path), async});
  return true;
}

std::vector<SimSound::PlaySoundCall> SimSound::PlaySoundCalls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

std::unique_ptr<MediaPlayer> SimSound::CreateMediaPlayer() {
  auto state = std::make_shared<PlayerState>();
  std::erase_if(players_, [](const std::weak_ptr<PlayerState>& p) { return p.expired(); });
  players_.push_back(state);
  return std::make_unique<SimMediaPlayer>(*this, std::move(state));
}

std::vector<std::string> SimSound::Playing() const {
  std::vector<std::string> files;
  for (const auto& weak : players_) {
    const auto state = weak.lock();
    if (state && state->playing && PositionOf(*state) < state->length) files.push_back(state->file);
  }
  return files;
}

}  // namespace tavlen::sim
