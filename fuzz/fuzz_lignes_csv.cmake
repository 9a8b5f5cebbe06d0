banc_ajouter_fuzz(fuzz_lignes_csv SOURCES fuzz_lignes_csv.cpp commun/exigence.h LIBRARIES banc_magasin)
target_compile_definitions(fuzz_lignes_csv PRIVATE
    BANC_ECHANTILLON="${PROJECT_SOURCE_DIR}/components/magasin/echantillon")
