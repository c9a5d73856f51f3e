// Modal dialogs: message box, one-line text prompt, file-open dialog.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavlen {

// The icon a message box shows beside its text.
enum class MessageIcon { kNone, kWarning, kError };

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // One text, one OK button. An empty caption means the application title.
  virtual void ShowMessage(std::string_view text, std::string_view caption = {},
                           MessageIcon icon = MessageIcon::kNone) = 0;
  // InputBox: the typed text on OK, `initial` on Cancel.
  virtual std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view initial) = 0;
  // The chosen file's full path, or nothing when cancelled. filter: "Name|*.ext".
  virtual std::optional<std::string> OpenFile(std::string_view filter) = 0;
};

}  // namespace tavlen
