// The tree-view item request record (TVITEMA) as laid out in a 32-bit or a
// 64-bit process, and the flags of the tree-view messages. The record is built
// and read as bytes because it lives in the other program's memory, whose width
// may differ from ours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace tavlen::tv {

// TVM_GETNEXTITEM relations.
constexpr std::uintptr_t kRoot = 0x0000;
constexpr std::uintptr_t kNextVisible = 0x0006;

// TVITEMA mask bits.
constexpr std::uint32_t kText = 0x0001;
constexpr std::uint32_t kImage = 0x0002;
constexpr std::uint32_t kParam = 0x0004;
constexpr std::uint32_t kState = 0x0008;
constexpr std::uint32_t kHandle = 0x0010;
constexpr std::uint32_t kSelectedImage = 0x0020;
constexpr std::uint32_t kChildren = 0x0040;

// Item state bits.
constexpr std::uint32_t kStateExpanded = 0x0020;

struct ItemLayout {
  int pointer_bits;
  std::size_t size;
  std::size_t mask, item, state, state_mask, text, text_max, image, selected_image, children, param;

  std::size_t PointerSize() const { return pointer_bits / 8; }
};

// UINT mask; HTREEITEM hItem; UINT state, stateMask; LPSTR pszText; int cchTextMax,
// iImage, iSelectedImage, cChildren; LPARAM lParam — with natural alignment.
constexpr ItemLayout kItem32{32, 40, 0, 4, 8, 12, 16, 20, 24, 28, 32, 36};
constexpr ItemLayout kItem64{64, 56, 0, 8, 16, 20, 24, 32, 36, 40, 44, 48};

constexpr const ItemLayout& LayoutFor(int pointer_bits) { return pointer_bits == 32 ? kItem32 : kItem64; }

// Little-endian fields of a record held in `bytes`.
inline void Put32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline std::uint32_t Get32(std::span<const std::uint8_t> bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t(bytes[at + i]) << (8 * i);
  return v;
}
// A pointer-sized field: 4 or 8 bytes by the layout.
inline void PutPointer(const ItemLayout& l, std::span<std::uint8_t> bytes, std::size_t at, std::uint64_t v) {
  for (std::size_t i = 0; i < l.PointerSize(); ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline std::uint64_t GetPointer(const ItemLayout& l, std::span<const std::uint8_t> bytes, std::size_t at) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < l.PointerSize(); ++i) v |= std::uint64_t(bytes[at + i]) << (8 * i);
  return v;
}

}  // namespace tavlen::tv
