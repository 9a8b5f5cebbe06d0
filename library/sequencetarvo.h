#pragma once

#include <QString>
#include <functional>

class ServiceMessages;

// The two window values the price call of the sequence needs, read at the moment it needs them.
struct SourceContexteSequence
{
    std::function<QString()> dateReference;   // "YYYYMMDD"
    std::function<QString()> grilleTarifaire; // text of the selected grid entry
    // Optional: told after each library call, for a caller that reports the steps themselves.
    std::function<void(int etape, const QString& pointEntree, qint32 resultat)> apresAppel;
};

// The fixed test values of the sequence, for a caller that reports what was tested.
struct ValeursFixesSequence
{
    QString repertoireConnexion; // step 1
    QString acte;                // steps 3 to 5
    QString acteAssociation;     // step 6
    QString datePriseEnCharge;   // step 4
};
ValeursFixesSequence valeursFixesSequence();

// The fixed sequence of calls made straight on the classification library, each result reported
// in a message box. Throws Echec when the library or an entry point cannot be found; the arrays are
// released on every path. Records announced by the library but absent from the array it delivered are
// never read: one warning box per step names the indices missing.
void executerSequenceTarvo(ServiceMessages& messages, const SourceContexteSequence& source);
