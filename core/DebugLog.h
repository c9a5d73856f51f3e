// The debug log: trace lines appended whether its window is shown or not, never
// saved. It keeps the most recent lines only, so an evening of traces neither eats
// memory nor slows each append.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace tavlen::kit {
class Memo;
}

namespace tavlen {

class DebugLog {
 public:
  static constexpr std::size_t kKeptLines = 10000;

  // Lines logged before the window exists are shown once it is attached.
  void Attach(kit::Memo& memo);
  void Detach() { memo_ = nullptr; }
  void debog(std::string line);
  std::size_t Count() const;
  const std::string& Last() const;

 private:
  kit::Memo* memo_ = nullptr;
  std::deque<std::string> pending_;
};

}  // namespace tavlen
