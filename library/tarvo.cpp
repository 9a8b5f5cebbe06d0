#include "tarvo.h"

#include "chargeurbibliotheque.h"
#include "echec.h"
#include "tarvolib.h"
#include "texteansi.h"

#include <QByteArray>
#include <QFileInfo>
#include <array>
#include <cstring>

namespace {

enum class Point
{
#define TARVO_ENUMERER(nom, parametres) nom,
    TARVO_POINTS_ENTREE_OUTIL(TARVO_ENUMERER)
#undef TARVO_ENUMERER
        Nombre
};

constexpr std::array<const char*, static_cast<std::size_t>(Point::Nombre)> nomsPoints = {
#define TARVO_NOMMER(nom, parametres) #nom,
    TARVO_POINTS_ENTREE_OUTIL(TARVO_NOMMER)
#undef TARVO_NOMMER
};
static_assert(nomsPoints.size() == 39);

const QString nomBibliotheque = QStringLiteral("TarvoLib");

struct EtatModule
{
    QString chemin; // empty: the library search
    void* poignee = nullptr;
    QString fichier;
    std::array<ChargeurBibliotheque::Fonction, nomsPoints.size()> points{};

    ~EtatModule() { decharger(); }

    void decharger()
    {
        ChargeurBibliotheque::fermer(poignee);
        poignee = nullptr;
        fichier.clear();
        points.fill(nullptr);
    }
};

EtatModule& etat()
{
    static EtatModule instance;
    return instance;
}

void charger(EtatModule& e)
{
    const ChargeurBibliotheque::Ouverture ouverture = ChargeurBibliotheque::ouvrir(nomBibliotheque, e.chemin);
    if (ouverture.poignee == nullptr)
        throw Echec(ouverture.numero, ouverture.raison);
    e.poignee = ouverture.poignee;
    const QString complet = ChargeurBibliotheque::cheminComplet(ouverture.poignee);
    e.fichier = complet.isEmpty() ? ouverture.fichier : complet;
}

ChargeurBibliotheque::Fonction resoudre(std::size_t index)
{
    EtatModule& e = etat();
    if (e.poignee == nullptr)
        charger(e);
    ChargeurBibliotheque::Fonction& point = e.points[index];
    if (point == nullptr) {
        QString raison;
        point = ChargeurBibliotheque::symbole(e.poignee, nomsPoints[index], raison);
        if (point == nullptr)
            throw Echec(Echec::PointEntreeIntrouvable,
                        QStringLiteral("Point d'entrée %1 introuvable dans %2 : %3")
                            .arg(QString::fromLatin1(nomsPoints[index]), e.fichier, raison));
    }
    return point;
}

// Each argument as the library takes it, made just before the call (once the entry point is found) and
// released at the end of the call's full expression: a text's narrow copy, an array variable's address.
struct TexteEtroit : TexteAnsi::ArgumentAnsi
{
    using ArgumentAnsi::ArgumentAnsi;
    operator const char*() const { return octets(); }
};

TexteEtroit versBibliotheque(const QString& texte)
{
    return TexteEtroit(texte);
}

qint32 versBibliotheque(qint32 valeur)
{
    return valeur;
}

TableauAuto** versBibliotheque(TableauAuto*& tableau)
{
    return &tableau;
}

// The wrapper of entry point P, whose type in tarvolib.h is C, for the tool's parameters of Signature.
template<Point P, typename C, typename Signature> struct Enveloppe;

template<Point P, typename C, typename... Parametres> struct Enveloppe<P, C, qint32(Parametres...)>
{
    static qint32 appeler(Parametres... arguments)
    {
        const auto fonction = reinterpret_cast<C>(resoudre(static_cast<std::size_t>(P)));
        return fonction(versBibliotheque(arguments)...);
    }
};

// The one entry point writing into a buffer of ours: only up to the first zero within it is read back,
// whatever the library claims to have copied.
template<Point P, typename C> struct Enveloppe<P, C, qint32(QString&, qint32)>
{
    static qint32 appeler(QString& texte, qint32 taille)
    {
        const auto fonction = reinterpret_cast<C>(resoudre(static_cast<std::size_t>(P)));
        QByteArray tampon(qMax(taille, 0) + 1, '\0');
        const qint32 resultat = fonction(taille > 0 ? tampon.data() : nullptr, taille);
        texte = TexteAnsi::depuisAnsi(tampon.constData(), qstrnlen(tampon.constData(), qMax(taille, 0)));
        return resultat;
    }
};

} // namespace

namespace tarvo {

void definirCheminBibliotheque(const QString& chemin)
{
    EtatModule& e = etat();
    e.decharger();
    // A relative path names a file of the current directory now, shown in full from then on.
    e.chemin = chemin.isEmpty() ? chemin : QFileInfo(chemin).absoluteFilePath();
}

QString fichierCharge()
{
    return etat().fichier;
}

QString descriptionCode(qint32 code)
{
    switch (code) {
    case TARVO_NON_CONNECTE:
        return QStringLiteral("TARVO_NON_CONNECTE : aucune connexion ouverte");
    case TARVO_NON_DISPONIBLE:
        return QStringLiteral("TARVO_NON_DISPONIBLE : donnée absente de la base");
    case TARVO_ARGUMENT_INVALIDE:
        return QStringLiteral("TARVO_ARGUMENT_INVALIDE : argument refusé par la bibliothèque");
    case TARVO_ERREUR_INTERNE:
        return QStringLiteral("TARVO_ERREUR_INTERNE : erreur interne de la bibliothèque");
    case TARVO_BASE_INTROUVABLE:
        return QStringLiteral("TARVO_BASE_INTROUVABLE : base CCAM introuvable ou illisible");
    case TARVO_CODE_INCONNU:
        return QStringLiteral("TARVO_CODE_INCONNU : code d'acte inconnu");
    default:
        return {};
    }
}

QStringList nomsPointsEntree()
{
    QStringList noms;
    for (const char* nom : nomsPoints)
        noms.append(QString::fromLatin1(nom));
    return noms;
}

void verifierPointEntree(const QString& nom)
{
    const QByteArray latin = nom.toLatin1();
    for (std::size_t i = 0; i < nomsPoints.size(); ++i)
        if (latin == nomsPoints[i]) {
            resoudre(i);
            return;
        }
    throw Echec(Echec::PointEntreeIntrouvable,
                QStringLiteral("%1 n'est pas un point d'entrée de %2").arg(nom, nomBibliotheque));
}

// The declaration in tarvolib.h gives each entry point's exact type: the wrapper's arguments convert to it or
// the file does not compile.
// clang-format off
#define TARVO_DEFINIR(nom, parametres)                                                                       \
    qint32 (&nom) parametres = Enveloppe<Point::nom, decltype(&::nom), qint32 parametres>::appeler;
// clang-format on
TARVO_POINTS_ENTREE_OUTIL(TARVO_DEFINIR)
#undef TARVO_DEFINIR

} // namespace tarvo
