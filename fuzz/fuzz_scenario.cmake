banc_ajouter_fuzz(fuzz_scenario SOURCES fuzz_scenario.cpp commun/exigence.h LIBRARIES banc_journal)
