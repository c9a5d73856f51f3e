// The console beside a room whose every answer comes from the input: the room
// window's children and their classes, every text, length and count its
// controls give, the items its tree hands out, what its item answers write into
// its memory, and when it is made again, retitled or gone. The console's
// discovery, control reads, user tree, transcript and foreground ticks run in
// the order the input's script gives. No tick may make more calls to the system
// than the walks' ceilings allow, and no text buffer may pass the transcript
// read's ceiling.
//
// Input: a script (its first byte: the client's width and how many children
// the room has, then a byte per child, then a byte per step), a 0xFF byte, then
// the room's answers, taken one after another as the console asks.
#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <span>

#include "bench/support/CountingWindowing.h"
#include "bridge/ControlAccess.h"
#include "bridge/TranscriptTail.h"
#include "bridge/WindowSearch.h"
#include "FuzzSupport.h"
#include "platform/TreeViewItem.h"
#include "standin/sim/SimWorld.h"
#include "ui/Console.h"
#include "userlist/TreeViewReader.h"

using namespace tavlen;

namespace {

// The most calls one step may make: a tree read at its item ceiling (the step to
// the item, its request, a write and two reads back when batches fail), a
// submission's key-downs, and the walks over the room's children at their
// ceiling that the ticks, a submission and the ticks nested in it make.
constexpr std::uint64_t kStepBudget = 6ull * kTreeItemCeiling + 24ull * kRoomChildCeiling + 2000;

// The room's answers, one after another; zeros once they run out.
class Answers {
 public:
  explicit Answers(std::string_view bytes) : rest_(bytes) {}
  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  std::uint64_t Raw(int bytes) {
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= std::uint64_t{Byte()} << (8 * i);
    return v;
  }
  // A number a control might claim: small, at a type's edge, or far too large.
  std::int64_t Value() {
    switch (Byte() % 10) {
      case 0: return 0;
      case 1: return Byte();
      case 2: return static_cast<std::int16_t>(Raw(2));
      case 3: return 1000000000;
      case 4: return std::int64_t{1} << 40;
      case 5: return -1;
      case 6: return std::numeric_limits<std::int32_t>::max();
      case 7: return std::numeric_limits<std::int64_t>::min();
      case 8: return static_cast<std::int64_t>(Raw(8));
      default: return 30000 + Byte();
    }
  }
  // Bytes of a text, zeros and all; a few long ones.
  std::string Text() {
    const std::uint8_t n = Byte();
    const std::size_t size = n < 200 ? n : std::size_t{n - 199u} * 700;
    const std::string_view taken = rest_.substr(0, std::min(size, rest_.size()));
    rest_.remove_prefix(taken.size());
    return std::string(taken);
  }

 private:
  std::string_view rest_;
};

// A room window whose children answer every message from the input.
class FuzzRoom {
 public:
  FuzzRoom(sim::SimWorld& world, fuzz::Input& layout, Answers& answers)
      : world_(world), answers_(answers), process_(world.desktop.NewProcess()) {
    const std::uint8_t shape = layout.Byte();
    bits_ = shape & 1 ? 32 : 64;
    world_.memory.AddProcess(process_, bits_);
    next_item_ = bits_ == 32 ? 0x02A10000ull : 0x000001F4A0010000ull;
    children_ = (shape >> 1) % 40;
    crowd_ = shape & 0x80 ? kRoomChildCeiling + 44 : 0;
    for (int i = 0; i < children_; ++i) kinds_.push_back(layout.Byte());
    Build();
  }

  void Build() {
    sim::SimDesktop& d = world_.desktop;
    window_ = d.CreateTopLevel("CamfrogRoom", title_, process_, Rect{400, 0, 1200, 700});
    static constexpr std::array<const char*, 8> kClasses = {"RichEdit20A", "Edit",   "Button", "SysTreeView32",
                                                            "Static",      "Button", "",       "systreeview32"};
    const auto answer = [this](sim::SimWindow& w, sim::SimMessage& m) { return Answer(w, m); };
    for (int i = 0; i < children_; ++i) {
      const Hwnd child = d.CreateChild(window_, kClasses[kinds_[i] % kClasses.size()], "");
      d.At(child).handler = answer;
    }
    for (int i = 0; i < crowd_; ++i) d.CreateChild(window_, i % 2 ? "Static" : "Button", "");
    d.At(window_).handler = answer;
  }

 private:
  bool Answer(sim::SimWindow& w, sim::SimMessage& m) {
    switch (m.msg) {
      case wm::kGetText:
        // A button says it is the talk switch more often than chance would.
        if (w.class_name == "Button" && answers_.Byte() < 128) m.text = "Hands Free";
        else m.text = answers_.Text();
        m.result = static_cast<std::intptr_t>(answers_.Value());
        break;
      case wm::kGetTextLength:
      case wm::kTvmGetCount:
        m.result = static_cast<std::intptr_t>(answers_.Value());
        break;
      case wm::kTvmGetNextItem:
        m.result = static_cast<std::intptr_t>(NextItem());
        break;
      case wm::kTvmGetItemA:
        WriteItem(static_cast<RemoteAddress>(m.lparam) & (bits_ == 32 ? 0xFFFFFFFFull : ~0ull));
        m.result = answers_.Byte() & 1;
        break;
      case wm::kEmGetTextRange:
        WriteRange(static_cast<RemoteAddress>(m.lparam) & (bits_ == 32 ? 0xFFFFFFFFull : ~0ull));
        m.result = static_cast<std::intptr_t>(answers_.Value());
        break;
      default:
        m.result = static_cast<std::intptr_t>(answers_.Value());
        break;
    }
    Happen();
    return true;
  }

