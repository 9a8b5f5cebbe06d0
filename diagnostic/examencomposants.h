#pragma once

#include "controledispatch.h"
#include "rapportdiagnostic.h"

// The two components examined the way the tool reaches them.

// What registration makes of `progId`, and the control created through `fabrique` asked for the 22
// identifiers by name.
ConstatControle examinerControle(const QString& progId, const FabriqueControle& fabrique);

// The library the tool's search loads (or exactly `chemin`): its file, whether it is ours, and its 39 entry
// points under their bare names, a missing one looked up decorated too. Leaves the library loaded by the
// tool's module unchanged.
ConstatBibliotheque examinerBibliotheque(const QString& chemin = {});

// The control's class and server file as registration gives them, for the journal: no creation.
struct IdentiteControle
{
    QString clsid; // empty for a component linked into the program
    QString serveur;
};
IdentiteControle identiteControle(const QString& progId);
