// <windows.h> for the Win32 backend and the Windows-only programs. The A/W selector
// macros that share a name with the ports' methods are removed, so port calls
// compile as written; the backend calls the A functions by their full names.
#pragma once

#include <windows.h>

#undef FindWindow
#undef GetClassName
#undef GetWindowText
