#pragma once

#include "rapportdiagnostic.h"

#include <QString>

// What the system says of the components without running them; one file per platform.
namespace SondeComposants {

// The control behind `progId` as registration makes it (on Windows the registry of both scopes, the server's
// file); elsewhere our component linked into the program. Creation and identifiers are left to the caller.
ConstatControle inscriptionControle(const QString& progId);

// The file's version resource "a.b.c.d"; empty when it has none (always, away from Windows).
QString versionFichier(const QString& chemin);

} // namespace SondeComposants
