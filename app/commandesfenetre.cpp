#include "commandesfenetre.h"

#include "sequencetarvo.h"

#include <QComboBox>
#include <QDateEdit>

CommandesFrmInit commandesFrmInit(AppelsSequence& bibliotheque)
{
    return {
        {QStringLiteral("cmdSelectActeCCAM"), &Commandes::selectionActe},
        {QStringLiteral("Command1"), &Commandes::testModificateurs},
        {QStringLiteral("Command2"), &Commandes::testPrix},
        {QStringLiteral("Command3"),
         [&bibliotheque](const ContexteCommande& contexte) {
             executerSequenceTarvo(contexte.messages, sourceSequence(contexte.fenetre), bibliotheque);
         }},
        {QStringLiteral("Command4"), &Commandes::testModificateursActe},
        {QStringLiteral("Command5"), &Commandes::codeRegroupementActe},
        {QStringLiteral("Command6"), &Commandes::rechercheLibelle},
        {QStringLiteral("Command7"), &Commandes::testListeActesCompatibles},
    };
}

SourceContexteSequence sourceSequence(const ControlesFenetre& fenetre)
{
    QDateEdit* date = fenetre.DTPicker1;
    QComboBox* grille = fenetre.CboGrille;
    SourceContexteSequence source;
    source.dateReference = [date] {
        return date->date().toString(u"yyyyMMdd");
    };
    source.grilleTarifaire = [grille] {
        return grille->currentText();
    };
    return source;
}
