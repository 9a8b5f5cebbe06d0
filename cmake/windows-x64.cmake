# 64-bit Windows: the same sources built for x86_64 against ../shared/windows-x64/qt6, so that the Windows code
# (the OLE container, COM, the registry, the loader, the window) runs under 64-bit Wine on machines that refuse
# 32-bit programs. Not the product: it cannot load the real 32-bit components.
set(BANC_TRIPLET x86_64-w64-mingw32)
set(BANC_DOSSIER_PARTAGE windows-x64)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include("${CMAKE_CURRENT_LIST_DIR}/windows-chaine.cmake")
