#include "ui/Console.h"

namespace tavlen {

Console::Console(const Platform& p)
    : platform(p),
      app(p.clock, p.widgets),
      catalogue(p.exe_dir + kMessagesFile),
      ctx{p.windowing, app, room, log, p.memory, {}, 0, {}},
      controls(ctx),
      talk(ctx, controls),
      discovery(ctx, talk),
      WinampControl1(p.windowing),
      notifier(app, p, room),
      songs(talk, WinampControl1),
      monitor(app, controls, room, p.dialogs, notifier, songs),
      HTMLPopup2(p.popups, p.metrics, p.windowing, p.clock),
      recordingSource(p.mixer, HTMLPopup2, p.clock),
      VolumeControl1(p.volume),
      MediaPlayer1(p.sound.CreateMediaPlayer()),
      hotkeySounds(app, log, VolumeControl1, *MediaPlayer1, levels),
      hotkeys(p.hotkeys, p.dialogs, p.exe_dir, hotkeyTable),
      talkControl(talk, controls, room, log, HTMLPopup2, p.clock, VolumeControl1, levels),
      hotkeyDispatch(log, hotkeyTable, hotkeys.HotKeyNames, room, talk, controls, hotkeySounds, recordingSource) {
  app.SetTitle("Tavlen");
  app.OnException = [this](const std::string& what) { log.debog("-> AppException: " + what); };
  WireFeatures();

  Form1 = std::make_unique<TForm1>(*this);
  app.MainForm = Form1.get();
  Form2 = std::make_unique<TForm2>(app, catalogue, p.dialogs);
  Form3 = std::make_unique<TForm3>(app, room.VersionText);
  Form4 = std::make_unique<TForm4>(app, Form1->panel.Edit2, *Form1->KTop1);
  Form1->users.AttachChooser(*Form4, Form4->ListBox1);
  Form5 = std::make_unique<TForm5>(app, notifier.notification, p.dialogs);
  Form7 = std::make_unique<TForm7>(app, hotkeys.HotKeyNames, hotkeyTable, [this] { hotkeys.savehotkeys(); });
  Form8 = std::make_unique<TForm8>(app, hotkeys.HotKeyNames, hotkeyTable, p.sound, p.dialogs,
                                   [this] { hotkeys.savehotkeys(); });
  Form9 = std::make_unique<TForm9>(app, VolumeControl1, levels);
  Form10 = std::make_unique<TForm10>(app, log);
  Form11 = std::make_unique<TForm11>(app);
  Form12 = std::make_unique<TForm12>(app, recordingSource, p.dialogs, p.exe_dir);
  for (kit::Form* f : std::initializer_list<kit::Form*>{Form2.get(), Form3.get(), Form4.get(), Form5.get(),
                                                      Form7.get(), Form8.get(), Form9.get(), Form10.get(),
                                                      Form11.get(), Form12.get()})
    f->CenterOn = Form1.get();
  Form1->forms = SecondaryForms{Form2.get(), Form3.get(), Form4.get(),  Form5.get(),  Form7.get(),
                                Form8.get(), Form9.get(), Form10.get(), Form11.get(), Form12.get()};
  // The main window's first show runs its start-up work, guarded as a handler.
  app.Dispatch([this] { Form1->Show(); });
  // The windows whose building would hold the console's window longest when
  // first opened are built while it is idle: the message editor the panel opens
  // (88-132 ms under Wine) and the audio configuration (49 ms). The others take
  // 14-31 ms at their first opening and would only add to the memory.
  for (kit::Form* f : std::initializer_list<kit::Form*>{Form2.get(), Form12.get()}) f->Prepare();
}

// The features' links to each other; those to the main window's widgets are its own.
void Console::WireFeatures() {
  HTMLPopup2.PopupWidth = 100;
  HTMLPopup2.PopupHeight = 50;
  HTMLPopup2.AlwaysOnTop = false;
  HTMLPopup2.AutoHide = true;
  HTMLPopup2.BorderSize = 0;
  HTMLPopup2.Color = clInfoBk;

  // Nothing may escape the hidden window's procedure: presses go through the error guard.
  hotkeys.HotKeyManager1.OnHotKeyPressed = [this](HotKeyValue HotKey, std::uint16_t) {
    app.Dispatch([&] { hotkeyDispatch.HotKeyPressed(HotKey); });
  };
  talk.PressMode = [this](Hwnd talk_switch) { return talkControl.Press(talk_switch); };
}

Console::~Console() {
  // The windows go before the features they use (members, destroyed after this body):
  // the secondary windows first, then the main window, which refers to them.
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
