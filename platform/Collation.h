// The order of the platform's sorted lists: case-insensitive, in the user's
// locale (CompareString on Windows), so that «Élodie» sorts among the E's and
// not after «zoe».
#pragma once

#include <string_view>

namespace tavlen {

class Collation {
 public:
  virtual ~Collation() = default;
  // Below, at or above zero as a sorts before, with or after b.
  virtual int Compare(std::string_view a, std::string_view b) const = 0;
};

}  // namespace tavlen
