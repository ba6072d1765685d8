# Cross-build for 64-bit Windows with Debian's mingw-w64 (package g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The posix flavour of the compiler is used because its libstdc++ has std::thread and
# std::mutex. Programs are linked statically (libgcc, libstdc++, winpthread), so an .exe runs
# without any DLL of the compiler beside it. Without a Qt for Windows the build is GUI-free.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TRZ4_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TRZ4_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRZ4_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TRZ4_MINGW_TRIPLE}-windres)

# Libraries and headers of the target come from the mingw-w64 tree only; the build machine's
# programs (ninja, wine) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TRZ4_MINGW_TRIPLE})
# A Qt for Windows is appended here by -DTRZ4_QT_WINDOWS=<folder> (its find mode is ONLY).
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Statically linked runtime: -static also takes winpthread's archive instead of its DLL.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
