#include "moderation/ActionPanel.h"

#include "core/Text.h"

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

void ActionButton(kit::Button& button, int left, int top, int width, const char* caption) {
  button.SetBounds(left + 2, top + 1, width - 4, 25);
  button.SetText(caption);
}
}  // namespace

ActionPanel::ActionPanel(kit::Form& f)
    : form(f),
      Band1(&f, "Band1"),
      Band2(&f, "Band2"),
      Band3(&f, "Band3"),
      Label9(&f, "Label9"),
      Edit2(&f, "Edit2"),
      spSkinSpeedButton13(&f, "spSkinSpeedButton13"),
      spSkinSpeedButton6(&f, "spSkinSpeedButton6"),
      spSkinSpeedButton1(&f, "spSkinSpeedButton1"),
      spSkinSpeedButton2(&f, "spSkinSpeedButton2"),
      spSkinSpeedButton10(&f, "spSkinSpeedButton10"),
      spSkinSpeedButton4(&f, "spSkinSpeedButton4"),
      spSkinSpeedButton7(&f, "spSkinSpeedButton7"),
      spSkinSpeedButton5(&f, "spSkinSpeedButton5"),
      spSkinSpeedButton12(&f, "spSkinSpeedButton12"),
      spSkinSpeedButton9(&f, "spSkinSpeedButton9"),
      spSkinSpeedButton8(&f, "spSkinSpeedButton8"),
      spSkinSpeedButton11(&f, "spSkinSpeedButton11"),
      Label8(&f, "Label8"),
      Label11(&f, "Label11"),
      Edit3(&f, "Edit3"),
      ComboBox1(&f, "ComboBox1"),
      Label10(&f, "Label10"),
      ListBox3(&f, "ListBox3"),
      spSkinSpeedButton3(&f, "spSkinSpeedButton3") {
  Band(Band1, 56, kBandBlue);
  Band(Band2, 88, kBandRed);
  Band(Band3, 120, kBandGreen);

  Label9.SetBounds(2, 29, 130, 16);
  Label9.SetText(ansi("Pseudo concerné :"));
  Edit2.SetBounds(136, 27, 153, 24);
  Edit2.SetColor(kNickBoxBlue);
  Edit2.SetHint(ansi(
      "Double-clickez pour accéder à la liste puis double-cliquez de nouveau sur le pseudo pour la valider"));
  Edit2.ShowHint = true;
  spSkinSpeedButton13.SetBounds(292, 25, 17, 17);
  spSkinSpeedButton13.SetText("X");

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

  Label8.SetBounds(144, 176, 161, 25);
  Label8.SetText("TYPE");
  Label8.SetAlignment(kit::Alignment::kCenter);
  Label8.Transparent = false;
  Label8.SetColor(kit::clBlue);
  kit::Font bold_white;
  bold_white.bold = true;
  bold_white.color = kit::clWhite;
  Label8.SetFont(bold_white);

  Label11.SetBounds(144, 211, 38, 16);
  Label11.SetText(ansi("Durée :"));
  Label11.SetVisible(false);
  Edit3.SetBounds(184, 208, 25, 21);
  Edit3.SetText("3");
  Edit3.SetVisible(false);
  ComboBox1.SetBounds(216, 208, 73, 22);
  ComboBox1.ComboStyle = kit::ComboBox::Style::kDropDownList;
  for (const char* unit : {"Minutes", "Heures", "Jours"}) ComboBox1.Add(unit);
  ComboBox1.SetVisible(false);

  Label10.SetBounds(144, 232, 60, 16);
  Label10.SetText("Messages:");
  ListBox3.SetBounds(144, 248, 161, 137);
  ListBox3.ShowHint = true;
  spSkinSpeedButton3.SetBounds(144, 392, 161, 25);
  spSkinSpeedButton3.SetText(".........");

  spSkinSpeedButton13.OnClick = [this] { Edit2.SetText(""); };
}

void ActionPanel::UnlockRestricted() {
  for (kit::Button* restricted : {&spSkinSpeedButton5, &spSkinSpeedButton9, &spSkinSpeedButton11})
    restricted->SetEnabled(true);
}

void ActionPanel::Fold() { form.SetHeight(kCompactHeight); }

}  // namespace tavlen
