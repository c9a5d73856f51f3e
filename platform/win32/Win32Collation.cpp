#include "platform/win32/Win32Collation.h"

#include "platform/win32/WinApi.h"

#include "base/Text.h"

namespace tavlen {

int Win32Collation::Compare(std::string_view a, std::string_view b) const {
  const int result = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                                    b.data(), static_cast<int>(b.size()));
  // 0 only for a failed call: the byte order of the settings files then.
  return result == 0 ? CompareTextAnsi(a, b) : result - CSTR_EQUAL;
}

}  // namespace tavlen
