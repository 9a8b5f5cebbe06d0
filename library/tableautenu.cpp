#include "tableautenu.h"

#include <QStringList>
#include <new>

TableauTenu::TableauTenu(uint32_t tailleEnregistrement)
    : m_tailleEnregistrement(tailleEnregistrement)
{}

TableauTenu::~TableauTenu()
{
    liberer();
}

void TableauTenu::reinitialiser()
{
    liberer();
    m_tableau = tableauAutoCreer(m_tailleEnregistrement, 0, 1);
    if (m_tableau == nullptr)
        throw std::bad_alloc();
}

void TableauTenu::liberer()
{
    if (m_tableau == nullptr)
        return;
    // A library that leaves its array locked breaks the contract; the texts are ours to free all the same.
    while (m_tableau->verrous > 0 && tableauAutoDeverrouiller(m_tableau) == AutoReussi) {
    }
    tableauAutoDetruire(m_tableau);
    m_tableau = nullptr;
}

const TexteAuto* champsEnregistrement(const TableauAuto* tableau, uint32_t tailleEnregistrement, qint64 index)
{
    if (tableau == nullptr || tableau->nombreDimensions != 1 ||
        tableau->tailleElement != tailleEnregistrement || tableau->donnees == nullptr)
        return nullptr;
    const qint64 premier = tableau->bornes[0].borneInferieure;
    if (index < premier || index >= premier + qint64{tableau->bornes[0].nombre})
        return nullptr;
    return static_cast<const TexteAuto*>(tableau->donnees) +
           (index - premier) * static_cast<qint64>(tailleEnregistrement / sizeof(TexteAuto));
}

QString texteAuto(TexteAuto texte)
{
    return texte == nullptr ? QString() : QString::fromUtf16(texte, texteAutoLongueur(texte));
}

PlageEnregistrements enregistrementsPresents(const TableauAuto* tableau, uint32_t tailleEnregistrement,
                                             qint64 lus)
{
    if (tableau == nullptr ||
        champsEnregistrement(tableau, tailleEnregistrement, tableau->bornes[0].borneInferieure) == nullptr)
        return {};
    const qint64 premier = tableau->bornes[0].borneInferieure;
    const PlageEnregistrements lisibles{qMax<qint64>(premier, 0),
                                        qMin<qint64>(premier + qint64{tableau->bornes[0].nombre}, lus)};
    return lisibles.debut < lisibles.fin ? lisibles : PlageEnregistrements{};
}

namespace {

QString descriptionTableau(const TableauAuto* tableau, uint32_t tailleEnregistrement)
{
    if (tableau == nullptr)
        return QStringLiteral("aucun tableau n'est livré");
    if (tableau->nombreDimensions != 1)
        return QStringLiteral("le tableau livré a %1 dimensions").arg(tableau->nombreDimensions);
    if (tableau->tailleElement != tailleEnregistrement)
        return QStringLiteral("le tableau livré contient des enregistrements de %1 octets au lieu de %2")
            .arg(tableau->tailleElement)
            .arg(tailleEnregistrement);
    if (tableau->bornes[0].nombre == 0)
        return QStringLiteral("le tableau livré est vide");
    if (tableau->donnees == nullptr)
        return QStringLiteral("le tableau livré n'a pas de données");
    const qint64 premier = tableau->bornes[0].borneInferieure;
    return QStringLiteral("le tableau livré va de l'indice %1 à l'indice %2")
        .arg(premier)
        .arg(premier + tableau->bornes[0].nombre - 1);
}

QString indices(qint64 debut, qint64 fin)
{
    return debut == fin ? QString::number(debut) : QStringLiteral("%1 à %2").arg(debut).arg(fin);
}

} // namespace

QString enregistrementsManquants(const QString& pointEntree, qint32 annonce, qint64 lus,
                                 const TableauAuto* tableau, uint32_t tailleEnregistrement)
{
    const PlageEnregistrements lisibles = enregistrementsPresents(tableau, tailleEnregistrement, lus);
    QStringList manquants;
    if (lisibles.debut == lisibles.fin) {
        if (lus > 0)
            manquants.append(indices(0, lus - 1));
    } else {
        if (lisibles.debut > 0)
            manquants.append(indices(0, lisibles.debut - 1));
        if (lisibles.fin < lus)
            manquants.append(indices(lisibles.fin, lus - 1));
    }
    if (manquants.isEmpty())
        return {};
    return QStringLiteral("%1 annonce %2 enregistrement(s), mais %3 ; indice(s) non lu(s) : %4.")
        .arg(pointEntree)
        .arg(annonce)
        .arg(descriptionTableau(tableau, tailleEnregistrement), manquants.join(QStringLiteral(" et ")));
}

QString contratRompu(const QString& pointEntree, qint32 annonce, const TableauAuto* tableau,
                     uint32_t tailleEnregistrement)
{
    const QString manquants =
        enregistrementsManquants(pointEntree, annonce, annonce, tableau, tailleEnregistrement);
    if (!manquants.isEmpty())
        return manquants;
    // Every announced record is there, but a caller reading from index 0 by the array's own count would miss
    // or misplace some.
    if (tableau != nullptr && tableau->nombreDimensions == 1 && tableau->bornes[0].nombre > 0 &&
        tableau->bornes[0].borneInferieure != 0)
        return QStringLiteral("%1 annonce %2 enregistrement(s), mais %3 au lieu de commencer à l'indice 0.")
            .arg(pointEntree)
            .arg(annonce)
            .arg(descriptionTableau(tableau, tailleEnregistrement));
    return {};
}
