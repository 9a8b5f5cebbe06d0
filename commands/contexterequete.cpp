#include "contexterequete.h"

#include "commandes.h"
#include "listepipe.h"
#include "membresctltarvo.h"
#include "servicemessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

int valeurCoche(const QCheckBox* caseACocher)
{
    switch (caseACocher->checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    }
    return 0;
}

void ecrireRestrictionSrt(MembresCtlTarvo& ctlTarvo1, const QCheckBox* chkSRT)
{
    ctlTarvo1.setSRTSeulement(0);
    if (valeurCoche(chkSRT) == 1)
        ctlTarvo1.setSRTSeulement(1);
}

QString grilleChoisie(const QComboBox* liste)
{
    return liste->itemText(liste->currentIndex());
}

bool codeActePresent(const ContexteCommande& contexte)
{
    if (!rognerEspaces(contexte.fenetre.txtCodeCCAM->text()).isEmpty())
        return true;
    contexte.messages.afficherMessage(QStringLiteral("Pas de Code CCAM séléctionné !"),
                                      QStringLiteral("ATTENTION"), IconeMessage::Critique);
    return false;
}