  std::uint64_t NextItem() {
    const std::uint8_t b = answers_.Byte();
    switch (b % 6) {
      case 0: return 0;
      case 1:
      case 2: return issued_.emplace_back(next_item_ += 0x40);
      case 3: return issued_.empty() ? 0 : issued_.front();
      case 4: return issued_.empty() ? 0 : issued_[b / 6 % issued_.size()];
      default: return answers_.Raw(bits_ / 8);
    }
  }

  // What a TVM_GETITEMA answer writes into the client's memory.
  void WriteItem(RemoteAddress record) {
    const tv::ItemLayout& l = tv::LayoutFor(bits_);
    std::array<std::uint8_t, tv::kItem64.size> storage{};
    const std::span<std::uint8_t> r(storage.data(), l.size);
    const bool has_record = world_.memory.ReadOwn(process_, record, r.data(), r.size());
    const std::uint8_t how = answers_.Byte();
    switch (how % 5) {
      case 0:  // nothing written
        return;
      case 1:    // the text, within the capacity the record gives, ended or not
      case 2: {  // the text, whatever the capacity
        if (!has_record) return;
        std::string text = answers_.Text();
        if (how % 5 == 1) {
          const std::size_t capacity = tv::Get32(r, l.text_max);
          if (text.size() > capacity) text.resize(capacity);
        }
        world_.memory.WriteOwn(process_, tv::GetPointer(l, r, l.text), text.data(), text.size());
        return;
      }
      case 3:  // the text pointer set to anything
        if (!has_record) return;
        tv::PutPointer(l, r, l.text, static_cast<std::uint64_t>(answers_.Value()));
        world_.memory.WriteOwn(process_, record, r.data(), r.size());
        return;
      default:  // a record of any bytes
        for (std::uint8_t& byte : r) byte = answers_.Byte();
        world_.memory.WriteOwn(process_, record, r.data(), r.size());
        return;
    }
  }

  // What an EM_GETTEXTRANGE answer writes where the range record points.
  void WriteRange(RemoteAddress range) {
    std::array<std::uint8_t, 16> r{};
    if (!world_.memory.ReadOwn(process_, range, r.data(), bits_ == 32 ? 12 : 16)) return;
    RemoteAddress text_at = 0;
    for (int i = 0; i < bits_ / 8; ++i) text_at |= RemoteAddress{r[8 + i]} << (8 * i);
    const std::string text = answers_.Text();
    world_.memory.WriteOwn(process_, text_at, text.data(), text.size());
  }

  // Between two messages the room may be made again, retitled or gone.
  void Happen() {
    if (gone_) return;
    switch (answers_.Byte()) {
      case 0xA1:
        world_.desktop.Destroy(window_);
        Build();
        break;
      case 0xA2:
        if (sim::SimWindow* w = world_.desktop.Find(window_)) w->text = title_ = answers_.Text() + " : Video Chat Room";
        break;
      case 0xA3:
        world_.desktop.Destroy(window_);
        world_.memory.KillProcess(process_);
        gone_ = true;
        break;
      default:
        break;
    }
  }

  sim::SimWorld& world_;
  Answers& answers_;
  std::uint32_t process_;
  int bits_ = 64;
  int children_ = 0;
  int crowd_ = 0;
  std::vector<std::uint8_t> kinds_;
  std::string title_ = "salon : Video Chat Room";
  Hwnd window_ = kNoWindow;
  std::uint64_t next_item_ = 0;
  std::vector<std::uint64_t> issued_;
  bool gone_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::AsText(data, size);
  const std::size_t mark = bytes.find('\xFF');
  fuzz::Input script(bytes.substr(0, mark));
  Answers answers(mark == std::string_view::npos ? std::string_view() : bytes.substr(mark + 1));

  sim::SimWorld world;
  bench::CountingWindowing counting{world.desktop};
  const Platform platform{counting,     world.clock,  world.dialogs, world.widgets, world.exe_dir(),
                          world.mixer,  world.hotkeys, world.sound,  world.volume,  world.metrics,
                          world.popups, world.collation, &world.memory};
  FuzzRoom room(world, script, answers);
  const auto calls = [&] { return counting.Calls() + world.memory.Operations(); };
  std::uint64_t before = calls();
  Console console(platform);
  FUZZ_CHECK(calls() - before <= kStepBudget);

  for (int step = 0; step < 64 && !script.Rest().empty(); ++step) {
    before = calls();
    switch (script.Byte() % 8) {
      case 0: console.discovery.Timer9.Tick(); break;
      case 1: console.Form1->Timer3.Tick(); break;
      case 2: console.Form1->users.Timer4.Tick(); break;
      case 3: console.monitor.Timer2.Tick(); break;
      case 4: console.Form1->Timer6.Tick(); break;
      case 5: console.controls.send_to_camfrog("/kick bob spam"); break;
      case 6: console.talk.CurrentTalker(); break;
      default: world.advance(std::chrono::milliseconds(10)); break;
    }
    FUZZ_CHECK(calls() - before <= kStepBudget);
  }
  FUZZ_CHECK(world.desktop.LargestTextBuffer() <= kTranscriptCeiling + 1);
  // Every block placed in the client was given back, every handle closed.
  FUZZ_CHECK(world.memory.OpenHandles() == 0);
  return 0;
}
