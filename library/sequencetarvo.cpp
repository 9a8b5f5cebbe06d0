#include "sequencetarvo.h"

#include "servicemessages.h"
#include "tarvo.h"

#include <new>

namespace {

const QString repertoireConnexion = QStringLiteral("C:\\ProgramData\\santesocial\\fsv\\1.40.9\\conf");
const QString acteJlnl001 = QStringLiteral("JLNL001");
const QString acteLhqk005 = QStringLiteral("LHQK005");
const QString datePriseEnCharge = QStringLiteral("20080101");
const QString separateur = QStringLiteral(" / ");

// Owns the array variable handed to the library: whatever the library left there (the array it was given,
// a resized one or a replacement) is released with all its texts when the run ends, failures included.
class TableauTenu
{
public:
    explicit TableauTenu(uint32_t tailleElement)
        : m_tailleElement(tailleElement)
    {}
    ~TableauTenu() { liberer(); }
    TableauTenu(const TableauTenu&) = delete;
    TableauTenu& operator=(const TableauTenu&) = delete;

    TableauAuto*& variable() { return m_tableau; }
    const TableauAuto* tableau() const { return m_tableau; }

    // Exactly one record, index 0, every text empty.
    void reinitialiser()
    {
        liberer();
        m_tableau = tableauAutoCreer(m_tailleElement, 0, 1);
        if (m_tableau == nullptr)
            throw std::bad_alloc();
    }

private:
    void liberer()
    {
        if (m_tableau == nullptr)
            return;
        // A library that leaves its array locked breaks the contract; the texts are ours to free all the
        // same.
        while (m_tableau->verrous > 0 && tableauAutoDeverrouiller(m_tableau) == AutoReussi) {
        }
        tableauAutoDetruire(m_tableau);
        m_tableau = nullptr;
    }

