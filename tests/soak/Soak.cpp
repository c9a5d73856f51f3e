#include "Soak.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "base/Files.h"
#include "base/Text.h"
#include "hotkeys/HotkeyTable.h"
#include "mixer/MixerSourceSetting.h"
#include "moderation/MessageCatalogue.h"
#include "notify/HTMLPopupWindow.h"
#include "platform/HotkeyApi.h"
#include "platform/sim/SimPopupWindow.h"
#include "platform/VolumeApi.h"

namespace tavlen::soak {

namespace {

namespace fs = std::filesystem;
using sim::SimRoom;

const std::vector<std::string> kSettingsFiles = {"messages.ini", "hotkeys.ini", "config.ini", "highlight.ini",
                                                 "sounds.ini"};
constexpr int kMaxRooms = 5;
constexpr std::size_t kMaxUsers = 40;
constexpr std::size_t kTranscriptCap = 250;  // lines a room keeps before its client clears them
// The longest a single event may hold the console: the longest submission runs and
// pauses last a few seconds.
constexpr std::int64_t kLongestBlockMs = 60000;
constexpr std::size_t kMaxBoxesPerStep = 200;

struct SoakFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

const std::vector<std::string> kNicks = {
    "Lili", "Bob", "Zed", "Am\xE9lie", "KelVorn", "modo", "MODO", "x", "Join:", "Quit:", "n\xA4" "ck",
    "<b>gras</b>", "&amp;moi", "a b", "!titre", "kicked", "\xFF\xFF", "Operation", "a:b", std::string(120, 'N'),
    "<font size=99>big</font>", "&&", "[[", "<A href=\"activate\">", "\xA4"};

const std::vector<std::string> kChat = {
    "salut", "modo tu es l\xE0 ?", "aide svp", "!titre", "!TITRE", "<font size=40>gros</font>", "&lt;3",
    "\xA4\xA4\xA4", "(Y) :-)", std::string(500, 'z'), "\t", "ban ban ban", "kicked", ": /setopt",
    "Operation failed! Your current level is: OWNER.", "$nick", "", "tavlen", "modo modo modo", "<br><br><br>"};

const std::vector<std::string> kHotkeyTexts = {
    "Ctrl+F1", "Ctrl+F5", "Ctrl+Alt+T", "Alt+Num +", "F9", "Shift+F10", "ctrl+shift+m", "Ctrl+Bogus", "",
    "Win+A", "a", "Ctrl+\xA4", "F1\xA4TALK", "Ctrl+F1\r\nF2", "Ctrl+Alt+B", "Ctrl+Alt+M", "Ctrl+Alt+N", "F10",
    "\"+\"", "Ctrl"};

const std::vector<std::string> kPaths = {"C:\\Sons\\a.wav", "C:\\Sons\\b.mp3", "D:\\x\xA4y.wav", "",
                                         "C:\\absent.wav", "C:\\Sons\\casse.wav"};

const std::vector<std::string> kCatalogueTexts = {
    "Bienvenue", "$nick salut sur $room", "x", "", "ligne1\r\nligne2", "\xA4" "a\xA4" "b", "<b>gras</b>",
    std::string(300, 'm'), "flood r\xE9p\xE9t\xE9"};

const std::vector<std::string> kWordLists = {"modo\r\naide", "", "a\r\n\r\nb", "modo", "tavlen\r\n<b>\r\n\xA4",
                                             "x\ry\nz"};

const std::vector<std::string> kNumbers = {"10", "0", "-1", "abc", "99999999999", "5", "  7 ", "30", ""};

const std::vector<std::optional<std::string>> kAnswers = {
    std::nullopt, "", "30", "10", "5", "abc", "  15 ", "999999999999", "Bienvenue $nick", std::string(400, 'q'),
    "\xA4", "<b>x</b>", "Nouveau topic", "9"};

const std::vector<std::optional<std::string>> kFiles = {std::nullopt, "C:\\Sons\\a.wav", "C:\\Sons\\casse.wav",
                                                        "D:\\x\xA4y.wav", "C:\\absent.wav", ""};

const std::vector<std::string> kLevels = {"OPPLUS.", "OP.", "USER.", "", "OWNER.", "ADMIN."};

const std::vector<std::string> kRoomNames = {"salon", "le_salon_bleu", "Le Phare", "ALPHA", "alpha", "x",
                                             "Caf\xE9 du soir", "a,b"};

std::string Messages() {
  return "MSG INDIVIDUEL\xA4" "Bienvenue\xA4" "Bienvenue sur $room, $nick !\xA4normal\r\n"
         "MSG PUBLIC\xA4R\xE8gles\xA4Pas de pub, pas de flood.\xA4normal\r\n"
         "AVERTIR/KICKER/PUNIR/BANNIR\xA4" "Flood\xA4" "flood r\xE9p\xE9t\xE9\xA4popup\r\n"
         "AVERTIR/KICKER/PUNIR/BANNIR\xA4Insultes\xA4insultes envers $nick\xA4popup\r\n"
         "AVERTIR/KICKER/PUNIR/BANNIR\xA4Pub\xA4publicit\xE9\xA4normal\r\n";
}
std::string Hotkeys() {
  return "Ctrl+Alt+T\xA4TALK\r\nCtrl+Alt+B\xA4" "BLOCKMIC\r\nCtrl+Alt+M\xA4SRCMIC\r\nCtrl+Alt+N\xA4SRCMIX\r\n"
         "F9\xA4" "C:\\Sons\\a.wav\r\nShift+F10\xA4" "C:\\Sons\\b.mp3\r\n";
}
std::string Config() { return "MIC= 0 1 1 30000\r\nMIX= 0 1 3 52000\r\n"; }

std::string Shorten(std::string text, std::size_t n = 60) {
  if (text.size() > n) text = text.substr(0, n) + "...";
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 32) c = '.';
  return text;
}

void Collect(kit::Container& parent, std::vector<kit::Control*>& out) {
  for (kit::Control* c : parent.Children()) {
    if (!c->Visible() || !c->Enabled()) continue;
    out.push_back(c);
    if (auto* inner = dynamic_cast<kit::Container*>(c)) Collect(*inner, out);
  }
}

void CollectItems(kit::MenuItem& item, std::vector<kit::MenuItem*>& out) {
  for (const auto& child : item.Items()) {
    out.push_back(child.get());
    CollectItems(*child, out);
  }
}

int CountItems(kit::MenuItem& item) {
  std::vector<kit::MenuItem*> all;
  CollectItems(item, all);
  return static_cast<int>(all.size());
}

// The entries of a catalogue as its file holds them: used slots in order, then the
// lines kept past the last slot.
std::vector<CatalogueEntry> StoredEntries(const MessageCatalogue& c) {
  std::vector<CatalogueEntry> entries;
  for (int k = 0; k < MessageCatalogue::kSlots; ++k)
    if (!c.Slot(k).Free()) entries.push_back(MessageCatalogue::ParseLine(MessageCatalogue::FormatLine(c.Slot(k))));
  for (const std::string& line : c.ExtraLines()) entries.push_back(MessageCatalogue::ParseLine(line));
  return entries;
}

}  // namespace

