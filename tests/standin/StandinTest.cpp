// The stand-in room's portable parts that the Win32 skin relies on: the user
// tree it shows, its command line and its control channel.
#include <gtest/gtest.h>

#include <fstream>
#include <string_view>

#include "standin/RoomControl.h"
#include "standin/RoomModel.h"
#include "standin/StandinOptions.h"

namespace tavlen::standin {
namespace {

using Texts = std::vector<std::string>;

RoomConfig Config(Texts users, Texts hidden = {}) {
  RoomConfig c;
  c.room = "salon";
  c.own_nick = "modo";
  c.users = std::move(users);
  c.hidden_users = std::move(hidden);
  return c;
}

TEST(StandinTree, GroupsSortedUsersAndKeepsHiddenOnesCollapsed) {
  RoomModel room(Config({"carl", "Bob", "alice"}, {"zed", "Yann"}));
  const auto tree = room.UserTree();
  ASSERT_EQ(tree.size(), 3u);
  EXPECT_EQ(tree[0].text, "Visible Users");
  EXPECT_TRUE(tree[0].expanded);
  EXPECT_EQ(tree[1].text, "Hidden Users");
  EXPECT_FALSE(tree[1].expanded);
  EXPECT_EQ(tree[2].text, " Click name to view");
  // A walk over visible items never meets the hidden group's nicks; the item
  // count still includes them.
  EXPECT_EQ(VisibleTreeTexts(tree),
            (Texts{"Visible Users", "alice", "Bob", "carl", "modo", "Hidden Users", " Click name to view"}));
  EXPECT_EQ(TreeItemCount(tree), 9u);
  EXPECT_EQ(room.HiddenUsers(), (Texts{"Yann", "zed"}));

  // Joining lands in the right group at its sorted place; quitting removes
  // from either group (any letter case) and ends the leaver's talk.
  room.Join("Dave");
  room.Join("xavier", true);
  room.SetTalker("zed");
  room.Quit("ZED");
  room.Quit("ALICE");
  EXPECT_EQ(room.Users(), (Texts{"Bob", "carl", "Dave", "modo"}));
  EXPECT_EQ(room.HiddenUsers(), (Texts{"xavier", "Yann"}));
  EXPECT_EQ(room.Talker(), "");
  EXPECT_EQ(room.TranscriptLines().back(), "Quit: ALICE");

  // Rebuilding only when something changed relies on tree equality.
  const auto before = room.UserTree();
  room.Say("Bob", "salut");
  EXPECT_EQ(room.UserTree(), before);
  room.Join("eve");
  EXPECT_NE(room.UserTree(), before);
}

TEST(StandinOptions, ReadsEveryRoomOptionAndRejectsBadOnes) {
  StandinOptions o;
  ASSERT_EQ(ParseStandinArgs({"--room", "le_phare", "--topic", "Soir\xE9" "e", "--nick", "KelVorn", "--level",
                              "OWNER.", "--owner", "--users", " alice, ,Bob ", "--hidden-users", "zed",
                              "--users-count", "2", "--filler", "3", "--no-final-crlf", "--refuse-talk",
                              "--no-talk-switch", "--say-every-ms", "250", "--hang-switch", "--at", "10,-20",
                              "--lie", "cycle, huge-count", "--lie", "reborn", "--input-boxes", "2",
                              "--transcript-lines", "1000", "--other-windows", "200"},
                             o),
            "");
  EXPECT_EQ(o.mode, StandinOptions::Mode::Room);
  EXPECT_EQ(o.room.room, "le_phare");
  EXPECT_EQ(RoomModel(o.room).Title(), "le_phare, Topic: Soir\xE9" "e");
  EXPECT_EQ(o.room.own_nick, "KelVorn");
  EXPECT_EQ(o.room.level, "OWNER.");
  EXPECT_TRUE(o.room.owner);
  EXPECT_EQ(o.room.users, (Texts{"alice", "Bob", "user001", "user002"}));
  EXPECT_EQ(o.room.hidden_users, (Texts{"zed"}));
  EXPECT_EQ(o.room.filler_children, 3);
  EXPECT_FALSE(o.room.crlf_after_last);
  EXPECT_TRUE(o.room.refuse_talk);
  EXPECT_FALSE(o.room.has_talk_switch);
  EXPECT_EQ(o.say_every_ms, 250);
  EXPECT_TRUE(o.hang_switch);
  EXPECT_EQ(o.left, 10);
  EXPECT_EQ(o.top, -20);
  RoomLies told;
  for (Lie lie : {Lie::kCycle, Lie::kHugeCount, Lie::kReborn}) told.Add(lie);
  EXPECT_EQ(o.room.lies, told);
  EXPECT_EQ(o.room.input_boxes, 2);
  EXPECT_EQ(o.room.transcript_lines, 1000);
  EXPECT_EQ(o.other_windows, 200);

  StandinOptions defaults;
  ASSERT_EQ(ParseStandinArgs({}, defaults), "");
  EXPECT_EQ(defaults.room.filler_children, 21);
  EXPECT_TRUE(defaults.room.has_talk_switch);
  EXPECT_TRUE(defaults.room.crlf_after_last);
  EXPECT_FALSE(defaults.room.lies.Any());
  EXPECT_EQ(defaults.room.input_boxes, 1);
  EXPECT_EQ(defaults.room.transcript_lines, 0);
  EXPECT_EQ(defaults.other_windows, 0);

  // Every lie has its word, and "all" names every one.
  StandinOptions liar;
  ASSERT_EQ(ParseStandinArgs({"--lie", "all"}, liar), "");
  for (unsigned i = 0; i < static_cast<unsigned>(Lie::kCount); ++i) {
    const Lie lie = static_cast<Lie>(i);
    EXPECT_TRUE(liar.room.lies.Has(lie)) << LieName(lie);
    RoomLies one;
    ASSERT_EQ(ParseLies(LieName(lie), one), "");
    EXPECT_TRUE(one.Has(lie));
    EXPECT_NE(LieNames().find(LieName(lie)), std::string::npos);
  }

  StandinOptions player;
  ASSERT_EQ(ParseStandinArgs({"--winamp", "12. Artist - Song - Winamp"}, player), "");
  EXPECT_EQ(player.mode, StandinOptions::Mode::Player);
  EXPECT_EQ(player.player_title, "12. Artist - Song - Winamp");

  // A bad command line is refused, never half-applied silently.
  for (const Texts& bad : {Texts{"--room"}, Texts{"--room", " "}, Texts{"--nick", "two words"},
                           Texts{"--users-count", "-1"}, Texts{"--users-count", "12x"},
                           Texts{"--say-every-ms", "0"}, Texts{"--at", "10"}, Texts{"--at", "a,b"},
                           Texts{"--filler", "1001"}, Texts{"--bogus"}, Texts{"--winamp"}, Texts{"--lie"},
                           Texts{"--lie", " , "}, Texts{"--lie", "cycle,fibs"}, Texts{"--input-boxes", "0"},
                           Texts{"--input-boxes", "5"}, Texts{"--input-boxes"}, Texts{"--transcript-lines", "-1"},
                           Texts{"--transcript-lines", "100001"}, Texts{"--other-windows", "5001"},
                           Texts{"--other-windows", "x"}}) {
    StandinOptions o2;
    EXPECT_NE(ParseStandinArgs(bad, o2), "") << bad[0];
  }
  EXPECT_EQ(GeneratedNicks(500).size(), 500u);
  EXPECT_EQ(GeneratedNicks(500).back(), "user500");
}

// A room joined late already shows what its people said, in their turn; the
// console's lines come after.
TEST(StandinOptions, TranscriptLinesAreChatOfThePeoplePresent) {
  StandinOptions o;
  ASSERT_EQ(ParseStandinArgs({"--users", "alice,bob", "--transcript-lines", "3"}, o), "");
  RoomModel room(o.room);
  EXPECT_EQ(room.TranscriptLines(),
            (Texts{"alice : message d'avant 1", "bob : message d'avant 2", "alice : message d'avant 3"}));
  room.SetInput("/setopt");
  room.Submit();
  EXPECT_EQ(room.TranscriptLines().size(), 5u);
  EXPECT_EQ(room.TranscriptLines()[3], "modo : /setopt");
  // Nobody else there: somebody still talked.
  RoomConfig empty;
  empty.transcript_lines = 1;
  EXPECT_EQ(RoomModel(empty).TranscriptLines(), (Texts{"bob : message d'avant 1"}));
}

// The other windows: a third untitled, a third short, a third longer than the
// 254 characters a desktop walk reads; none looks like a room's title.
TEST(StandinOptions, OtherWindowTitlesComeInThreeKinds) {
  int untitled = 0, short_titles = 0, long_titles = 0;
  for (int i = 0; i < 201; ++i) {
    const std::string title = OtherWindowTitle(i);
    if (title.empty()) ++untitled;
    else if (title.size() < 40) ++short_titles;
    else if (title.size() > 254) ++long_titles;
    EXPECT_EQ(title.find(" : Video Chat Room"), std::string::npos) << title;
    EXPECT_EQ(title.find(", Topic: "), std::string::npos) << title;
  }
  EXPECT_EQ(untitled, 67);
  EXPECT_EQ(short_titles, 67);
  EXPECT_EQ(long_titles, 67);
  EXPECT_NE(OtherWindowTitle(4), OtherWindowTitle(7));
}

// The arguments after "standin.exe" in the download's launcher, split as
// cmd.exe and the program's start-up code split them (quotes group blanks).
Texts LauncherArguments(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string line, launch;
  while (std::getline(file, line)) {
    // cmd.exe reads the file in the console's code page: an accent would reach
    // the room as another letter.
    for (const char c : line) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "not ASCII: " << line;
    if (line.find("standin.exe") != std::string::npos) launch = line;
  }
  Texts args;
  constexpr std::string_view kExe = "standin.exe\"";
  const std::size_t at = launch.find(kExe);
  if (at == std::string::npos) return args;
  std::string arg;
  bool quoted = false, any = false;
  for (const char c : launch.substr(at + kExe.size())) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if ((c == ' ' || c == '\r') && !quoted) {
      if (any) args.push_back(arg);
      arg.clear();
      any = false;
    } else {
      arg += c;
      any = true;
    }
  }
  if (any) args.push_back(arg);
  return args;
}

// The practice room of the download: a bad option there would leave the
// moderator with no window at all (standin.exe tells only its standard error).
TEST(StandinOptions, PracticeRoomLauncherStartsAnOwnersRoomWithPeopleChatting) {
  const Texts args = LauncherArguments(TAVLEN_SOURCE_DIR "/app/salon-essai.cmd");
  ASSERT_FALSE(args.empty()) << "no standin.exe line in app/salon-essai.cmd";
  StandinOptions o;
  ASSERT_EQ(ParseStandinArgs(args, o), "");
  EXPECT_EQ(o.mode, StandinOptions::Mode::Room);
  EXPECT_TRUE(o.room.has_talk_switch);  // the console adopts only rooms with one
  EXPECT_GE(o.room.users.size(), 3u);
  EXPECT_GT(o.say_every_ms, 0);

  // A title with a topic: preferred by the console over a real room without one,
  // and it says which room this is.
  RoomModel room(o.room);
  EXPECT_EQ(room.Title(), "salon_essai, Topic: Salon d'essai de Tavlen");
  // The owner's answer to "/setopt" unlocks every command of the console.
  room.SetInput("/setopt");
  room.Submit();
  EXPECT_EQ(room.TranscriptLines(),
            (Texts{"modo : /setopt", "/SETOPT arguments: talk_time <seconds>, moderated <0|1>, ..."}));
}

TEST(StandinControl, CommandsActOnTheRoomAndBadOnesChangeNothing) {
  RoomModel room(Config({"alice"}));
  EXPECT_TRUE(ApplyRoomControl(room, "say bob|a|b : c", false).applied);
  EXPECT_EQ(room.TranscriptLines().back(), "bob : a|b : c");
  EXPECT_TRUE(ApplyRoomControl(room, "join carl\r\n", false).applied);
  EXPECT_TRUE(ApplyRoomControl(room, "join-hidden zed", false).applied);
  EXPECT_EQ(room.Users(), (Texts{"alice", "carl", "modo"}));
  EXPECT_EQ(room.HiddenUsers(), (Texts{"zed"}));
  EXPECT_TRUE(ApplyRoomControl(room, "TALKER alice", false).applied);
  EXPECT_EQ(room.Talker(), "alice");
  EXPECT_TRUE(ApplyRoomControl(room, "talker", false).applied);
  EXPECT_EQ(room.Talker(), "");
  EXPECT_TRUE(ApplyRoomControl(room, "topic Ce soir  : jazz", false).applied);
  EXPECT_EQ(room.Title(), "salon, Topic: Ce soir  : jazz");
  EXPECT_TRUE(ApplyRoomControl(room, "topic", false).applied);
  EXPECT_EQ(room.Title(), "salon : Video Chat Room");
  EXPECT_TRUE(ApplyRoomControl(room, "raw eve kicked bob from the room", false).applied);
  EXPECT_EQ(room.TranscriptLines().back(), "eve kicked bob from the room");
  EXPECT_TRUE(ApplyRoomControl(room, "quit carl", false).applied);
  EXPECT_EQ(room.Users(), (Texts{"alice", "modo"}));
  EXPECT_TRUE(ApplyRoomControl(room, "close", false).close);

  // Hanging needs the start-up switch and a bounded, positive duration.
  EXPECT_FALSE(ApplyRoomControl(room, "hang 500", false).applied);
  EXPECT_EQ(ApplyRoomControl(room, "hang 500", true).hang_ms, 500);
  EXPECT_FALSE(ApplyRoomControl(room, "hang 0", true).applied);
  EXPECT_FALSE(ApplyRoomControl(room, "hang 60001", true).applied);
  EXPECT_FALSE(ApplyRoomControl(room, "hang 5s", true).applied);

  const auto lines = room.TranscriptLines();
  const auto users = room.Users();
  for (const char* bad : {"say nobody", "say |text", "join", "join two words", "quit", "talker a b", "dance", ""})
    EXPECT_FALSE(ApplyRoomControl(room, bad, true).applied) << bad;
  EXPECT_EQ(room.TranscriptLines(), lines);
  EXPECT_EQ(room.Users(), users);

  EXPECT_TRUE(ApplyRoomControl(room, "clear", false).applied);
  EXPECT_EQ(room.TranscriptText(), "");
  EXPECT_EQ(SplitControl("title 3. A - B - Winamp").rest, "3. A - B - Winamp");

  // The key log is the skin's: the command only says where it goes.
  const ControlOutcome written = ApplyRoomControl(room, "keylog Z:\\tmp\\keys 1.txt", false);
  EXPECT_TRUE(written.applied && written.key_log);
  EXPECT_EQ(written.key_log_path, "Z:\\tmp\\keys 1.txt");
  const ControlOutcome emptied = ApplyRoomControl(room, "KEYLOG\r\n", false);
  EXPECT_TRUE(emptied.applied && emptied.key_log);
  EXPECT_EQ(emptied.key_log_path, "");
  EXPECT_FALSE(ApplyRoomControl(room, "say bob|keylog", false).key_log);
}

}  // namespace
}  // namespace tavlen::standin
