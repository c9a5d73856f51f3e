// config.ini as a hand-edited file: the reading stops cleanly on a bad value, and
// what was read is written and read back unchanged.
#include "base/Files.h"
#include "base/Text.h"
#include "FuzzSupport.h"
#include "mixer/MixerSourceSetting.h"

using namespace tavlen;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::ScratchFile(std::string(kMixerConfigFileName), fuzz::AsText(data, size));

  MixerSourceSetting mic, mix;
  const MixerConfigReading reading = LoadMixerConfig(path, mic, mix);
  FUZZ_CHECK(reading == MixerConfigReading::kComplete || reading == MixerConfigReading::kStopped);

  SaveMixerConfig(path, mic, mix);
  const std::string saved = ReadWholeFile(path).value();
  FUZZ_CHECK(SplitLinesAnyBreak(saved).size() == 2);
  MixerSourceSetting mic2, mix2;
  FUZZ_CHECK(LoadMixerConfig(path, mic2, mix2) == MixerConfigReading::kComplete);
  FUZZ_CHECK(mic2 == mic && mix2 == mix);
  FUZZ_CHECK(FormatMixerConfig(mic2, mix2) == saved);

  // A complete reading over other values replaces a selection whole when the file
  // names it, and leaves it alone when it does not.
  const MixerSourceSetting before_mic{7, 7, 7, 7}, before_mix{9, 9, 9, 9};
  MixerSourceSetting mic3 = before_mic, mix3 = before_mix;
  if (ReadMixerConfig(fuzz::AsText(data, size), mic3, mix3) == MixerConfigReading::kComplete) {
    bool names_mic = false, names_mix = false;
    for (const std::string& line : SplitLinesAnyBreak(fuzz::AsText(data, size))) {
      names_mic |= WordAt(1, line, kEquals) == "MIC";
      names_mix |= WordAt(1, line, kEquals) == "MIX";
    }
    FUZZ_CHECK(mic3 == (names_mic ? mic : before_mic));
    FUZZ_CHECK(mix3 == (names_mix ? mix : before_mix));
  }
  return 0;
}
