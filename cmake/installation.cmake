# What `cmake --install` and the packages put on a user's computer: the programs, our library and the
# automation library they share, the sample database, the shipped scenarios, and the documents. Nothing of the
# tests or the benchmarks.
#
# Linux follows the GNU layout, programs in bin/ finding their private libraries in lib/banc-ccam through a
# relative RUNPATH and the data in share/banc-ccam. Windows loads a DLL from the program's own folder only, so
# everything sits in one folder there, and our stand-ins are kept apart in demonstration\ (the installer puts
# them beside the tool only when asked, see cmake/paquets.cmake).
include(GNUInstallDirs)

if(WIN32)
    set(BANC_DEST_PROGRAMMES .)
    set(BANC_DEST_BIBLIOTHEQUES .)
    set(BANC_DEST_DONNEES .)
    set(BANC_DEST_DOCUMENTS .)
    set(BANC_DEST_DEMONSTRATION demonstration)
else()
    set(BANC_DEST_PROGRAMMES ${CMAKE_INSTALL_BINDIR})
    set(BANC_DEST_BIBLIOTHEQUES ${CMAKE_INSTALL_LIBDIR}/banc-ccam)
    set(BANC_DEST_DONNEES ${CMAKE_INSTALL_DATADIR}/banc-ccam)
    set(BANC_DEST_DOCUMENTS ${CMAKE_INSTALL_DATAROOTDIR}/doc/banc-ccam)
    set(BANC_DEST_DEMONSTRATION ${BANC_DEST_BIBLIOTHEQUES})
endif()

# The store looks for the sample from the folder of whoever opens it: the tool's control (the programs'
# folder) or our library (its own folder). Relative paths keep the tree movable (a .tar.gz unpacked anywhere).
file(RELATIVE_PATH _depuis_programmes "/racine/${BANC_DEST_PROGRAMMES}" "/racine/${BANC_DEST_DONNEES}")
file(RELATIVE_PATH _depuis_bibliotheques "/racine/${BANC_DEST_DEMONSTRATION}" "/racine/${BANC_DEST_DONNEES}")
target_compile_definitions(banc_magasin PRIVATE
    BANC_ECHANTILLON_DEPUIS_PROGRAMMES="${_depuis_programmes}"
    BANC_ECHANTILLON_DEPUIS_BIBLIOTHEQUES="${_depuis_bibliotheques}")

# The programs reach the automation library at start and dlopen our library by name: both through RUNPATH.
file(RELATIVE_PATH _vers_bibliotheques "/racine/${BANC_DEST_PROGRAMMES}" "/racine/${BANC_DEST_BIBLIOTHEQUES}")
set(_programmes banc-ccam tarvo-verifier)
if(TARGET ccam-import AND NOT WIN32)
    list(APPEND _programmes ccam-import)
endif()
if(NOT WIN32)
    set_target_properties(${_programmes} PROPERTIES INSTALL_RPATH "$ORIGIN/${_vers_bibliotheques}")
endif()

install(TARGETS ${_programmes} RUNTIME DESTINATION ${BANC_DEST_PROGRAMMES})
# The automation library belongs to the tool (one allocator for both sides); a real library never brings it.
install(TARGETS banc_automation
    RUNTIME DESTINATION ${BANC_DEST_BIBLIOTHEQUES}
    LIBRARY DESTINATION ${BANC_DEST_BIBLIOTHEQUES} NAMELINK_SKIP)

# Our stand-ins and the store they answer from. On Linux they are the only components there are.
install(TARGETS TarvoLib
    RUNTIME DESTINATION ${BANC_DEST_DEMONSTRATION}
    LIBRARY DESTINATION ${BANC_DEST_DEMONSTRATION} NAMELINK_SKIP)
if(TARGET LecTarvo)
    install(TARGETS LecTarvo LIBRARY DESTINATION ${BANC_DEST_DEMONSTRATION})
endif()
if(TARGET ccam_echantillon)
    if(WIN32)
        set(_dest_echantillon ${BANC_DEST_DEMONSTRATION})
    else()
        set(_dest_echantillon ${BANC_DEST_DONNEES})
    endif()
    install(FILES ${CMAKE_BINARY_DIR}/bin/ccam-echantillon.sqlite DESTINATION ${_dest_echantillon})
endif()

file(GLOB _scenarios CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/scenarios/*.jsonl)
if(WIN32)
    install(FILES ${_scenarios} DESTINATION scenarios)
else()
    install(FILES ${_scenarios} DESTINATION ${BANC_DEST_DONNEES}/scenarios)
endif()

if(WIN32)
    # What the build copied beside the programs (cmake/windows.cmake), less Qt's test library: Qt, its
    # platform plugins (offscreen plays the scenarios), the style, Qt's French catalogue, the compiler's runtime.
    set(_bin ${CMAKE_BINARY_DIR}/bin)
    list(TRANSFORM BANC_RUNTIME_WINDOWS PREPEND ${_bin}/ OUTPUT_VARIABLE _runtime)
    install(FILES ${_bin}/Qt6Core.dll ${_bin}/Qt6Gui.dll ${_bin}/Qt6Widgets.dll ${_runtime} DESTINATION .)
    # The compiler's runtime comes with its debugging sections (18 MB of libstdc++'s 21): stripped as the
    # programs are, when the install strips (the packages do).
    if(CMAKE_STRIP)
        install(CODE "
            if(CMAKE_INSTALL_DO_STRIP)
                foreach(dll ${BANC_RUNTIME_WINDOWS})
                    execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug
                        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${dll}\" COMMAND_ERROR_IS_FATAL ANY)
                endforeach()
            endif()")
    endif()
    install(FILES ${_bin}/platforms/qwindows.dll ${_bin}/platforms/qoffscreen.dll DESTINATION platforms)
    install(FILES ${_bin}/styles/qwindowsvistastyle.dll DESTINATION styles)
    if(BANC_QTBASE_FR)
        install(FILES ${BANC_QTBASE_FR} DESTINATION translations)
    endif()
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/LISEZMOI.txt DESTINATION .)
else()
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/banc-ccam.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/banc-ccam.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${BANC_DEST_DOCUMENTS})
install(FILES ${PROJECT_SOURCE_DIR}/components/composant/README.md
    DESTINATION ${BANC_DEST_DOCUMENTS} RENAME README-composant.md)
install(FILES ${PROJECT_SOURCE_DIR}/components/magasin/README.md
    DESTINATION ${BANC_DEST_DOCUMENTS} RENAME README-magasin.md)
if(WIN32)
    install(FILES ${PROJECT_SOURCE_DIR}/components/lectarvo/README.md
        DESTINATION ${BANC_DEST_DOCUMENTS} RENAME README-lectarvo.md)
endif()

# Exactly what the rules above install, for a package built without the tests and benchmarks:
# `cmake --build --preset release --target banc_installables` before `cpack --preset release`.
add_custom_target(banc_installables)
add_dependencies(banc_installables ${_programmes} banc_automation TarvoLib)
foreach(cible LecTarvo ccam_echantillon deploiement_windows)
    if(TARGET ${cible})
        add_dependencies(banc_installables ${cible})
    endif()
endforeach()
# The store's test lays out both places and checks the order they are looked in.
if(TARGET tst_magasinccam)
    target_compile_definitions(tst_magasinccam PRIVATE
        BANC_ECHANTILLON_DEPUIS_PROGRAMMES="${_depuis_programmes}"
        BANC_ECHANTILLON_DEPUIS_BIBLIOTHEQUES="${_depuis_bibliotheques}")
endif()
