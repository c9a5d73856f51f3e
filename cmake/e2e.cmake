# End-to-end drivers run under Wine by tests/e2e/*.sh.

# Tools every driver shares: bounded polling, processes, windows of another
# process driven through real messages, the remote tree read.
file(GLOB tavlen_e2e_kit_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/kit/*.cpp)
add_library(tavlen_e2e_kit STATIC ${tavlen_e2e_kit_sources})
target_include_directories(tavlen_e2e_kit PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tavlen_e2e_kit PUBLIC tavlen_standin comctl32 user32)
# The stand-in check (cmake/standin.cmake) is built on the same tools.
target_link_libraries(standin_check PRIVATE tavlen_e2e_kit)

# Drives tavlen.exe beside standin.exe and prints "E2E OK".
file(GLOB console_e2e_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/console/*.cpp)
add_executable(console_e2e ${console_e2e_sources})
target_link_libraries(console_e2e PRIVATE tavlen_e2e_kit winmm)

# Loaded into a running console by the driver: the console's own view of its
# mixer (Wine keeps mixer volumes per process).
add_library(mixer_probe SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/mixer-probe/MixerProbe.cpp)
set_target_properties(mixer_probe PROPERTIES PREFIX "")
target_link_libraries(mixer_probe PRIVATE winmm)
target_link_options(mixer_probe PRIVATE -static -static-libgcc -static-libstdc++)
add_dependencies(console_e2e mixer_probe)
