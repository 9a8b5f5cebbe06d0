# Read by cpack before each generator: the installer's name says what it is, beside the ZIP of the same tool.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
