// The console's controls found the way a person finds them (by kind, caption
// and place on screen), driven through the messages their input produces.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/console/Session.h"

namespace e2e {

// A child's rectangle in its parent's client coordinates.
RECT PlaceIn(HWND parent, HWND child);
// The visible direct children of parent of that class, top to bottom, then left to right.
std::vector<HWND> VisibleChildren(HWND parent, const std::string& class_name);
// The visible child of that class and caption lowest in the window (the
// execute button shares its caption with the action button above it).
HWND LowestChild(HWND parent, const std::string& class_name, const std::string& caption);
// The visible top-level window of the process with that class (and title, when not empty).
HWND VisibleTopLevel(DWORD process_id, const std::string& class_name, const std::string& title = "");

// A left click on a list box item, where the item is shown; the list itself
// picks the item and tells its owner.
bool ClickListItem(HWND list, int index);
// A combo box item chosen as its drop-down list would choose it: the selection,
// then the notification its owner gets.
bool ChooseComboItem(HWND combo, int index);
// A real mouse click (SendInput) at a screen point.
bool MouseClickAt(POINT screen);
// The pointer moved to `screen` as a hand would move it, once the system reports
// it there: Wine may hand the display server's older position back for a moment,
// and a rule that follows the pointer would act on it.
bool PointerAt(POINT screen);
// A double click of the left button where the mouse is, as the window gets it.
bool DoubleClick(HWND window, POINT client);

// The console's text prompt titled `caption`, awaited: `text` typed into its box,
// then OK, or Cancel when `ok` is false. True once the prompt has closed; a failure
// is reported.
bool AnswerPrompt(Session& s, const Console& c, const std::string& caption, const std::string& text, bool ok = true);

// A file's whole content; empty when it cannot be read.
std::string FileBytes(const std::filesystem::path& path);

int ListCount(HWND list);
// The selected item's index; LB_ERR when none is.
int ListSelection(HWND list);
// Entries of another process's list box and combo box, in code page 1252.
std::string ListItem(HWND list, int index);
std::string ComboItem(HWND combo, int index);

// A submission presses Enter in the room a hundred times, handling the
// console's events between the presses: seconds on a busy machine.
constexpr int kSubmitDeadlineMs = 15000;

// The window's outer height.
int OuterHeight(HWND window);
// The last lines of the room's transcript, for a failure's message.
std::string TranscriptTail(const Room& room);

// The main window's moderation panel, found as a moderator finds it.
struct Panel {
  Session& s;
  Console& c;
  Room& room;
  int folded_height = 0;  // the main window's outer height with the panel folded

  // The nick box beside "Pseudo concerné :": the top-most edit of the window.
  HWND NickBox() const;
  // The reasons list right of the user list.
  HWND Reasons() const;
  // The nick typed into the emptied nick box.
  bool SetNick(const std::string& nick);
  // A left click on an action button; the panel opens with the action's reasons.
  bool Choose(const std::string& action, int reason_count);
  bool PickReason(int index);
  // The execute button (below the reasons, captioned with the action) clicked.
  bool Execute(const std::string& action);
  // Waits for the room's transcript to end with these lines.
  bool WaitLines(const std::string& lines, const std::string& what);
  bool WaitFolded(const std::string& after, int deadline_ms = kSubmitDeadlineMs);
};

// The stand-in media player: standin.exe --winamp TITLE, ended with the guard.
struct Player {
  Launched process;
  HWND window = nullptr;
  Player() = default;
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;
  ~Player() { Kill(process); }
};
bool StartPlayer(const Setup& setup, const std::string& title, Player& player);

}  // namespace e2e
