#pragma once

#include "magasinccam.h"

#include <QHash>
#include <QVariant>

// The written properties of the control, by dispatch identifier, as the host last wrote them.
using ProprietesEcrites = QHash<qint32, QVariant>;

// A written value as text: texts as they are, integers in decimal, nothing written as empty.
QString texteValeur(const QVariant& valeur);

// The query context the written properties describe, read when a query runs (not when written, so a
// write never fails and a bad value is reported by the query that would have used it).
// Throws Echec (EchecComposant) naming the property for a malformed DateReference, GrilleTarifaire,
// CodeSpecialite or SRTSeulement.
ContexteRequete contexteDepuisProprietes(const ProprietesEcrites& proprietes);

// The act code of CodeActe as the store wants it: surrounding spaces dropped, upper case.
QString codeActeDepuisProprietes(const ProprietesEcrites& proprietes);
