// The stand-in chat room: what a Camfrog room window holds and how it answers,
// independent of how it is shown (sim skin for tests, Win32 exe for Wine runs).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "standin/RoomLies.h"

namespace tavlen::standin {

struct RoomConfig {
  std::string room = "le_salon_bleu";
  std::string topic;                 // non-empty: the title carries ", Topic: <topic>"
  std::string own_nick = "modo";
  std::string level = "OPPLUS.";     // the word of the "/setopt" refusal
  bool owner = false;                // owners get the "/SETOPT arguments:" help instead
  std::vector<std::string> users;    // other people in the room
  bool crlf_after_last = true;       // false: lines are only separated by CR LF
  bool refuse_talk = false;          // the talk switch does nothing
  bool has_talk_switch = true;       // false: another program's window with the same title shape
  int filler_children = 21;          // children between the tree and the talker indicator
  std::vector<std::string> hidden_users;  // a second, collapsed group
  RoomLies lies;                     // none: the room answers as a client does
  int input_boxes = 1;               // "Edit" children: a submission goes into each
  int transcript_lines = 0;          // chat lines the transcript holds from the start
};

// One item of the user tree as the client shows it.
struct TreeNode {
  std::string text;
  bool expanded = false;
  std::vector<TreeNode> children;
  bool operator==(const TreeNode&) const = default;
};

// The fixed texts of the user tree.
inline constexpr char kVisibleUsersHeader[] = "Visible Users";
inline constexpr char kHiddenUsersHeader[] = "Hidden Users";
inline constexpr char kClickNamePlaceholder[] = " Click name to view";

// What a walk over the visible items reads (children of collapsed items are
// skipped), and the number of items, collapsed ones included.
std::vector<std::string> VisibleTreeTexts(const std::vector<TreeNode>& roots);
std::size_t TreeItemCount(const std::vector<TreeNode>& roots);

struct SubmittedLine {
  std::string text;
  std::int64_t at_ms;
};

class RoomModel {
 public:
  explicit RoomModel(RoomConfig config, std::function<std::int64_t()> now = {});

  const RoomConfig& Config() const { return config_; }
  std::string Title() const;
  // The transcript as the control returns it: lines separated by CR LF (and one
  // after the last line unless configured otherwise).
  std::string TranscriptText() const;
  const std::vector<std::string>& TranscriptLines() const { return lines_; }
  const std::string& Input() const { return input_; }
  void SetInput(std::string text) { input_ = std::move(text); }
  const std::string& Talker() const { return talker_; }
  // Sorted nicks present, the own nick included.
  std::vector<std::string> Users() const;
  // Sorted nicks of the hidden group.
  std::vector<std::string> HiddenUsers() const;
  // The user tree: "Visible Users" (expanded, Users()), "Hidden Users"
  // (collapsed, HiddenUsers()), then the placeholder item.
  std::vector<TreeNode> UserTree() const;
  const std::vector<SubmittedLine>& Submitted() const { return submitted_; }
  std::vector<std::string> SubmittedTexts() const;

  // Enter in the input box: a chat line or a command; the box empties.
  void Submit();
  // One click on the talk switch.
  void ClickTalk();

  // Things other people do.
  void Say(const std::string& nick, const std::string& text);
  void Join(const std::string& nick, bool hidden = false);
  void Quit(const std::string& nick);
  void SetTalker(std::string nick) { talker_ = std::move(nick); Changed(); }
  void AppendRaw(std::string line);
  void ClearTranscript();
  void SetTopic(std::string topic);

  // Tells the skin that something it shows changed.
  std::function<void()> OnChanged;

 private:
  void Command(const std::string& line);
  void Changed() { if (OnChanged) OnChanged(); }
  void RemoveUser(const std::string& nick);

  RoomConfig config_;
  std::function<std::int64_t()> now_;
  std::vector<std::string> lines_;
  std::string input_;
  std::string talker_;
  std::vector<std::string> users_;
  std::vector<std::string> hidden_;
  std::vector<SubmittedLine> submitted_;
};

}  // namespace tavlen::standin
