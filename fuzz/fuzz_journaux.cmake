banc_ajouter_fuzz(fuzz_journaux SOURCES fuzz_journaux.cpp commun/exigence.h LIBRARIES banc_journal)
