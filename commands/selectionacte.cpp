#include "commandes.h"
#include "contexterequete.h"
#include "conversions.h"
#include "lignesenregistrements.h"
#include "membresctltarvo.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace Commandes {

void RemplirListeModificateurs(QComboBox* liste, const QString& listePipe)
{
    liste->clear();
    if (listePipe.isEmpty())
        return;
    const QStringList entrees = entreesModificateurs(listePipe);
    if (entrees.isEmpty())
        return;
    liste->addItems(entrees);
    liste->setCurrentIndex(0);
}

void selectionActe(const ContexteCommande& contexte)
{
    ControlesFenetre& fenetre = contexte.fenetre;
    MembresCtlTarvo ctlTarvo1(contexte.ctlTarvo1);

    ecrireRestrictionSrt(ctlTarvo1, fenetre.chkSRT);
    ctlTarvo1.setGrilleTarifaire(grilleChoisie(fenetre.CboGrille));
    // Converted before anything is written: a specialty beyond 32 bits stops the command here.
    qint32 specialite = codeSpecialite(fenetre.txtSpecialite->text());
    ctlTarvo1.setCodeSpecialite(specialite);
    ctlTarvo1.setCodeActe(fenetre.txtCodeCCAM->text());
    ctlTarvo1.setDateReference(dateReference(fenetre.DTPicker1->date()));
    ctlTarvo1.setCheminConfig(fenetre.TXTCheminSESAM->text());

    ctlTarvo1.SelectionActe();

    fenetre.txtCodeCCAM->setText(ctlTarvo1.CodeActe());
    fenetre.TxtLibCourt->setText(ctlTarvo1.LibelleCourtActe());
    fenetre.TextLiblong->setPlainText(ctlTarvo1.LibelleLongActe());
    RemplirListeModificateurs(fenetre.cboMod, ctlTarvo1.Modificateurs());
    RemplirListeModificateurs(fenetre.cboModAct1, ctlTarvo1.ModificateursActivite1());
    RemplirListeModificateurs(fenetre.cboModAct4, ctlTarvo1.ModificateursActivite4());
    RemplirListeModificateurs(fenetre.cboModAct5, ctlTarvo1.ModificateursActivite5());
    fenetre.TxtPrix->setText(ctlTarvo1.PrixActe());
    fenetre.TxtRegroupement->setText(ctlTarvo1.CodeRegroupement());
}

} // namespace Commandes
