// A French user's list order, worked out by hand: letters compare without
// their case and accents first, so «Élodie» sits among the E's; names equal so
// far put the unaccented letter first. Other characters keep their code order.
#pragma once

#include "platform/Collation.h"

namespace tavlen::sim {

class SimCollation : public Collation {
 public:
  int Compare(std::string_view a, std::string_view b) const override;
};

}  // namespace tavlen::sim
