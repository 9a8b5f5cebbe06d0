#pragma once

#include <QString>
#include <QtGlobal>
#include <cstdio>

struct ValeursFixesSequence;

// The companion's lines: each step as it ends on the standard output, the verdict at the end, failures on
// the standard error.
class RapportVerification
{
public:
    RapportVerification(std::FILE* sortie, std::FILE* erreurs);

    void bibliotheque(const QString& fichier, const ValeursFixesSequence& fixes, const QString& date,
                      const QString& grille);
    void etape(int numero, const QString& pointEntree, qint32 resultat);
    void raisonConnexion(const QString& raison);
    void tableauxLiberes();
    void pointsEntreePresents(qsizetype nombre);
    void impossible(int numero, const QString& description);
    void echouee(qint32 connexion);
    void reussie();

private:
    std::FILE* m_sortie;
    std::FILE* m_erreurs;
};

// A result with the name and meaning of our library's failure code when it is one.
QString resultatLisible(qint32 resultat);
