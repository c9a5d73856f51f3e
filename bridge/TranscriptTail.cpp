#include "bridge/TranscriptTail.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <optional>

#include "bridge/RemoteMemory.h"

namespace tavlen {

namespace {
// TEXTRANGEA: two LONG positions, then the text pointer at the client's width.
constexpr std::size_t kRangeSize32 = 12;
constexpr std::size_t kRangeSize64 = 16;

// Rich edit ends a paragraph with CR alone where WM_GETTEXT gives CR LF; the
// tracker compares readings of either kind.
void ParagraphsToCrLf(std::string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) out += '\n';
  }
}
}  // namespace

bool ReadRichEditTail(Windowing& w, ProcessMemory* memory, Hwnd edit, std::size_t length, std::size_t span,
                      std::string& out) {
  out.clear();
  if (!memory || span == 0 || span > INT_MAX / 4) return false;
  const std::uint32_t process_id = w.WindowProcessId(edit);
  if (process_id == 0) return false;
  ProcessHandleGuard process(*memory, memory->OpenProcess(kRemoteBlockRights, process_id));
  if (!process.Get()) return false;
  const std::optional<int> bits = memory->TargetPointerBits(process.Get());
  if (!bits || (*bits != 32 && *bits != 64) || *bits > memory->PointerBits()) return false;

  // The length counts CR LF as two and a position counts a paragraph as one, so
  // this start is at most one character a line late. Positions are 32-bit: a
  // length past them is a lie, and the last `span` of the first 2^31 is asked for.
  const auto end = static_cast<std::int32_t>(std::min<std::size_t>(length, INT_MAX));
  const auto start = static_cast<std::int32_t>(std::max<std::int64_t>(0, std::int64_t{end} - std::int64_t(span)));
  // Room for a double-byte code page, where a character may take two bytes.
  const std::size_t capacity = 2 * span + 2;
  const std::size_t range_size = *bits == 64 ? kRangeSize64 : kRangeSize32;
  RemoteBlock block(*memory, process.Get(), range_size + capacity);
  if (!block.Address()) return false;
  const RemoteAddress text_at = block.Address() + range_size;
  if (*bits == 32 && text_at + capacity > 0x100000000ull) return false;

  std::uint8_t range[kRangeSize64] = {};
  std::memcpy(range, &start, 4);
  std::memcpy(range + 4, &end, 4);
  if (*bits == 64) {
    std::memcpy(range + 8, &text_at, 8);
  } else {
    const auto low = static_cast<std::uint32_t>(text_at);
    std::memcpy(range + 8, &low, 4);
  }
  if (!memory->WriteProcessMemory(process.Get(), block.Address(), range, range_size)) return false;
  std::intptr_t copied = 0;
  if (!w.Send(edit, wm::kEmGetTextRange, 0, static_cast<std::intptr_t>(block.Address()), &copied) || copied <= 0)
    return false;
  // The count is the client's word: never past the block.
  std::string raw(std::min(static_cast<std::size_t>(copied), capacity - 1), '\0');
  if (!memory->ReadProcessMemory(process.Get(), text_at, raw.data(), raw.size())) return false;
  raw.resize(std::min(raw.size(), raw.find('\0')));
  ParagraphsToCrLf(raw, out);
  // The part starts inside a line, which is left out; a reading without any
  // break is one long line and kept as it is.
  if (start > 0) {
    const std::size_t cut = out.find("\r\n");
    if (cut != std::string::npos) out.erase(0, cut + 2);
  }
  return true;
}

}  // namespace tavlen
