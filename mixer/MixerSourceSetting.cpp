#include "mixer/MixerSourceSetting.h"

#include <charconv>
#include <optional>

#include "base/Files.h"
#include "base/Text.h"

namespace tavlen {

namespace {

// A whole word in decimal, with an optional sign, within 32 bits.
std::optional<std::int32_t> DecimalValue(std::string_view word) {
  if (word.size() > 1 && word.front() == '+' && word[1] != '-') word.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, 10);
  if (word.empty() || error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

std::string FormatLine(std::string_view key, const MixerSourceSetting& s) {
  return std::string(key) + "= " + std::to_string(s.DeviceIndex) + " " + std::to_string(s.DestinationIndex) + " " +
         std::to_string(s.LineIndex) + " " + std::to_string(s.Volume);
}

}  // namespace

MixerConfigReading ReadMixerConfig(std::string_view text, MixerSourceSetting& MicSetting,
                                   MixerSourceSetting& MixSetting) {
  for (const std::string& line : SplitLinesAnyBreak(text)) {
    const std::string key = WordAt(1, line, kEquals);
    MixerSourceSetting* setting = key == "MIC" ? &MicSetting : key == "MIX" ? &MixSetting : nullptr;
    if (setting == nullptr) continue;
    std::int32_t* fields[] = {&setting->DeviceIndex, &setting->DestinationIndex, &setting->LineIndex,
                              &setting->Volume};
    std::uint8_t word = 2;
    for (std::int32_t* field : fields) {
      const auto value = DecimalValue(WordAt(word++, line, kBlank));
      if (!value) return MixerConfigReading::kStopped;
      *field = *value;
    }
  }
  return MixerConfigReading::kComplete;
}

std::string FormatMixerConfig(const MixerSourceSetting& MicSetting, const MixerSourceSetting& MixSetting) {
  return JoinLinesCrLf({FormatLine("MIC", MicSetting), FormatLine("MIX", MixSetting)});
}

MixerConfigReading LoadMixerConfig(const std::string& path, MixerSourceSetting& MicSetting,
                                   MixerSourceSetting& MixSetting) {
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) return MixerConfigReading::kMissing;
  return ReadMixerConfig(*text, MicSetting, MixSetting);
}

void SaveMixerConfig(const std::string& path, const MixerSourceSetting& MicSetting,
                     const MixerSourceSetting& MixSetting) {
  WriteFileAtomic(path, FormatMixerConfig(MicSetting, MixSetting));
}

}  // namespace tavlen
