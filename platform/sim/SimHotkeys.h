// Simulated global hotkeys and keyboard layout. Registrations live in one
// system-wide table: a combination is held by at most one window, and a test can
// mark combinations as held by another program. The layout is an English (US)
// one with the names Windows gives; each key the layout names has a name of its
// own, so hotkey texts map back to one key. Media keys 166-183 have no scan code.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "platform/HotkeyApi.h"

namespace tavlen::sim {

class SimHotkeys : public HotkeyApi {
 public:
  // Runs work from the message loop (for example SimClock::Post). Without one,
  // messages wait in an own queue until DeliverQueued().
  using Poster = std::function<void(std::function<void()>)>;

  explicit SimHotkeys(Poster post = {});

  Hwnd CreateMessageWindow(WindowProc proc) override;
  void DestroyMessageWindow(Hwnd window) override;
  std::intptr_t DefWindowProc(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) override;
  bool RegisterHotKey(Hwnd window, int id, unsigned modifiers, unsigned vk) override;
  bool UnregisterHotKey(Hwnd window, int id) override;
  Atom GlobalAddAtom(std::string_view name) override;
  void GlobalDeleteAtom(Atom atom) override;
  unsigned MapVirtualKey(unsigned vk) override;
  std::string GetKeyNameText(std::int32_t lparam) override;

  // Another program holds (or lets go of) a combination.
  void HoldByAnotherProgram(unsigned modifiers, unsigned vk);
  void ReleaseFromAnotherProgram(unsigned modifiers, unsigned vk);

  // The user presses a combination. When a window of this program holds it, WM_HOTKEY
  // is queued to that window and the result is true; otherwise nothing is queued.
  bool Press(unsigned modifiers, unsigned vk);
  // Queues any message to a window, as another process posting to it would.
  void PostMessage(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam);
  // Delivers the messages waiting in the own queue; returns how many ran.
  int DeliverQueued();

  // Inspection for tests.
  bool HeldByThisProgram(unsigned modifiers, unsigned vk) const;
  std::size_t RegistrationCount() const;  // this program's registrations
  std::size_t AtomCount() const;
  // The atom's name, empty when it does not exist.
  std::string AtomName(Atom atom) const;
  int DefWindowProcCalls() const { return def_calls_; }
  // MapVirtualKey and GetKeyNameText calls so far.
  int KeyNameCalls() const { return key_name_calls_; }

 private:
  struct Owner {
    Hwnd window;  // kNoWindow: another program
    int id;
  };
  struct AtomEntry {
    std::string name;
    int refs;
  };
  struct Message {
    Hwnd window;
    unsigned msg;
    std::uintptr_t wparam;
    std::intptr_t lparam;
  };

  void Queue(const Message& m);
  void Dispatch(const Message& m);

  Poster post_;
  Hwnd next_window_ = 0x10010;
  Atom next_atom_ = 0xC000;
  std::map<Hwnd, WindowProc> windows_;
  std::map<std::pair<unsigned, unsigned>, Owner> held_;
  std::map<Atom, AtomEntry> atoms_;
  std::deque<Message> queue_;
  int def_calls_ = 0;
  int key_name_calls_ = 0;
};

}  // namespace tavlen::sim
