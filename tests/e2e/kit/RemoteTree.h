// Reads another process's tree view the way the console does: a request record
// and a text buffer placed in the owner's memory, TVM_GETITEMA per item, the
// results copied back. The record layout follows the owner's bitness.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct RemoteTree {
  bool ok = false;
  std::string error;               // why the read failed
  bool unsupported = false;        // a 32-bit reader facing a 64-bit owner
  int owner_bits = 0;
  std::size_t count = 0;           // TVM_GETCOUNT, collapsed items included
  std::vector<std::string> visible;  // texts from the root along the visible items
};

RemoteTree ReadRemoteTree(HWND tree);

}  // namespace e2e
