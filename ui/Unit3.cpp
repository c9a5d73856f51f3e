#include "ui/Unit3.h"

#include "base/Text.h"
#include "kit/Layout.h"

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
  kit::Lay({
      {Label1, 10, 12, 240, 26, "Tavlen"},
      {Label2, 10, 46, 240, 16, version_text},
      {Label3, 10, 66, 240, 16, ansi("Console de modération - édition salon")},
      {Button1, 90, 100, 80, 25, "OK"},
  });
  kit::Font title;
  title.size = 14;
  title.bold = true;
  Label1.SetFont(title);
  for (kit::Label* line : {&Label1, &Label2, &Label3}) line->SetAlignment(kit::Alignment::kCenter);
  Button1.OnClick = [this] { Close(); };
}

}  // namespace tavlen
