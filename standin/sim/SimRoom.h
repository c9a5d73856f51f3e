// The stand-in room shown on the simulated desktop: a top-level window whose
// direct children are, in order, the transcript ("RichEdit20A"), the input box
// ("Edit"), the talk switch ("Button" "Hands Free"), the user list
// ("SysTreeView32"), filler controls, and the talker indicator ("Button"),
// which is the 26th child with the default filler count. Given the simulated
// process memory, the room runs in a process of its own width whose user list
// answers the tree-view messages. A room configured with lies answers as a
// lying room does (standin/RoomLies.h).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimProcessMemory.h"
#include "platform/sim/SimTreeView.h"
#include "standin/RoomModel.h"

namespace tavlen::sim {

class SimRoom {
 public:
  SimRoom(SimDesktop& desktop, standin::RoomConfig config, std::function<std::int64_t()> now,
          SimProcessMemory* memory = nullptr, int client_bits = 64);
  ~SimRoom();
  SimRoom(const SimRoom&) = delete;
  SimRoom& operator=(const SimRoom&) = delete;

  standin::RoomModel& Model() { return model_; }
  Hwnd Window() const { return window_; }
  Hwnd InputBox() const { return input_; }
  Hwnd Transcript() const { return transcript_; }
  Hwnd TalkSwitch() const { return talk_switch_; }
  Hwnd Tree() const { return tree_; }
  Hwnd TalkerIndicator() const { return indicator_; }
  std::uint32_t Process() const { return process_; }
  // The user list control (none without process memory).
  SimTreeView* TreeView() { return tree_view_.get(); }
  bool Open() const;

  // The moderator types into the room's input box (no submission).
  void Type(const std::string& text);
  std::string InputText() const;  // what the box holds
  std::vector<std::string> SubmittedLines() const { return model_.SubmittedTexts(); }
  // Counters of what reached the controls.
  int KeyDownsTo(Hwnd control) const;
  int FocusRequests() const { return focus_requests_; }
  int Clicks() const { return clicks_; }
  int Caret() const { return caret_; }

  void Close();
  void SetHung(bool hung);
  // How many wrong answers a lying room gave (the crowd and each rebirth count one).
  std::uint64_t LiesTold() const { return lies_told_; }
  // Runs inside every WM_KEYDOWN the input box receives (tests use it to type
  // while a submission runs).
  std::function<void()> OnKeyDown;

 private:
  // Creates the window and its children and wires their answers.
  void Build();
  // A text as a control hands it over: whole, or, lying, filling the caller's
  // buffer with no terminator and counting more than it holds.
  void GiveText(SimMessage& m, const std::string& text);
  // A message answered by one of the room's windows: a room that is made again
  // is, every so often, once the message is answered.
  void Answered();
  void Rebuild();
  // The lies of the user list, around the control's own answers.
  bool TreeAnswer(const std::function<bool(SimWindow&, SimMessage&)>& honest, SimWindow& w, SimMessage& m);
  void FillWithoutTerminator(RemoteAddress record);
  void PointTextOutside(RemoteAddress record);
  void Sync();
  // EM_GETTEXTRANGE on the transcript, the record at `range_at` in the room's memory.
  std::intptr_t AnswerTextRange(RemoteAddress range_at);
  void SyncTree();
  void AddNodes(SimTreeView::Item parent, const std::vector<standin::TreeNode>& nodes);
  SimDesktop& desktop_;
  SimProcessMemory* memory_;
  standin::RoomModel model_;
  std::uint32_t process_;
  Hwnd window_ = kNoWindow;
  Hwnd transcript_ = kNoWindow;
  Hwnd input_ = kNoWindow;
  Hwnd talk_switch_ = kNoWindow;
  Hwnd tree_ = kNoWindow;
  Hwnd indicator_ = kNoWindow;
  std::unique_ptr<SimTreeView> tree_view_;
  std::vector<standin::TreeNode> shown_tree_;
  std::vector<std::pair<Hwnd, int>> keydowns_;
  int focus_requests_ = 0;
  int clicks_ = 0;
  bool button_down_ = false;
  int caret_ = 0;
  std::uint64_t length_reads_ = 0;
  std::uint64_t switch_reads_ = 0;
  std::uint64_t item_requests_ = 0;
  std::uint64_t wild_answers_ = 0;
  int messages_ = 0;
  std::uint64_t lies_told_ = 0;
  bool rebuilding_ = false;
};

}  // namespace tavlen::sim
