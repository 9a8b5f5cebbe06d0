banc_ajouter_fuzz(fuzz_specialite SOURCES fuzz_specialite.cpp commun/exigence.h LIBRARIES banc_textes)
