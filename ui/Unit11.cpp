#include "ui/Unit11.h"

#include "base/Text.h"
#include "kit/Layout.h"

namespace tavlen {

namespace {
const char* const kHelp[] = {
    "Tavlen se place à côté de la fenêtre du salon et la pilote de l'extérieur.",
    "",
    "- Le salon est trouvé tout seul : la fenêtre de salon au premier plan est suivie.",
    "- Pseudo concerné : double-cliquez dans la case pour choisir un pseudo dans la liste,",
    "  ou tapez-le. Choisissez une action, une raison, puis cliquez sur le bouton d'exécution.",
    "- Clic droit sur AVERTIR, KICKER, PUNIR ou BANNIR : raisons rapides.",
    "- Dans la saisie du salon, un mot suivi de * est complété par un pseudo du salon ;",
    "  retapez * pour passer au pseudo suivant.",
    "- Config. : messages, notifications, raccourcis clavier, configuration audio.",
    "- Mic / Mix : bascule la source d'enregistrement entre le micro et la musique.",
    "",
    "Les réglages sont dans le dossier du programme : messages.ini, highlight.ini,",
    "sounds.ini, hotkeys.ini et config.ini.",
};
}  // namespace

TForm11::TForm11(kit::Application& app)
    : kit::Form(app, "TForm11", ansi("Aide rapide")), Memo1(this, "Memo1"), Button1(this, "Button1") {
  SetClientSize(520, 260);
  Position = kit::FormPosition::kOwnerFormCenter;
  kit::Lay({
      {Memo1, 8, 8, 504, 210},
      {Button1, 220, 226, 80, 25, "OK"},
  });
  Memo1.ReadOnly = true;
  Memo1.WordWrap = true;
  std::vector<std::string> lines;
  for (const char* line : kHelp) lines.push_back(ansi(line));
  Memo1.SetLines(std::move(lines));
  Button1.OnClick = [this] { Close(); };
}

}  // namespace tavlen
