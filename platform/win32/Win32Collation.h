// List order from the system: CompareString in the user's locale, ignoring case.
#pragma once

#include "platform/Collation.h"

namespace tavlen {

class Win32Collation : public Collation {
 public:
  int Compare(std::string_view a, std::string_view b) const override;
};

}  // namespace tavlen
