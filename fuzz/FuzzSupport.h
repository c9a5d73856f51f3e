// Shared by the fuzz targets: a check that stops the run with a message, the
// input cut into parts, and a scratch settings folder (in memory when the system
// offers one, since every execution writes files).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#define FUZZ_CHECK(condition)                                                                  \
  do {                                                                                         \
    if (!(condition)) {                                                                        \
      std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                            \
    }                                                                                          \
  } while (0)

namespace tavlen::fuzz {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Reads the input front to back: small numbers first, the rest as text.
class Input {
 public:
  explicit Input(std::string_view bytes) : rest_(bytes) {}
  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  int Int16() { return static_cast<std::int16_t>(Byte() | (Byte() << 8)); }
  std::string_view Rest() const { return rest_; }
  // The parts of the rest separated by `mark` (a byte the texts rarely hold).
  std::vector<std::string_view> Parts(char mark) const {
    std::vector<std::string_view> parts;
    std::string_view text = rest_;
    for (std::size_t at; (at = text.find(mark)) != std::string_view::npos; text.remove_prefix(at + 1))
      parts.push_back(text.substr(0, at));
    parts.push_back(text);
    return parts;
  }

 private:
  std::string_view rest_;
};

// A folder of this process for the files the targets load and save, removed at exit.
inline const std::string& ScratchDir() {
  // Never destroyed: the exit handler still needs it.
  static const std::string* const dir = [] {
    std::error_code ec;
    std::filesystem::path base = "/dev/shm";
    if (!std::filesystem::is_directory(base, ec)) base = std::filesystem::temp_directory_path();
    const auto path = base / ("tavlen-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return new std::string(path.string() + "/");
  }();
  static const bool cleanup = [] {
    return std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(*dir, ignored);
    }) == 0;
  }();
  (void)cleanup;
  return *dir;
}

// Puts bytes in the scratch folder as a file edited by hand would be.
inline std::string ScratchFile(const std::string& name, std::string_view bytes) {
  const std::string path = ScratchDir() + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

}  // namespace tavlen::fuzz
