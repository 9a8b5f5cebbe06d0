#include "commandes.h"
#include "contexterequete.h"
#include "conversions.h"
#include "membresctltarvo.h"
#include "servicemessages.h"
#include "utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>

namespace Commandes {

void testPrix(const ContexteCommande& contexte)
{
    ControlesFenetre& fenetre = contexte.fenetre;
    MembresCtlTarvo ctlTarvo1(contexte.ctlTarvo1);

    // This command alone writes the grid between the two writes of the restriction.
    ctlTarvo1.setSRTSeulement(0);
    ctlTarvo1.setGrilleTarifaire(grilleChoisie(fenetre.CboGrille));
    if (valeurCoche(fenetre.chkSRT) == 1)
        ctlTarvo1.setSRTSeulement(1);

    // Cancel gives the empty code, and the command goes on with it.
    QString codeActe = contexte.messages.saisirTexte(QStringLiteral("Code Acte CCAM"),
                                                     QStringLiteral("Recherche Information CCAM"), QString());
    ctlTarvo1.setCodeActeParReference(codeActe);
    ctlTarvo1.setDateReference(dateReference(fenetre.DTPicker1->date()));
    ctlTarvo1.setCheminConfig(Utils::repertoireConfiguration(contexte.sonde));

    const QString libelle = ctlTarvo1.LireLibelle();
    contexte.messages.afficherMessage(QStringLiteral("Libelle ") + libelle, titreApplication(),
                                      IconeMessage::Aucune);
    // Asked only once the operator has closed the label box.
    const QString prix = ctlTarvo1.LirePrix();
    contexte.messages.afficherMessage(QStringLiteral("Prix en centimes ") + prix, titreApplication(),
                                      IconeMessage::Aucune);
}

} // namespace Commandes
