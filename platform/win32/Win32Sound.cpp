#include "platform/win32/Win32Sound.h"

#include "platform/win32/WinApi.h"
#include "platform/win32/WindowOwner.h"

#include <atomic>
#include <string>

namespace tavlen {
namespace {

constexpr char kWindowClass[] = "TavlenMediaNotifyWindow";

std::string MciErrorText(MCIERROR error) {
  char text[256] = {};
  if (::mciGetErrorStringA(error, text, sizeof(text)) && text[0] != '\0') return text;
  return "MCI error " + std::to_string(error);
}

class Win32MediaPlayer;

LRESULT CALLBACK MediaNotifyProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);

class Win32MediaPlayer final : public MediaPlayer {
 public:
  Win32MediaPlayer() {
    // Without a window the play notification is simply not heard.
    window_ = win32::CreateMessageOnlyWindow(kWindowClass, MediaNotifyProc, this);
  }

  ~Win32MediaPlayer() override {
    Close();
    if (window_) win32::DestroyOwnedWindow(window_);
  }

  std::optional<std::string> Open(std::string_view file) override {
    Close();
    const std::string element(file);
    MCI_OPEN_PARMSA open{};
    open.lpstrElementName = element.c_str();
    // Without an alias of its own, a second player could not open a file that
    // another one holds (the file name would be the alias of both).
    open.lpstrAlias = alias_.c_str();
    const MCIERROR error = ::mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_OPEN_ALIAS | MCI_WAIT,
                                             reinterpret_cast<DWORD_PTR>(&open));
    if (error != 0) return MciErrorText(error);
    device_ = open.wDeviceID;
    return std::nullopt;
  }

  std::optional<std::string> Play() override {
    MCI_PLAY_PARMS play{};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(window_);
    ended_ = false;
    const MCIERROR error =
        ::mciSendCommandA(device_, MCI_PLAY, window_ ? MCI_NOTIFY : 0, reinterpret_cast<DWORD_PTR>(&play));
    if (error != 0) return MciErrorText(error);
    return std::nullopt;
  }

  std::optional<std::string> Stop() override {
    MCI_GENERIC_PARMS stop{};
    const MCIERROR error = ::mciSendCommandA(device_, MCI_STOP, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&stop));
    if (error != 0) return MciErrorText(error);
    return std::nullopt;
  }

  void Close() override {
    if (device_ == 0) return;
    MCI_GENERIC_PARMS close{};
    ::mciSendCommandA(device_, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&close));
    device_ = 0;
    ended_ = false;
  }

  // Some drivers stop their position a little short of the length; the end
  // notification says the sound has played out.
  std::int64_t Position() override {
    if (device_ == 0) return 0;
    if (ended_) return Length();
    return Status(MCI_STATUS_POSITION);
  }

  std::int64_t Length() override { return device_ == 0 ? 0 : Status(MCI_STATUS_LENGTH); }

  void HandleNotify(WPARAM code, LPARAM device) {
    if (device_ != 0 && static_cast<MCIDEVICEID>(device) == device_ && code == MCI_NOTIFY_SUCCESSFUL) ended_ = true;
  }

 private:
  std::int64_t Status(DWORD item) {
    MCI_STATUS_PARMS status{};
    status.dwItem = item;
    if (::mciSendCommandA(device_, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&status)) != 0)
      return 0;
    return static_cast<std::int64_t>(status.dwReturn);
  }

  inline static std::atomic<unsigned> players_{0};
  const std::string alias_ = "tavlen_player_" + std::to_string(++players_);
  HWND window_ = nullptr;
  MCIDEVICEID device_ = 0;
  bool ended_ = false;
};

LRESULT CALLBACK MediaNotifyProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* player = win32::WindowOwner<Win32MediaPlayer>(window, msg, lparam);
  if (msg == MM_MCINOTIFY) {
    if (player) {
      player->HandleNotify(wparam, lparam);
      return 0;
    }
  }
  return DefWindowProcA(window, msg, wparam, lparam);
}

}  // namespace

bool Win32Sound::PlaySound(std::string_view path, bool async) {
  const std::string file(path);
  return ::PlaySoundA(file.c_str(), GetModuleHandleA(nullptr), async ? SND_ASYNC : SND_SYNC) != FALSE;
}

std::unique_ptr<MediaPlayer> Win32Sound::CreateMediaPlayer() { return std::make_unique<Win32MediaPlayer>(); }

}  // namespace tavlen
