#include "notify/NotificationSettings.h"

#include "base/Files.h"

namespace tavlen {

std::optional<std::vector<std::string>> ReadHighlightFile(const std::string& path) {
  if (!FileExists(path)) return std::nullopt;
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return SplitLinesAnyBreak(*bytes);
}

void WriteHighlightFile(const std::string& path, const std::vector<std::string>& words) {
  WriteFileAtomic(path, JoinLinesCrLf(words));
}

std::optional<std::string> ReadSoundsFile(const std::string& path) {
  if (!FileExists(path)) return std::nullopt;
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  const std::vector<std::string> lines = SplitLinesAnyBreak(*bytes);
  return lines.empty() ? std::string() : lines.front();
}

void WriteSoundsFile(const std::string& path, const std::string& sound_file) {
  WriteFileAtomic(path, JoinLinesCrLf({sound_file}));
}

}  // namespace tavlen
