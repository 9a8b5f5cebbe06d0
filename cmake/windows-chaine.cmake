# What the two Windows toolchains share: Debian's mingw-w64 (posix threads) for BANC_TRIPLET, against a Qt 6.4
# built for it. BANC_QT_WINDOWS names that Qt; BANC_SQLITE_WINDOWS the SQLite amalgamation (sqlite3.c,
# sqlite3.h), the same source for both widths. Both default to the folders beside the source tree and may be
# set with -D. Included by windows-x86.cmake and windows-x64.cmake, which set BANC_TRIPLET and
# BANC_DOSSIER_PARTAGE (the folder of ../shared that holds the Qt of that width).
set(BANC_QT_WINDOWS "${CMAKE_CURRENT_LIST_DIR}/../../shared/${BANC_DOSSIER_PARTAGE}/qt6" CACHE PATH
    "Qt 6 built for ${BANC_TRIPLET}")
set(BANC_SQLITE_WINDOWS "${CMAKE_CURRENT_LIST_DIR}/../../shared/windows-x86/sqlite" CACHE PATH
    "SQLite amalgamation (sqlite3.c, sqlite3.h)")
get_filename_component(BANC_QT_WINDOWS "${BANC_QT_WINDOWS}" ABSOLUTE)
# try_compile reads this file again in a project of its own: the chosen folders must follow it there.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BANC_QT_WINDOWS BANC_SQLITE_WINDOWS)

if(NOT EXISTS "${BANC_QT_WINDOWS}/lib/cmake/Qt6/qt.toolchain.cmake")
    message(FATAL_ERROR "Qt pour ${BANC_TRIPLET} introuvable dans ${BANC_QT_WINDOWS} (BANC_QT_WINDOWS)")
endif()

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${BANC_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BANC_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${BANC_TRIPLET}-windres)

# Qt's own toolchain file puts that Qt in the find root; the host tools (moc, rcc, uic) are Debian's,
# of the same version.
set(QT_HOST_PATH "/usr" CACHE PATH "Qt host tools")
set(QT_HOST_PATH_CMAKE_DIR "/usr/lib/x86_64-linux-gnu/cmake" CACHE PATH "Qt host tools' CMake packages")
include("${BANC_QT_WINDOWS}/lib/cmake/Qt6/qt.toolchain.cmake")
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${BANC_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
