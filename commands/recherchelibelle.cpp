#include "commandes.h"
#include "contexterequete.h"
#include "conversions.h"
#include "membresctltarvo.h"
#include "utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>

namespace Commandes {

void rechercheLibelle(const ContexteCommande& contexte)
{
    ControlesFenetre& fenetre = contexte.fenetre;
    if (!codeActePresent(contexte))
        return;
    MembresCtlTarvo ctlTarvo1(contexte.ctlTarvo1);

    ecrireRestrictionSrt(ctlTarvo1, fenetre.chkSRT);
    ctlTarvo1.setGrilleTarifaire(grilleChoisie(fenetre.CboGrille));
    ctlTarvo1.setDateReference(dateReference(fenetre.DTPicker1->date()));
    ctlTarvo1.setCheminConfig(Utils::repertoireConfiguration(contexte.sonde));
    ctlTarvo1.setCodeActe(fenetre.txtCodeCCAM->text());

    // The short label shows before the long one is asked for: a failure of the second leaves it.
    fenetre.txtLibCCAM->setText(ctlTarvo1.LireLibelle());
    fenetre.txtLibLongCCAM->setText(ctlTarvo1.LireLibelleLong());
}

} // namespace Commandes
