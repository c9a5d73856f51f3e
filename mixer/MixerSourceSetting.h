// The two stored recording-source selections (microphone and music) and their
// file config.ini: one line per selection, "MIC= " or "MIX= " followed by the
// four fields in decimal, separated by one blank.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavlen {

struct MixerSourceSetting {
  std::int32_t DeviceIndex = 0;       // mixer device number
  std::int32_t DestinationIndex = 0;  // destination position in the mixer model
  std::int32_t LineIndex = 0;         // 0: the destination's own line; n: its n-th source line
  std::int32_t Volume = 0;            // level for both channels, 0 .. 65535

  friend bool operator==(const MixerSourceSetting&, const MixerSourceSetting&) = default;
};

inline constexpr std::string_view kMixerConfigFileName = "config.ini";

// How far a config.ini reading went.
enum class MixerConfigReading {
  kMissing,   // no file: nothing read
  kComplete,  // every line read
  kStopped,   // a missing or non-decimal value ended the reading; what came before it was kept
};

// Applies the lines of `text` in order: a line whose key (the text before its
// first "=") is exactly "MIC" sets MicSetting, exactly "MIX" sets MixSetting,
// field by field from its blank-separated words 2 to 5. Returns kComplete or kStopped.
MixerConfigReading ReadMixerConfig(std::string_view text, MixerSourceSetting& MicSetting,
                                   MixerSourceSetting& MixSetting);

// The file's two lines, each ended by CR LF.
std::string FormatMixerConfig(const MixerSourceSetting& MicSetting, const MixerSourceSetting& MixSetting);

// Reads the file at `path` into the settings; kMissing (settings untouched) when
// it does not exist or cannot be read.
MixerConfigReading LoadMixerConfig(const std::string& path, MixerSourceSetting& MicSetting,
                                   MixerSourceSetting& MixSetting);
// Replaces the file atomically; throws std::runtime_error when it cannot be written.
void SaveMixerConfig(const std::string& path, const MixerSourceSetting& MicSetting,
                     const MixerSourceSetting& MixSetting);

}  // namespace tavlen
