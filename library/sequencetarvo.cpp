#include "sequencetarvo.h"

#include "servicemessages.h"
#include "tableautenu.h"
#include "tarvo.h"

namespace {

const QString repertoireConnexion = QStringLiteral("C:\\ProgramData\\santesocial\\fsv\\1.40.9\\conf");
const QString acteJlnl001 = QStringLiteral("JLNL001");
const QString acteLhqk005 = QStringLiteral("LHQK005");
const QString datePriseEnCharge = QStringLiteral("20080101");
const QString separateur = QStringLiteral(" / ");

// Null unless the array holds a record of this type at that index (tableautenu.h).
template<typename Enregistrement>
const Enregistrement* enregistrement(const TableauAuto* tableau, qint64 index)
{
    return reinterpret_cast<const Enregistrement*>(
        champsEnregistrement(tableau, sizeof(Enregistrement), index));
}

template<typename Enregistrement> PlageEnregistrements presents(const TableauAuto* tableau, qint64 lus)
{
    return enregistrementsPresents(tableau, sizeof(Enregistrement), lus);
}

// One box per step for the announced indices the array does not hold, so that a library announcing
// millions of records it never delivered costs the operator one box, not millions.
template<typename Enregistrement>
void signalerManquants(ServiceMessages& messages, const char* pointEntree, qint32 annonce, qint64 lus,
                       const TableauAuto* tableau)
{
    const QString manquants = enregistrementsManquants(QString::fromLatin1(pointEntree), annonce, lus,
                                                       tableau, sizeof(Enregistrement));
    if (!manquants.isEmpty())
        messages.afficherMessage(manquants, titreApplication(), IconeMessage::Avertissement);
}

class AppelsModuleTarvo final : public AppelsSequence
{
public:
    QString fichierCharge() const override { return tarvo::fichierCharge(); }

    qint32 Connection_Tarvo(qint32 reserve1, qint32 reserve2, qint32 reserve3,
                            const QString& repertoire) override
    {
        return tarvo::Connection_Tarvo(reserve1, reserve2, reserve3, repertoire);
    }
    qint32 ListeModificateurs_Tarvo(TableauAuto*& liste) override
    {
        return tarvo::ListeModificateurs_Tarvo(liste);
    }
    qint32 GetPrixUnitaireActeSupplement_Tarvo(const QString& code, qint32 activite, qint32 phase,
                                               const QString& date, const QString& grille,
                                               TableauAuto*& prix) override
    {
        return tarvo::GetPrixUnitaireActeSupplement_Tarvo(code, activite, phase, date, grille, prix);
    }
    qint32 GetPriseEnCharge_Tarvo(const QString& code, const QString& date,
                                  TableauAuto*& priseEnCharge) override
    {
        return tarvo::GetPriseEnCharge_Tarvo(code, date, priseEnCharge);
    }
    qint32 ListeCodeIncompatibilitesActe_Tarvo(const QString& code, TableauAuto*& liste) override
    {
        return tarvo::ListeCodeIncompatibilitesActe_Tarvo(code, liste);
    }
    qint32 ListeCodeAssociationActe_Tarvo(const QString& code, qint32 activite, TableauAuto*& liste) override
    {
        return tarvo::ListeCodeAssociationActe_Tarvo(code, activite, liste);
    }
    qint32 DeConnection_Tarvo() override { return tarvo::DeConnection_Tarvo(); }
};

} // namespace

ValeursFixesSequence valeursFixesSequence()
{
    return {repertoireConnexion, acteJlnl001, acteLhqk005, datePriseEnCharge};
}

AppelsSequence& appelsTarvo()
{
    static AppelsModuleTarvo module;
    return module;
}

