// A lying room: the wrong answers a buggy client, or any program that opens a
// window titled like a room, can give the console. Chosen on the stand-in's
// command line (--lie) or in a test's RoomConfig; both skins answer them alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavlen::standin {

enum class Lie : unsigned {
  kHugeLength,      // WM_GETTEXTLENGTH of the transcript: 2^40 characters
  kNegativeLength,  // WM_GETTEXTLENGTH of the transcript: -1
  kNoTerminator,    // WM_GETTEXT and tree item texts fill the whole buffer, no zero,
                    // and WM_GETTEXT counts more than the buffer holds
  kHugeCount,       // TVM_GETCOUNT: 10^9
  kCycle,           // TVGN_NEXTVISIBLE of the last visible item: the first item
  kUnwrittenItem,   // TVM_GETITEMA: TRUE, and the record left as it came
  kWildText,        // TVM_GETITEMA: the text pointer set outside the caller's block
  kCrowd,           // 5,000 more direct children after the usual ones
  kRenamingSwitch,  // the talk switch answers another caption at every other read
  kReborn,          // the room window is destroyed and made again, same title,
                    // between two messages of the console
  kCount
};

class RoomLies {
 public:
  bool Has(Lie lie) const { return (bits_ >> static_cast<unsigned>(lie)) & 1u; }
  void Add(Lie lie) { bits_ |= 1u << static_cast<unsigned>(lie); }
  bool Any() const { return bits_ != 0; }
  bool operator==(const RoomLies&) const = default;

 private:
  std::uint32_t bits_ = 0;
};

// What the lies say.
inline constexpr std::int64_t kLyingTextLength = std::int64_t{1} << 40;
inline constexpr std::int64_t kLyingItemCount = 1000000000;
inline constexpr int kCrowdChildren = 5000;
// The caption the renaming switch gives at every other read.
inline constexpr char kRenamedSwitchCaption[] = "Hands Busy";
// A room that is made again does so after this many messages to its windows.
inline constexpr int kRebornEveryMessages = 7;

// The option's words, in the order of the enum: "huge-length", "negative-length", ...
std::string_view LieName(Lie lie);
// "count,cycle", any of the words separated by commas, or "all". Adds them to
// `lies`; returns an error text, empty when every word is known.
std::string ParseLies(std::string_view list, RoomLies& lies);
// Every word, separated by commas (the usage text).
std::string LieNames();

// The caption the talk switch gives at its read number `read` (0 first).
std::string_view SwitchCaption(const RoomLies& lies, std::uint64_t read);
// The text a control filled without a terminator: `text` followed by filler
// up to `buffer` bytes, no zero among them.
std::string Unterminated(std::string_view text, std::size_t buffer);

}  // namespace tavlen::standin
