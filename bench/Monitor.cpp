// The monitor's cost per tick: finding one new line at the end of a 30,000
// character transcript, and running every rule over a line with 20 watched words.
#include <benchmark/benchmark.h>

#include <deque>
#include <string>
#include <vector>

#include "monitor/LineInterpreter.h"
#include "monitor/TranscriptTracker.h"
#include "tests/support/FakeRoomLine.h"
#include "tests/support/FakeRuleTargets.h"

namespace {

using tavlen::LineInterpreter;
using tavlen::RoomState;
using tavlen::TranscriptTracker;

std::string ChatTranscript(std::size_t size) {
  std::string text;
  for (int i = 0; text.size() < size; ++i)
    text += "user" + std::to_string(i % 13) + " : message de conversation ordinaire numero " + std::to_string(i) +
            "\r\n";
  text.resize(size - 2);
  text += "\r\n";
  return text;
}

void TrackerTickWithOneNewLine(benchmark::State& state) {
  const std::string before = ChatTranscript(static_cast<std::size_t>(state.range(0)));
  const std::string after = before + "alice : une nouvelle ligne dans le salon\r\n";
  TranscriptTracker tracker;
  for (auto _ : state) {
    state.PauseTiming();
    tracker.Track(before);
    std::string reading = after;
    state.ResumeTiming();
    tavlen::TranscriptBatch batch = tracker.Track(std::move(reading));
    benchmark::DoNotOptimize(batch);
  }
}
BENCHMARK(TrackerTickWithOneNewLine)->Arg(30000)->Arg(60000);

void InterpreterPerLineWith20Words(benchmark::State& state) {
  RoomState room;
  room.OwnNick = "modo";
  room.RoomWindowTitle = "salon : Video Chat Room";
  tavlen::testing::FakeRuleTargets targets;
  for (int i = 0; i < 20; ++i) targets.words.push_back("motcle" + std::to_string(i));
  targets.talker = "modo";
  tavlen::testing::FakeRoomLine line;
  LineInterpreter interpreter(room, line, targets, targets, targets);
  interpreter.SetOwnerCommands(&targets);
  const std::vector<std::string> lines{
      "alice : bonjour tout le monde, comment allez-vous ce soir dans le salon ?",
      "bob : je cherche le motcle19 depuis un moment",
      "carl kicked dan from the room (flood)",
  };
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& line = lines[i++ % lines.size()];
    interpreter.RightsRules(line);
    interpreter.AllRules(line);
    if (targets.notified.size() > 4096) targets.notified.clear();
  }
  benchmark::DoNotOptimize(targets.notified.size());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(InterpreterPerLineWith20Words);

}  // namespace
