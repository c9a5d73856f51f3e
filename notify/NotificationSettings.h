// The keyword notification settings kept in files: highlight.ini holds the watched
// words, one per line; sounds.ini holds the path of the notification sound on its
// first line. Both live in the executable's directory and are replaced atomically.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tavlen {

inline constexpr const char* kHighlightFile = "highlight.ini";
inline constexpr const char* kSoundsFile = "sounds.ini";

struct NotificationSettings {
  explicit NotificationSettings(std::string exe_dir) : ExeDir(std::move(exe_dir)) {}

  std::string ExeDir;
  // Full path of the wave file played on a notification; empty: none.
  std::string NotificationSoundFile;
  // The watched words as the settings window shows them now, saved or not.
  std::deque<std::string> NotificationWords;
  // "Activer le son" as ticked now.
  bool NotificationSoundEnabled = false;

  std::string HighlightPath() const { return ExeDir + kHighlightFile; }
  std::string SoundsPath() const { return ExeDir + kSoundsFile; }
};

// The words of highlight.ini; nothing when the file is missing.
std::optional<std::vector<std::string>> ReadHighlightFile(const std::string& path);
void WriteHighlightFile(const std::string& path, const std::vector<std::string>& words);
// The first line of sounds.ini (empty for an empty file); nothing when it is missing.
std::optional<std::string> ReadSoundsFile(const std::string& path);
// sounds.ini with the path as its only line.
void WriteSoundsFile(const std::string& path, const std::string& sound_file);

}  // namespace tavlen
