// The stand-in room as a real Win32 window, for runs under Wine or Windows. Its
// direct children, in creation order: the transcript ("RichEdit20A"), the input
// box ("Edit", Enter submits), the talk switch ("Button" "Hands Free"), the user
// list ("SysTreeView32"), filler controls, and the talker indicator ("Button",
// the 26th child with the default filler count), then any further input box. It
// notes the time of each Enter key-down its input boxes get (the key log, read
// through the control channel) and counts the reads of its transcript's text.
// A room given lies answers through LyingControls and, to be made again,
// destroys its window and creates it anew under the same title.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "standin/RoomModel.h"
#include "standin/StandinOptions.h"
#include "standin/win32/LyingControls.h"

namespace tavlen::standin::win32 {

class RoomWindow {
 public:
  explicit RoomWindow(const StandinOptions& options);
  RoomWindow(const RoomWindow&) = delete;
  RoomWindow& operator=(const RoomWindow&) = delete;

  // False when the window could not be created.
  bool Create();
  HWND Window() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK InputProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  static LRESULT CALLBACK TranscriptProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  // The window and its children; false when the window could not be created.
  bool Build();
  void Rebuild();
  HWND Child(const char* class_name, const char* text, DWORD style, int x, int y, int w, int h, int id);
  // Enter in an input box: the line it held, empty when it held none.
  std::string SubmitInput(HWND box);
  bool WriteKeyLog(const std::string& path) const;
  bool Control(const char* data, std::size_t size);
  void Chatter();
  // Brings the controls up to date with the model.
  void Sync();
  void SyncTranscript();
  void RebuildTree(const std::vector<TreeNode>& tree);

  StandinOptions options_;
  RoomModel model_;
  UINT hang_message_ = 0;
  UINT reborn_message_ = 0;
  std::unique_ptr<LyingControls> lies_;
  bool rebuilding_ = false;
  HWND window_ = nullptr;
  HWND transcript_ = nullptr;
  HWND input_ = nullptr;
  std::vector<HWND> inputs_;  // input_ first
  HWND talk_switch_ = nullptr;
  HWND tree_ = nullptr;
  HWND indicator_ = nullptr;
  HFONT font_ = nullptr;
  // What the controls show, so a change touches only what changed.
  std::string shown_title_;
  std::string shown_transcript_;
  std::string shown_talker_;
  std::vector<TreeNode> shown_tree_;
  bool tree_built_ = false;
  int chatter_count_ = 0;
  struct KeyDown {
    double ms;         // QueryPerformanceCounter, in milliseconds
    int box;           // 1 for the first input box
    std::string line;  // what it submitted
  };
  std::vector<KeyDown> key_log_;
  UINT key_count_message_ = 0;
  long transcript_reads_ = 0;
  UINT transcript_reads_message_ = 0;
};

}  // namespace tavlen::standin::win32
