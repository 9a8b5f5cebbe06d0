# 32-bit Windows, cross-compiled with Debian's mingw-w64 (i686, posix threads) against a Qt 6.4 built for it.
# BANC_QT_WINDOWS names that Qt; BANC_SQLITE_WINDOWS the SQLite amalgamation (sqlite3.c, sqlite3.h).
# Both default to the folders beside the source tree and may be set with -D.
set(BANC_QT_WINDOWS "${CMAKE_CURRENT_LIST_DIR}/../../shared/windows-x86/qt6" CACHE PATH
    "Qt 6 built for i686-w64-mingw32")
set(BANC_SQLITE_WINDOWS "${CMAKE_CURRENT_LIST_DIR}/../../shared/windows-x86/sqlite" CACHE PATH
    "SQLite amalgamation (sqlite3.c, sqlite3.h)")
get_filename_component(BANC_QT_WINDOWS "${BANC_QT_WINDOWS}" ABSOLUTE)
# try_compile reads this file again in a project of its own: the chosen folders must follow it there.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BANC_QT_WINDOWS BANC_SQLITE_WINDOWS)

if(NOT EXISTS "${BANC_QT_WINDOWS}/lib/cmake/Qt6/qt.toolchain.cmake")
    message(FATAL_ERROR "Qt pour Windows 32 bits introuvable dans ${BANC_QT_WINDOWS} (BANC_QT_WINDOWS)")
endif()

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

# Qt's own toolchain file puts that Qt in the find root; the host tools (moc, rcc, uic) are Debian's,
# of the same version.
set(QT_HOST_PATH "/usr" CACHE PATH "Qt host tools")
set(QT_HOST_PATH_CMAKE_DIR "/usr/lib/x86_64-linux-gnu/cmake" CACHE PATH "Qt host tools' CMake packages")
include("${BANC_QT_WINDOWS}/lib/cmake/Qt6/qt.toolchain.cmake")
list(APPEND CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
