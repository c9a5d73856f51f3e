// A console started in the room «salon» with the own nick «modo» known, and
// helpers to write messages.ini lines and read what reached the room.
#pragma once

#include <string>
#include <vector>

#include "ConsoleFixture.h"
#include "moderation/MessageCatalogue.h"
#include "ui/Unit2.h"

namespace tavlen::testing {

inline const std::string kSanctions = "AVERTIR/KICKER/PUNIR/BANNIR";

// One messages.ini line, CR LF included.
inline std::string Entry(const std::string& category, const std::string& name, const std::string& text,
                         const std::string& flag = "normal") {
  return category + "\xA4" + name + "\xA4" + text + "\xA4" + flag + "\r\n";
}

class ModerationTest : public ConsoleTest {
 protected:
  sim::SimRoom* salon = nullptr;

  // messages.ini is written before start-up, so the first showing loads it.
  void StartInSalon(const std::string& messages = {}) {
    if (!messages.empty()) world.write_file("messages.ini", messages);
    salon = &world.open_room("salon");
    Start();
    world.advance(100ms);
    room().OwnNick = "modo";
    ASSERT_EQ(room().RoomName, "salon");
  }

  ActionPanel& panel() { return main().panel; }
  TForm2& editor() { return *console->Form2; }
  MessageCatalogue& catalogue() { return console->Form2->Catalogue; }

  // What the console submitted to the room, the start-up "/setopt" left out.
  std::vector<standin::SubmittedLine> Submissions() {
    std::vector<standin::SubmittedLine> out;
    for (const auto& s : salon->Model().Submitted())
      if (s.text != "/setopt") out.push_back(s);
    return out;
  }
  Lines Sent() {
    Lines out;
    for (const auto& s : Submissions()) out.push_back(s.text);
    return out;
  }
  void Forget() {
    sent_before_ = salon->Model().Submitted().size();
    world.dialogs.Forget();
  }
  // Submitted since the last Forget().
  Lines SentSinceForget() {
    Lines out;
    const auto& all = salon->Model().Submitted();
    for (std::size_t i = sent_before_; i < all.size(); ++i)
      if (all[i].text != "/setopt") out.push_back(all[i].text);
    return out;
  }

  // The reason list's texts, in order.
  Lines Reasons() {
    Lines out;
    for (int i = 0; i < panel().ListBox3.Count(); ++i) out.push_back(panel().ListBox3.Item(i));
    return out;
  }

 private:
  std::size_t sent_before_ = 0;
};

}  // namespace tavlen::testing
