# The stand-in chat client and media player (standin.exe), the Win32 skin of the
# portable stand-in room, and the program that checks it from another process.

file(GLOB standin_win32_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/standin/win32/*.cpp)
add_executable(standin WIN32 ${standin_win32_sources})
target_link_libraries(standin PRIVATE tavlen_standin comctl32 gdi32 user32)

# Drives standin.exe through real messages and prints "STANDIN CHECK OK".
file(GLOB standin_check_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/standin-check/*.cpp)
add_executable(standin_check ${standin_check_sources})
target_include_directories(standin_check PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(standin_check PRIVATE tavlen_standin user32)
