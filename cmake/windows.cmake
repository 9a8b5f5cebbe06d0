# What the Windows build needs beyond the toolchain: SQLite from its amalgamation, the sample database
# made by the host's importer, Wine to run the programs when cross-compiling, and a bin folder that runs as
# it stands (Qt, its platform plugins and the compiler's runtime copied beside the programs).

# ---- What differs by width, in this one place ----
# The product is 32-bit (the components it tests are); the 64-bit build runs the same code where 32-bit
# programs cannot run. BANC_WINDOWS_BITS names the width, BANC_RUNTIME_WINDOWS the compiler's runtime DLLs
# (32-bit GCC unwinds with DWARF, 64-bit GCC with SEH), BANC_SUFFIXE_PAQUETS the packages' suffix.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(BANC_WINDOWS_BITS 32)
    set(BANC_RUNTIME_WINDOWS libgcc_s_dw2-1.dll libstdc++-6.dll libwinpthread-1.dll)
    set(BANC_SUFFIXE_PAQUETS win32)
elseif(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(BANC_WINDOWS_BITS 64)
    set(BANC_RUNTIME_WINDOWS libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
    set(BANC_SUFFIXE_PAQUETS win64)
else()
    message(FATAL_ERROR "Largeur de pointeur inattendue : ${CMAKE_SIZEOF_VOID_P} octets")
endif()

# A module definition file for this width: the 32-bit stdcall names carry their "@bytes" suffix, which the
# linker (--kill-at) drops from the exported names; 64-bit has one calling convention and no suffix at all.
function(banc_definition_modules cible source)
    if(BANC_WINDOWS_BITS EQUAL 32)
        set(_sortie "${source}")
    else()
        get_filename_component(_nom "${source}" NAME)
        set(_sortie "${CMAKE_CURRENT_BINARY_DIR}/${_nom}")
        file(READ "${source}" _texte)
        string(REGEX REPLACE "@[0-9]+" "" _texte "${_texte}")
        set(_ancien "")
        if(EXISTS "${_sortie}")
            file(READ "${_sortie}" _ancien)
        endif()
        if(NOT _ancien STREQUAL _texte)
            file(WRITE "${_sortie}" "${_texte}")
        endif()
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source}")
    endif()
    target_sources(${cible} PRIVATE "${_sortie}")
    set(BANC_DEFINITION_${cible} "${_sortie}" PARENT_SCOPE)
endfunction()

# ---- SQLite, compiled in ----
set(BANC_SQLITE_WINDOWS "${CMAKE_SOURCE_DIR}/../shared/windows-x86/sqlite" CACHE PATH
    "SQLite amalgamation (sqlite3.c, sqlite3.h)")
if(NOT EXISTS "${BANC_SQLITE_WINDOWS}/sqlite3.c")
    message(FATAL_ERROR "sqlite3.c introuvable dans ${BANC_SQLITE_WINDOWS} (BANC_SQLITE_WINDOWS)")
endif()
add_library(banc_sqlite3 STATIC "${BANC_SQLITE_WINDOWS}/sqlite3.c")
target_include_directories(banc_sqlite3 SYSTEM PUBLIC "${BANC_SQLITE_WINDOWS}")
# The same options as the store relies on with Debian's library: full-text search and no extension loading.
target_compile_definitions(banc_sqlite3 PRIVATE
    SQLITE_ENABLE_FTS5 SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION SQLITE_DQS=0)
add_library(SQLite::SQLite3 ALIAS banc_sqlite3)

# ---- The sample database, from the host's importer ----
# The importer reads gzipped files through zlib and stays a Linux program; the database it writes is the
# same file on every system. BANC_IMPORTEUR_HOTE names an importer already built (the dev build's);
# otherwise this project is configured once more for the host, importer alone.
set(BANC_IMPORTEUR_HOTE "" CACHE FILEPATH "ccam-import built for the host system")
if(BANC_IMPORTEUR_HOTE)
    add_executable(ccam-import IMPORTED GLOBAL)
    set_target_properties(ccam-import PROPERTIES IMPORTED_LOCATION "${BANC_IMPORTEUR_HOTE}")
elseif(CMAKE_CROSSCOMPILING)
    include(ExternalProject)
    set(_hote "${CMAKE_BINARY_DIR}/importeur-hote")
    ExternalProject_Add(importeur_hote
        SOURCE_DIR "${CMAKE_SOURCE_DIR}"
        BINARY_DIR "${_hote}"
        CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DBANC_BENCHMARKS=OFF
        BUILD_COMMAND ${CMAKE_COMMAND} --build "${_hote}" --target ccam-import
        BUILD_BYPRODUCTS "${_hote}/bin/ccam-import"
        INSTALL_COMMAND ""
        # A toolchain given to this build must not reach the host one.
        CMAKE_CACHE_ARGS -DCMAKE_TOOLCHAIN_FILE:FILEPATH=)
    add_executable(ccam-import IMPORTED GLOBAL)
    set_target_properties(ccam-import PROPERTIES IMPORTED_LOCATION "${_hote}/bin/ccam-import")
    add_dependencies(ccam-import importeur_hote)
endif()

# ---- Wine, when the programs are built here for another system ----
if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
    set(BANC_WINEPREFIX "${CMAKE_BINARY_DIR}/wine" CACHE PATH "Wine prefix of the tests and the tool")
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${CMAKE_COMMAND} -E env WINEPREFIX=${BANC_WINEPREFIX} BANC_WINDOWS_BITS=${BANC_WINDOWS_BITS}
        ${CMAKE_SOURCE_DIR}/scripts/wine-executer.sh)
