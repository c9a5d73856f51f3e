#include "moderation/QuickMenu.h"

#include "moderation/Placeholders.h"
#include "moderation/Sanctions.h"

namespace tavlen {

QuickMenu::QuickMenu(ModerationContext& ctx, ActionPanel& panel, kit::PopupMenu& spSkinPopupMenu1)
    : ctx_(ctx), panel_(panel), menu_(spSkinPopupMenu1) {
  menu_.PopupAlignment = kit::Alignment::kCenter;
  for (kit::Button* button : {&panel.spSkinSpeedButton10, &panel.spSkinSpeedButton4, &panel.spSkinSpeedButton7,
                              &panel.spSkinSpeedButton5})
    button->OnMouseDown = [this, button](kit::MouseButton mouse, int, int) {
      spSkinSpeedButton10MouseUp(*button, mouse);
    };
}

void QuickMenu::spSkinSpeedButton10MouseUp(kit::Button& button, kit::MouseButton mouse) {
  if (mouse == kit::MouseButton::kLeft) return;
  panel_.Fold();
  menu_.root.Clear();
  const MessageCatalogue& catalogue = ctx_.catalogue;
  for (int k = 0; k < MessageCatalogue::kSlots; ++k) {
    const CatalogueEntry& entry = catalogue.Slot(k);
    if (!entry.Quick()) continue;
    kit::MenuItem& item = menu_.root.Add("shortmenu" + std::to_string(k), entry.ShortcutName);
    item.Tag = k;
    item.Action = button.Text();
    item.OnClick = [this, &item] { shortmenuClick(item); };
  }
  menu_.Popup(ctx_.form.Left() + button.Left() - 20, ctx_.form.Top() + button.Top() + 57);
}

void QuickMenu::shortmenuClick(kit::MenuItem& item) {
  // Copied first: a submission handles pending events, and the next opening
  // destroys the items.
  const std::string action = item.Action;
  const int slot = static_cast<int>(item.Tag);
  // Without a nick the lines would act on a word of the reason instead.
  if (panel_.TargetNickBox().Text().empty()) {
    ctx_.dialogs.ShowMessage(kNickMissing, {}, MessageIcon::kWarning);
    return;
  }
  const auto sanction = SanctionNamed(action);
  if (!sanction) return;
  panel_.SetSelectedAction(action);
  auto nick = [this] { return panel_.TargetNickBox().Text(); };
  const std::string reason = ExpandPlaceholders(ctx_.catalogue.Slot(slot).MessageText,
                                                PlaceholderOrder::kNickThenRoom, nick(), ctx_.room.RoomName);
  SubmitSanction(ctx_, *sanction, nick, reason, kQuickPunishDuration);
}

}  // namespace tavlen
