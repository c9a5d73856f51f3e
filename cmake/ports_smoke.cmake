# Smoke driver of the device and process ports (hotkeys, mixer, sound, volume,
# process memory), run under Wine by tests/e2e/ports/run-ports.sh.
file(GLOB ports_smoke_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/ports/*.cpp)
add_executable(ports_smoke ${ports_smoke_sources})
target_link_libraries(ports_smoke PRIVATE tavlen_win32)
