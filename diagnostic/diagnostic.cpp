#include "diagnostic.h"

#include "examencomposants.h"
#include "formatbinaire.h"
#include "rapportdiagnostic.h"
#include "sortieconsole.h"

int executerDiagnostic(const QString& progId, const FabriqueControle& fabrique, std::FILE* sortie)
{
    const ConstatControle controle = examinerControle(progId, fabrique);
    const ConstatBibliotheque bibliotheque = examinerBibliotheque();
    QStringList lignes;
    const int statut = rapportDiagnostic(controle, bibliotheque, FormatBinaire::bitsProgramme(), lignes);
    for (const QString& ligne : std::as_const(lignes))
        SortieConsole::ecrireLigne(sortie, ligne);
    return statut;
}
