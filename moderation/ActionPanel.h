// The moderation action panel of the main window: the target nick box, the
// action buttons on their coloured bands, and the expanded part (type label,
// duration controls, reason list, execute button), with the handlers that pick
// an action, preview a reason and submit the action's lines.
#pragma once

#include <string>

#include "kit/Widgets.h"
#include "moderation/ModerationContext.h"

namespace tavlen {

inline constexpr const char* kNickMissing = "Vous choisir un nick ou le rentrer manuellement !";
inline constexpr const char* kCustomReasonItem = "-------- PERSONNALISE --------";

class ActionPanel {
 public:
  static constexpr int kCompactHeight = 180;
  static constexpr int kExpandedHeight = 469;
  // Reason list items remember their slot; the custom entry remembers none.
  static constexpr std::intptr_t kNoSlot = -1;

  explicit ActionPanel(ModerationContext& ctx);

  // Enables "BANNIR", "ZEB" and "DEBANNIR" once the moderator's rights are known
  // to allow them; nothing disables them again.
  void UnlockRestricted();
  // Folds the main window to its compact height.
  void Fold();

  // Handlers.
  void spSkinSpeedButton1Click(kit::Button& button);  // the nine action buttons
  void spSkinSpeedButton3Click();                     // execute
  void ListBox3Click();                               // reason preview
  void spSkinSpeedButton13Click();                    // "X"

  ModerationContext& ctx;
  kit::Form& form;
  kit::Label Band1, Band2, Band3;
  kit::Label Label9;  // "Pseudo concerné :"
  kit::Edit Edit2;    // TargetNickBox
  kit::Button spSkinSpeedButton13;  // "X"
  kit::Button spSkinSpeedButton6, spSkinSpeedButton1, spSkinSpeedButton2;
  kit::Button spSkinSpeedButton10, spSkinSpeedButton4, spSkinSpeedButton7, spSkinSpeedButton5;
  kit::Button spSkinSpeedButton12, spSkinSpeedButton9, spSkinSpeedButton8, spSkinSpeedButton11;
  kit::Label Label8;  // type label: SelectedAction
  kit::Label Label11;
  kit::Edit Edit3;
  kit::ComboBox ComboBox1;
  kit::Label Label10;
  kit::ListBox ListBox3;
  kit::Button spSkinSpeedButton3;  // execute

  kit::Edit& TargetNickBox() { return Edit2; }
  const std::string& SelectedAction() const { return Label8.Text(); }
  void SetSelectedAction(std::string action) { Label8.SetText(std::move(action)); }

 private:
  // The text of the selected reason's slot; empty for no selection, the custom
  // entry, or a slot freed since the list was filled.
  std::string SelectedReason();
  bool CustomEntrySelected() const;
};

}  // namespace tavlen
