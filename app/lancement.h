#pragma once

struct Implementations;

// The tool's start. Without arguments it opens the window as it always has; the options, our own addition
// (optionsbanc.cpp), record every call in a journal, or run something else than the window left to the
// operator: a scenario, a sweep over a list of acts, the comparison of two journals, the diagnostic. Returns
// the exit status (statutbanc.h). `argc` must outlive the call.
int lancerBancCcam(int& argc, char* argv[], const Implementations& implementations);
