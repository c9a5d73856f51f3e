#include "ui/Unit3.h"

#include "base/Text.h"

namespace tavlen {

TForm3::TForm3(kit::Application& app, const std::string& version_text)
    : kit::Form(app, "TForm3", ansi("À propos de Tavlen")),
      Label1(this, "Label1"),
      Label2(this, "Label2"),
      Label3(this, "Label3"),
      Button1(this, "Button1") {
  SetClientSize(260, 140);
  Position = kit::FormPosition::kOwnerFormCenter;
  Border = kit::BorderStyle::kDialog;
  kit::Font title;
  title.size = 14;
  title.bold = true;
  Label1.SetFont(title);
  Label1.SetBounds(10, 12, 240, 26);
  Label1.SetAlignment(kit::Alignment::kCenter);
  Label1.SetText("Tavlen");
  Label2.SetBounds(10, 46, 240, 16);
  Label2.SetAlignment(kit::Alignment::kCenter);
  Label2.SetText(version_text);
  Label3.SetBounds(10, 66, 240, 16);
  Label3.SetAlignment(kit::Alignment::kCenter);
  Label3.SetText(ansi("Console de modération - édition salon"));
  Button1.SetBounds(90, 100, 80, 25);
  Button1.SetText("OK");
  Button1.OnClick = [this] { Close(); };
}

}  // namespace tavlen
