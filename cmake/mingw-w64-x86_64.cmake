# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
# The POSIX thread model is the one whose libstdc++ has std::thread and friends.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESSAVINE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TESSAVINE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSAVINE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSAVINE_MINGW_TRIPLE}-windres)

# FreeType, libpng and zlib cross-built by tools/build-windows-deps. Libraries and headers are
# looked for only there and in the compiler's own folder, never among the Linux ones.
if(NOT TESSAVINE_WINDOWS_DEPS)
    set(TESSAVINE_WINDOWS_DEPS ${CMAKE_CURRENT_LIST_DIR}/../build/windows-deps/prefix)
endif()
set(TESSAVINE_WINDOWS_DEPS ${TESSAVINE_WINDOWS_DEPS} CACHE PATH
    "Where tools/build-windows-deps installed the Windows FreeType, libpng and zlib")
set(CMAKE_FIND_ROOT_PATH ${TESSAVINE_WINDOWS_DEPS} /usr/${TESSAVINE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
