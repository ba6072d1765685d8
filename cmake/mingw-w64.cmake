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
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A Qt for Windows (an install tree built with this compiler, shared libraries): named by
# -DTRZ4_QT_WINDOWS=<folder> or the environment variable of that name. Its packages are found
# in that folder; its tools (moc, rcc, lrelease) are the build machine's Qt of the same version.
if(NOT TRZ4_QT_WINDOWS AND DEFINED ENV{TRZ4_QT_WINDOWS})
    set(TRZ4_QT_WINDOWS "$ENV{TRZ4_QT_WINDOWS}" CACHE PATH "A Qt 6 for Windows (install tree)")
endif()
if(TRZ4_QT_WINDOWS)
    list(APPEND CMAKE_FIND_ROOT_PATH "${TRZ4_QT_WINDOWS}")
    set(QT_HOST_PATH /usr CACHE PATH "The build machine's Qt, for Qt's tools")
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake
        CACHE PATH "The CMake packages of the build machine's Qt")
endif()
# try_compile projects run this file again; they need the same Qt.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TRZ4_QT_WINDOWS)

# Statically linked runtime: -static also takes winpthread's archive instead of its DLL.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
