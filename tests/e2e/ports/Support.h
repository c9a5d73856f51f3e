// Shared helpers of the ports smoke: child processes of the same exe, message
// pumping with a deadline, a generated sound file, Wine detection.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/smoke/Check.h"

namespace ports {

using smoke::Note;

// True under Wine (its ntdll exports wine_get_version).
bool UnderWine();
// Whether a sound server gives the system output devices (the run script says so).
bool SoundExpected();

// The path of this exe.
std::string SelfPath();
// Runs `exe` with `args` and waits up to timeout_ms; returns its exit code, or -1
// when it could not start or did not end in time (it is then terminated).
int RunChild(const std::string& exe, const std::vector<std::string>& args, int timeout_ms);
// Starts `exe` with `args` without waiting; returns the process handle (0 on failure).
void* StartChild(const std::string& exe, const std::vector<std::string>& args);
int WaitChild(void* process, int timeout_ms);

// Dispatches this thread's messages until `done` answers true or timeout_ms passed.
bool PumpUntil(const std::function<bool()>& done, int timeout_ms);

// Writes a 16-bit mono PCM .wav of silence lasting `ms` milliseconds.
bool WriteSilentWav(const std::string& path, int ms);
// A file name in the temporary folder.
std::string TempPath(const std::string& name);

// Parts of the smoke.
void HotkeysSmoke(bool wait_for_key_press);
void MixerSmoke();
void SoundSmoke();
void VolumeSmoke();
void ProcessMemorySmoke(const std::vector<std::string>& tree_exes);

// Child modes.
int ProbeHotkeyChild(const std::vector<std::string>& args);
int TreeChild(const std::vector<std::string>& args);

}  // namespace ports
