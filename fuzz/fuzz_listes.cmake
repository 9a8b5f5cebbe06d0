banc_ajouter_fuzz(fuzz_listes SOURCES fuzz_listes.cpp commun/exigence.h LIBRARIES banc_textes)
