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

#define TARVO_POINTS_ENTREE(X)                                                                               \
    X(Libelle_Tarvo)                                                                                         \
    X(Connection_Tarvo)                                                                                      \
    X(DeConnection_Tarvo)                                                                                    \
    X(GetLastError_Tarvo)                                                                                    \
    X(LibelleLong_Tarvo)                                                                                     \
    X(RechercheCodeParPas_Tarvo)                                                                             \
    X(RechercheCodeLexico_Tarvo)                                                                             \
    X(Note_Tarvo)                                                                                            \
    X(Version_Tarvo)                                                                                         \
    X(NoteNoeud_Tarvo)                                                                                       \
    X(DicoTopographie_Tarvo)                                                                                 \
    X(DicoModeAcces_Tarvo)                                                                                   \
    X(DicoAction_Tarvo)                                                                                      \
    X(ActionARendre_Tarvo)                                                                                   \
    X(ArbreNoeudCode_Tarvo)                                                                                  \
    X(NoeudCode_Tarvo)                                                                                       \
    X(RechercheParCode_Tarvo)                                                                                \
    X(IsSRT_Tarvo)                                                                                           \
    X(Type_Tarvo)                                                                                            \
    X(Activite_Tarvo)                                                                                        \
    X(Phase_Tarvo)                                                                                           \
    X(LibelleSpecialite_Tarvo)                                                                               \
    X(LibelleActivite_Tarvo)                                                                                 \
    X(TestCodeSpecialite_Tarvo)                                                                              \
    X(ArborescenceCode_Tarvo)                                                                                \
    X(ListeModificateurs_Tarvo)                                                                              \
    X(GetModificateurActe_Tarvo)                                                                             \
    X(SetString_Tarvo)                                                                                       \
    X(GetString_Tarvo)                                                                                       \
    X(GetLenString_Tarvo)                                                                                    \
    X(ListeCodesParSpecialite_Tarvo)                                                                         \
    X(GetModificateurActeDate_Tarvo)                                                                         \
    X(GetCodeRegroupement_Tarvo)                                                                             \
    X(GetPrixUnitaireActeSupplement_Tarvo)                                                                   \
    X(GetModificateurMontant_Tarvo)                                                                          \
    X(ListeCodeAssociationActe_Tarvo)                                                                        \
    X(ListeCodeIncompatibilitesActe_Tarvo)                                                                   \
    X(GetPriseEnCharge_Tarvo)                                                                                \
    X(ListeCodeAssociationActeDate_Tarvo)

enum class Point
{
#define TARVO_ENUMERER(nom) nom,
    TARVO_POINTS_ENTREE(TARVO_ENUMERER)
#undef TARVO_ENUMERER
        Nombre
};

