banc_ajouter_fuzz(fuzz_codes SOURCES fuzz_codes.cpp commun/exigence.h LIBRARIES banc_journal)
