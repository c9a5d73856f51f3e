#include "base/Files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tavlen {

namespace fs = std::filesystem;

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(fs::u8path(path), ec);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(fs::u8path(path), std::ios::binary);
  if (!in) return std::nullopt;
  // A read error (a folder in the file's place, a failing disk) throws out of the
  // stream buffer whatever the stream's exception mask says.
  try {
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
  } catch (const std::ios_base::failure&) {
    return std::nullopt;
  }
}

namespace {

thread_local const WriteFaultHook* active_fault_hook = nullptr;

StepFault Ask(WriteStep step, const std::string& path) {
  if (active_fault_hook == nullptr) return {};
  return (*active_fault_hook)(step, path);
}

// Pushes a closed file's bytes out of the system's cache onto the disk.
bool SyncToDisk(const fs::path& file) {
#ifdef _WIN32
  const int fd = _wopen(file.c_str(), _O_WRONLY | _O_BINARY);
  if (fd < 0) return false;
  const bool synced = _commit(fd) == 0;
  return _close(fd) == 0 && synced;
#else
  const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
#endif
}

}  // namespace

ScopedWriteFaultHook::ScopedWriteFaultHook(WriteFaultHook hook)
    : hook_(std::move(hook)), previous_(active_fault_hook) {
  active_fault_hook = &hook_;
}

ScopedWriteFaultHook::~ScopedWriteFaultHook() { active_fault_hook = previous_; }

void WriteFileAtomic(const std::string& path, std::string_view bytes) {
  const fs::path target = fs::u8path(path);
  fs::path temp = target;
  temp += ".tmp";
  const auto discard_temp = [&temp] {
    std::error_code ignored;
    fs::remove(temp, ignored);
  };

  // A file marked read-only stays as it is, as a write in place would leave it:
  // replacing it by a rename would go past the mark (Wine even lets it).
  std::error_code status_error;
  const fs::file_status status = fs::status(target, status_error);
  if (!status_error && fs::is_regular_file(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none)
    throw std::runtime_error("cannot replace " + path + ": the file is read-only");

  // Messages name the path as given (UTF-8): a wide path's narrow form throws
  // for letters outside the ANSI code page.
  const std::string temp_name = path + ".tmp";
  if (Ask(WriteStep::kCreate, path).fail) throw std::runtime_error("cannot create " + temp_name);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot create " + temp_name);
    const StepFault write_fault = Ask(WriteStep::kWrite, path);
    const std::size_t size = write_fault.fail ? std::min(write_fault.bytes_kept, bytes.size()) : bytes.size();
    out.write(bytes.data(), static_cast<std::streamsize>(size));
    // Closing writes out the buffer: a full disk may only show here.
    out.close();
    if (!out || write_fault.fail) {
      discard_temp();
      throw std::runtime_error("cannot write " + temp_name);
    }
  }
  if (Ask(WriteStep::kSync, path).fail || !SyncToDisk(temp)) {
    discard_temp();
    throw std::runtime_error("cannot write " + temp_name + " to the disk");
  }
  std::error_code ec;
  if (Ask(WriteStep::kReplace, path).fail) ec = std::make_error_code(std::errc::permission_denied);
  if (!ec) fs::rename(temp, target, ec);
  if (ec) {
    discard_temp();
    throw std::runtime_error("cannot replace " + path + ": " + ec.message());
  }
}

std::vector<std::string> SplitLinesAnyBreak(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace tavlen
