// sounds.ini as a hand-edited file: its first line is the sound, written back alone.
#include "base/Files.h"
#include "FuzzSupport.h"
#include "notify/NotificationSettings.h"

using namespace tavlen;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::AsText(data, size);
  const std::string path = fuzz::ScratchFile(kSoundsFile, bytes);

  const std::optional<std::string> sound = ReadSoundsFile(path);
  FUZZ_CHECK(sound.has_value());
  const std::vector<std::string> lines = SplitLinesAnyBreak(bytes);
  FUZZ_CHECK(*sound == (lines.empty() ? std::string() : lines.front()));

  WriteSoundsFile(path, *sound);
  FUZZ_CHECK(ReadSoundsFile(path) == sound);
  FUZZ_CHECK(ReadWholeFile(path).value() == *sound + "\r\n");
  return 0;
}
