#pragma once

struct Implementations;

// The tool's start. Without arguments it opens the window as it always has; the options are our own
// addition: --journal FICHIER records every call, --scenario FICHIER plays a scenario without showing the
// window, --balayage FICHIER runs the act commands over a list of acts, --comparer A B compares two
// journals. Returns the exit status. `argc` must outlive the call.
int lancerBancCcam(int& argc, char* argv[], const Implementations& implementations);
