// Two journals of any content compared: a journal always compares equal to itself unless it cannot be
// read, the comparison is symmetric in its outcome, and journals that cannot be paired print nothing.
#include "commun/exigence.h"
#include "comparaisonjournaux.h"

#include <QBuffer>
#include <QTextStream>
#include <cstdint>

namespace {

struct Resultat
{
    IssueComparaison issue;
    QString sortie;
};

Resultat comparer(const QByteArray& a, const QByteArray& b)
{
    QByteArray copieA = a;
    QByteArray copieB = b;
    QBuffer tamponA(&copieA);
    QBuffer tamponB(&copieB);
    tamponA.open(QIODevice::ReadOnly);
    tamponB.open(QIODevice::ReadOnly);
    Resultat resultat{IssueComparaison::Identiques, {}};
    QTextStream flux(&resultat.sortie);
    QString erreur;
    resultat.issue =
        comparerJournaux(tamponA, QStringLiteral("a"), tamponB, QStringLiteral("b"), flux, erreur);
    flux.flush();
    exiger((resultat.issue == IssueComparaison::NonAppariables) == !erreur.isEmpty(),
           "une raison exactement quand les journaux ne s'apparient pas");
    return resultat;
}

} // namespace

// The first byte says where the second journal begins.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    if (taille < 1)
        return 0;
    const QByteArray reste(reinterpret_cast<const char*>(donnees) + 1, qsizetype(taille - 1));
    const qsizetype coupure = reste.size() * donnees[0] / 255;
    const QByteArray a = reste.first(coupure);
    const QByteArray b = reste.sliced(coupure);

    const Resultat ab = comparer(a, b);
    const Resultat ba = comparer(b, a);
    exiger(ab.issue == ba.issue, "le même verdict dans les deux sens");
    if (ab.issue == IssueComparaison::NonAppariables)
        exiger(ab.sortie.isEmpty(), "rien d'affiché pour des journaux non appariés");
    const Resultat aa = comparer(a, a);
    exiger(aa.issue != IssueComparaison::Differents, "un journal ne diffère pas de lui-même");
    return 0;
}
