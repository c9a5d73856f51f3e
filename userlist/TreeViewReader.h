// Reading the item texts of another program's tree view: the request records
// and text buffers are placed in that program's memory, the control fills them,
// and the results are copied back.
#pragma once

#include <string>
#include <vector>

#include "platform/ProcessMemory.h"
#include "platform/Windowing.h"

namespace tavlen {

// At most 259 characters of an item are read.
inline constexpr std::size_t kTreeTextCapacity = 260;
// At most this many items are read, whatever count the control gives.
inline constexpr int kTreeItemCeiling = 20000;

// How a read ended: at the tree's end, or cut at an item met twice (a "next
// visible" chain that runs in a circle) or at the ceiling.
enum class TreeReadEnd { kWhole, kCircle, kCeiling };

// The texts of the tree's visible items, in display order (items inside a
// collapsed group are not visible). An item whose request or transfer fails is
// left out. Empty when the tree or its process cannot be reached, and when a
// 32-bit console meets a 64-bit client, whose memory it cannot address.
std::vector<std::string> ReadTreeItemTexts(Windowing& windowing, ProcessMemory* memory, Hwnd tree,
                                           TreeReadEnd* end = nullptr);

}  // namespace tavlen
