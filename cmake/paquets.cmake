# What CPack makes of the install rules (cmake/installation.cmake): on Linux a .deb whose dependencies
# dpkg-shlibdeps computes and a .tar.gz; on Windows a ZIP and an NSIS installer (packaging/NSIS.template.in).
# `cpack --preset release`, `cpack --preset windows-x86`.
set(CPACK_PACKAGE_NAME banc-ccam)
set(CPACK_PACKAGE_VENDOR "Banc d'essai CCAM")
set(CPACK_PACKAGE_CONTACT "Banc d'essai CCAM <banc-ccam@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Banc d'essai du contrôle de sélection d'actes CCAM et de la bibliothèque de classification")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Banc d'essai CCAM")
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/paquets-generateur.cmake)

if(WIN32)
    set(CPACK_GENERATOR ZIP NSIS)
    set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${BANC_SUFFIXE_PAQUETS})
    # Our own template: per-user install, the optional stand-ins, the system check.
    set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging)
    # The installer puts the stand-ins beside the tool, not in demonstration\ as the ZIP does: its uninstaller
    # removes them from there, and only when it installed them.
    set(CPACK_BANC_NSIS_NOTER_DEMONSTRATION "")
    set(CPACK_BANC_NSIS_SUPPRIMER_DEMONSTRATION "")
    foreach(fichier TarvoLib.dll LecTarvo.ocx ccam-echantillon.sqlite)
        string(APPEND CPACK_BANC_NSIS_NOTER_DEMONSTRATION "    !insertmacro NoterDemonstration \"${fichier}\"\n")
        string(APPEND CPACK_BANC_NSIS_SUPPRIMER_DEMONSTRATION "    !insertmacro SupprimerDemonstration \"${fichier}\"\n")
    endforeach()
else()
    set(CPACK_GENERATOR DEB TGZ)
    set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION science)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # Our two private libraries come with the package: dpkg-shlibdeps must not look for them elsewhere.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_INSTALL_LIBDIR}/banc-ccam)
    # Qt's standard buttons in French: its catalogue, which no library links.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "La fenêtre du banc, le vérificateur de la bibliothèque, l'importeur de la CCAM,\nnos composants de démonstration et une base d'échantillon.")
endif()

include(CPack)