Soak::Soak(std::uint64_t seed) : rng_(seed) {
  world_.desktop.CreateTaskbar({0, 1040, 1920, 1080});
  world_.volume.AddDevice(VolumeDeviceClass::kWaveOut, volume_caps::kWaveVolume, 0xC800C800);
  world_.open_player("12. Artiste - Chanson - Winamp");
  world_.sound.AddFile("C:\\Sons\\a.wav", 1500);
  world_.sound.AddFile("C:\\Sons\\b.mp3", 4000);
  world_.sound.AddUnplayableFile("C:\\Sons\\casse.wav");
  world_.write_file("messages.ini", Messages());
  world_.write_file("hotkeys.ini", Hotkeys());
  world_.write_file("config.ini", Config());
  world_.write_file("highlight.ini", "modo\r\naide\r\ntavlen\r\n");
  world_.write_file("sounds.ini", "C:\\Sons\\a.wav\r\n");
  for (const std::string& name : kSettingsFiles) {
    struct stat st {};
    ::stat(world_.file_path(name).c_str(), &st);
    files_[name] = FileState{world_.read_file(name), st.st_ino,
                             std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
  }
  standin::RoomConfig salon;
  salon.users = {"Lili", "Bob"};
  rooms_.push_back(&world_.open_room("le_salon_bleu", salon));
  rooms_.push_back(&world_.open_room("Le Phare"));
  // The client dies or stops answering in the middle of whatever the console does.
  world_.clock.OnTimeMoved = [this](std::int64_t) {
    if (!in_user_event_ || !Chance(0.002)) return;
    if (SimRoom* room = CurrentRoom()) {
      if (Chance(0.5)) room->Close();
      else room->SetHung(true);
    }
  };
  Restart();
  report_.restarts = 0;
}

Soak::~Soak() {
  world_.clock.OnTimeMoved = nullptr;
  console_.reset();
}

std::vector<SimRoom*> Soak::OpenRooms() {
  std::vector<SimRoom*> open;
  for (SimRoom* r : rooms_)
    if (r->Open()) open.push_back(r);
  return open;
}

SimRoom* Soak::CurrentRoom() {
  for (Hwnd h : world_.desktop.ZOrder())
    for (SimRoom* r : rooms_)
      if (r->Open() && r->Window() == h) return r;
  return nullptr;
}

std::string Soak::Nick() {
  if (SimRoom* r = CurrentRoom(); r && Chance(0.5)) {
    const auto users = r->Model().Users();
    if (!users.empty()) return Pick(users);
  }
  return Pick(kNicks);
}

std::string Soak::ChatText() {
  if (console_ && Chance(0.25)) {
    const auto& words = console_->Form5->Memo1.Lines();
    if (!words.empty()) return "tiens " + words[static_cast<std::size_t>(Int(0, int(words.size()) - 1))] + " !";
  }
  return Pick(kChat);
}

std::string Soak::TypedText(const kit::Control& control) {
  Console& c = *console_;
  if (&control == &c.Form7->Edit1 || &control == &c.Form7->Edit2 || &control == &c.Form7->Edit3 ||
      &control == &c.Form7->Edit4 || &control == &c.Form8->Edit1)
    return Pick(kHotkeyTexts);
  if (&control == &c.Form8->Edit2 || &control == &c.Form5->Edit1) return Pick(kPaths);
  if (&control == &c.Form1->panel.Edit3) return Pick(kNumbers);
  if (&control == &c.Form1->panel.Edit2) return Nick();
  if (&control == &c.Form2->Edit1 || &control == &c.Form2->Memo1) return Pick(kCatalogueTexts);
  if (&control == &c.Form5->Memo1) return Pick(kWordLists);
  switch (Int(0, 3)) {
    case 0: return Nick();
    case 1: return Pick(kNumbers);
    case 2: return Pick(kHotkeyTexts);
    default: return Pick(kCatalogueTexts);
  }
}

std::vector<kit::Form*> Soak::Forms() {
  Console& c = *console_;
  return {c.Form1.get(), c.Form2.get(), c.Form3.get(),  c.Form4.get(),  c.Form5.get(), c.Form7.get(),
          c.Form8.get(), c.Form9.get(), c.Form10.get(), c.Form11.get(), c.Form12.get()};
}

void Soak::TrackModals() {
  modal_stack_.erase(std::remove_if(modal_stack_.begin(), modal_stack_.end(),
                                    [](kit::Form* f) { return !f->Visible() || !f->Modal(); }),
                     modal_stack_.end());
  for (kit::Form* f : Forms())
    if (f->Visible() && f->Modal() && std::find(modal_stack_.begin(), modal_stack_.end(), f) == modal_stack_.end())
      modal_stack_.push_back(f);
}

kit::Form* Soak::InputForm() {
  TrackModals();
  if (!modal_stack_.empty()) return modal_stack_.back();
  std::vector<kit::Form*> shown;
  for (kit::Form* f : Forms())
    if (f->Visible()) shown.push_back(f);
  if (shown.empty()) return nullptr;
  // Mostly the main window.
  if (console_->Form1->Visible() && Chance(0.7)) return console_->Form1.get();
  return Pick(shown);
}

std::string Soak::AdvanceTime() {
  std::int64_t ms;
  const int roll = Int(0, 999);
  if (roll < 700) ms = Int(1, 120);
  else if (roll < 970) ms = Int(120, 2000);
  else if (roll < 997) ms = Int(2000, 8000);
  else ms = Int(30000, 40000);  // the automatic kick's interval and beyond
  Wait(ms);
  return "time +" + std::to_string(ms) + " ms";
}

std::string Soak::ActOn(kit::Control& control, kit::Form& form) {
  const std::string name = form.Name() + "." + control.Name();
  ++report_.touched[name];
  auto mouse = [this] {
    return Pick(std::vector<kit::MouseButton>{kit::MouseButton::kLeft, kit::MouseButton::kRight,
                                              kit::MouseButton::kMiddle});
  };
  if (auto* list = dynamic_cast<kit::ListBox*>(&control)) {
    const int index = Int(-1, list->Count());
    switch (Int(0, 5)) {
      case 0: case 1: case 2: list->Select(index); return name + " select " + std::to_string(index);
      case 3: list->DoubleClickItem(index); return name + " double-click " + std::to_string(index);
      case 4: list->KeyDown(Chance(0.6) ? 13 : Int(8, 120)); return name + " key down";
      default: list->KeyPress(static_cast<char>(Int(32, 126))); return name + " key press";
    }
  }
  if (auto* combo = dynamic_cast<kit::ComboBox*>(&control)) {
    switch (Int(0, 4)) {
      case 0: case 1: case 2: {
        const int index = Int(0, std::max(0, combo->Count() - 1));
        combo->Select(index);
        return name + " select " + std::to_string(index);
      }
      case 3: {
        const std::string text = Chance(0.5) && combo->Count() > 0 ? combo->Item(0) : TypedText(control);
        combo->Type(text);
        return name + " type \"" + Shorten(text) + "\"";
      }
      default: combo->Click(); return name + " click";
    }
  }
  if (auto* edit = dynamic_cast<kit::Edit*>(&control)) {
    switch (Int(0, 9)) {
      case 0: case 1: case 2: case 3: case 4: case 5: {
        const std::string text = TypedText(control);
        edit->Type(text);
        return name + " type \"" + Shorten(text) + "\"";
      }
      case 6: edit->Click(); return name + " click";
      case 7: edit->DblClick(); return name + " double-click";
      case 8: edit->KeyPress(static_cast<char>(Int(32, 126))); return name + " key press";
      default: edit->MouseMove(Int(0, 50), Int(0, 20)); return name + " mouse move";
    }
  }
  if (auto* track = dynamic_cast<kit::TrackBar*>(&control)) {
    const int position = Int(track->Min() - 10, track->Max() + 10);
    track->Slide(position);
    return name + " slide " + std::to_string(position);
  }
  if (dynamic_cast<kit::Button*>(&control) || dynamic_cast<kit::Label*>(&control)) {
    const int roll = Int(0, 9);
    if (roll < 7) {
      const auto saves = std::map<const kit::Control*, std::string>{
          {&console_->Form2->Button4, "messages.ini"}, {&console_->Form7->Button1, "hotkeys.ini"},
          {&console_->Form8->Button6, "hotkeys.ini"},  {&console_->Form12->Button1, "config.ini"},
          {&console_->Form5->Button1, "highlight.ini"}, {&console_->Form5->SpeedButton1, "sounds.ini"}};
      if (auto it = saves.find(&control); it != saves.end()) may_write_.insert(it->second);
      control.Click();
      return name + " click";
    }
    if (roll < 9) {
      const kit::MouseButton b = mouse();
      control.MouseDown(b, Int(0, 40), Int(0, 20));
      control.MouseUp(b, Int(0, 40), Int(0, 20));
      return name + " mouse button " + std::to_string(static_cast<int>(b));
    }
    control.DblClick();
    return name + " double-click";
  }
  control.Click();
  return name + " click";
}

std::string Soak::UserEvent() {
  kit::Form* form = InputForm();
  if (form == nullptr) return "no window takes input";
  std::vector<kit::Control*> controls;
  Collect(*form, controls);
  // Labels mostly only show things: the user aims at the working controls.
  std::vector<double> weights;
  for (kit::Control* c : controls) weights.push_back(dynamic_cast<kit::Label*>(c) ? 0.25 : 4);
  kit::Control* target = nullptr;
  if (!controls.empty() && !Chance(0.05))
    target = controls[std::discrete_distribution<std::size_t>(weights.begin(), weights.end())(rng_)];

  // The hand moves the mouse there, which takes a moment.
  Point at{form->Left() + Int(0, std::max(1, form->Width())), form->Top() + Int(0, std::max(1, form->Height()))};
  if (target != nullptr) {
    at = {form->Left() + target->Width() / 2, form->Top() + target->Height() / 2};
    for (kit::Control* c = target; c != nullptr && c != form; c = c->Parent()) {
      at.x += c->Left();
      at.y += c->Top();
    }
  }
  world_.desktop.SetCursor(at);
  Wait(Int(20, 150));
  TrackModals();
  std::vector<kit::Control*> still;
  Collect(*form, still);
  if (!form->Visible() || (!modal_stack_.empty() && modal_stack_.back() != form) ||
      (target != nullptr && std::find(still.begin(), still.end(), target) == still.end()))
    return form->Name() + ": the target went away before the click";

  in_user_event_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{in_user_event_};
  if (target == nullptr) {
    switch (Int(0, 2)) {
      case 0: form->Activate(); return form->Name() + " activate";
      case 1: form->MouseMove(Int(0, 300), Int(0, 300)); return form->Name() + " mouse move";
      default: form->RequestClose(); return form->Name() + " close request";
    }
  }
  return ActOn(*target, *form);
}

std::string Soak::MenuChoice() {
  Wait(Int(20, 150));
  in_user_event_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{in_user_event_};
  if (kit::PopupMenu* popup = world_.widgets.LastPopup()) {
    world_.widgets.ForgetPopup();
    std::vector<kit::MenuItem*> items;
    CollectItems(popup->root, items);
    if (items.empty() || Chance(0.2)) return popup->root.Name() + " dismissed";
    kit::MenuItem* item = Pick(items);
    if (item->Reachable()) ++report_.touched[popup->root.Name() + "." + item->Name()];
    item->Click();
    return popup->root.Name() + " > " + item->Name() + " \"" + Shorten(item->Caption()) + "\"";
  }
  TrackModals();
  if (!modal_stack_.empty()) return "menu bar behind a modal window";
  std::vector<kit::MenuItem*> items;
  CollectItems(console_->Form1->MainMenu1.root, items);
  kit::MenuItem* item = Pick(items);
  // Quitting ends the evening: rare.
  if (item == console_->Form1->Quitter1 && !Chance(0.05)) return "thought about quitting";
  if (item->Reachable()) ++report_.touched["menu." + item->Name()];
  item->Click();
  return "menu " + item->Name();
}

std::string Soak::Hotkey() {
  in_user_event_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{in_user_event_};
  const auto& registered = console_->hotkeys.HotKeyManager1.Registered();
  std::uint16_t modifiers = 0, key = 0;
  if (!registered.empty() && Chance(0.85)) {
    SplitHotKey(registered[static_cast<std::size_t>(Int(0, int(registered.size()) - 1))].HotKey, modifiers, key);
  } else {
    modifiers = static_cast<std::uint16_t>(Int(0, 15));
    key = static_cast<std::uint16_t>(Int(8, 255));
  }
  const bool held = world_.hotkeys.Press(modifiers, key);
  Wait(Int(1, 50));
  return "hotkey " + std::to_string(modifiers) + "+" + std::to_string(key) + (held ? "" : " (not ours)");
}

std::string Soak::RoomLine() {
  std::vector<SimRoom*> open = OpenRooms();
  if (open.empty()) return RoomChange();
  SimRoom* room = Chance(0.7) && CurrentRoom() ? CurrentRoom() : Pick(open);
  standin::RoomModel& m = room->Model();
  if (m.TranscriptLines().size() > kTranscriptCap) m.ClearTranscript();
  const std::string where = m.Config().room + ": ";
  const int roll = Int(0, 99);
  if (roll < 38) {
    const std::string nick = Nick(), text = ChatText();
    m.Say(nick, text);
    return where + "say " + Shorten(nick, 20) + " : " + Shorten(text);
  }
  if (roll < 48) {
    if (m.Users().size() + m.HiddenUsers().size() >= kMaxUsers) {
      const std::string nick = m.Users().front();
      m.Quit(nick);
      return where + "quit " + Shorten(nick, 20);
    }
    const std::string nick = Pick(kNicks) + (Chance(0.5) ? std::to_string(Int(0, 99)) : "");
    m.Join(nick, Chance(0.2));
    return where + "join " + Shorten(nick, 20);
  }
  if (roll < 56) {
    const auto users = m.Users();
    const std::string nick = Chance(0.7) && !users.empty() ? Pick(users) : Nick();
    m.Quit(nick);
    return where + "quit " + Shorten(nick, 20);
  }
  if (roll < 64) {
    const std::string kicker = Chance(0.4) ? m.Config().own_nick : Nick();
    const std::string line = kicker + " kicked " + Nick() + " from the room (" + ChatText() + ")";
    m.AppendRaw(line);
    return where + Shorten(line);
  }
  if (roll < 72) {
    std::string line;
    switch (Int(0, 3)) {
      case 0: line = m.Config().own_nick + " : /setopt"; break;
      case 1: line = "Operation failed! Your current level is: " + Pick(kLevels); break;
      case 2: line = "/SETOPT arguments: talk_time <seconds>, moderated <0|1>, ..."; break;
      default: line = Nick() + " : /setopt"; break;
    }
    m.AppendRaw(line);
    return where + Shorten(line);
  }
  if (roll < 80) {
    const auto users = m.Users();
    const std::string talker = Chance(0.3) ? m.Config().own_nick : Chance(0.3) ? "" : Pick(users);
    m.SetTalker(talker);
    return where + "talker " + Shorten(talker, 20);
  }
  if (roll < 84) {
    const std::string topic = Chance(0.3) ? "" : ChatText();
    m.SetTopic(topic);
    return where + "topic " + Shorten(topic);
  }
  if (roll < 90) {
    std::string raw(static_cast<std::size_t>(Int(0, 300)), ' ');
    for (char& c : raw) c = static_cast<char>(Int(0, 255));
    m.AppendRaw(raw);
    return where + "raw line of " + std::to_string(raw.size()) + " bytes";
  }
  if (roll < 95) {
    m.Say(Nick(), Chance(0.8) ? "!titre" : "!titre encore");
    return where + "song request";
  }
  if (roll < 97) {
    m.ClearTranscript();
    return where + "transcript cleared";
  }
  const std::string typed = Chance(0.5) ? "" : Pick(kNicks).substr(0, 2);
  room->Type(typed);
  return where + "moderator types \"" + Shorten(typed) + "\" in the room";
}

std::string Soak::RoomChange() {
  std::vector<SimRoom*> open = OpenRooms();
  const int roll = Int(0, 99);
  if (open.empty() || (roll < 25 && open.size() < kMaxRooms)) {
    standin::RoomConfig config;
    config.room = Pick(kRoomNames);
    config.owner = Chance(0.15);
    config.level = Pick(kLevels);
    if (Chance(0.2)) config.topic = ChatText();
    for (int i = Int(0, 8); i > 0; --i) config.users.push_back(Pick(kNicks) + std::to_string(i));
    if (Chance(0.2)) config.hidden_users = {"cach\xE9", "discret"};
    config.crlf_after_last = Chance(0.8);
    config.refuse_talk = Chance(0.1);
    config.has_talk_switch = Chance(0.9);
    config.own_nick = Chance(0.9) ? "modo" : Pick(kNicks);
    world_.room_client_bits = Chance(0.5) ? 32 : 64;
    rooms_.push_back(&world_.open_room(config));
    return "room opened: " + Shorten(config.room) + (config.owner ? " (owner)" : "");
  }
  SimRoom* room = Pick(open);
  const std::string name = Shorten(room->Model().Config().room);
  if (roll < 45) {
    room->Close();
    return "room " + name + " crashed";
  }
  if (roll < 70) {
    world_.desktop.BringToTop(room->Window());
    return "room " + name + " brought to the top";
  }
  if (roll < 80) {
    world_.desktop.SendToBottom(room->Window());
    return "room " + name + " sent to the bottom";
  }
  if (roll < 90) {
    const bool hung = !world_.desktop.At(room->Window()).hung;
    room->SetHung(hung);
    return "room " + name + (hung ? " stops answering" : " answers again");
  }
  return "room " + name + " minimised and restored";
}

std::string Soak::EditSettingsFile() {
  const std::string name = Pick(kSettingsFiles);
  const std::string path = world_.file_path(name);
  std::string what;
  const int roll = Int(0, 99);
  fs::remove_all(path);
  ++report_.hand_edits;
  if (roll < 8) {
    files_[name] = FileState{};
    return "hand edit: " + name + " deleted";
  }
  if (roll < 10) {
    fs::create_directories(path + "/inside");
    files_[name] = FileState{};
    files_[name].folder = true;
    return "hand edit: a folder in the place of " + name;
  }
  std::string bytes;
  if (roll < 45) {
    if (name == "messages.ini") bytes = Messages() + "MSG PUBLIC\xA4" + Nick() + "\xA4" + ChatText() + "\r\n";
    else if (name == "hotkeys.ini") bytes = Hotkeys() + Pick(kHotkeyTexts) + "\xA4" + Pick(kPaths) + "\r\n";
    else if (name == "config.ini")
      bytes = "MIC= " + std::to_string(Int(-2, 3)) + " " + std::to_string(Int(-2, 4)) + " " +
              std::to_string(Int(-2, 8)) + " " + std::to_string(Int(-100, 70000)) + "\r\nMIX= 0 1 3 52000\r\n";
    else if (name == "highlight.ini") bytes = Pick(kWordLists) + "\r\n";
    else bytes = Pick(kPaths) + "\r\n";
    what = "realistic";
  } else if (roll < 80) {
    bytes.resize(static_cast<std::size_t>(Int(0, 2000)));
    for (char& c : bytes) c = Chance(0.1) ? '\xA4' : Chance(0.1) ? '\n' : static_cast<char>(Int(0, 255));
    what = "garbage";
  } else if (roll < 90) {
    for (int i = 0; i < 700; ++i)
      bytes += (name == "config.ini" ? "MIX= 0 1 3 " + std::to_string(i) : Nick() + "\xA4" + Pick(kPaths)) + "\r\n";
    what = "700 lines";
  } else {
    what = "empty";
  }
  world_.write_file(name, bytes);
  struct stat st {};
  ::stat(path.c_str(), &st);
  files_[name] = FileState{bytes, st.st_ino, std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
  return "hand edit: " + name + " " + what;
}

std::string Soak::PopupMouse() {
  Wait(Int(20, 150));
  THTMLPopup& popup = Chance(0.8) ? console_->notifier.HTMLPopup1 : console_->HTMLPopup2;
  THTMLPopupWindow* window = popup.Window();
  if (window == nullptr || !window->Window().Visible()) return "no popup to point at";
  auto& sim_window = dynamic_cast<sim::SimPopupWindow&>(window->Window());
  const Rect bounds = sim_window.Bounds();
  Point at{Int(-5, bounds.Width() + 5), Int(-5, bounds.Height() + 5)};
  // Aim at an anchor most of the time.
  const MarkupLayout layout = window->Layout();
  for (const MarkupLine& line : layout.lines)
    for (const MarkupPiece& piece : line.pieces)
      if (piece.anchor >= 0 && Chance(0.7)) at = {(piece.rect.left + piece.clip_right) / 2, piece.rect.bottom - 1};
  in_user_event_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{in_user_event_};
  switch (Int(0, 3)) {
    case 0: sim_window.MoveMouse(at); return "popup mouse over";
    case 1: sim_window.LeaveMouse(); return "popup mouse leaves";
    case 2: (void)sim_window.Paint(); return "popup painted";
    default: sim_window.Click(at); return "popup clicked";
  }
}

std::string Soak::Foreground() {
  if (Chance(0.4)) {
    const Point p{Int(-50, 1970), Int(-50, 1130)};
    world_.desktop.SetCursor(p);
    return "mouse at " + std::to_string(p.x) + "," + std::to_string(p.y);
  }
  std::vector<Hwnd> candidates = {kNoWindow, world_.widgets.WindowOf(*console_->Form1)};
  for (SimRoom* r : OpenRooms()) candidates.push_back(r->Window());
  const Hwnd h = Pick(candidates);
  world_.desktop.SetForeground(h);
  return "foreground window " + std::to_string(h);
}

std::string Soak::QueueAnswers() {
  std::string what = "answers queued:";
  if (world_.dialogs.PendingAnswers() < 2) {
    const auto& answer = Pick(kAnswers);
    world_.dialogs.Answer(answer);
    what += answer ? " \"" + Shorten(*answer) + "\"" : " cancel";
  }
  if (queued_files_ < 2) {
    const auto& file = Pick(kFiles);
    world_.dialogs.ChooseFile(file);
    ++queued_files_;
    what += file ? " file \"" + Shorten(*file) + "\"" : " file cancel";
  }
  return what;
}

void Soak::Restart() {
  world_.widgets.ForgetPopup();
  modal_stack_.clear();
  console_.reset();
  popups_at_start_ = world_.popups.created();
  console_ = std::make_unique<Console>(world_.platform());
  auto traced = console_->app.OnException;
  console_->app.OnException = [this, traced](const std::string& what) {
    if (traced) traced(what);
    ++report_.dropped_by_text[Shorten(what, 70)];
  };
  ++report_.restarts;
}

void Soak::Fail(const std::string& why) { throw SoakFailure(why); }

void Soak::CheckFiles() {
  for (const auto& entry : fs::directory_iterator(world_.exe_dir())) {
    const std::string name = entry.path().filename().string();
    if (std::find(kSettingsFiles.begin(), kSettingsFiles.end(), name) == kSettingsFiles.end())
      Fail("unexpected file in the settings folder: " + name);
  }
  for (const std::string& name : kSettingsFiles) {
    FileState& expected = files_[name];
    const std::string path = world_.file_path(name);
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    const std::int64_t mtime = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    if (expected.folder) {
      if (!fs::is_directory(path + "/inside")) Fail("the folder in the place of " + name + " was replaced");
      continue;
    }
    if (!exists && !expected.bytes) continue;
    if (exists && expected.bytes && st.st_ino == expected.inode && mtime == expected.mtime_ns &&
        std::uint64_t(st.st_size) == expected.bytes->size())
      continue;
    if (!may_write_.count(name)) {
      const std::optional<std::string> now = ReadWholeFile(path);
      Fail(name + " changed though no dialog of its own saved it (" +
           (now ? std::to_string(now->size()) + " bytes" : std::string("gone")) + ", expected " +
           (expected.bytes ? std::to_string(expected.bytes->size()) + " bytes" : std::string("none")) + ")");
    }
    expected = FileState{ReadWholeFile(path), st.st_ino, mtime};
    CheckSavedFaithfully(name);
    ++report_.saves;
  }
}

void Soak::CheckSavedFaithfully(const std::string& name) {
  const std::string bytes = files_[name].bytes.value_or("");
  std::string expected;
  if (name == "messages.ini") {
    MessageCatalogue reloaded(world_.file_path(name));
    reloaded.LoadMessageCatalogue();
    std::vector<CatalogueEntry> read_back;
    for (int k = 0; k < MessageCatalogue::kSlots; ++k)
      if (!reloaded.Slot(k).Free()) read_back.push_back(reloaded.Slot(k));
    for (const std::string& line : reloaded.ExtraLines()) read_back.push_back(MessageCatalogue::ParseLine(line));
    if (read_back != StoredEntries(console_->Form2->Catalogue))
      Fail("messages.ini does not read back as the catalogue that was saved");
    return;
  }
  if (name == "hotkeys.ini") expected = JoinLinesCrLf(HotkeyLines(console_->hotkeyTable));
  if (name == "config.ini") expected = FormatMixerConfig(console_->recordingSource.MicSetting, console_->recordingSource.MixSetting);
  if (name == "highlight.ini") {
    const auto& words = console_->Form5->NotificationWords();
    expected = JoinLinesCrLf(std::vector<std::string>(words.begin(), words.end()));
  }
  if (name == "sounds.ini") expected = JoinLinesCrLf({console_->notifier.notification.NotificationSoundFile});
  if (bytes != expected) Fail(name + " was saved with other bytes than its dialog holds");
}

void Soak::CheckBounds() {
  Console& c = *console_;
  TForm1& f1 = *c.Form1;
  auto at_most = [this](std::size_t value, std::size_t limit, const char* what) {
    if (value > limit) Fail(std::string(what) + " grew to " + std::to_string(value) + " (limit " + std::to_string(limit) + ")");
  };
  at_most(c.log.Count(), DebugLog::kKeptLines + 1000, "the debug log");
  at_most(std::size_t(f1.users.ListBox1.Count()), 2 * kMaxUsers + 20, "the user list");
  at_most(std::size_t(c.Form4->ListBox1.Count()), 2 * kMaxUsers + 20, "the nick chooser");
  at_most(std::size_t(f1.panel.ListBox3.Count()), MessageCatalogue::kSlots + 1, "the reason list");
  at_most(std::size_t(c.Form2->ListBox1.Count()), MessageCatalogue::kSlots, "the editor's list");
  at_most(std::size_t(c.Form7->ListBox1.Count()), 256, "the available keys");
  at_most(std::size_t(c.Form8->ListBox1.Count()), 256, "the sound window's available keys");
  at_most(std::size_t(c.Form12->ComboBox3.Count()), 16, "the device list");
  at_most(std::size_t(CountItems(f1.spSkinPopupMenu1.root)), MessageCatalogue::kSlots + 1, "the quick menu");
  at_most(std::size_t(CountItems(f1.msggroupePopupMenu2.root)), 20, "the group menu");
  at_most(std::size_t(CountItems(f1.camPopupMenu1.root)), 20, "the cam menu");
  at_most(std::size_t(CountItems(f1.MainMenu1.root)), 40, "the main menu");
  at_most(c.hotkeys.HotKeyManager1.Registered().size(), HotkeyTable::kSlots, "the hotkey registrations");
  at_most(world_.hotkeys.RegistrationCount(), HotkeyTable::kSlots, "the system's hotkey registrations");
  at_most(world_.hotkeys.AtomCount(), HotkeyTable::kSlots, "the global atoms");
  at_most(std::size_t(world_.popups.created() - popups_at_start_), 2, "the popup windows created");
  at_most(c.notifier.HTMLPopup1.Text().size() + c.HTMLPopup2.Text().size(), 8, "the popup texts");
  at_most(world_.desktop.ZOrder().size(), 40, "the desktop's windows");
  if (c.room.KicksByOwnNick > c.room.KicksTotal) Fail("own kicks outnumber all kicks");
}

void Soak::CheckAfterStep(const std::string& what, std::int64_t time_before, std::int64_t time_asked) {
  (void)what;
  const std::int64_t blocked = world_.clock.NowMs() - time_before - time_asked;
  report_.longest_block_ms = std::max(report_.longest_block_ms, blocked);
  if (blocked > kLongestBlockMs) Fail("the console held the thread for " + std::to_string(blocked) + " ms");
  if (world_.dialogs.Boxes().size() > kMaxBoxesPerStep)
    Fail(std::to_string(world_.dialogs.Boxes().size()) + " message boxes in one step");
  queued_files_ -= std::min<int>(queued_files_, static_cast<int>(world_.dialogs.FileFilters().size()));
  world_.dialogs.Forget();
  CheckFiles();
  CheckBounds();
  if (!console_->app.Terminated() && !console_->Form1->Visible()) Fail("the main window is gone");
}

SoakReport Soak::Run(int steps) {
  const std::int64_t start = world_.clock.NowMs();
  for (step_ = 1; step_ <= steps; ++step_) {
    const std::int64_t before = world_.clock.NowMs();
    std::string what;
    std::string kind;
    may_write_.clear();
    asked_ms_ = 0;
    try {
      try {
        const int roll = Int(0, 999);
        if (roll < 190) kind = "time", what = AdvanceTime();
        else if (roll < 470) kind = "user", what = UserEvent();
        else if (roll < 550) kind = "menu", what = MenuChoice();
        else if (roll < 600) kind = "hotkey", what = Hotkey();
        else if (roll < 810) kind = "room line", what = RoomLine();
        else if (roll < 850) kind = "room", what = RoomChange();
        else if (roll < 865) kind = "hand edit", what = EditSettingsFile();
        else if (roll < 885) kind = "popup", what = PopupMouse();
        else if (roll < 925) kind = "foreground", what = Foreground();
        else kind = "answers", what = QueueAnswers();
        ++report_.actions[kind];
        history_.push_back(std::to_string(step_) + " @" + std::to_string(world_.clock.NowMs()) + " ms: " + what);
        if (history_.size() > kHistory) history_.pop_front();
        if (AfterStep) AfterStep(step_);
      } catch (const SoakFailure&) {
        throw;
      } catch (const std::exception& e) {
        Fail(std::string("escaped the error guard: ") + e.what());
      } catch (...) {
        Fail("escaped the error guard: unknown exception");
      }
      CheckAfterStep(what, before, asked_ms_);
      // The moderator quits (or the console ends itself) and starts it again now and then.
      if (console_->app.Terminated() || Chance(0.0002)) {
        try {
          Restart();
        } catch (const std::exception& e) {
          Fail(std::string("the console failed to start: ") + e.what());
        }
        history_.push_back("console started again");
        CheckAfterStep("start-up", world_.clock.NowMs(), 0);
      }
    } catch (const SoakFailure& failure) {
      std::ostringstream out;
      out << "step " << step_ << ": " << failure.what() << "\n  while: " << what << "\n  recent steps:\n";
      for (const std::string& h : history_) out << "    " << h << "\n";
      report_.ok = false;
      report_.failure = out.str();
      report_.steps = step_;
      break;
    }
    report_.steps = step_;
  }
  report_.virtual_ms = world_.clock.NowMs() - start;
  report_.dropped_errors = 0;
  for (const auto& [text, n] : report_.dropped_by_text) report_.dropped_errors += std::uint64_t(n);
  return report_;
}

}  // namespace tavlen::soak
