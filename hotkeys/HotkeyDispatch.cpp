#include "hotkeys/HotkeyDispatch.h"

#include "base/Text.h"

namespace tavlen {

HotkeyDispatch::HotkeyDispatch(DebugLog& log, const HotkeyTable& table, const KeyNames& names,
                               const RoomState& room, TalkSwitch& talk, RoomLine& line,
                               SoundShortcutPlayback& sounds, RecordingSourceSwitch& sources)
    : log_(log),
      table_(table),
      actions_(names),
      room_(room),
      talk_(talk),
      line_(line),
      sounds_(sounds),
      sources_(sources) {}

void HotkeyDispatch::HotKeyPressed(HotKeyValue value) {
  log_.debog(ansi("-> Entrée routine hotkey"));
  const std::string action = actions_.ActionFor(table_, value);
  if (action == "BLOCKMIC") {
    log_.debog(ansi("-> Entrée routine hotkey>BlockMic"));
    // Read once: a talker who stops as the key goes down must not leave a
    // "/blockmic" naming nobody, and each read crosses into the client.
    const std::string talker = talk_.CurrentTalker();
    if (talker.empty()) return;
    log_.debog(ansi("-> Entrée routine hotkey>BlockMic>Verif presence nick"));
    line_.send_to_camfrog("/blockmic " + talker);
  } else if (action == "TALK") {
    log_.debog(ansi("-> Entrée routine hotkey>Talk/relache talk"));
    // A copy: room discovery may adopt another title while the talk control runs.
    const std::string title = room_.RoomWindowTitle;
    talk_.FindButtonAndPressIt(title, kTalkSwitchCaption, 0);
  } else if (action == "SRCMIC") {
    log_.debog("-> SELECTION ENTREE MICRO");
    sources_.Select(RecordingSourceSwitch::Source::kMic);
  } else if (action == "SRCMIX") {
    log_.debog("-> SELECTION ENTREE MUSIQUE");
    sources_.Select(RecordingSourceSwitch::Source::kMix);
  } else {
    log_.debog(ansi("-> Entrée routine hotkey>OTHER"));
    sounds_.PlaySoundShortcut(action);
  }
}

}  // namespace tavlen
