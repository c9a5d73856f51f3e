// Loaded into a running console by the end-to-end driver. Wine keeps mixer
// volumes per process (each program's own audio session), so the level the
// console sets can only be read from inside its process. Each time the driver
// signals the event "TavlenMixerProbe<pid>", the first mixer's destination
// volume and mute are read and written to "mixer-probe-<pid>.txt" beside this
// file, as "<left> <right> <mute> <round>" (-1 for a value that cannot be read).
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>

namespace {

HMODULE self = nullptr;

struct Line {
  HMIXER mixer = nullptr;
  MIXERLINEA info{};
};

long ReadControl(const Line& line, DWORD type, DWORD* values) {
  MIXERCONTROLA control{};
  control.cbStruct = sizeof control;
  MIXERLINECONTROLSA controls{};
  controls.cbStruct = sizeof controls;
  controls.dwLineID = line.info.dwLineID;
  controls.dwControlType = type;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof control;
  controls.pamxctrl = &control;
  if (mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(line.mixer), &controls,
                            MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) != MMSYSERR_NOERROR)
    return -1;
  MIXERCONTROLDETAILS details{};
  details.cbStruct = sizeof details;
  details.dwControlID = control.dwControlID;
  details.cChannels = line.info.cChannels;
  details.cbDetails = sizeof(DWORD);
  details.paDetails = values;
  return mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(line.mixer), &details,
                                 MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR
             ? 0
             : -1;
}

// Opened once for the probe's life. Wine numbers a mixer handle by how many
// times its device was opened in the process: past 255 opens the number spills
// into the device's index, and the handle names another device (whose level is
// the untouched full one) or none. A probe that opened at every reading made the
// console's level seem not to follow the slider once the driver had asked a few
// hundred times.
Line OpenFirstMixer() {
  Line line;
  if (mixerOpen(&line.mixer, 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) {
    line.mixer = nullptr;
    return line;
  }
  line.info.cbStruct = sizeof line.info;
  line.info.dwDestination = 0;
  if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(line.mixer), &line.info,
                        MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION) != MMSYSERR_NOERROR ||
      line.info.cChannels < 1 || line.info.cChannels > 8)
    line.info.cChannels = 0;
  return line;
}

void Report(const Line& line, const char* path, long round) {
  long left = -1, right = -1, mute = -1;
  if (line.mixer && line.info.cChannels > 0) {
    DWORD values[8] = {};
    if (ReadControl(line, MIXERCONTROL_CONTROLTYPE_VOLUME, values) == 0) {
      left = static_cast<long>(values[0]);
      right = static_cast<long>(values[line.info.cChannels > 1 ? 1 : 0]);
    }
    if (ReadControl(line, MIXERCONTROL_CONTROLTYPE_MUTE, values) == 0) mute = static_cast<long>(values[0]);
  }
  // Written aside, then moved over the last report: never read half written.
  char temporary[MAX_PATH + 8];
  std::snprintf(temporary, sizeof temporary, "%s.tmp", path);
  if (FILE* out = std::fopen(temporary, "wb")) {
    std::fprintf(out, "%ld %ld %ld %ld\n", left, right, mute, round);
    std::fclose(out);
    // The driver waits for this round's report: a replace refused while a
    // reader holds the file is tried again, or the driver would wait in vain.
    for (int tries = 0; tries < 1000 && !MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING); ++tries) Sleep(1);
  }
}

DWORD WINAPI Serve(void*) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, MAX_PATH);
  char* slash = std::strrchr(path, '\\');
  if (!slash) return 1;
  const DWORD pid = GetCurrentProcessId();
  std::snprintf(slash + 1, MAX_PATH - (slash + 1 - path), "mixer-probe-%lu.txt", static_cast<unsigned long>(pid));
  char name[64];
  std::snprintf(name, sizeof name, "TavlenMixerProbe%lu", static_cast<unsigned long>(pid));
  HANDLE ask = CreateEventA(nullptr, FALSE, FALSE, name);
  if (!ask) return 1;
  const Line line = OpenFirstMixer();
  for (long round = 0;; ++round) {
    Report(line, path, round);
    if (WaitForSingleObject(ask, INFINITE) != WAIT_OBJECT_0) return 1;
  }
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    self = instance;
    DisableThreadLibraryCalls(instance);
    // The work waits until the loader lets go: no mixer call under its lock.
    if (HANDLE thread = CreateThread(nullptr, 0, Serve, nullptr, 0, nullptr)) CloseHandle(thread);
  }
  return TRUE;
}