endif()

# ---- A bin folder that runs as it stands ----
function(banc_deployer_windows)
    get_target_property(_qtcore Qt6::Core IMPORTED_LOCATION_RELEASE)
    if(NOT _qtcore)
        get_target_property(_qtcore Qt6::Core LOCATION)
    endif()
    get_filename_component(_qtbin "${_qtcore}" DIRECTORY)
    get_filename_component(_qt "${_qtbin}" DIRECTORY)
    set(_fichiers "")
    foreach(module Core Gui Widgets Test)
        list(APPEND _fichiers "${_qtbin}/Qt6${module}.dll")
    endforeach()
    foreach(dll IN LISTS BANC_RUNTIME_WINDOWS)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
            OUTPUT_VARIABLE _chemin OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${_chemin}" OR NOT EXISTS "${_chemin}")
            find_file(_chemin_${dll} ${dll} PATHS /usr/${CMAKE_CXX_COMPILER_TARGET}/lib
                NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
            set(_chemin "${_chemin_${dll}}")
        endif()
        if(NOT EXISTS "${_chemin}")
            message(FATAL_ERROR "${dll} introuvable : le compilateur doit fournir son environnement d'exécution")
        endif()
        list(APPEND _fichiers "${_chemin}")
    endforeach()
    set(_bin "${CMAKE_BINARY_DIR}/bin")
    set(_plugins "")
    foreach(plugin platforms/qwindows.dll platforms/qoffscreen.dll platforms/qminimal.dll
            styles/qwindowsvistastyle.dll)
        get_filename_component(_dossier "${plugin}" DIRECTORY)
        list(APPEND _plugins COMMAND ${CMAKE_COMMAND} -E make_directory "${_bin}/${_dossier}"
            COMMAND ${CMAKE_COMMAND} -E copy_if_different "${_qt}/plugins/${plugin}" "${_bin}/${_dossier}/")
    endforeach()
    # Qt's French catalogue, for the standard buttons and menus: Debian's, of the same Qt version.
    find_file(BANC_QTBASE_FR qtbase_fr.qm PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
    if(BANC_QTBASE_FR)
        list(APPEND _plugins COMMAND ${CMAKE_COMMAND} -E make_directory "${_bin}/translations"
            COMMAND ${CMAKE_COMMAND} -E copy_if_different "${BANC_QTBASE_FR}" "${_bin}/translations/")
    else()
        message(WARNING "qtbase_fr.qm introuvable (paquet qt6-translations-l10n) : boutons standard en anglais")
    endif()
    add_custom_target(deploiement_windows ALL
        COMMAND ${CMAKE_COMMAND} -E make_directory "${_bin}"
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_fichiers} "${_bin}/"
        ${_plugins}
        COMMENT "Qt et l'environnement d'exécution copiés à côté des programmes"
        VERBATIM)
endfunction()
