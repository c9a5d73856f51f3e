// The main window's moderation wiring: the "Commandes" entries, the automatic
// kick, the catalogue editor and the store it owns.
#include <stdexcept>

#include "ui/Unit1.h"
#include "ui/Unit2.h"

namespace tavlen {

void TForm1::SetupModeration() {
  autoKick = std::make_unique<AutoKick>(moderation, panel, Timer5, *Activer1, *Desactiver1);
  Timer5.OnTimer = [this] { Timer5Timer(); };
  Activer1->OnClick = [this] { autoKick->Activer1Click(); };
  Desactiver1->OnClick = [this] { autoKick->Desactiver1Click(); };
  Editerlesmessages1->OnClick = [this] { Editerlesmessages1Click(); };

  Ajouter1->OnClick = [this] { roomMenus.Ajouter1Click(); };
  AjouterOP1->OnClick = [this] { roomMenus.AjouterOP1Click(); };
  AjouterOPPLUS1->OnClick = [this] { roomMenus.AjouterOPPLUS1Click(); };
  RetirerAMISOPOP1->OnClick = [this] { roomMenus.RetirerAMISOPOP1Click(); };
  N30sec1->OnClick = [this] { roomMenus.N30sec1Click(); };
  N60sec1->OnClick = [this] { roomMenus.N60sec1Click(); };
  N120sec1->OnClick = [this] { roomMenus.N120sec1Click(); };
  Illimit1->OnClick = [this] { roomMenus.Illimit1Click(); };
  Activer2->OnClick = [this] { roomMenus.Activer2Click(); };
  Desactiver2->OnClick = [this] { roomMenus.Desactiver2Click(); };
  CahngerleTopic1->OnClick = [this] { roomMenus.CahngerleTopic1Click(); };
  Effacerletopic1->OnClick = [this] { roomMenus.Effacerletopic1Click(); };
}

MessageCatalogue& TForm1::Catalogue() {
  if (!forms.Form2) throw std::logic_error("the message editor window does not exist yet");
  return forms.Form2->Catalogue;
}

void TForm1::Editerlesmessages1Click() {
  panel.Fold();
  if (forms.Form2) forms.Form2->OpenEditor();
}

void TForm1::Timer5Timer() { autoKick->Timer5Timer(); }

}  // namespace tavlen
