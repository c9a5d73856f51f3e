#include "standin/RoomModel.h"

#include <algorithm>

#include "base/Text.h"

namespace tavlen::standin {

RoomModel::RoomModel(RoomConfig config, std::function<std::int64_t()> now)
    : config_(std::move(config)), now_(std::move(now)), users_(config_.users), hidden_(config_.hidden_users) {
  // A room joined in the middle of an evening: the people present have talked.
  lines_.reserve(static_cast<std::size_t>(config_.transcript_lines));
  for (int i = 1; i <= config_.transcript_lines; ++i) {
    const std::size_t speaker = static_cast<std::size_t>(i - 1);
    const std::string nick = users_.empty() ? std::string("bob") : users_[speaker % users_.size()];
    lines_.push_back(nick + " : message d'avant " + std::to_string(i));
  }
}

namespace {

void SortNicks(std::vector<std::string>& nicks) {
  std::sort(nicks.begin(), nicks.end(), [](const std::string& a, const std::string& b) { return CompareTextAnsi(a, b) < 0; });
}

void CollectVisible(const std::vector<TreeNode>& nodes, std::vector<std::string>& out) {
  for (const auto& node : nodes) {
    out.push_back(node.text);
    if (node.expanded) CollectVisible(node.children, out);
  }
}

}  // namespace

std::vector<std::string> VisibleTreeTexts(const std::vector<TreeNode>& roots) {
  std::vector<std::string> texts;
  CollectVisible(roots, texts);
  return texts;
}

std::size_t TreeItemCount(const std::vector<TreeNode>& roots) {
  std::size_t count = 0;
  for (const auto& node : roots) count += 1 + TreeItemCount(node.children);
  return count;
}

std::string RoomModel::Title() const {
  if (!config_.topic.empty()) return config_.room + ", Topic: " + config_.topic;
  return config_.room + " : Video Chat Room";
}

std::string RoomModel::TranscriptText() const {
  std::string text;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    text += lines_[i];
    if (i + 1 < lines_.size() || config_.crlf_after_last) text += "\r\n";
  }
  return text;
}

std::vector<std::string> RoomModel::Users() const {
  std::vector<std::string> all = users_;
  all.push_back(config_.own_nick);
  SortNicks(all);
  return all;
}

std::vector<std::string> RoomModel::HiddenUsers() const {
  std::vector<std::string> hidden = hidden_;
  SortNicks(hidden);
  return hidden;
}

std::vector<TreeNode> RoomModel::UserTree() const {
  const auto leaves = [](const std::vector<std::string>& nicks) {
    std::vector<TreeNode> nodes;
    for (const auto& nick : nicks) nodes.push_back(TreeNode{nick, false, {}});
    return nodes;
  };
  return {TreeNode{kVisibleUsersHeader, true, leaves(Users())},
          TreeNode{kHiddenUsersHeader, false, leaves(HiddenUsers())},
          TreeNode{kClickNamePlaceholder, false, {}}};
}

std::vector<std::string> RoomModel::SubmittedTexts() const {
  std::vector<std::string> texts;
  for (const auto& s : submitted_) texts.push_back(s.text);
  return texts;
}

void RoomModel::AppendRaw(std::string line) {
  lines_.push_back(std::move(line));
  Changed();
}

void RoomModel::ClearTranscript() {
  lines_.clear();
  Changed();
}

void RoomModel::SetTopic(std::string topic) {
  config_.topic = std::move(topic);
  Changed();
}

void RoomModel::Submit() {
  if (input_.empty()) return;
  const std::string line = input_;
  input_.clear();
  submitted_.push_back(SubmittedLine{line, now_ ? now_() : 0});
  if (line.front() == '/') {
    Command(line);
  } else {
    lines_.push_back(config_.own_nick + " : " + line);
  }
  Changed();
}

void RoomModel::Command(const std::string& line) {
  const std::string verb = LowerAscii(WordAt(1, line, kBlank));
  const std::string arg = WordAt(2, line, kBlank);
  if (verb == "/setopt" && WordCount(line, kBlank) == 1) {
    lines_.push_back(config_.own_nick + " : " + line);
    if (config_.owner)
      lines_.push_back("/SETOPT arguments: talk_time <seconds>, moderated <0|1>, ...");
    else
      lines_.push_back("Operation failed! Your current level is: " + config_.level);
  } else if (verb == "/kick" && !arg.empty()) {
    const std::string reason = line.size() > 7 + arg.size() ? line.substr(7 + arg.size()) : std::string();
    lines_.push_back(config_.own_nick + " kicked " + arg + " from the room (" + reason + ")");
    RemoveUser(arg);
  } else if (verb == "/ban" && !arg.empty()) {
    lines_.push_back(arg + " has been added to the ban list");
  } else if (verb == "/topic") {
    config_.topic = line.size() > 7 ? line.substr(7) : std::string();
    lines_.push_back("Topic changed by " + config_.own_nick);
  } else if (verb == "/notopic") {
    config_.topic.clear();
    lines_.push_back("Topic removed by " + config_.own_nick);
  } else {
    lines_.push_back("Command accepted: " + line);
  }
}

void RoomModel::ClickTalk() {
  if (config_.refuse_talk) return;
  if (talker_.empty()) talker_ = config_.own_nick;
  else if (EqualsIgnoreCase(talker_, config_.own_nick)) talker_.clear();
  Changed();
}

void RoomModel::Say(const std::string& nick, const std::string& text) {
  lines_.push_back(nick + " : " + text);
  Changed();
}

void RoomModel::Join(const std::string& nick, bool hidden) {
  (hidden ? hidden_ : users_).push_back(nick);
  lines_.push_back("Join: " + nick);
  Changed();
}

void RoomModel::Quit(const std::string& nick) {
  RemoveUser(nick);
  lines_.push_back("Quit: " + nick);
  Changed();
}

void RoomModel::RemoveUser(const std::string& nick) {
  for (auto* group : {&users_, &hidden_}) {
    auto it = std::find_if(group->begin(), group->end(), [&](const std::string& u) { return EqualsIgnoreCase(u, nick); });
    if (it != group->end()) {
      group->erase(it);
      break;
    }
  }
  if (EqualsIgnoreCase(talker_, nick)) talker_.clear();
}

}  // namespace tavlen::standin