constexpr std::array<const char*, static_cast<std::size_t>(Point::Nombre)> nomsPoints = {
#define TARVO_NOMMER(nom) #nom,
    TARVO_POINTS_ENTREE(TARVO_NOMMER)
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

// The declaration of our library's header gives each entry point's exact type, so a signature that drifts
// from it does not compile.
#define TARVO_POINT(nom) reinterpret_cast<decltype(&::nom)>(resoudre(static_cast<std::size_t>(Point::nom)))

// The narrow copy lives until the end of the full expression holding the call: made just before the
// call (the entry point is looked up first), released just after it.
TexteAnsi::ArgumentAnsi etroit(const QString& texte)
{
    return TexteAnsi::ArgumentAnsi(texte);
}

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

qint32 Connection_Tarvo(qint32 reserve1, qint32 reserve2, qint32 reserve3, const QString& repertoire)
{
    return TARVO_POINT(Connection_Tarvo)(reserve1, reserve2, reserve3, etroit(repertoire).octets());
}

qint32 DeConnection_Tarvo()
{
    return TARVO_POINT(DeConnection_Tarvo)();
}

qint32 GetLastError_Tarvo()
{
    return TARVO_POINT(GetLastError_Tarvo)();
}

qint32 Version_Tarvo()
{
    return TARVO_POINT(Version_Tarvo)();
}

qint32 SetString_Tarvo(const QString& texte)
{
    return TARVO_POINT(SetString_Tarvo)(etroit(texte).octets());
}

qint32 GetString_Tarvo(QString& texte, qint32 taille)
{
    const auto fonction = TARVO_POINT(GetString_Tarvo);
    QByteArray tampon(qMax(taille, 0) + 1, '\0');
    const qint32 resultat = fonction(taille > 0 ? tampon.data() : nullptr, taille);
    // Only up to the first zero within the buffer, whatever the library claims to have copied.
    texte = TexteAnsi::depuisAnsi(tampon.constData(), qstrnlen(tampon.constData(), qMax(taille, 0)));
    return resultat;
}

qint32 GetLenString_Tarvo()
{
    return TARVO_POINT(GetLenString_Tarvo)();
}

qint32 Libelle_Tarvo(const QString& code)
{
    return TARVO_POINT(Libelle_Tarvo)(etroit(code).octets());
}

qint32 LibelleLong_Tarvo(const QString& code)
{
    return TARVO_POINT(LibelleLong_Tarvo)(etroit(code).octets());
}

qint32 Type_Tarvo(const QString& code)
{
    return TARVO_POINT(Type_Tarvo)(etroit(code).octets());
}

qint32 IsSRT_Tarvo(const QString& code, const QString& grille, const QString& date)
{
    return TARVO_POINT(IsSRT_Tarvo)(etroit(code).octets(), etroit(grille).octets(), etroit(date).octets());
}

qint32 Activite_Tarvo(const QString& code, TableauAuto*& liste)
{
    return TARVO_POINT(Activite_Tarvo)(etroit(code).octets(), &liste);
}

qint32 Phase_Tarvo(const QString& code, qint32 activite, TableauAuto*& liste)
{
    return TARVO_POINT(Phase_Tarvo)(etroit(code).octets(), activite, &liste);
}

qint32 LibelleActivite_Tarvo(const QString& code, qint32 activite)
{
    return TARVO_POINT(LibelleActivite_Tarvo)(etroit(code).octets(), activite);
}

qint32 GetCodeRegroupement_Tarvo(const QString& code, qint32 activite)
{
    return TARVO_POINT(GetCodeRegroupement_Tarvo)(etroit(code).octets(), activite);
}

qint32 GetPrixUnitaireActeSupplement_Tarvo(const QString& code, qint32 activite, qint32 phase,
                                           const QString& date, const QString& grille, TableauAuto*& prix)
{
    return TARVO_POINT(GetPrixUnitaireActeSupplement_Tarvo)(
        etroit(code).octets(), activite, phase, etroit(date).octets(), etroit(grille).octets(), &prix);
}

qint32 GetPriseEnCharge_Tarvo(const QString& code, const QString& date, TableauAuto*& priseEnCharge)
{
    return TARVO_POINT(GetPriseEnCharge_Tarvo)(etroit(code).octets(), etroit(date).octets(), &priseEnCharge);
}

qint32 ListeModificateurs_Tarvo(TableauAuto*& liste)
{
    return TARVO_POINT(ListeModificateurs_Tarvo)(&liste);
}

qint32 GetModificateurActe_Tarvo(const QString& code, qint32 activite, TableauAuto*& liste)
{
    return TARVO_POINT(GetModificateurActe_Tarvo)(etroit(code).octets(), activite, &liste);
}

qint32 GetModificateurActeDate_Tarvo(const QString& code, qint32 activite, const QString& date,
                                     TableauAuto*& liste)
{
    return TARVO_POINT(GetModificateurActeDate_Tarvo)(etroit(code).octets(), activite, etroit(date).octets(),
                                                      &liste);
}

qint32 GetModificateurMontant_Tarvo(const QString& modificateur, const QString& code, const QString& date,
                                    const QString& grille)
{
    return TARVO_POINT(GetModificateurMontant_Tarvo)(etroit(modificateur).octets(), etroit(code).octets(),
                                                     etroit(date).octets(), etroit(grille).octets());
}

qint32 ListeCodeIncompatibilitesActe_Tarvo(const QString& code, TableauAuto*& liste)
{
    return TARVO_POINT(ListeCodeIncompatibilitesActe_Tarvo)(etroit(code).octets(), &liste);
}

qint32 ListeCodeAssociationActe_Tarvo(const QString& code, qint32 activite, TableauAuto*& liste)
{
    return TARVO_POINT(ListeCodeAssociationActe_Tarvo)(etroit(code).octets(), activite, &liste);
}

qint32 ListeCodeAssociationActeDate_Tarvo(const QString& code, qint32 activite, const QString& date,
                                          TableauAuto*& liste)
{
    return TARVO_POINT(ListeCodeAssociationActeDate_Tarvo)(etroit(code).octets(), activite,
                                                           etroit(date).octets(), &liste);
}

qint32 RechercheCodeLexico_Tarvo(const QString& texte, const QString& date, TableauAuto*& liste)
{
    return TARVO_POINT(RechercheCodeLexico_Tarvo)(etroit(texte).octets(), etroit(date).octets(), &liste);
}

qint32 RechercheParCode_Tarvo(const QString& debutCode, const QString& date, TableauAuto*& liste)
{
    return TARVO_POINT(RechercheParCode_Tarvo)(etroit(debutCode).octets(), etroit(date).octets(), &liste);
}

qint32 RechercheCodeParPas_Tarvo(const QString& texte, qint32 premier, qint32 nombre, TableauAuto*& liste)
{
    return TARVO_POINT(RechercheCodeParPas_Tarvo)(etroit(texte).octets(), premier, nombre, &liste);
}

qint32 ListeCodesParSpecialite_Tarvo(qint32 specialite, TableauAuto*& liste)
{
    return TARVO_POINT(ListeCodesParSpecialite_Tarvo)(specialite, &liste);
}

qint32 LibelleSpecialite_Tarvo(qint32 specialite)
{
    return TARVO_POINT(LibelleSpecialite_Tarvo)(specialite);
}

qint32 TestCodeSpecialite_Tarvo(qint32 specialite)
{
    return TARVO_POINT(TestCodeSpecialite_Tarvo)(specialite);
}

qint32 ArbreNoeudCode_Tarvo(const QString& noeud, TableauAuto*& liste)
{
    return TARVO_POINT(ArbreNoeudCode_Tarvo)(etroit(noeud).octets(), &liste);
}

qint32 NoeudCode_Tarvo(const QString& noeud, const QString& date, TableauAuto*& liste)
{
    return TARVO_POINT(NoeudCode_Tarvo)(etroit(noeud).octets(), etroit(date).octets(), &liste);
}

qint32 ArborescenceCode_Tarvo(const QString& code, TableauAuto*& liste)
{
    return TARVO_POINT(ArborescenceCode_Tarvo)(etroit(code).octets(), &liste);
}

qint32 Note_Tarvo(const QString& code)
{
    return TARVO_POINT(Note_Tarvo)(etroit(code).octets());
}

qint32 NoteNoeud_Tarvo(const QString& noeud)
{
    return TARVO_POINT(NoteNoeud_Tarvo)(etroit(noeud).octets());
}

qint32 DicoTopographie_Tarvo(TableauAuto*& liste)
{
    return TARVO_POINT(DicoTopographie_Tarvo)(&liste);
}

qint32 DicoModeAcces_Tarvo(TableauAuto*& liste)
{
    return TARVO_POINT(DicoModeAcces_Tarvo)(&liste);
}

qint32 DicoAction_Tarvo(TableauAuto*& liste)
{
    return TARVO_POINT(DicoAction_Tarvo)(&liste);
}

qint32 ActionARendre_Tarvo(const QString& code)
{
    return TARVO_POINT(ActionARendre_Tarvo)(etroit(code).octets());
}

} // namespace tarvo