void executerSequenceTarvo(ServiceMessages& messages, const SourceContexteSequence& source,
                           AppelsSequence& appels)
{
    const QString titre = titreApplication();
    TableauTenu liste(sizeof(EnregistrementListe));
    TableauTenu prix(sizeof(EnregistrementPrix));
    TableauTenu priseEnCharge(sizeof(EnregistrementPriseEnCharge));

    const auto signaler = [&source](int etape, const char* pointEntree, qint32 resultat) {
        if (source.apresAppel)
            source.apresAppel(etape, QString::fromLatin1(pointEntree), resultat);
    };

    signaler(1, "Connection_Tarvo", appels.Connection_Tarvo(0, 1, 0, repertoireConnexion));

    liste.reinitialiser();
    qint32 nombre = appels.ListeModificateurs_Tarvo(liste.variable());
    signaler(2, "ListeModificateurs_Tarvo", nombre);
    if (nombre >= 1) {
        if (const auto* e = enregistrement<EnregistrementListe>(liste.tableau(), 0))
            messages.afficherMessage(texteAuto(e->texte1) + QLatin1Char(' ') + texteAuto(e->texte2), titre,
                                     IconeMessage::Aucune);
        signalerManquants<EnregistrementListe>(messages, "ListeModificateurs_Tarvo", nombre, 1,
                                               liste.tableau());
    } else {
        messages.afficherMessage(QStringLiteral("La liste des modificateurs est vide."), titre,
                                 IconeMessage::Aucune);
    }

    prix.reinitialiser();
    const QString dateReference = source.dateReference ? source.dateReference() : QString();
    const QString grille = source.grilleTarifaire ? source.grilleTarifaire() : QString();
    nombre =
        appels.GetPrixUnitaireActeSupplement_Tarvo(acteJlnl001, 1, 0, dateReference, grille, prix.variable());
    signaler(3, "GetPrixUnitaireActeSupplement_Tarvo", nombre);
    if (nombre >= 1) {
        if (const auto* e = enregistrement<EnregistrementPrix>(prix.tableau(), 0))
            messages.afficherMessage(texteAuto(e->texte1) + separateur + texteAuto(e->texte2), titre,
                                     IconeMessage::Aucune);
        signalerManquants<EnregistrementPrix>(messages, "GetPrixUnitaireActeSupplement_Tarvo", nombre, 1,
                                              prix.tableau());
    } else {
        messages.afficherMessage(QStringLiteral("Pas d'information de prix pour JLNL001"), titre,
                                 IconeMessage::Aucune);
    }

    priseEnCharge.reinitialiser();
    nombre = appels.GetPriseEnCharge_Tarvo(acteJlnl001, datePriseEnCharge, priseEnCharge.variable());
    signaler(4, "GetPriseEnCharge_Tarvo", nombre);
    if (nombre >= 1) {
        if (const auto* e = enregistrement<EnregistrementPriseEnCharge>(priseEnCharge.tableau(), 0))
            messages.afficherMessage(texteAuto(e->texte1) + separateur + texteAuto(e->texte3) + separateur +
                                         texteAuto(e->texte4) + separateur + texteAuto(e->texte5) +
                                         separateur + texteAuto(e->texte2),
                                     titre, IconeMessage::Aucune);
        signalerManquants<EnregistrementPriseEnCharge>(messages, "GetPriseEnCharge_Tarvo", nombre, 1,
                                                       priseEnCharge.tableau());
    }

    liste.reinitialiser();
    nombre = appels.ListeCodeIncompatibilitesActe_Tarvo(acteJlnl001, liste.variable());
    signaler(5, "ListeCodeIncompatibilitesActe_Tarvo", nombre);
    if (nombre >= 1) {
        const QString legende = QString::number(nombre) + QStringLiteral(" Résultat(s)");
        const PlageEnregistrements lisibles = presents<EnregistrementListe>(liste.tableau(), nombre);
        for (qint64 i = lisibles.debut; i < lisibles.fin; ++i)
            if (const auto* e = enregistrement<EnregistrementListe>(liste.tableau(), i))
                messages.afficherMessage(texteAuto(e->texte1) + separateur + texteAuto(e->texte2), legende,
                                         IconeMessage::Information);
        signalerManquants<EnregistrementListe>(messages, "ListeCodeIncompatibilitesActe_Tarvo", nombre,
                                               nombre, liste.tableau());
    }

    // The list array goes on as step 5 left it.
    nombre = appels.ListeCodeAssociationActe_Tarvo(acteLhqk005, 1, liste.variable());
    signaler(6, "ListeCodeAssociationActe_Tarvo", nombre);
    if (nombre >= 1) {
        const PlageEnregistrements lisibles = presents<EnregistrementListe>(liste.tableau(), nombre);
        for (qint64 i = lisibles.debut; i < lisibles.fin; ++i)
            if (const auto* e = enregistrement<EnregistrementListe>(liste.tableau(), i))
                messages.afficherMessage(texteAuto(e->texte1) + separateur + texteAuto(e->texte2),
                                         QStringLiteral("Association %1 sur %2").arg(i + 1).arg(nombre),
                                         IconeMessage::Information);
        signalerManquants<EnregistrementListe>(messages, "ListeCodeAssociationActe_Tarvo", nombre, nombre,
                                               liste.tableau());
    }

    signaler(7, "DeConnection_Tarvo", appels.DeConnection_Tarvo());
}
