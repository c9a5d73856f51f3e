#include "monitor/WinampControl.h"

#include <algorithm>

#include "base/Text.h"

namespace tavlen {

namespace {
constexpr std::string_view kPlayerClass = "Winamp v1.x";
constexpr int kTitleLimit = 254;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::string SongFromPlayerTitle(std::string_view title) {
  const std::size_t p = Pos("- Winamp", title);
  if (p == 0) return {};
  std::string_view song = title.substr(0, p >= 2 ? p - 2 : 0);
  // A player set to show numbers puts "12. " first; a title of its own may hold
  // blanks anywhere, so only that exact shape is taken off.
  const auto digits_end = std::find_if_not(song.begin(), song.end(), IsDigit);
  const auto digits = static_cast<std::size_t>(digits_end - song.begin());
  if (digits > 0 && song.substr(digits).starts_with(". ")) song.remove_prefix(digits + 2);
  return std::string(song);
}

std::string TWinampControl::NowPlayingTitle() {
  const Hwnd player = windowing_.FindWindow(kPlayerClass, {});
  if (player == kNoWindow) return {};
  return SongFromPlayerTitle(windowing_.GetWindowText(player, kTitleLimit));
}

}  // namespace tavlen
