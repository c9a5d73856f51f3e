#include "notify/HTMLPopupNotice.h"

#include "base/Text.h"
#include "notify/Markup.h"

namespace tavlen {

std::string NotificationMarkup(std::string_view speaker, std::string_view word) {
  return "<A href=\"activate\"><br><P align=\"center\"><b><FONT color=\"#0000FF\" size=15>" +
         EscapeMarkup(speaker) + "</FONT></b><br>" + ansi(" a utilisé le mot ") +
         "<br><b><FONT color=\"#FF0000\" size=15>" + EscapeMarkup(word) + "</font></b></P></a>";
}

Point NotificationPosition(int desktop_width, int desktop_height, const Rect& taskbar,
                           int popup_width, int popup_height) {
  const int left = desktop_width / 2 - popup_width / 2;
  const int taskbar_width = taskbar.Width();
  const int taskbar_height = taskbar.Height();
  const int top = taskbar_width > taskbar_height ? desktop_height - popup_height - taskbar_height
                                                 : desktop_height - popup_height;
  return {left, top};
}

}  // namespace tavlen
