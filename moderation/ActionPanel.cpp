#include "moderation/ActionPanel.h"

#include "base/Text.h"
#include "kit/Layout.h"
#include "moderation/Placeholders.h"
#include "moderation/Sanctions.h"

namespace tavlen {

namespace {
constexpr kit::Color kBandBlue = kit::Rgb(41, 98, 200);
constexpr kit::Color kBandRed = kit::Rgb(200, 40, 40);
constexpr kit::Color kBandGreen = kit::Rgb(57, 199, 50);
constexpr kit::Color kNickBoxBlue = kit::Rgb(217, 238, 251);

void Band(kit::Label& band, int top, kit::Color color) {
  band.SetBounds(1, top, 321, 27);
  band.Transparent = false;
  band.SetColor(color);
}

// The buttons fill their band: the quick and room menus open at points computed
// from the buttons' own positions.
void ActionButton(kit::Button& button, int left, int top, int width, const char* caption) {
  button.SetBounds(left, top, width, 27);
  button.SetText(caption);
}

constexpr const char* kReasonMissing =
    "Choisissez une raison ! (je sais bien que camfrog ne laisse pas bcp de sommeil mais bon :p)";

bool ActsAtOnce(std::string_view caption) {
  return caption == "ZEB" || caption == "DEPUNIR" || caption == "DEBANNIR";
}
}  // namespace

ActionPanel::ActionPanel(ModerationContext& context)
    : ctx(context),
      form(context.form),
      Band1(&form, "Band1"),
      Band2(&form, "Band2"),
      Band3(&form, "Band3"),
      Label9(&form, "Label9"),
      Edit2(&form, "Edit2"),
      spSkinSpeedButton13(&form, "spSkinSpeedButton13"),
      spSkinSpeedButton6(&form, "spSkinSpeedButton6"),
      spSkinSpeedButton1(&form, "spSkinSpeedButton1"),
      spSkinSpeedButton2(&form, "spSkinSpeedButton2"),
      spSkinSpeedButton10(&form, "spSkinSpeedButton10"),
      spSkinSpeedButton4(&form, "spSkinSpeedButton4"),
      spSkinSpeedButton7(&form, "spSkinSpeedButton7"),
      spSkinSpeedButton5(&form, "spSkinSpeedButton5"),
      spSkinSpeedButton12(&form, "spSkinSpeedButton12"),
      spSkinSpeedButton9(&form, "spSkinSpeedButton9"),
      spSkinSpeedButton8(&form, "spSkinSpeedButton8"),
      spSkinSpeedButton11(&form, "spSkinSpeedButton11"),
      Label8(&form, "Label8"),
      Label11(&form, "Label11"),
      Edit3(&form, "Edit3"),
      ComboBox1(&form, "ComboBox1"),
      Label10(&form, "Label10"),
      ListBox3(&form, "ListBox3"),
      spSkinSpeedButton3(&form, "spSkinSpeedButton3") {
  Band(Band1, 56, kBandBlue);
  Band(Band2, 88, kBandRed);
  Band(Band3, 120, kBandGreen);

  kit::Lay({
      {Label9, 2, 29, 130, 16, ansi("Pseudo concerné :")},
      {Edit2, 136, 27, 153, 24, {},
       ansi("Double-clickez pour accéder à la liste puis double-cliquez de nouveau sur le pseudo pour la valider")},
      {spSkinSpeedButton13, 292, 25, 17, 17, "X"},
      {Label8, 144, 176, 161, 25, "TYPE"},
      {Label11, 144, 211, 38, 16, ansi("Durée :")},
      {Edit3, 184, 208, 25, 21, "3"},
      {ComboBox1, 216, 208, 73, 22},
      {Label10, 144, 232, 60, 16, "Messages:"},
      {ListBox3, 144, 248, 161, 137},
      {spSkinSpeedButton3, 144, 392, 161, 25, "........."},
  });
  Edit2.SetColor(kNickBoxBlue);

  ActionButton(spSkinSpeedButton6, 0, 56, 104, "MSG INDIVIDUEL");
  ActionButton(spSkinSpeedButton1, 104, 56, 120, "MSG PUBLIC");
  ActionButton(spSkinSpeedButton2, 224, 56, 97, "MSG GROUPE");
  ActionButton(spSkinSpeedButton10, 0, 88, 80, "AVERTIR");
  ActionButton(spSkinSpeedButton4, 80, 88, 80, "KICKER");
  ActionButton(spSkinSpeedButton7, 160, 88, 80, "PUNIR");
  ActionButton(spSkinSpeedButton5, 240, 88, 81, "BANNIR");
  ActionButton(spSkinSpeedButton12, 0, 120, 80, "LISTE CAM");
  ActionButton(spSkinSpeedButton9, 80, 120, 80, "ZEB");
  ActionButton(spSkinSpeedButton8, 160, 120, 80, "DEPUNIR");
  ActionButton(spSkinSpeedButton11, 240, 120, 81, "DEBANNIR");
  for (kit::Button* restricted : {&spSkinSpeedButton5, &spSkinSpeedButton9, &spSkinSpeedButton11})
    restricted->SetEnabled(false);

  Label8.SetAlignment(kit::Alignment::kCenter);
  Label8.Transparent = false;
  Label8.SetColor(clBlue);
  kit::Font bold_white;
  bold_white.bold = true;
  bold_white.color = clWhite;
  Label8.SetFont(bold_white);

  // The punishment's duration shows only once PUNIR is chosen.
  ComboBox1.ComboStyle = kit::ComboBox::Style::kDropDownList;
  for (const char* unit : {"Minutes", "Heures", "Jours"}) ComboBox1.Add(unit);
  for (kit::Control* duration : std::initializer_list<kit::Control*>{&Label11, &Edit3, &ComboBox1})
    duration->SetVisible(false);
  ListBox3.ShowHint = true;

  spSkinSpeedButton13.OnClick = [this] { spSkinSpeedButton13Click(); };
  for (kit::Button* action : {&spSkinSpeedButton6, &spSkinSpeedButton1, &spSkinSpeedButton10, &spSkinSpeedButton4,
                              &spSkinSpeedButton7, &spSkinSpeedButton5, &spSkinSpeedButton9, &spSkinSpeedButton8,
                              &spSkinSpeedButton11})
    action->OnClick = [this, action] { spSkinSpeedButton1Click(*action); };
  spSkinSpeedButton3.OnClick = [this] { spSkinSpeedButton3Click(); };
  ListBox3.OnClick = [this] { ListBox3Click(); };
}

void ActionPanel::UnlockRestricted() {
  for (kit::Button* restricted : {&spSkinSpeedButton5, &spSkinSpeedButton9, &spSkinSpeedButton11})
    restricted->SetEnabled(true);
}

void ActionPanel::Fold() { form.SetHeight(kCompactHeight); }

void ActionPanel::spSkinSpeedButton13Click() { Edit2.SetText(""); }

void ActionPanel::spSkinSpeedButton1Click(kit::Button& button) {
  const std::string previous = Label8.Text();
  const std::string action = button.Text();
  spSkinSpeedButton3.SetText(action);
  Label8.SetText(action);
  if (ActsAtOnce(action)) {
    spSkinSpeedButton3Click();
    return;
  }

  if (form.Height() <= 450) form.SetHeight(kExpandedHeight);
  else if (previous == action) Fold();

  // The list is a snapshot: items keep their slot numbers while the editor works.
  ListBox3.Clear();
  const bool sanction = SanctionNamed(action).has_value();
  if (sanction) ListBox3.Add(kCustomReasonItem, kNoSlot);
  const MessageCatalogue& catalogue = ctx.catalogue;
  for (int k = 0; k < MessageCatalogue::kSlots; ++k) {
    const CatalogueEntry& entry = catalogue.Slot(k);
    if (entry.Category.find(action) != std::string::npos) ListBox3.Add(entry.ShortcutName, k);
  }
  ListBox3.SetVisible(true);
  Label10.SetVisible(true);

  if (action == "MSG PUBLIC" || action == "MSG INDIVIDUEL") Label8.SetColor(clBlue);
  else if (sanction) Label8.SetColor(clRed);
  kit::Font font = Label8.GetFont();
  font.color = clWhite;
  Label8.SetFont(font);

  const bool punish = action == "PUNIR";
  Label11.SetVisible(punish);
  Edit3.SetVisible(punish);
  ComboBox1.SetVisible(punish);
}

bool ActionPanel::CustomEntrySelected() const {
  const int index = ListBox3.ItemIndex();
  return index >= 0 && ListBox3.Data(index) == kNoSlot;
}

std::string ActionPanel::SelectedReason() {
  const int index = ListBox3.ItemIndex();
  if (index < 0 || CustomEntrySelected()) return {};
  return ctx.catalogue.Slot(static_cast<int>(ListBox3.Data(index))).MessageText;
}

void ActionPanel::spSkinSpeedButton3Click() {
  const std::string action = SelectedAction();
  if (Edit2.Text().empty() && action != "MSG PUBLIC") {
    ctx.dialogs.ShowMessage(kNickMissing, {}, MessageIcon::kWarning);
    return;
  }
  std::string reason = SelectedReason();
  auto nick = [this] { return Edit2.Text(); };

  if (action == "MSG PUBLIC" || action == "MSG INDIVIDUEL") {
    if (ListBox3.ItemIndex() < 0) {
      ctx.dialogs.ShowMessage(kReasonMissing, {}, MessageIcon::kWarning);
      return;
    }
    const auto order = action == "MSG PUBLIC" ? PlaceholderOrder::kRoomOnly : PlaceholderOrder::kRoomThenNick;
    ctx.line.send_to_camfrog(ExpandPlaceholders(reason, order, nick(), ctx.room.RoomName));
  } else if (const auto sanction = SanctionNamed(action)) {
    if (ListBox3.ItemIndex() < 0) {
      ctx.dialogs.ShowMessage(kReasonMissing, {}, MessageIcon::kWarning);
      return;
    }
    if (CustomEntrySelected()) {
      reason = ctx.dialogs.InputBox("Message d'avertissement", "Entrez votre message d'avertissement", "");
      if (reason.empty()) return;
    }
    reason = ExpandPlaceholders(reason, PlaceholderOrder::kRoomThenNick, nick(), ctx.room.RoomName);
    SubmitSanction(ctx, *sanction, nick, reason, PunishDuration(Edit3.Text(), ComboBox1.ItemIndex()));
  } else if (action == "DEPUNIR") {
    ctx.line.send_to_camfrog("/unpunish " + nick());
  } else if (action == "DEBANNIR") {
    ctx.line.send_to_camfrog("/banlist remove " + nick());
  } else if (action == "ZEB") {
    SubmitPair(ctx, "/blockmic " + nick(), [&] { return "/unblockmic " + nick(); });
  }
  Fold();
}

void ActionPanel::ListBox3Click() {
  // A click that selects nothing reads entry -1 and fails: the hint stays.
  const std::intptr_t slot = ListBox3.Data(ListBox3.ItemIndex());
  ListBox3.SetHint(slot == kNoSlot ? ansi("Vous allez pouvoir entrer un message personnalisé !!!")
                                   : ctx.catalogue.Slot(static_cast<int>(slot)).MessageText);
}

}  // namespace tavlen
