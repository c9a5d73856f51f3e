// Settings files: read whole, written whole and atomically (a temporary file beside
// the target, then a rename), so a failed save never leaves a truncated file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavlen {

bool FileExists(const std::string& path);
// The whole file, or nothing when it is missing or cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);
// Replaces path with bytes. Throws std::runtime_error when any step fails; the
// previous file is then left as it was.
void WriteFileAtomic(const std::string& path, std::string_view bytes);

// Lines ended by CR LF, a lone CR or a lone LF; a final line break adds no line.
std::vector<std::string> SplitLinesAnyBreak(std::string_view text);
// Each line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace tavlen
