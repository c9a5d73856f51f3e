#include "mixer/MixerSourceSetting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/Files.h"

namespace tavlen {
namespace {

using S = MixerSourceSetting;

TEST(MixerConfig, ReadsBothLinesByTheirKeys) {
  S mic, mix;
  EXPECT_EQ(ReadMixerConfig("MIX= -1 0 3 20000\r\nMIC= 0 1 2 45000\r\n", mic, mix), MixerConfigReading::kComplete);
  EXPECT_EQ(mic, (S{0, 1, 2, 45000}));
  EXPECT_EQ(mix, (S{-1, 0, 3, 20000}));

  // Runs of blanks, other line breaks, a fifth value, keys that are not exactly
  // MIC or MIX, and empty lines.
  mic = mix = S{};
  const char* text =
      "[audio]\n"
      "mic= 9 9 9 9\r"
      "MICRO= 8 8 8 8\n"
      "\n"
      "MIC=   4   5  6   +7 99\n"
      "MIX = 3 3 3 3\n";
  EXPECT_EQ(ReadMixerConfig(text, mic, mix), MixerConfigReading::kComplete);
  EXPECT_EQ(mic, (S{4, 5, 6, 7}));
  EXPECT_EQ(mix, S{});

  // A later line of a kind overrides an earlier one.
  EXPECT_EQ(ReadMixerConfig("MIC= 1 1 1 1\r\nMIX= 2 2 2 2\r\nMIC= 3 3 3 3\r\n", mic, mix),
            MixerConfigReading::kComplete);
  EXPECT_EQ(mic, (S{3, 3, 3, 3}));
  EXPECT_EQ(mix, (S{2, 2, 2, 2}));

  EXPECT_EQ(ReadMixerConfig("", mic, mix), MixerConfigReading::kComplete);
  EXPECT_EQ(mic, (S{3, 3, 3, 3}));
}

TEST(MixerConfig, ABadOrMissingValueEndsTheReading) {
  // No blank after "=": the first word is "MIC=0", so 1 2 3 are read and the
  // fourth is missing; the MIX line after it is never reached.
  S mic{0, 0, 0, 500}, mix;
  EXPECT_EQ(ReadMixerConfig("MIC=0 1 2 3\r\nMIX= 7 7 7 7\r\n", mic, mix), MixerConfigReading::kStopped);
  EXPECT_EQ(mic, (S{1, 2, 3, 500}));
  EXPECT_EQ(mix, S{});

  // Values before the bad one keep their new content; lines before it stay read.
  mic = mix = S{};
  EXPECT_EQ(ReadMixerConfig("MIC= 1 2 3 4\r\nMIX= 5 x 7 8\r\nMIC= 9 9 9 9\r\n", mic, mix),
            MixerConfigReading::kStopped);
  EXPECT_EQ(mic, (S{1, 2, 3, 4}));
  EXPECT_EQ(mix, (S{5, 0, 0, 0}));

  for (const char* bad : {"MIX= 1 2 3 0x10", "MIX= 1 2 3 4.5", "MIX= 1 2 3 99999999999", "MIX= 1 2 3 -",
                          "MIX= 1 2 3\t4", "MIX", "MIX= 1 2 3 4a"}) {
    mix = S{};
    EXPECT_EQ(ReadMixerConfig(bad, mic, mix), MixerConfigReading::kStopped) << bad;
    EXPECT_EQ(mix.Volume, 0) << bad;
  }
  mix = S{};
  EXPECT_EQ(ReadMixerConfig("MIX= -2147483648 2147483647 0 -0", mic, mix), MixerConfigReading::kComplete);
  EXPECT_EQ(mix, (S{INT32_MIN, INT32_MAX, 0, 0}));
}

TEST(MixerConfig, WritesTwoLinesAndReadsThemBack) {
  EXPECT_EQ(FormatMixerConfig(S{0, 1, 2, 45000}, S{-1, 0, 3, 20000}),
            "MIC= 0 1 2 45000\r\nMIX= -1 0 3 20000\r\n");

  const auto dir = std::filesystem::path(testing::TempDir()) / "tavlen_mixer_config";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string path = (dir / std::string(kMixerConfigFileName)).string();

  S mic{5, 6, 7, 8}, mix{1, 1, 1, 1};
  EXPECT_EQ(LoadMixerConfig(path, mic, mix), MixerConfigReading::kMissing);
  EXPECT_EQ(mic, (S{5, 6, 7, 8}));

  WriteFileAtomic(path, "something else, longer than what replaces it\r\n\r\n\r\n");
  SaveMixerConfig(path, S{2, 0, 1, 65535}, S{-1, -1, -1, 0});
  EXPECT_EQ(ReadWholeFile(path), "MIC= 2 0 1 65535\r\nMIX= -1 -1 -1 0\r\n");
  EXPECT_EQ(LoadMixerConfig(path, mic, mix), MixerConfigReading::kComplete);
  EXPECT_EQ(mic, (S{2, 0, 1, 65535}));
  EXPECT_EQ(mix, (S{-1, -1, -1, 0}));

  WriteFileAtomic(path, "MIC=0 1 2 3\r\n");
  EXPECT_EQ(LoadMixerConfig(path, mic, mix), MixerConfigReading::kStopped);
  EXPECT_EQ(mic, (S{1, 2, 3, 65535}));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tavlen
