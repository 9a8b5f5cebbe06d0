#include "tarvolib.h"

#include "magasinccam.h"
#include "marquesubstitut.h"
#include "repertoirebibliotheque.h"
#include "texteansi.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>

namespace {

// Kept in the file though nothing reads it: the diagnostic looks for these bytes.
[[gnu::used]] const char marqueSubstitut[] = TARVOLIB_MARQUE_SUBSTITUT;

struct Etat
{
    std::mutex verrou;
    std::unique_ptr<MagasinCcam> magasin;
    QByteArray chaineCourante;
    int32_t derniereErreur = 0;
};

Etat& etat()
{
    static Etat instance;
    return instance;
}

// Every entry point runs through here: one call at a time, and nothing escapes the C boundary.
template<typename Corps> int32_t executer(Corps&& corps)
{
    Etat& e = etat();
    const std::lock_guard<std::mutex> garde(e.verrou);
    int32_t resultat = TARVO_ERREUR_INTERNE;
    try {
        resultat = corps(e);
    } catch (...) {
        resultat = TARVO_ERREUR_INTERNE;
    }
    e.derniereErreur = resultat < 0 ? resultat : 0;
    return resultat;
}

// The queries that need the store answer TARVO_NON_CONNECTE without one, before touching any argument.
template<typename Corps> int32_t interroger(Corps&& corps)
{
    return executer([&corps](Etat& e) -> int32_t {
        if (!e.magasin)
            return TARVO_NON_CONNECTE;
        return corps(*e.magasin, e);
    });
}

QString entree(const char* texte)
{
    return TexteAnsi::depuisAnsi(texte);
}

QString dateOuAujourdhui(const char* date)
{
    const QString texte = entree(date).trimmed();
    return texte.isEmpty() ? QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) : texte;
}

int32_t enChaineCourante(Etat& e, const QString& texte)
{
    e.chaineCourante = TexteAnsi::versAnsi(texte);
    return static_cast<int32_t>(
        qMin<qsizetype>(e.chaineCourante.size(), std::numeric_limits<int32_t>::max()));
}

template<std::size_t N> using Ligne = std::array<QString, N>;

// Sizes the caller's array to the records delivered, from index 0, and fills every text.
template<std::size_t N> int32_t livrer(TableauAuto** reference, const QList<Ligne<N>>& lignes)
{
    if (reference == nullptr)
        return TARVO_ARGUMENT_INVALIDE;
    if (lignes.size() > std::numeric_limits<int32_t>::max())
        return TARVO_ERREUR_INTERNE;
    constexpr uint32_t tailleElement = N * sizeof(TexteAuto);
    const auto nombre = static_cast<uint32_t>(lignes.size());
    TableauAuto*& tableau = *reference;

    if (tableau != nullptr && (tableau->nombreDimensions != 1 || tableau->tailleElement != tailleElement)) {
        // An array of another record type is replaced; a locked one is not ours to free.
        if (tableauAutoDetruire(tableau) != AutoReussi)
            return TARVO_ARGUMENT_INVALIDE;
        tableau = nullptr;
    }
    if (tableau == nullptr) {
        tableau = tableauAutoCreer(tailleElement, 0, nombre);
        if (tableau == nullptr)
            return TARVO_ERREUR_INTERNE;
    } else {
        if (tableau->verrous != 0)
            return TARVO_ARGUMENT_INVALIDE;
        // Down to nothing first, so the caller's old texts are freed and every record starts empty.
        if (tableauAutoRedimensionner(tableau, 0, 0) != AutoReussi ||
            tableauAutoRedimensionner(tableau, 0, nombre) != AutoReussi)
            return TARVO_ERREUR_INTERNE;
    }

    auto* textes = static_cast<TexteAuto*>(tableau->donnees);
    for (uint32_t i = 0; i < nombre; ++i)
        for (std::size_t k = 0; k < N; ++k) {
            const QString& texte = lignes[i][k];
            TexteAuto& champ = textes[i * N + k];
            champ = texteAutoAllouer(reinterpret_cast<const CaractereAuto*>(texte.utf16()),
                                     static_cast<uint32_t>(texte.size()));
            if (champ == nullptr)
                return TARVO_ERREUR_INTERNE;
        }
    return static_cast<int32_t>(nombre);
}

QList<Ligne<3>> lignesCodeLibelle(const QList<CodeLibelle>& elements)
{
    QList<Ligne<3>> lignes;
    lignes.reserve(elements.size());
    for (const CodeLibelle& element : elements)
        lignes.append({element.code, element.libelle, QString()});
    return lignes;
}

QList<Ligne<3>> lignesActes(const QList<Acte>& actes)
{
    QList<Ligne<3>> lignes;
    lignes.reserve(actes.size());
    for (const Acte& acte : actes)
        lignes.append({acte.code, acte.libelleCourt, acte.libelleLong});
    return lignes;
}

