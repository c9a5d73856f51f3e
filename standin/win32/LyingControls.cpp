#include "standin/win32/LyingControls.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace tavlen::standin::win32 {

namespace {
enum Control : UINT_PTR { kTranscript = 0x4C31, kInput, kSwitch, kTree, kIndicator };

// Writes `text` into a caller's buffer of `size` characters as WM_GETTEXT does.
LRESULT CopyText(const std::string& text, WPARAM size, LPARAM buffer) {
  if (size == 0 || !buffer) return 0;
  const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  std::memcpy(reinterpret_cast<char*>(buffer), text.data(), n);
  reinterpret_cast<char*>(buffer)[n] = '\0';
  return static_cast<LRESULT>(n);
}
}  // namespace

void LyingControls::Install(HWND room, HWND transcript, HWND input, HWND talk_switch, HWND tree, HWND indicator) {
  room_ = room;
  reborn_asked_ = false;
  const auto self = reinterpret_cast<DWORD_PTR>(this);
  SetWindowSubclass(transcript, Proc, kTranscript, self);
  SetWindowSubclass(input, Proc, kInput, self);
  SetWindowSubclass(talk_switch, Proc, kSwitch, self);
  SetWindowSubclass(tree, Proc, kTree, self);
  SetWindowSubclass(indicator, Proc, kIndicator, self);
  if (lies_.Has(Lie::kWildText) && !released_) {
    released_ = static_cast<char*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (released_) VirtualFree(released_, 0, MEM_RELEASE);
  }
}

LRESULT CALLBACK LyingControls::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self) {
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(w, Proc, id);
    return DefSubclassProc(w, msg, wp, lp);
  }
  // Only the other program is lied to; the room paints and edits itself honestly.
  if (!InSendMessage()) return DefSubclassProc(w, msg, wp, lp);
  return reinterpret_cast<LyingControls*>(self)->Answer(w, msg, wp, lp, id);
}

LRESULT LyingControls::Answer(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id) {
  LRESULT result = 0;
  if (id == kTree) {
    result = TreeAnswer(w, msg, wp, lp);
  } else if (id == kTranscript && msg == WM_GETTEXTLENGTH &&
             (lies_.Has(Lie::kHugeLength) || lies_.Has(Lie::kNegativeLength))) {
    const bool huge = lies_.Has(Lie::kHugeLength) && (!lies_.Has(Lie::kNegativeLength) || length_reads_ % 2 == 0);
    ++length_reads_;
    result = huge ? static_cast<LRESULT>(kLyingTextLength) : static_cast<LRESULT>(-1);
  } else if (id == kSwitch && msg == WM_GETTEXT && lies_.Has(Lie::kRenamingSwitch)) {
    const std::string caption(SwitchCaption(lies_, switch_reads_++));
    SetWindowTextA(w, caption.c_str());
    result = CopyText(caption, wp, lp);
  } else if (id != kSwitch && msg == WM_GETTEXT && lies_.Has(Lie::kNoTerminator) && wp > 0 && lp) {
    // The whole buffer filled, no terminator, and a count past its end.
    // The control's own text, asked of it past this subclass (no lie, no recursion).
    const auto length = static_cast<std::size_t>(std::max<LRESULT>(DefSubclassProc(w, WM_GETTEXTLENGTH, 0, 0), 0));
    std::string text(length + 1, '\0');
    const LRESULT copied = DefSubclassProc(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::min<std::size_t>(static_cast<std::size_t>(std::max<LRESULT>(copied, 0)), length));
    const std::string filled = Unterminated(text, wp);
    std::memcpy(reinterpret_cast<char*>(lp), filled.data(), filled.size());
    result = static_cast<LRESULT>(wp + 1000);
  } else {
    return DefSubclassProc(w, msg, wp, lp);
  }
  Answered();
  return result;
}

LRESULT LyingControls::TreeAnswer(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* item = reinterpret_cast<TVITEMA*>(lp);
  if (msg == TVM_GETITEMA && item && item_requests_++ % 2 == 1 &&
      (lies_.Has(Lie::kUnwrittenItem) || lies_.Has(Lie::kWildText))) {
    // Every other request is lied about; with both lies, in turn.
    if (lies_.Has(Lie::kUnwrittenItem) && (!lies_.Has(Lie::kWildText) || item_requests_ % 4 == 2)) return TRUE;
    const LRESULT answered = DefSubclassProc(w, msg, wp, lp);
    // Nowhere, the program's own image, memory given back, an address nobody mapped.
    char* const wild[] = {nullptr, reinterpret_cast<char*>(GetModuleHandleA(nullptr)), released_,
                          reinterpret_cast<char*>(static_cast<std::uintptr_t>(0xDEAD0000u))};
    if (answered && (item->mask & TVIF_TEXT)) item->pszText = wild[wild_answers_++ % std::size(wild)];
    return answered;
  }
  LRESULT result = DefSubclassProc(w, msg, wp, lp);
  if (msg == TVM_GETCOUNT && lies_.Has(Lie::kHugeCount)) result = static_cast<LRESULT>(kLyingItemCount);
  if (msg == TVM_GETNEXTITEM && wp == TVGN_NEXTVISIBLE && result == 0 && lies_.Has(Lie::kCycle))
    result = DefSubclassProc(w, TVM_GETNEXTITEM, TVGN_ROOT, 0);
  if (msg == TVM_GETITEMA && result && item && (item->mask & TVIF_TEXT) && item->pszText &&
      item->cchTextMax > 0 && lies_.Has(Lie::kNoTerminator)) {
    // The caller's capacity, as a control trusts it.
    const std::size_t capacity = static_cast<std::size_t>(item->cchTextMax);
    const std::string text(item->pszText, strnlen(item->pszText, capacity));
    const std::string filled = Unterminated(text, capacity);
    std::memcpy(item->pszText, filled.data(), filled.size());
  }
  if (msg == TVM_GETCOUNT || msg == TVM_GETNEXTITEM || msg == TVM_GETITEMA) Answered();
  return result;
}

void LyingControls::Answered() {
  if (!lies_.Has(Lie::kReborn) || reborn_asked_) return;
  if (++messages_ % kRebornEveryMessages != 0) return;
  // Made again once this message is answered, before the console's next one
  // when it pauses between two.
  reborn_asked_ = PostMessageA(room_, reborn_message_, 0, 0) != FALSE;
}

}  // namespace tavlen::standin::win32
