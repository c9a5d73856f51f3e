// highlight.ini as a hand-edited file: one watched word per line, written back as
// read.
#include "base/Files.h"
#include "FuzzSupport.h"
#include "notify/NotificationSettings.h"

using namespace tavlen;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::AsText(data, size);
  const std::string path = fuzz::ScratchFile(kHighlightFile, bytes);

  const std::optional<std::vector<std::string>> words = ReadHighlightFile(path);
  FUZZ_CHECK(words.has_value());
  FUZZ_CHECK(*words == SplitLinesAnyBreak(bytes));
  for (const std::string& w : *words) FUZZ_CHECK(w.find_first_of("\r\n") == std::string::npos);

  WriteHighlightFile(path, *words);
  FUZZ_CHECK(ReadHighlightFile(path) == words);
  // A file already in the console's form is written byte for byte.
  if (bytes == JoinLinesCrLf(*words)) FUZZ_CHECK(ReadWholeFile(path).value() == bytes);
  return 0;
}
