// <windows.h> for the Win32 backend and the Windows-only programs. The A/W selector
// macros that share a name with the ports' methods are removed, so port calls
// compile as written; the backend calls the A functions by their full names.
#pragma once

#include <windows.h>
// Left out by WIN32_LEAN_AND_MEAN: the mixer, wave, aux, MIDI, MCI and PlaySound calls.
#include <mmsystem.h>

#undef FindWindow
#undef GetClassName
#undef GetWindowText
#undef DefWindowProc
#undef GetKeyNameText
#undef MapVirtualKey
#undef GlobalAddAtom
#undef PlaySound
