# The Windows build (mingw-w64 cross compile, see cmake/mingw-w64.cmake): the
# Win32 backend and the executables that run on Windows and under Wine.

enable_language(RC)

# Unicode stays off: every text is an ANSI code-page byte string and the backend
# calls the A functions by name.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# The Win32 backend: the real ports and, later, the native realization of the kit.
file(GLOB tavlen_win32_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
add_library(tavlen_win32 STATIC ${tavlen_win32_sources})
target_include_directories(tavlen_win32 PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tavlen_win32 PUBLIC tavlen_kit comctl32 winmm comdlg32 gdi32 user32)

# ---------------------------------------------------------------------------
# Product executables (tavlen.exe, the stand-in client exe) go here.
# ---------------------------------------------------------------------------

# The console: GUI subsystem, icon, manifest (Common Controls v6) and version.
add_executable(tavlen WIN32 ${CMAKE_SOURCE_DIR}/app/main.cpp ${CMAKE_SOURCE_DIR}/app/tavlen.rc)
target_link_libraries(tavlen PRIVATE tavlen_ui tavlen_win32)
# Page-aligned sections: Wine (like Windows) can then map the code from the file
# instead of copying it into private memory, about 2 MB less per console.
target_link_options(tavlen PRIVATE -Wl,--file-alignment,0x1000)
set_source_files_properties(${CMAKE_SOURCE_DIR}/app/tavlen.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/app/tavlen.ico;${CMAKE_SOURCE_DIR}/app/tavlen.manifest")

# ---------------------------------------------------------------------------
# End-to-end test programs, run under Wine by tests/e2e/*.sh.
# ---------------------------------------------------------------------------

# The widget backend and popup surface driven through real messages; prints "BACKEND OK".
file(GLOB win32_backend_check_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/backend/*.cpp)
add_executable(win32_backend_check ${win32_backend_check_sources} ${CMAKE_SOURCE_DIR}/app/tavlen.rc)
target_link_libraries(win32_backend_check PRIVATE tavlen_win32 tavlen_notify)

# Exercises the Win32 backend classes in one process and prints "SMOKE OK".
file(GLOB win32_smoke_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/smoke/*.cpp)
add_executable(win32_smoke ${win32_smoke_sources})
target_link_libraries(win32_smoke PRIVATE tavlen_win32)
include(cmake/standin.cmake)
include(cmake/ports_smoke.cmake)
include(cmake/e2e.cmake)

# With mingw-w64 most of a source file's build time is parsing the standard
# headers and <windows.h> (3.4 s instead of 5.2 s for a story file with them
# precompiled). Two precompiled headers, each built once and used by every
# target of its kind: the portable code's never holds <windows.h>; the
# Windows-only code's holds it as WinApi.h gives it.
option(TAVLEN_PCH "Precompiled headers in the Windows build" ON)
if(TAVLEN_PCH)
  set(tavlen_pch_std <algorithm> <chrono> <cstdint> <functional> <map> <memory> <string> <string_view> <vector>)
  target_precompile_headers(tavlen_core PRIVATE ${tavlen_pch_std})
  foreach(target tavlen_bridge tavlen_userlist tavlen_monitor tavlen_moderation tavlen_notify tavlen_hotkeys
                 tavlen_mixer tavlen_ui tavlen_standin)
    target_precompile_headers(${target} REUSE_FROM tavlen_core)
  endforeach()
  target_precompile_headers(tavlen_win32 PRIVATE ${tavlen_pch_std} "${CMAKE_SOURCE_DIR}/platform/win32/WinApi.h")
  foreach(target tavlen_e2e_kit standin standin_check win32_smoke win32_backend_check ports_smoke console_e2e)
    target_precompile_headers(${target} REUSE_FROM tavlen_win32)
  endforeach()
endif()
