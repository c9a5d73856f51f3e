// A client that rebuilds its user tree while the console reads it.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/Text.h"
#include "tests/support/UserTreeFixture.h"

namespace tavlen::testing {

// A user leaves and the client rebuilds its tree between two of the console's
// messages: the item handles met before then name deleted items, and a real
// tree view handed one reads (and may write) freed memory of the client; under
// Wine the client crashed at its next heap check when every handle of the read
// was kept to the end. Items are asked for in batches of 16 as the walk reaches
// them, so a rebuild catches one batch and the next handle in hand at most,
// wherever it falls, and the next tick reads the new tree whole.
TEST(UserTree, ARebuildDuringTheReadCatchesOneBatchOfRequestsAtMost) {
  UserTreeFixture t;
  Texts nicks;
  for (int i = 0; i < 40; ++i) nicks.push_back("user" + std::to_string(100 + i));
  t.Room(nicks);
  Texts sorted = nicks;
  std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
    return CompareTextAnsi(a, b) < 0;
  });
  // Messages of one read: the count, the root, 16 steps, 16 requests, 16 steps...
  for (std::uint64_t at : {1u, 2u, 3u, 4u, 17u, 18u, 19u, 33u, 34u, 40u, 50u, 66u, 67u, 85u, 86u}) {
    std::uint64_t answered = 0;
    t.tree->AfterMessage = [&] {
      if (++answered == at) t.Room(nicks);
    };
    const std::uint64_t stale = t.tree->StaleRequests();
    t.Read();
    t.tree->AfterMessage = nullptr;
    EXPECT_LE(t.tree->StaleRequests() - stale, 17u) << "rebuilt after message " << at;
    EXPECT_EQ(t.Chooser(), t.Users());
    EXPECT_TRUE(t.Clean());
    t.Read();
    EXPECT_EQ(t.Users(), sorted) << "rebuilt after message " << at;
  }
}

}  // namespace tavlen::testing
