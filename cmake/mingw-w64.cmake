# Cross build for Windows with mingw-w64, posix thread model (std::thread,
# std::mutex), for the CMAKE_SYSTEM_PROCESSOR its toolchain file sets. Everything
# links statically so the exe imports only system DLLs.
set(CMAKE_SYSTEM_NAME Windows)

set(TAVLEN_MINGW_TRIPLE ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${TAVLEN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVLEN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVLEN_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TAVLEN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
