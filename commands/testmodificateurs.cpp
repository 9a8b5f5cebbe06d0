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

namespace Commandes {

void testModificateurs(const ContexteCommande& contexte)
{
    ControlesFenetre& fenetre = contexte.fenetre;
    MembresCtlTarvo ctlTarvo1(contexte.ctlTarvo1);

    ecrireRestrictionSrt(ctlTarvo1, fenetre.chkSRT);
    ctlTarvo1.setGrilleTarifaire(grilleChoisie(fenetre.CboGrille));
    ctlTarvo1.setDateReference(dateReference(fenetre.DTPicker1->date()));
    ctlTarvo1.setCheminConfig(Utils::repertoireConfiguration(contexte.sonde));

    const QString reponse = ctlTarvo1.LireModificateurs();
    remplirList1(fenetre.List1, lignesEnregistrements(reponse, FormatModificateurs));
}

} // namespace Commandes
