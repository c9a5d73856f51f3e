#include "platform/sim/SimHotkeys.h"

#include <algorithm>

#include "base/Text.h"

namespace tavlen::sim {

namespace {

constexpr unsigned kModifierMask = 0xF;
constexpr unsigned kNoRepeat = 0x4000;  // MOD_NOREPEAT, accepted and ignored

// Virtual key -> scan code of the US layout (MapVirtualKey type 0). Keys whose
// Windows scan code would repeat another key's name (keypad "/" and Num Lock) get
// scan codes of their own; Clear and the 102nd key have none.
constexpr std::pair<unsigned, unsigned> kScanCodes[] = {
    {8, 0x0E},   {9, 0x0F},   {13, 0x1C},  {16, 0x2A},  {17, 0x1D},  {18, 0x38},  {19, 0x45},
    {20, 0x3A},  {27, 0x01},  {32, 0x39},  {33, 0x49},  {34, 0x51},  {35, 0x4F},  {36, 0x47},
    {37, 0x4B},  {38, 0x48},  {39, 0x4D},  {40, 0x50},  {44, 0x54},  {45, 0x52},  {46, 0x53},
    {48, 0x0B},  {49, 0x02},  {50, 0x03},  {51, 0x04},  {52, 0x05},  {53, 0x06},  {54, 0x07},
    {55, 0x08},  {56, 0x09},  {57, 0x0A},  {65, 0x1E},  {66, 0x30},  {67, 0x2E},  {68, 0x20},
    {69, 0x12},  {70, 0x21},  {71, 0x22},  {72, 0x23},  {73, 0x17},  {74, 0x24},  {75, 0x25},
    {76, 0x26},  {77, 0x32},  {78, 0x31},  {79, 0x18},  {80, 0x19},  {81, 0x10},  {82, 0x13},
    {83, 0x1F},  {84, 0x14},  {85, 0x16},  {86, 0x2F},  {87, 0x11},  {88, 0x2D},  {89, 0x15},
    {90, 0x2C},  {91, 0x5B},  {92, 0x5C},  {93, 0x5D},  {96, 0x52},  {97, 0x4F},  {98, 0x50},
    {99, 0x51},  {100, 0x4B}, {101, 0x4C}, {102, 0x4D}, {103, 0x47}, {104, 0x48}, {105, 0x49},
    {106, 0x37}, {107, 0x4E}, {109, 0x4A}, {110, 0x53}, {111, 0x7E}, {112, 0x3B}, {113, 0x3C},
    {114, 0x3D}, {115, 0x3E}, {116, 0x3F}, {117, 0x40}, {118, 0x41}, {119, 0x42}, {120, 0x43},
    {121, 0x44}, {122, 0x57}, {123, 0x58}, {124, 0x64}, {125, 0x65}, {126, 0x66}, {127, 0x67},
    {128, 0x68}, {129, 0x69}, {130, 0x6A}, {131, 0x6B}, {132, 0x6C}, {133, 0x6D}, {134, 0x6E},
    {135, 0x76}, {144, 0x7D}, {145, 0x46}, {160, 0x2A}, {161, 0x36}, {162, 0x1D}, {163, 0x1D},
    {164, 0x38}, {165, 0x38}, {186, 0x27}, {187, 0x0D}, {188, 0x33}, {189, 0x0C}, {190, 0x34},
    {191, 0x35}, {192, 0x29}, {219, 0x1A}, {220, 0x2B}, {221, 0x1B}, {222, 0x28},
};

struct KeyName {
  unsigned scan;
  bool extended;
  const char* name;
};

// GetKeyNameText of the US layout, Windows spelling.
constexpr KeyName kKeyNames[] = {
    {0x01, false, "Esc"},        {0x02, false, "1"},          {0x03, false, "2"},
    {0x04, false, "3"},          {0x05, false, "4"},          {0x06, false, "5"},
    {0x07, false, "6"},          {0x08, false, "7"},          {0x09, false, "8"},
    {0x0A, false, "9"},          {0x0B, false, "0"},          {0x0C, false, "-"},
    {0x0D, false, "="},          {0x0E, false, "Backspace"},  {0x0F, false, "Tab"},
    {0x10, false, "Q"},          {0x11, false, "W"},          {0x12, false, "E"},
    {0x13, false, "R"},          {0x14, false, "T"},          {0x15, false, "Y"},
    {0x16, false, "U"},          {0x17, false, "I"},          {0x18, false, "O"},
    {0x19, false, "P"},          {0x1A, false, "["},          {0x1B, false, "]"},
    {0x1C, false, "Enter"},      {0x1C, true, "Num Enter"},   {0x1D, false, "Ctrl"},
    {0x1D, true, "Right Ctrl"},  {0x1E, false, "A"},          {0x1F, false, "S"},
    {0x20, false, "D"},          {0x21, false, "F"},          {0x22, false, "G"},
    {0x23, false, "H"},          {0x24, false, "J"},          {0x25, false, "K"},
    {0x26, false, "L"},          {0x27, false, ";"},          {0x28, false, "'"},
    {0x29, false, "`"},          {0x2A, false, "Shift"},      {0x2B, false, "\\"},
    {0x2C, false, "Z"},          {0x2D, false, "X"},          {0x2E, false, "C"},
    {0x2F, false, "V"},          {0x30, false, "B"},          {0x31, false, "N"},
    {0x32, false, "M"},          {0x33, false, ","},          {0x34, false, "."},
    {0x35, false, "/"},          {0x36, false, "Right Shift"}, {0x37, false, "Num *"},
    {0x37, true, "Prnt Scrn"},   {0x38, false, "Alt"},        {0x38, true, "Right Alt"},
    {0x39, false, "Space"},      {0x3A, false, "Caps Lock"},  {0x3B, false, "F1"},
    {0x3C, false, "F2"},         {0x3D, false, "F3"},         {0x3E, false, "F4"},
    {0x3F, false, "F5"},         {0x40, false, "F6"},         {0x41, false, "F7"},
    {0x42, false, "F8"},         {0x43, false, "F9"},         {0x44, false, "F10"},
    {0x45, false, "Pause"},      {0x46, false, "Scroll Lock"}, {0x47, false, "Num 7"},
    {0x47, true, "Home"},        {0x48, false, "Num 8"},      {0x48, true, "Up"},
    {0x49, false, "Num 9"},      {0x49, true, "Page Up"},     {0x4A, false, "Num -"},
    {0x4B, false, "Num 4"},      {0x4B, true, "Left"},        {0x4C, false, "Num 5"},
    {0x4D, false, "Num 6"},      {0x4D, true, "Right"},       {0x4E, false, "Num +"},
    {0x4F, false, "Num 1"},      {0x4F, true, "End"},         {0x50, false, "Num 2"},
    {0x50, true, "Down"},        {0x51, false, "Num 3"},      {0x51, true, "Page Down"},
    {0x52, false, "Num 0"},      {0x52, true, "Insert"},      {0x53, false, "Num Del"},
    {0x53, true, "Delete"},      {0x54, false, "Sys Req"},    {0x57, false, "F11"},
    {0x58, false, "F12"},        {0x5B, true, "Left Windows"}, {0x5C, true, "Right Windows"},
    {0x5D, true, "Application"}, {0x64, false, "F13"},        {0x65, false, "F14"},
    {0x66, false, "F15"},        {0x67, false, "F16"},        {0x68, false, "F17"},
    {0x69, false, "F18"},        {0x6A, false, "F19"},        {0x6B, false, "F20"},
    {0x6C, false, "F21"},        {0x6D, false, "F22"},        {0x6E, false, "F23"},
    {0x76, false, "F24"},        {0x7D, false, "Num Lock"},   {0x7E, false, "Num /"},
};

}  // namespace

SimHotkeys::SimHotkeys(Poster post) : post_(std::move(post)) {}

Hwnd SimHotkeys::CreateMessageWindow(WindowProc proc) {
  const Hwnd window = next_window_;
  next_window_ += 0x10;
  windows_[window] = std::move(proc);
  return window;
}

void SimHotkeys::DestroyMessageWindow(Hwnd window) {
  windows_.erase(window);
  // A destroyed window's hotkeys are released by the system.
  std::erase_if(held_, [window](const auto& entry) { return entry.second.window == window; });
}

std::intptr_t SimHotkeys::DefWindowProc(Hwnd, unsigned, std::uintptr_t, std::intptr_t) {
  ++def_calls_;
  return 0;
}

bool SimHotkeys::RegisterHotKey(Hwnd window, int id, unsigned modifiers, unsigned vk) {
  if (window == kNoWindow || !windows_.count(window)) return false;
  modifiers &= ~kNoRepeat;
  if (vk == 0 || vk > 255 || (modifiers & ~kModifierMask) != 0) return false;
  if (held_.count({modifiers, vk})) return false;
  for (const auto& [combo, owner] : held_)
    if (owner.window == window && owner.id == id) return false;
  held_[{modifiers, vk}] = Owner{window, id};
  return true;
}

bool SimHotkeys::UnregisterHotKey(Hwnd window, int id) {
  for (auto it = held_.begin(); it != held_.end(); ++it) {
    if (it->second.window == window && window != kNoWindow && it->second.id == id) {
      held_.erase(it);
      return true;
    }
  }
  return false;
}

HotkeyApi::Atom SimHotkeys::GlobalAddAtom(std::string_view name) {
  if (name.empty() || name.size() > 255) return 0;
  for (auto& [atom, entry] : atoms_) {
    if (EqualsIgnoreCase(entry.name, name)) {
      ++entry.refs;
      return atom;
    }
  }
  if (next_atom_ == 0xFFFF) return 0;
  const Atom atom = next_atom_++;
  atoms_[atom] = AtomEntry{std::string(name), 1};
  return atom;
}

void SimHotkeys::GlobalDeleteAtom(Atom atom) {
  auto it = atoms_.find(atom);
  if (it != atoms_.end() && --it->second.refs == 0) atoms_.erase(it);
}

unsigned SimHotkeys::MapVirtualKey(unsigned vk) {
  ++key_name_calls_;
  for (const auto& [code, scan] : kScanCodes)
    if (code == vk) return scan;
  return 0;
}

std::string SimHotkeys::GetKeyNameText(std::int32_t lparam) {
  ++key_name_calls_;
  const unsigned scan = (static_cast<std::uint32_t>(lparam) >> 16) & 0xFF;
  const bool extended = (static_cast<std::uint32_t>(lparam) >> 24) & 1;
  for (const auto& key : kKeyNames)
    if (key.scan == scan && key.extended == extended) return key.name;
  return {};
}

void SimHotkeys::HoldByAnotherProgram(unsigned modifiers, unsigned vk) {
  held_[{modifiers, vk}] = Owner{kNoWindow, 0};
}

void SimHotkeys::ReleaseFromAnotherProgram(unsigned modifiers, unsigned vk) {
  auto it = held_.find({modifiers, vk});
  if (it != held_.end() && it->second.window == kNoWindow) held_.erase(it);
}

bool SimHotkeys::Press(unsigned modifiers, unsigned vk) {
  auto it = held_.find({modifiers, vk});
  if (it == held_.end() || it->second.window == kNoWindow) return false;
  const auto lparam = static_cast<std::intptr_t>(modifiers | (vk << 16));
  Queue(Message{it->second.window, wm::kHotKey, static_cast<std::uintptr_t>(it->second.id), lparam});
  return true;
}

void SimHotkeys::PostMessage(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  Queue(Message{window, msg, wparam, lparam});
}

void SimHotkeys::Queue(const Message& m) {
  if (post_) {
    post_([this, m] { Dispatch(m); });
  } else {
    queue_.push_back(m);
  }
}

int SimHotkeys::DeliverQueued() {
  int ran = 0;
  while (!queue_.empty()) {
    const Message m = queue_.front();
    queue_.pop_front();
    Dispatch(m);
    ++ran;
  }
  return ran;
}

void SimHotkeys::Dispatch(const Message& m) {
  auto it = windows_.find(m.window);
  if (it == windows_.end()) return;  // window gone: the message is lost, as on Windows
  auto proc = it->second;            // the procedure may destroy its own window
  proc(m.window, m.msg, m.wparam, m.lparam);
}

bool SimHotkeys::HeldByThisProgram(unsigned modifiers, unsigned vk) const {
  auto it = held_.find({modifiers, vk});
  return it != held_.end() && it->second.window != kNoWindow;
}

std::size_t SimHotkeys::RegistrationCount() const {
  return static_cast<std::size_t>(
      std::count_if(held_.begin(), held_.end(), [](const auto& e) { return e.second.window != kNoWindow; }));
}

std::size_t SimHotkeys::AtomCount() const { return atoms_.size(); }

std::string SimHotkeys::AtomName(Atom atom) const {
  auto it = atoms_.find(atom);
  return it == atoms_.end() ? std::string() : it->second.name;
}

}  // namespace tavlen::sim
