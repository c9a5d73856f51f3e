#include "monitor/RoomMonitor.h"

#include "base/Text.h"

namespace tavlen {

RoomMonitor::RoomMonitor(kit::Application& app, ControlAccess& controls, RoomState& room, Dialogs& dialogs,
                         KeywordWatch& keywords, SongSource& songs)
    : Timer2(app, "Timer2", 2000, true),
      interpreter(room, controls, *this, keywords, songs),
      app_(app),
      dialogs_(dialogs),
      controls_(controls),
      room_(room) {
  Timer2.OnTimer = [this] { Timer2Timer(); };
}

void RoomMonitor::check_right(const std::string& nick) {
  if (!TrimBlanks(nick).empty()) return;
  dialogs_.ShowMessage(ansi("Problème de récupération du pseudo !"), {}, MessageIcon::kError);
  app_.Terminate();
}

void RoomMonitor::Timer2Timer() {
  // A tick arriving while a submission of this one handles pending events would
  // interleave its lines with the batch still being interpreted.
  if (timer2_running_) return;
  timer2_running_ = true;
  struct Reset {
    bool& running;
    ~Reset() { running = false; }
  } reset{timer2_running_};

  controls_.ReadOtherWindowMemoText(room_.RoomWindowTitle, "RichEdit20A", 0, tracker.NextReading());
  const TranscriptBatch batch = tracker.TrackNextReading();
  interpreter.FirstPass(batch.lines);
  if (batch.all_rules) interpreter.SecondPass(batch.lines);
}

}  // namespace tavlen
