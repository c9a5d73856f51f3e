#include "userlist/TreeViewReader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>
#include <unordered_set>

#include "bridge/RemoteMemory.h"
#include "platform/TreeViewItem.h"

namespace tavlen {

namespace {
constexpr std::uint32_t kRequestMask = tv::kText | tv::kImage | tv::kParam | tv::kState | tv::kHandle |
                                       tv::kSelectedImage | tv::kChildren;  // 0x7F
// Items whose answers are read back with one transfer; bounds the block's size.
constexpr std::size_t kChunkItems = 512;
// Items whose handles are held before they are asked for (see TreeRead).
constexpr std::size_t kAskAtOnce = 16;
// Far above any room; a control answering nonsense cannot keep the walk going.
constexpr std::intptr_t kMaxItems = kTreeItemCeiling;

// A text buffer's content up to its first zero; a control that filled it with no
// zero gives the buffer's capacity less the terminator's place.
std::string UpToZero(std::span<const std::uint8_t> bytes) {
  bytes = bytes.first(std::min(bytes.size(), kTreeTextCapacity - 1));
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  return std::string(bytes.begin(), end);
}

// One read of one tree: records of `layout` (the client's width), each followed
// by its text buffer, one slot per item.
//
// A handle kept while the client runs on may name an item the client has deleted
// meanwhile (a user left and the tree was rebuilt), and a tree view handed such
// a handle reads, and may write, freed memory of the client. Handles are
// therefore asked for in small batches: the walk collects kAskAtOnce of them,
// their records go over in one transfer and each is asked for at once, so a
// rebuild can catch one batch (and the next handle) at most, while a read costs
// about two messages per item. The answers, which lie in our own block, are read
// back a block at a time.
class TreeRead {
 public:
  TreeRead(Windowing& w, ProcessMemory& m, ProcessHandle process, Hwnd tree, const tv::ItemLayout& layout)
      : w_(w), m_(m), process_(process), tree_(tree), l_(layout) {}

  std::size_t Stride() const { return l_.size + kTreeTextCapacity; }

  // The tree's item count (collapsed items included), at most kMaxItems; 0 when unknown.
  std::size_t Count() {
    std::intptr_t count = 0;
    if (!w_.Send(tree_, wm::kTvmGetCount, 0, 0, &count) || count <= 0) return 0;
    return static_cast<std::size_t>(std::min(count, kMaxItems));
  }

  // Walks the visible items, at most `count`, through a block of `slots` slots
  // at `block`, appending the texts obtained. An item met a second time ends the
  // walk: a control whose "next" runs in a circle would otherwise hold it to `count`.
  TreeReadEnd ReadAll(std::size_t count, RemoteAddress block, std::size_t slots, std::vector<std::string>& out) {
    std::vector<std::uint8_t> bytes(slots * Stride(), 0);
    std::vector<bool> answered(slots);
    std::unordered_set<std::uint64_t> met;
    TreeReadEnd end = TreeReadEnd::kWhole;
    std::size_t seen = 0;
    std::uint64_t item = Next(tv::kRoot, 0);
    const auto fresh = [&](std::uint64_t candidate) {
      if (candidate == 0 || met.insert(candidate).second) return candidate;
      end = TreeReadEnd::kCircle;
      return std::uint64_t{0};
    };
    item = fresh(item);
    while (item != 0 && seen < count) {
      std::size_t n = 0;
      while (n < slots && item != 0 && seen < count) {
        const std::size_t first = n;
        for (; n < slots && n - first < kAskAtOnce && item != 0 && seen < count; ++n, ++seen) {
          PutRecord(Slot(bytes, n), item, SlotAt(block, n) + l_.size);
          item = fresh(Next(tv::kNextVisible, item));
        }
        AskBatch(block, first, n, bytes, answered);
      }
      ReadBackChunk(block, n, bytes, answered, out);
    }
    if (item != 0 && seen == static_cast<std::size_t>(kMaxItems)) end = TreeReadEnd::kCeiling;
    return end;
  }

 private:
  // Sends the records of slots [first, last) in one transfer (record by record
  // when it fails, so that a failure costs one item) and asks for each item.
  void AskBatch(RemoteAddress block, std::size_t first, std::size_t last, std::vector<std::uint8_t>& bytes,
                std::vector<bool>& answered) {
    const bool batch_written =
        m_.WriteProcessMemory(process_, SlotAt(block, first), &bytes[first * Stride()], (last - first) * Stride());
    for (std::size_t i = first; i < last; ++i) {
      const bool written =
          batch_written || m_.WriteProcessMemory(process_, SlotAt(block, i), Slot(bytes, i).data(), l_.size + 1);
      answered[i] = written && Request(SlotAt(block, i));
    }
  }

