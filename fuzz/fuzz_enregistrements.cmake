# The programmable library the sequence is pointed at: plain, as a library delivered by another
# party would be; it shares the automation library, hence the allocator, with the tool.
add_library(FuzzTarvoProgramme SHARED
    enregistrements/programmetarvo.h enregistrements/tarvoprogramme.cpp)
set_target_properties(FuzzTarvoProgramme PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
target_compile_definitions(FuzzTarvoProgramme PRIVATE TARVOLIB_CONSTRUCTION)
target_include_directories(FuzzTarvoProgramme PRIVATE ${PROJECT_SOURCE_DIR}/library)
target_link_libraries(FuzzTarvoProgramme PRIVATE banc_automation banc_options)
add_dependencies(fuzz_tous FuzzTarvoProgramme)

banc_ajouter_fuzz(fuzz_enregistrements
    SOURCES fuzz_enregistrements.cpp enregistrements/programmetarvo.h commun/exigence.h
    LIBRARIES banc_library banc_socle ${CMAKE_DL_LIBS})
target_compile_definitions(fuzz_enregistrements PRIVATE CHEMIN_TARVO_PROGRAMME="$<TARGET_FILE:FuzzTarvoProgramme>")
add_dependencies(fuzz_enregistrements FuzzTarvoProgramme)
