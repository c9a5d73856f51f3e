// Command ids of the main menu items. Fixed so that a test driver outside the
// process can choose an item by posting WM_COMMAND with its id.
#pragma once

namespace tavlen::menu_id {
constexpr int kQuitter = 101;
constexpr int kEditerLesMessages = 201;
constexpr int kConfigurerLesNotifications = 202;
constexpr int kRaccourcisClavier = 203;
constexpr int kConfigurationAudio = 204;
constexpr int kDeboguage = 205;
constexpr int kAjouterAmi = 301;
constexpr int kAjouterOP = 302;
constexpr int kAjouterOPPlus = 303;
constexpr int kRetirer = 304;
constexpr int kTalk30 = 311;
constexpr int kTalk60 = 312;
constexpr int kTalk120 = 313;
constexpr int kTalkIllimite = 314;
constexpr int kAutoKickActiver = 321;
constexpr int kAutoKickDesactiver = 322;
constexpr int kModereActiver = 331;
constexpr int kModereDesactiver = 332;
constexpr int kChangerTopic = 341;
constexpr int kEffacerTopic = 342;
constexpr int kRaccourcisDeSons = 351;
constexpr int kReglageDuVolume = 352;
constexpr int kMic = 401;
constexpr int kAide = 501;
constexpr int kAPropos = 502;
}  // namespace tavlen::menu_id
