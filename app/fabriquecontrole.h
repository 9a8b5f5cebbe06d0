#pragma once

#include "controledispatch.h"

#include <QString>

// The act-selection control ctlTarvo1 is, as `--controle` names it: "interne" is our own component, in
// process; any other name is a COM control registered under that ProgID or "{CLSID}" (Windows only). An empty
// name is the platform's default: "LectTarvo.ctlTarvo" on Windows, our component elsewhere. A name this
// system cannot host gives an empty factory and says why in `erreur`.
FabriqueControle fabriqueControle(const QString& nom, QString& erreur);

// The platform's default control.
FabriqueControle fabriqueControlePlateforme();

inline constexpr char16_t controleInterne[] = u"interne";
// The ProgID the Windows factory creates unless told otherwise.
inline constexpr char16_t progIdCtlTarvo[] = u"LectTarvo.ctlTarvo";
