// What the transcript rules act on, each answered by the part of the console that
// owns it: the monitor checks the own nick, the main window unlocks the owner's
// commands, the notifier watches the words, the room and the player answer songs.
#pragma once

#include <deque>
#include <string>

namespace tavlen {

class OwnNickCheck {
 public:
  virtual ~OwnNickCheck() = default;
  // A nick just learnt from the room: an empty one ends the program.
  virtual void OwnNickLearnt(const std::string& nick) = 0;
};

class OwnerCommands {
 public:
  virtual ~OwnerCommands() = default;
  // The owner-only "Commandes" menu.
  virtual void ShowCommandes() = 0;
  // The three restricted action buttons.
  virtual void UnlockRestricted() = 0;
  virtual void RedrawMenu() = 0;
};

class KeywordWatch {
 public:
  virtual ~KeywordWatch() = default;
  // The watched words, read afresh for every line.
  virtual const std::deque<std::string>& WatchedWords() const = 0;
  virtual void NotifyKeyword(const std::string& speaker, const std::string& word) = 0;
};

class SongSource {
 public:
  virtual ~SongSource() = default;
  // Who holds the room's microphone.
  virtual std::string CurrentTalker() = 0;
  virtual std::string NowPlayingTitle() = 0;
};

}  // namespace tavlen
