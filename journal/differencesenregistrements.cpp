#include "differencesenregistrements.h"

#include "lignesenregistrements.h"

#include <QHash>

namespace {

// Keys made unique by their occurrence, so a list that repeats a key pairs its records in order.
QList<std::pair<QString, QStringList>> parCle(const QList<QStringList>& liste, qsizetype champCle)
{
    QHash<QString, int> occurrences;
    QList<std::pair<QString, QStringList>> resultat;
    resultat.reserve(liste.size());
    for (const QStringList& enregistrement : liste) {
        if (champCle < 0) {
            resultat.append({QString::number(resultat.size() + 1), enregistrement});
            continue;
        }
        const QString premier = enregistrement.value(champCle).trimmed();
        const int rang = ++occurrences[premier];
        resultat.append(
            {rang == 1 ? premier : premier + QLatin1Char('#') + QString::number(rang), enregistrement});
    }
    return resultat;
}

} // namespace

QList<DifferenceEnregistrement> differencesEnregistrements(const QString& a, const QString& b,
                                                           qsizetype taille)
{
    return differencesEnregistrements(champsEnregistrements(a, taille), champsEnregistrements(b, taille), 0);
}

QList<DifferenceEnregistrement> differencesEnregistrements(const QList<QStringList>& a,
                                                           const QList<QStringList>& b, qsizetype champCle)
{
    const auto listeA = parCle(a, champCle);
    const auto listeB = parCle(b, champCle);
    QHash<QString, qsizetype> indexB;
    for (qsizetype i = 0; i < listeB.size(); ++i)
        indexB.insert(listeB.at(i).first, i);

    QList<DifferenceEnregistrement> differences;
    QList<bool> vusDansA(listeB.size(), false);
    for (const auto& [cle, champs] : listeA) {
        const auto trouve = indexB.constFind(cle);
        if (trouve == indexB.cend()) {
            differences.append({cle, champs, {}});
            continue;
        }
        vusDansA[*trouve] = true;
        const QStringList& champsB = listeB.at(*trouve).second;
        if (champs != champsB)
            differences.append({cle, champs, champsB});
    }
    for (qsizetype i = 0; i < listeB.size(); ++i)
        if (!vusDansA.at(i))
            differences.append({listeB.at(i).first, {}, listeB.at(i).second});
    return differences;
}
