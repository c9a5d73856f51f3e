#include "bridge/TreeViewReader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>

#include "bridge/RemoteMemory.h"
#include "platform/TreeViewItem.h"

namespace tavlen {

namespace {
constexpr std::uint32_t kRequestMask = tv::kText | tv::kImage | tv::kParam | tv::kState | tv::kHandle |
                                       tv::kSelectedImage | tv::kChildren;  // 0x7F
// Items asked for with one pair of transfers; bounds the block's size.
constexpr std::size_t kChunkItems = 512;
// No tree holds more; a control answering nonsense cannot keep the walk going.
constexpr std::intptr_t kMaxItems = 1 << 20;

std::string UpToZero(std::span<const std::uint8_t> bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  return std::string(bytes.begin(), end);
}

// One read of one tree: records of `layout` (the client's width), each followed
// by its text buffer, one slot per item.
class TreeRead {
 public:
  TreeRead(Windowing& w, ProcessMemory& m, ProcessHandle process, Hwnd tree, const tv::ItemLayout& layout)
      : w_(w), m_(m), process_(process), tree_(tree), l_(layout) {}

  std::size_t Stride() const { return l_.size + kTreeTextCapacity; }

  // Item handles in visible order, at most the tree's item count.
  std::vector<std::uint64_t> Walk() {
    std::vector<std::uint64_t> items;
    std::intptr_t count = 0;
    if (!w_.Send(tree_, wm::kTvmGetCount, 0, 0, &count) || count <= 0) return items;
    count = std::min(count, kMaxItems);
    items.reserve(static_cast<std::size_t>(count));
    for (std::uint64_t item = Next(tv::kRoot, 0); item != 0; item = Next(tv::kNextVisible, item)) {
      items.push_back(item);
      if (static_cast<std::intptr_t>(items.size()) == count) break;
    }
    return items;
  }

  // Reads items through the block at `block`, appending the texts obtained.
  void ReadChunk(std::span<const std::uint64_t> items, RemoteAddress block, std::vector<std::string>& out) {
    std::vector<std::uint8_t> bytes(items.size() * Stride(), 0);
    for (std::size_t i = 0; i < items.size(); ++i) PutRecord(Slot(bytes, i), items[i], SlotAt(block, i) + l_.size);
    if (!m_.WriteProcessMemory(process_, block, bytes.data(), bytes.size())) {
      // Item by item, so one failing transfer costs at most one item.
      for (std::size_t i = 0; i < items.size(); ++i)
        if (auto text = ReadOne(items[i], SlotAt(block, i))) out.push_back(std::move(*text));
      return;
    }
    std::vector<bool> answered(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) answered[i] = Request(SlotAt(block, i));
    const bool read_all = m_.ReadProcessMemory(process_, block, bytes.data(), bytes.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
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

 private:
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

  void PutRecord(std::span<std::uint8_t> record, std::uint64_t item, RemoteAddress text) const {
    std::fill(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(l_.size), std::uint8_t{0});
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

  // Write the record, ask for the item, read the record and the text back.
  std::optional<std::string> ReadOne(std::uint64_t item, RemoteAddress slot) {
    std::vector<std::uint8_t> record(l_.size);
    PutRecord(record, item, slot + l_.size);
    if (!m_.WriteProcessMemory(process_, slot, record.data(), record.size())) return std::nullopt;
    if (!Request(slot)) return std::nullopt;
    return ReadBack(slot);
  }

  Windowing& w_;
  ProcessMemory& m_;
  ProcessHandle process_;
  Hwnd tree_;
  const tv::ItemLayout& l_;
};
}  // namespace

std::vector<std::string> ReadTreeItemTexts(Windowing& windowing, ProcessMemory* memory, Hwnd tree) {
  std::vector<std::string> texts;
  if (tree == kNoWindow || !memory) return texts;
  const std::uint32_t process_id = windowing.WindowProcessId(tree);
  if (process_id == 0) return texts;
  ProcessHandleGuard process(*memory, memory->OpenProcess(kRemoteBlockRights, process_id));
  if (!process.Get()) return texts;
  // The record follows the client's width; a 32-bit console cannot reach a 64-bit client.
  const std::optional<int> bits = memory->TargetPointerBits(process.Get());
  if (!bits || (*bits != 32 && *bits != 64) || *bits > memory->PointerBits()) return texts;
  TreeRead read(windowing, *memory, process.Get(), tree, tv::LayoutFor(*bits));

  const std::vector<std::uint64_t> items = read.Walk();
  if (items.empty()) return texts;
  texts.reserve(items.size());
  const std::size_t per_block = std::min(items.size(), kChunkItems);
  RemoteBlock block(*memory, process.Get(), per_block * read.Stride());
  if (!block.Address()) return texts;
  // A 32-bit control cannot be pointed above 4 GiB.
  const RemoteAddress last = block.Address() + per_block * read.Stride();
  if (*bits == 32 && last > 0x100000000ull) return texts;
  for (std::size_t first = 0; first < items.size(); first += per_block) {
    const std::size_t n = std::min(per_block, items.size() - first);
    read.ReadChunk(std::span<const std::uint64_t>(items).subspan(first, n), block.Address(), texts);
  }
  return texts;
}

}  // namespace tavlen
