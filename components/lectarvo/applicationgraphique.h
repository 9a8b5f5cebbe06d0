#pragma once

// Makes sure a QApplication runs on this thread before a widget is made. A host that has one (the tool)
// keeps its own; a host with no Qt (a script host, a plain C++ client) gets one, created here once on the
// calling apartment's thread and kept until the process ends. Throws Echec when the host runs a Qt
// application without widgets, where no dialog can be shown.
void assurerApplicationGraphique();

// Whether this server made the process's QApplication: it may then never be unloaded.
bool applicationCreeeParLeServeur();
