#include "ui/Console.h"

namespace tavlen {

Console::Console(const Platform& platform) : app(platform.clock, platform.widgets) {
  app.SetTitle("Tavlen");
  app.OnException = [this](const std::string& what) { log.debog("-> AppException: " + what); };
  Form1 = std::make_unique<TForm1>(app, platform, log);
  app.MainForm = Form1.get();
  Form2 = std::make_unique<TForm2>(app, platform.exe_dir, platform.dialogs);
  Form3 = std::make_unique<TForm3>(app, Form1->room.VersionText);
  Form4 = std::make_unique<TForm4>(app, Form1->panel.Edit2, *Form1->KTop1);
  Form1->users.AttachChooser(*Form4, Form4->ListBox1);
  Form5 = std::make_unique<TForm5>(app, Form1->notification, platform.dialogs);
  TForm1& f1 = *Form1;
  Form7 = std::make_unique<TForm7>(app, f1.HotKeyNames, f1.hotkeyTable, [&f1] { f1.savehotkeys(); });
  Form8 = std::make_unique<TForm8>(app, f1.HotKeyNames, f1.hotkeyTable, platform.sound, platform.dialogs,
                                   [&f1] { f1.savehotkeys(); });
  Form9 = std::make_unique<TForm9>(app, f1.VolumeControl1, f1.MusicVolume);
  Form10 = std::make_unique<TForm10>(app, log);
  Form11 = std::make_unique<TForm11>(app);
  Form12 = std::make_unique<TForm12>(app, platform.mixer, platform.dialogs, platform.exe_dir);
  for (kit::Form* f : std::initializer_list<kit::Form*>{Form2.get(), Form3.get(), Form4.get(), Form5.get(),
                                                      Form7.get(), Form8.get(), Form9.get(), Form10.get(),
                                                      Form11.get(), Form12.get()})
    f->CenterOn = Form1.get();
  Form1->forms = SecondaryForms{Form2.get(), Form3.get(), Form4.get(),  Form5.get(),  Form7.get(),
                                Form8.get(), Form9.get(), Form10.get(), Form11.get(), Form12.get()};
  Form1->Aide2->OnClick = [this] { Form11->ShowModal(); };
  Form1->Apropos1->OnClick = [this] { Form3->ShowModal(); };
  // The main window's first show runs its start-up work, guarded as a handler.
  app.Dispatch([this] { Form1->Show(); });
}

Console::~Console() {
  // The secondary windows go first; the main window, which refers to them, last.
  Form12.reset();
  Form11.reset();
  Form10.reset();
  Form9.reset();
  Form8.reset();
  Form7.reset();
  Form5.reset();
  Form4.reset();
  Form3.reset();
  Form2.reset();
  Form1.reset();
}

}  // namespace tavlen
