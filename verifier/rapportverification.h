#pragma once

#include <QString>
#include <QStringList>
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

    // The sweep's lines: what it calls, the connection, the answers out of contract (at its end, the bar
    // gone), the acts done.
    void balayage(const QString& fichier, qsizetype actes, const QStringList& pointsEntree,
                  const QString& date, const QString& grille);
    void appel(const QString& pointEntree, qint32 resultat);
    void horsContrat(const QString& acte, const QString& description);
    void autresHorsContrat(int nombre);
    // The last line of the standard error: the whole run in one sum.
    struct BilanBalayage
    {
        qsizetype faits;
        qsizetype total;
        int horsContrat;
        int echecs;
        int plantages;
        int blocages;
        bool interrompu;
    };
    void finBalayage(const BilanBalayage& bilan);
    void balayageEchoue(qint32 connexion);

private:
    std::FILE* m_sortie;
    std::FILE* m_erreurs;
};

// A result with the name and meaning of our library's failure code when it is one.
QString resultatLisible(qint32 resultat);
