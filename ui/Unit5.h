// The "Notifications" window: the watched words, the notification sound switch and the
// sound file. Every edit of the word box and the switch takes effect at once.
#pragma once

#include <deque>
#include <string>

#include "kit/Widgets.h"
#include "notify/NotificationSettings.h"
#include "platform/Dialogs.h"

namespace tavlen {

class TForm5 : public kit::Form {
 public:
  TForm5(kit::Application& app, NotificationSettings& settings, Dialogs& dialogs);

  kit::Label Label1;
  kit::Label Label2;
  kit::Memo Memo1;          // NotificationWords
  kit::CheckBox CheckBox1;  // "Activer le son": NotificationSoundEnabled
  kit::Button SpeedButton1;  // opens the sound file chooser
  kit::Edit Edit1;          // the sound file
  kit::Button Button1;      // "Valider"

  void FormShow();
  void SpeedButton1Click();
  void Button1Click();

  // The word box's lines, as they are now.
  const std::deque<std::string>& NotificationWords() const { return Memo1.Lines(); }

  // At start-up: the sound file (which turns the sound on) and the words, when saved.
  void LoadAtStartUp();
  // Each reads its file when it exists; true when it did.
  bool LoadSoundFile();
  bool LoadWords();

 private:
  NotificationSettings& settings_;
  Dialogs& dialogs_;
};

}  // namespace tavlen
