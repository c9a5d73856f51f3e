// Heap allocations made by this program, counted by the replaced global
// operator new of Allocations.cpp (linked into every benchmark).
#pragma once

#include <cstdint>

namespace tavlen::bench {

// Allocations since the program started.
std::uint64_t AllocationCount();

}  // namespace tavlen::bench
