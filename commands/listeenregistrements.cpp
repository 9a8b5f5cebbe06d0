#include "commandes.h"
#include "contexterequete.h"
#include "conversions.h"
#include "lignesenregistrements.h"
#include "membresctltarvo.h"
#include "remplirlist1.h"
#include "utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>

namespace {

using Requete = QString (MembresCtlTarvo::*)();

enum class Grille
{
    Ecrite,
    NonEcrite
};

// One act's records of two fields into List1: the procedure of Command4 and Command5, and of
// Command7, which alone leaves the tariff grid as an earlier command wrote it.
void listeEnregistrementsActe(const ContexteCommande& contexte, Requete requete, Grille grille)
{
    ControlesFenetre& fenetre = contexte.fenetre;
    if (!codeActePresent(contexte))
        return;
    MembresCtlTarvo ctlTarvo1(contexte.ctlTarvo1);

    ecrireRestrictionSrt(ctlTarvo1, fenetre.chkSRT);
    if (grille == Grille::Ecrite)
        ctlTarvo1.setGrilleTarifaire(grilleChoisie(fenetre.CboGrille));
    ctlTarvo1.setDateReference(dateReference(fenetre.DTPicker1->date()));
    ctlTarvo1.setCheminConfig(Utils::repertoireConfiguration(contexte.sonde));
    ctlTarvo1.setCodeActe(fenetre.txtCodeCCAM->text());

    const QString reponse = (ctlTarvo1.*requete)();
    remplirList1(fenetre.List1, lignesEnregistrements(reponse, FormatPaire));
}

} // namespace

namespace Commandes {

void testModificateursActe(const ContexteCommande& contexte)
{
    listeEnregistrementsActe(contexte, &MembresCtlTarvo::LireModificateursActe, Grille::Ecrite);
}

void codeRegroupementActe(const ContexteCommande& contexte)
{
    listeEnregistrementsActe(contexte, &MembresCtlTarvo::LireRegroupements, Grille::Ecrite);
}

void testListeActesCompatibles(const ContexteCommande& contexte)
{
    listeEnregistrementsActe(contexte, &MembresCtlTarvo::LireActesCompatibles, Grille::NonEcrite);
}

} // namespace Commandes