    uint32_t m_tailleElement;
    TableauAuto* m_tableau = nullptr;
};

// Null unless the array holds a record of this type at that index: the index is tested against the array's
// own lower bound and count, never taken on the library's word.
template<typename Enregistrement>
const Enregistrement* enregistrement(const TableauAuto* tableau, qint64 index)
{
    if (tableau == nullptr || tableau->nombreDimensions != 1 ||
        tableau->tailleElement != sizeof(Enregistrement) || tableau->donnees == nullptr)
        return nullptr;
    const qint64 premier = tableau->bornes[0].borneInferieure;
    if (index < premier || index >= premier + qint64{tableau->bornes[0].nombre})
        return nullptr;
    return static_cast<const Enregistrement*>(tableau->donnees) + (index - premier);
}

QString texte(TexteAuto handle)
{
    return handle == nullptr ? QString() : QString::fromUtf16(handle, texteAutoLongueur(handle));
}

template<typename Enregistrement> QString descriptionTableau(const TableauAuto* tableau)
{
    if (tableau == nullptr)
        return QStringLiteral("aucun tableau n'est livré");
    if (tableau->nombreDimensions != 1)
        return QStringLiteral("le tableau livré a %1 dimensions").arg(tableau->nombreDimensions);
    if (tableau->tailleElement != sizeof(Enregistrement))
        return QStringLiteral("le tableau livré contient des enregistrements de %1 octets au lieu de %2")
            .arg(tableau->tailleElement)
            .arg(sizeof(Enregistrement));
    if (tableau->bornes[0].nombre == 0)
        return QStringLiteral("le tableau livré est vide");
    if (tableau->donnees == nullptr)
        return QStringLiteral("le tableau livré n'a pas de données");
    const qint64 premier = tableau->bornes[0].borneInferieure;
    return QStringLiteral("le tableau livré va de l'indice %1 à l'indice %2")
        .arg(premier)
        .arg(premier + tableau->bornes[0].nombre - 1);
}

// The indices from 0 to lus - 1 that the array really holds, as [debut, fin); empty when it holds none.
struct Plage
{
    qint64 debut = 0;
    qint64 fin = 0;
};

template<typename Enregistrement> Plage presents(const TableauAuto* tableau, qint64 lus)
{
    if (tableau == nullptr ||
        enregistrement<Enregistrement>(tableau, tableau->bornes[0].borneInferieure) == nullptr)
        return {};
    const qint64 premier = tableau->bornes[0].borneInferieure;
    const Plage lisibles{qMax<qint64>(premier, 0),
                         qMin<qint64>(premier + qint64{tableau->bornes[0].nombre}, lus)};
    return lisibles.debut < lisibles.fin ? lisibles : Plage{};
}

QString indices(qint64 debut, qint64 fin)
{
    return debut == fin ? QString::number(debut) : QStringLiteral("%1 à %2").arg(debut).arg(fin);
}

// One box per step for the announced indices the array does not hold, so that a library announcing
// millions of records it never delivered costs the operator one box, not millions.
template<typename Enregistrement>
void signalerManquants(ServiceMessages& messages, const char* pointEntree, qint32 annonce, qint64 lus,
                       const TableauAuto* tableau)
{
    const Plage lisibles = presents<Enregistrement>(tableau, lus);
    QStringList manquants;
    if (lisibles.debut == lisibles.fin) {
        manquants.append(indices(0, lus - 1));
    } else {
        if (lisibles.debut > 0)
            manquants.append(indices(0, lisibles.debut - 1));
        if (lisibles.fin < lus)
            manquants.append(indices(lisibles.fin, lus - 1));
    }
    if (manquants.isEmpty())
        return;
    messages.afficherMessage(
        QStringLiteral("%1 annonce %2 enregistrement(s), mais %3 ; indice(s) non lu(s) : %4.")
            .arg(QString::fromLatin1(pointEntree))
            .arg(annonce)
            .arg(descriptionTableau<Enregistrement>(tableau), manquants.join(QStringLiteral(" et "))),
        titreApplication(), IconeMessage::Avertissement);
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
            messages.afficherMessage(texte(e->texte1) + QLatin1Char(' ') + texte(e->texte2), titre,
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
            messages.afficherMessage(texte(e->texte1) + separateur + texte(e->texte2), titre,
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
            messages.afficherMessage(texte(e->texte1) + separateur + texte(e->texte3) + separateur +
                                         texte(e->texte4) + separateur + texte(e->texte5) + separateur +
                                         texte(e->texte2),
                                     titre, IconeMessage::Aucune);
        signalerManquants<EnregistrementPriseEnCharge>(messages, "GetPriseEnCharge_Tarvo", nombre, 1,
                                                       priseEnCharge.tableau());
    }

    liste.reinitialiser();
    nombre = appels.ListeCodeIncompatibilitesActe_Tarvo(acteJlnl001, liste.variable());
    signaler(5, "ListeCodeIncompatibilitesActe_Tarvo", nombre);
    if (nombre >= 1) {
        const QString legende = QString::number(nombre) + QStringLiteral(" Résultat(s)");
        const Plage lisibles = presents<EnregistrementListe>(liste.tableau(), nombre);
        for (qint64 i = lisibles.debut; i < lisibles.fin; ++i)
            if (const auto* e = enregistrement<EnregistrementListe>(liste.tableau(), i))
                messages.afficherMessage(texte(e->texte1) + separateur + texte(e->texte2), legende,
                                         IconeMessage::Information);
        signalerManquants<EnregistrementListe>(messages, "ListeCodeIncompatibilitesActe_Tarvo", nombre,
                                               nombre, liste.tableau());
    }

    // The list array goes on as step 5 left it.
    nombre = appels.ListeCodeAssociationActe_Tarvo(acteLhqk005, 1, liste.variable());
    signaler(6, "ListeCodeAssociationActe_Tarvo", nombre);
    if (nombre >= 1) {
        const Plage lisibles = presents<EnregistrementListe>(liste.tableau(), nombre);
        for (qint64 i = lisibles.debut; i < lisibles.fin; ++i)
            if (const auto* e = enregistrement<EnregistrementListe>(liste.tableau(), i))
                messages.afficherMessage(texte(e->texte1) + separateur + texte(e->texte2),
                                         QStringLiteral("Association %1 sur %2").arg(i + 1).arg(nombre),
                                         IconeMessage::Information);
        signalerManquants<EnregistrementListe>(messages, "ListeCodeAssociationActe_Tarvo", nombre, nombre,
                                               liste.tableau());
    }

    signaler(7, "DeConnection_Tarvo", appels.DeConnection_Tarvo());
}
