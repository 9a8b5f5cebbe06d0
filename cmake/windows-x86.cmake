# 32-bit Windows, the product: the components it tests are 32-bit files, and a process loads only files of its
# own width. Cross-compiled with Debian's mingw-w64 (i686, posix threads) against ../shared/windows-x86/qt6.
set(BANC_TRIPLET i686-w64-mingw32)
set(BANC_DOSSIER_PARTAGE windows-x86)
set(CMAKE_SYSTEM_PROCESSOR i686)
include("${CMAKE_CURRENT_LIST_DIR}/windows-chaine.cmake")