  // The answers of the first n slots: one transfer, or item by item when it fails.
  void ReadBackChunk(RemoteAddress block, std::size_t n, std::vector<std::uint8_t>& bytes,
                     const std::vector<bool>& answered, std::vector<std::string>& out) {
    const bool read_all = m_.ReadProcessMemory(process_, block, bytes.data(), n * Stride());
    for (std::size_t i = 0; i < n; ++i) {
      if (!answered[i]) continue;
      std::optional<std::string> text;
      if (read_all) {
        const auto slot = Slot(bytes, i);
        text = TextOf(slot.first(l_.size), SlotAt(block, i) + l_.size, slot.subspan(l_.size));
      } else {
        text = ReadBack(SlotAt(block, i));
      }
      if (text) out.push_back(std::move(*text));
    }
  }

  std::uint64_t Narrow(std::uint64_t v) const { return l_.pointer_bits == 32 ? v & 0xFFFFFFFFull : v; }

  std::uint64_t Next(std::uintptr_t relation, std::uint64_t item) {
    std::intptr_t result = 0;
    if (!w_.Send(tree_, wm::kTvmGetNextItem, relation, static_cast<std::intptr_t>(item), &result)) return 0;
    return Narrow(static_cast<std::uint64_t>(result));
  }

  RemoteAddress SlotAt(RemoteAddress block, std::size_t i) const { return block + i * Stride(); }
  std::span<std::uint8_t> Slot(std::vector<std::uint8_t>& bytes, std::size_t i) const {
    return std::span<std::uint8_t>(bytes).subspan(i * Stride(), Stride());
  }

  // The item's request record, and an empty text in case the control leaves its
  // buffer untouched.
  void PutRecord(std::span<std::uint8_t> slot, std::uint64_t item, RemoteAddress text) const {
    const auto record = slot.first(l_.size);
    std::fill(record.begin(), record.end(), std::uint8_t{0});
    slot[l_.size] = 0;
    tv::Put32(record, l_.mask, kRequestMask);
    tv::PutPointer(l_, record, l_.item, item);
    tv::PutPointer(l_, record, l_.text, text);
    tv::Put32(record, l_.text_max, static_cast<std::uint32_t>(kTreeTextCapacity));
  }

  bool Request(RemoteAddress record) {
    std::intptr_t result = 0;
    return w_.Send(tree_, wm::kTvmGetItemA, 0, static_cast<std::intptr_t>(record), &result) && result != 0;
  }

  // The text a record read back points at: in our buffer, already copied, or
  // wherever the control chose to point.
  std::optional<std::string> TextOf(std::span<const std::uint8_t> record, RemoteAddress own_buffer,
                                    std::span<const std::uint8_t> copied) {
    const RemoteAddress at = tv::GetPointer(l_, record, l_.text);
    if (at == own_buffer) return UpToZero(copied);
    std::vector<std::uint8_t> text(kTreeTextCapacity);
    if (!m_.ReadProcessMemory(process_, at, text.data(), text.size())) return std::nullopt;
    return UpToZero(text);
  }

  // The record at `slot` read back, then its text.
  std::optional<std::string> ReadBack(RemoteAddress slot) {
    std::vector<std::uint8_t> record(l_.size);
    if (!m_.ReadProcessMemory(process_, slot, record.data(), record.size())) return std::nullopt;
    std::vector<std::uint8_t> text(kTreeTextCapacity);
    const RemoteAddress at = tv::GetPointer(l_, record, l_.text);
    if (!m_.ReadProcessMemory(process_, at, text.data(), text.size())) return std::nullopt;
    return UpToZero(text);
  }

  Windowing& w_;
  ProcessMemory& m_;
  ProcessHandle process_;
  Hwnd tree_;
  const tv::ItemLayout& l_;
};
}  // namespace

std::vector<std::string> ReadTreeItemTexts(Windowing& windowing, ProcessMemory* memory, Hwnd tree,
                                           TreeReadEnd* end) {
  std::vector<std::string> texts;
  if (end) *end = TreeReadEnd::kWhole;
  if (tree == kNoWindow || !memory) return texts;
  const std::uint32_t process_id = windowing.WindowProcessId(tree);
  if (process_id == 0) return texts;
  ProcessHandleGuard process(*memory, memory->OpenProcess(kRemoteBlockRights, process_id));
  if (!process.Get()) return texts;
  // The record follows the client's width; a 32-bit console cannot reach a 64-bit client.
  const std::optional<int> bits = memory->TargetPointerBits(process.Get());
  if (!bits || (*bits != 32 && *bits != 64) || *bits > memory->PointerBits()) return texts;
  TreeRead read(windowing, *memory, process.Get(), tree, tv::LayoutFor(*bits));

  const std::size_t count = read.Count();
  if (count == 0) return texts;
  const std::size_t per_block = std::min(count, kChunkItems);
  texts.reserve(per_block);
  RemoteBlock block(*memory, process.Get(), per_block * read.Stride());
  if (!block.Address()) return texts;
  // A 32-bit control cannot be pointed above 4 GiB.
  const RemoteAddress last = block.Address() + per_block * read.Stride();
  if (*bits == 32 && last > 0x100000000ull) return texts;
  const TreeReadEnd how = read.ReadAll(count, block.Address(), per_block, texts);
  if (end) *end = how;
  return texts;
}

}  // namespace tavlen
