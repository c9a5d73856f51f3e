// The composition root: builds the console as the program start does, over
// whatever platform it is given (Win32 at run time, the sim in tests). What the
// features share is built first and handed down by reference; the windows come
// last and only lay out their widgets and wire them to the features.
#pragma once

#include <memory>

#include "bridge/ControlAccess.h"
#include "bridge/RoomContext.h"
#include "bridge/RoomDiscovery.h"
#include "bridge/TalkSwitch.h"
#include "core/DebugLog.h"
#include "core/RoomState.h"
#include "hotkeys/HotkeyDispatch.h"
#include "hotkeys/Hotkeys.h"
#include "hotkeys/HotkeyTable.h"
#include "hotkeys/SoundShortcut.h"
#include "hotkeys/TalkControl.h"
#include "hotkeys/Volumes.h"
#include "kit/Application.h"
#include "mixer/RecordingSourceSwitch.h"
#include "moderation/MessageCatalogue.h"
#include "monitor/RoomMonitor.h"
#include "monitor/RoomSongSource.h"
#include "monitor/WinampControl.h"
#include "notify/HTMLPopup.h"
#include "notify/KeywordNotifier.h"
#include "platform/Platform.h"
#include "ui/Unit1.h"
#include "ui/Unit10.h"
#include "ui/Unit11.h"
#include "ui/Unit12.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"
#include "ui/Unit7.h"
#include "ui/Unit8.h"
#include "ui/Unit9.h"

namespace tavlen {

class Console {
 public:
  // Sets the title, builds the shared state and the features, creates the windows
  // in the start-up order and shows the main window. The caller then runs the
  // message loop (or advances the sim clock).
  explicit Console(const Platform& platform);
  ~Console();

  const Platform& platform;
  kit::Application app;

  // Shared state.
  DebugLog log;
  RoomState room;
  MessageCatalogue catalogue;  // messages.ini
  HotkeyTable hotkeyTable;     // hotkeys.ini
  WaveLevels levels;

  // The room's windows: discovery, control text and submission, talk switch.
  RoomContext ctx;
  ControlAccess controls;
  TalkSwitch talk;
  RoomDiscovery discovery;

  // Features without widgets of their own.
  TWinampControl WinampControl1;
  KeywordNotifier notifier;
  RoomSongSource songs;
  RoomMonitor monitor;
  THTMLPopup HTMLPopup2;  // short status messages
  RecordingSourceSwitch recordingSource;
  TVolumeControl VolumeControl1;
  std::unique_ptr<MediaPlayer> MediaPlayer1;  // plays the hotkey sounds
  SoundShortcutPlayback hotkeySounds;
  Hotkeys hotkeys;
  TalkControl talkControl;
  HotkeyDispatch hotkeyDispatch;

  // The windows.
  std::unique_ptr<TForm1> Form1;
  std::unique_ptr<TForm2> Form2;
  std::unique_ptr<TForm3> Form3;
  std::unique_ptr<TForm4> Form4;
  std::unique_ptr<TForm5> Form5;
  std::unique_ptr<TForm7> Form7;
  std::unique_ptr<TForm8> Form8;
  std::unique_ptr<TForm9> Form9;
  std::unique_ptr<TForm10> Form10;
  std::unique_ptr<TForm11> Form11;
  std::unique_ptr<TForm12> Form12;

 private:
  void WireFeatures();
};

}  // namespace tavlen