QList<Ligne<3>> lignesNoeuds(const QList<NoeudChapitre>& noeuds)
{
    QList<Ligne<3>> lignes;
    lignes.reserve(noeuds.size());
    for (const NoeudChapitre& noeud : noeuds)
        lignes.append({noeud.code, noeud.libelle, noeud.strate});
    return lignes;
}

QString cheminBase(const QString& repertoire)
{
    // The caller's directory holds our database only when it has the sample file; the fixed Windows
    // directory the tool sends never does here.
    if (!repertoire.trimmed().isEmpty() &&
        QFileInfo(QDir(repertoire).filePath(MagasinCcam::nomEchantillon())).isFile())
        return MagasinCcam::cheminParDefaut(repertoire);
    return MagasinCcam::cheminParDefaut(repertoireBibliotheque());
}

QList<Acte> rechercher(const MagasinCcam& magasin, const QString& texte, const char* date, qint64 limite)
{
    ContexteRequete contexte;
    contexte.dateReference = dateOuAujourdhui(date);
    return magasin.rechercher(texte, contexte,
                              static_cast<int>(qMin<qint64>(limite, std::numeric_limits<int>::max())));
}

} // namespace

extern "C" {

int32_t TARVO_APPEL Connection_Tarvo(int32_t, int32_t, int32_t, const char* repertoire)
{
    return executer([repertoire](Etat& e) -> int32_t {
        e.magasin.reset();
        const QString chemin = cheminBase(entree(repertoire));
        try {
            e.magasin = std::make_unique<MagasinCcam>(chemin);
        } catch (const std::exception& erreur) {
            enChaineCourante(e, QString::fromUtf8(erreur.what()));
            return TARVO_BASE_INTROUVABLE;
        }
        return 1;
    });
}

int32_t TARVO_APPEL DeConnection_Tarvo(void)
{
    return executer([](Etat& e) -> int32_t {
        if (!e.magasin)
            return TARVO_NON_CONNECTE;
        e.magasin.reset();
        return 0;
    });
}

int32_t TARVO_APPEL GetLastError_Tarvo(void)
{
    Etat& e = etat();
    const std::lock_guard<std::mutex> garde(e.verrou);
    return e.derniereErreur;
}

int32_t TARVO_APPEL Version_Tarvo(void)
{
    return interroger(
        [](const MagasinCcam& m, Etat& e) { return enChaineCourante(e, m.metaDonnees().versionDonnees); });
}

int32_t TARVO_APPEL SetString_Tarvo(const char* texte)
{
    return executer([texte](Etat& e) { return enChaineCourante(e, entree(texte)); });
}

int32_t TARVO_APPEL GetString_Tarvo(char* tampon, int32_t taille)
{
    return executer([tampon, taille](Etat& e) -> int32_t {
        if (tampon == nullptr || taille <= 0)
            return TARVO_ARGUMENT_INVALIDE;
        const auto copies = static_cast<int32_t>(qMin<qsizetype>(e.chaineCourante.size(), taille - 1));
        std::memcpy(tampon, e.chaineCourante.constData(), static_cast<std::size_t>(copies));
        tampon[copies] = '\0';
        return copies;
    });
}

int32_t TARVO_APPEL GetLenString_Tarvo(void)
{
    return executer([](Etat& e) {
        return static_cast<int32_t>(
            qMin<qsizetype>(e.chaineCourante.size(), std::numeric_limits<int32_t>::max()));
    });
}

int32_t TARVO_APPEL Libelle_Tarvo(const char* code)
{
    return interroger([code](const MagasinCcam& m, Etat& e) {
        const auto acte = m.acte(entree(code));
        return enChaineCourante(e, acte ? acte->libelleCourt : QString());
    });
}

int32_t TARVO_APPEL LibelleLong_Tarvo(const char* code)
{
    return interroger([code](const MagasinCcam& m, Etat& e) {
        const auto acte = m.acte(entree(code));
        return enChaineCourante(e, acte ? acte->libelleLong : QString());
    });
}

int32_t TARVO_APPEL Type_Tarvo(const char* code)
{
    return interroger([code](const MagasinCcam& m, Etat&) -> int32_t {
        const auto acte = m.acte(entree(code));
        return acte ? acte->typeActe : TARVO_CODE_INCONNU;
    });
}

int32_t TARVO_APPEL IsSRT_Tarvo(const char* code, const char* grille, const char* date)
{
    return interroger([=](const MagasinCcam& m, Etat&) -> int32_t {
        ContexteRequete contexte;
        contexte.dateReference = dateOuAujourdhui(date);
        contexte.grille = entree(grille).trimmed();
        return m.estSrt(entree(code), contexte) ? 1 : 0;
    });
}

int32_t TARVO_APPEL Activite_Tarvo(const char* code, TableauAuto** liste)
{
    return interroger([=](const MagasinCcam& m, Etat&) {
        QList<Ligne<3>> lignes;
        for (const Activite& activite : m.activites(entree(code)))
            lignes.append({QString::number(activite.code), activite.libelle, activite.regroupement});
        return livrer(liste, lignes);
    });
}

int32_t TARVO_APPEL Phase_Tarvo(const char* code, int32_t activite, TableauAuto** liste)
{
    return interroger([=](const MagasinCcam& m, Etat&) {
        QList<Ligne<3>> lignes;
        for (const Activite& a : m.activites(entree(code)))
            if (a.code == activite)
                for (const Phase& phase : a.phases)
                    lignes.append({QString::number(phase.code),
                                   phase.icr ? QString::number(*phase.icr) : QString(), QString()});
        return livrer(liste, lignes);
    });
}

int32_t TARVO_APPEL LibelleActivite_Tarvo(const char* code, int32_t activite)
{
    return interroger([=](const MagasinCcam& m, Etat& e) {
        for (const Activite& a : m.activites(entree(code)))
            if (a.code == activite)
                return enChaineCourante(e, a.libelle);
        return enChaineCourante(e, QString());
    });
}

int32_t TARVO_APPEL GetCodeRegroupement_Tarvo(const char* code, int32_t activite)
{
    return interroger([=](const MagasinCcam& m, Etat& e) {
        const auto regroupement = m.regroupement(entree(code), activite);
        return enChaineCourante(e, regroupement ? regroupement->code : QString());
    });
}

int32_t TARVO_APPEL GetPrixUnitaireActeSupplement_Tarvo(const char* code, int32_t activite, int32_t phase,
                                                        const char* date, const char* grille,
                                                        TableauAuto** prix)
{
    return interroger([=](const MagasinCcam& m, Etat&) {
        const QString codeGrille = entree(grille).trimmed();
        const auto centimes = m.prix(entree(code), activite, phase, codeGrille, dateOuAujourdhui(date));
        QList<Ligne<2>> lignes;
        if (centimes)
            lignes.append({QString::number(*centimes), codeGrille});
        return livrer(prix, lignes);
    });
}

int32_t TARVO_APPEL GetPriseEnCharge_Tarvo(const char* code, const char* date, TableauAuto** priseEnCharge)
{
    return interroger([=](const MagasinCcam& m, Etat&) {
        const auto pec = m.priseEnCharge(entree(code), dateOuAujourdhui(date));
        QList<Ligne<5>> lignes;
        if (pec)
            lignes.append({pec->code, pec->libelle, pec->codeRemboursement, pec->libelleRemboursement,
                           pec->conditions});
        return livrer(priseEnCharge, lignes);
    });
}

int32_t TARVO_APPEL ListeModificateurs_Tarvo(TableauAuto** liste)
{
    return interroger(
        [=](const MagasinCcam& m, Etat&) { return livrer(liste, lignesCodeLibelle(m.modificateurs())); });
}

int32_t TARVO_APPEL GetModificateurActe_Tarvo(const char* code, int32_t activite, TableauAuto** liste)
{
    return interroger([=](const MagasinCcam& m, Etat&) {
        return livrer(liste, lignesCodeLibelle(m.modificateursAutorises(entree(code), activite)));
    });
}

int32_t TARVO_APPEL GetModificateurActeDate_Tarvo(const char* code, int32_t activite, const char* date,
                                                  TableauAuto** liste)
{
    return interroger([=](const MagasinCcam& m, Etat&) {
        const QString acte = entree(code);
        QList<CodeLibelle> modificateurs;
        if (m.valide(acte, dateOuAujourdhui(date)))
            modificateurs = m.modificateursAutorises(acte, activite);
        return livrer(liste, lignesCodeLibelle(modificateurs));
    });
}

int32_t TARVO_APPEL GetModificateurMontant_Tarvo(const char*, const char*, const char*, const char*)
{
    return executer([](Etat&) { return TARVO_NON_DISPONIBLE; });
}

int32_t TARVO_APPEL ListeCodeIncompatibilitesActe_Tarvo(const char* code, TableauAuto** liste)
{
    return interroger([=](const MagasinCcam& m, Etat&) {
        return livrer(liste, lignesCodeLibelle(m.actesIncompatibles(entree(code))));
    });
}

int32_t TARVO_APPEL ListeCodeAssociationActe_Tarvo(const char* code, int32_t activite, TableauAuto** liste)
{
    return interroger([=](const MagasinCcam& m, Etat&) {
        return livrer(liste, lignesCodeLibelle(m.actesCompatibles(entree(code), activite)));
    });
}

int32_t TARVO_APPEL ListeCodeAssociationActeDate_Tarvo(const char* code, int32_t activite, const char* date,
                                                       TableauAuto** liste)
{
    return interroger([=](const MagasinCcam& m, Etat&) {
        return livrer(liste,
                      lignesCodeLibelle(m.actesCompatibles(entree(code), activite, dateOuAujourdhui(date))));
    });
}

int32_t TARVO_APPEL RechercheCodeLexico_Tarvo(const char* texte, const char* date, TableauAuto** liste)
{
    return interroger([=](const MagasinCcam& m, Etat&) {
        return livrer(liste, lignesActes(rechercher(m, entree(texte), date, MagasinCcam::limiteParDefaut)));
    });
}

int32_t TARVO_APPEL RechercheParCode_Tarvo(const char* debutCode, const char* date, TableauAuto** liste)
{
    return interroger([=](const MagasinCcam& m, Etat&) {
        const QString debut = entree(debutCode).trimmed();
        QList<Acte> actes;
        if (!debut.isEmpty())
            for (const Acte& acte : rechercher(m, debut, date, MagasinCcam::limiteParDefaut))
                if (acte.code.startsWith(debut, Qt::CaseInsensitive))
                    actes.append(acte);
        return livrer(liste, lignesActes(actes));
    });
}

int32_t TARVO_APPEL RechercheCodeParPas_Tarvo(const char* texte, int32_t premier, int32_t nombre,
                                              TableauAuto** liste)
{
    constexpr int32_t pageMaximale = 500;
    return interroger([=](const MagasinCcam& m, Etat&) -> int32_t {
        if (premier < 0 || nombre < 1 || nombre > pageMaximale)
            return TARVO_ARGUMENT_INVALIDE;
        const QList<Acte> actes = rechercher(m, entree(texte), nullptr, qint64{premier} + nombre);
        return livrer(liste, lignesActes(actes.mid(qMin<qsizetype>(premier, actes.size()))));
    });
}

int32_t TARVO_APPEL ListeCodesParSpecialite_Tarvo(int32_t, TableauAuto**)
{
    return executer([](Etat&) { return TARVO_NON_DISPONIBLE; });
}

int32_t TARVO_APPEL LibelleSpecialite_Tarvo(int32_t specialite)
{
    return interroger(
        [=](const MagasinCcam& m, Etat& e) { return enChaineCourante(e, m.libelleSpecialite(specialite)); });
}

int32_t TARVO_APPEL TestCodeSpecialite_Tarvo(int32_t specialite)
{
    return interroger([=](const MagasinCcam& m, Etat&) -> int32_t {
        return m.libelleSpecialite(specialite).isEmpty() ? 0 : 1;
    });
}

int32_t TARVO_APPEL ArbreNoeudCode_Tarvo(const char* noeud, TableauAuto** liste)
{
    return interroger([=](const MagasinCcam& m, Etat&) {
        const QString code = entree(noeud).trimmed();
        return livrer(liste, lignesNoeuds(m.enfants(code.isEmpty() ? MagasinCcam::racineChapitres() : code)));
    });
}

int32_t TARVO_APPEL NoeudCode_Tarvo(const char* noeud, const char* date, TableauAuto** liste)
{
    return interroger([=](const MagasinCcam& m, Etat&) {
        return livrer(liste, lignesActes(m.actesDuNoeud(entree(noeud).trimmed(), dateOuAujourdhui(date))));
    });
}

int32_t TARVO_APPEL ArborescenceCode_Tarvo(const char* code, TableauAuto** liste)
{
    return interroger([=](const MagasinCcam& m, Etat&) {
        return livrer(liste, lignesNoeuds(m.cheminChapitres(entree(code))));
    });
}

int32_t TARVO_APPEL Note_Tarvo(const char*)
{
    return executer([](Etat&) { return TARVO_NON_DISPONIBLE; });
}

int32_t TARVO_APPEL NoteNoeud_Tarvo(const char*)
{
    return executer([](Etat&) { return TARVO_NON_DISPONIBLE; });
}

int32_t TARVO_APPEL DicoTopographie_Tarvo(TableauAuto**)
{
    return executer([](Etat&) { return TARVO_NON_DISPONIBLE; });
}

int32_t TARVO_APPEL DicoModeAcces_Tarvo(TableauAuto**)
{
    return executer([](Etat&) { return TARVO_NON_DISPONIBLE; });
}

int32_t TARVO_APPEL DicoAction_Tarvo(TableauAuto**)
{
    return executer([](Etat&) { return TARVO_NON_DISPONIBLE; });
}

int32_t TARVO_APPEL ActionARendre_Tarvo(const char*)
{
    return executer([](Etat&) { return TARVO_NON_DISPONIBLE; });
}

} // extern "C"
