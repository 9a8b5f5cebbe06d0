#pragma once

#include "automation.h"

#include <QString>
#include <functional>

class ServiceMessages;

// The seven entry points the sequence calls, behind one interface so that a journal can be slipped
// between the sequence and the library without the sequence knowing. Same contract as module tarvo.
class AppelsSequence
{
public:
    virtual ~AppelsSequence() = default;

    virtual qint32 Connection_Tarvo(qint32 reserve1, qint32 reserve2, qint32 reserve3,
                                    const QString& repertoire) = 0;
    virtual qint32 ListeModificateurs_Tarvo(TableauAuto*& liste) = 0;
    virtual qint32 GetPrixUnitaireActeSupplement_Tarvo(const QString& code, qint32 activite, qint32 phase,
                                                       const QString& date, const QString& grille,
                                                       TableauAuto*& prix) = 0;
    virtual qint32 GetPriseEnCharge_Tarvo(const QString& code, const QString& date,
                                          TableauAuto*& priseEnCharge) = 0;
    virtual qint32 ListeCodeIncompatibilitesActe_Tarvo(const QString& code, TableauAuto*& liste) = 0;
    virtual qint32 ListeCodeAssociationActe_Tarvo(const QString& code, qint32 activite,
                                                  TableauAuto*& liste) = 0;
    virtual qint32 DeConnection_Tarvo() = 0;

    // The full path of the library file once loaded; empty before, or for calls that load no file.
    virtual QString fichierCharge() const { return {}; }
};

// The module tarvo itself: the library found by name and loaded on first use.
AppelsSequence& appelsTarvo();

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
void executerSequenceTarvo(ServiceMessages& messages, const SourceContexteSequence& source,
                           AppelsSequence& appels);
