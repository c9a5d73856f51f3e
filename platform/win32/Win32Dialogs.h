// The Dialogs port over MessageBoxA, an in-memory modal prompt (InputBox) and
// GetOpenFileNameA.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Dialogs.h"
#include "platform/Types.h"

namespace tavlen {

class Win32Dialogs final : public Dialogs {
 public:
  // `title` gives the application title, the caption of boxes shown without one.
  explicit Win32Dialogs(std::function<std::string()> title) : title_(std::move(title)) {}

  void ShowMessage(std::string_view text, std::string_view caption = {},
                   MessageIcon icon = MessageIcon::kNone) override;
  std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view initial) override;
  std::optional<std::string> OpenFile(std::string_view filter) override;

  // The window the dialogs are owned by; the active window when unset or when it
  // answers no window.
  std::function<Hwnd()> Owner;

  // Control ids of the prompt, for programs that drive it from outside.
  static constexpr int kPromptEditId = 100;
  static constexpr int kPromptLabelId = 101;

 private:
  std::string Caption(std::string_view caption) const;
  Hwnd OwnerWindow() const;

  std::function<std::string()> title_;
};

// "Name|*.ext|Other|*.x" as the double-NUL separated list GetOpenFileName takes:
// every '|' becomes a NUL and the list ends with two NULs.
std::string OpenFileFilter(std::string_view filter);

}  // namespace tavlen
