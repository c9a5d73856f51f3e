// What a pressed hotkey does: the action bound to it in the hotkey table decides
// between the talk switch, blocking the talker's microphone, the recording source
// and a sound shortcut.
#pragma once

#include "bridge/RoomLine.h"
#include "bridge/TalkSwitch.h"
#include "core/DebugLog.h"
#include "core/RoomState.h"
#include "hotkeys/HotKeyManager.h"
#include "hotkeys/HotkeyTable.h"
#include "hotkeys/SoundShortcut.h"
#include "mixer/RecordingSourceSwitch.h"

namespace tavlen {

class HotkeyDispatch {
 public:
  HotkeyDispatch(DebugLog& log, const HotkeyTable& table, const KeyNames& names, const RoomState& room,
                 TalkSwitch& talk, RoomLine& line, SoundShortcutPlayback& sounds, RecordingSourceSwitch& sources);

  // The action is the one of the last slot whose text stands for the pressed value,
  // whatever letter case or modifier order it was typed in.
  void HotKeyPressed(HotKeyValue value);

 private:
  DebugLog& log_;
  const HotkeyTable& table_;
  HotkeyActions actions_;
  const RoomState& room_;
  TalkSwitch& talk_;
  RoomLine& line_;
  SoundShortcutPlayback& sounds_;
  RecordingSourceSwitch& sources_;
};

}  // namespace tavlen
