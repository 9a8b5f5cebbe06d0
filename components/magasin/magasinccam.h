#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <optional>
#include <stdexcept>

// The CCAM reference store: a read-only view of one SQLite database written by the importer.
// Every rule that is ours rather than the CCAM's (search restrictions, allowed modifiers,
// compatible acts, coverage) is described in components/magasin/README.md.

// What the caller's query context says; built afresh for each query.
struct ContexteRequete
{
    QString dateReference;                  // "YYYYMMDD"; empty means today
    QString grille = QStringLiteral("001"); // "000" to "019"
    qint32 specialite = 0;                  // 0: no specialty restriction
    bool srtSeulement = false;
};

struct Acte
{
    QString code;
    QString libelleCourt;
    QString libelleLong;
    int typeActe = 0;  // 0 isolated act, 1 procedure, 2 complementary act
    QString dateDebut; // "YYYYMMDD"
    QString dateFin;   // "YYYYMMDD", first day the act is no longer valid; empty when open-ended
};

struct Phase
{
    int code = 0;
    std::optional<int> icr; // relative cost index, when known
};

struct Activite
{
    int code = 0;
    QString libelle;
    QString regroupement; // empty when the act has none for this activity
    QList<Phase> phases;
};

// Plain code and label pair, used by regrouping codes, modifiers, specialties, grids and related acts.
struct CodeLibelle
{
    QString code;
    QString libelle;
    friend bool operator==(const CodeLibelle&, const CodeLibelle&) = default;
};
using Regroupement = CodeLibelle;
using Modificateur = CodeLibelle;
using ActeLie = CodeLibelle;

struct PriseEnCharge
{
    QString code; // XC_CGE_V code "1".."4"
    QString libelle;
    QString codeRemboursement; // XC_REM_V code "1".."3"
    QString libelleRemboursement;
    QString conditions; // coverage-condition notes of the act, joined by " ; "; empty when none
};

struct NoeudChapitre
{
    QString code; // "000002"; the root is "000001"
    QString parent;
    QString strate; // "01.02.00.00"
    int niveau = 0;
    QString libelle;
};

struct MetaDonnees
{
    QString versionDonnees;
    QString dateImport; // ISO 8601, UTC
    QString source;     // directory the data was imported from
};

// How many acts a context hides from a search, by the reason that hides each one (MagasinCcam::masque).
struct ActesMasques
{
    qint64 parDate = 0;       // not valid on the context date
    qint64 parSrt = 0;        // valid, but not SRT while the context asks for SRT only
    qint64 parSpecialite = 0; // valid and SRT enough, but outside the specialty's family
    qint64 total() const { return parDate + parSrt + parSpecialite; }
    friend bool operator==(const ActesMasques&, const ActesMasques&) = default;
};

// Thrown by the constructor only: a query on an open store never throws, it answers "nothing".
class ErreurMagasin : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class MagasinCcam
{
public:
    static constexpr int limiteParDefaut = 50;

    // Opens the database read-only. Throws ErreurMagasin, whose message names the file, when it
    // is missing, unreadable or not a store written by our importer.
    explicit MagasinCcam(const QString& cheminBase);
    ~MagasinCcam();
    MagasinCcam(const MagasinCcam&) = delete;
    MagasinCcam& operator=(const MagasinCcam&) = delete;

    // BANC_CCAM_BASE when set and non-empty, else "ccam-echantillon.sqlite" in repertoire (when empty,
    // the running executable's folder) or, failing that, in the data folder the install rules put it in.
    static QString cheminParDefaut(const QString& repertoire = {});
    static QString nomEchantillon() { return QStringLiteral("ccam-echantillon.sqlite"); }

    QString chemin() const;
    MetaDonnees metaDonnees() const;

    // Unknown, empty or blank codes give std::nullopt; surrounding spaces and case are ignored.
    std::optional<Acte> acte(const QString& code) const;
    // Acts valid on the context date whose code starts with the text, then acts whose labels hold
    // every word of it as a word prefix; each group in code order; at most limite acts.
    QList<Acte> rechercher(const QString& texte, const ContexteRequete& contexte,
                           int limite = limiteParDefaut) const;

    QList<Activite> activites(const QString& code) const;
    // Cents; std::nullopt when no price is in force on that date (a real price of 0 is 0).
    std::optional<qint64> prix(const QString& code, int activite, int phase, const QString& grille,
                               const QString& dateReference) const;
    std::optional<Regroupement> regroupement(const QString& code, int activite) const;

    QList<Modificateur> modificateurs() const;
    QList<Modificateur> modificateursAutorises(const QString& code, int activite) const;

    QList<ActeLie> actesIncompatibles(const QString& code) const;
    // dateReference empty: no validity filter on the related acts.
    QList<ActeLie> actesCompatibles(const QString& code, int activite,
                                    const QString& dateReference = {}) const;

    std::optional<PriseEnCharge> priseEnCharge(const QString& code, const QString& dateReference) const;
    // Our reading of "SRT": the act has a non-zero price in force in the context grid on its date.
    bool estSrt(const QString& code, const ContexteRequete& contexte) const;
    bool valide(const QString& code, const QString& dateReference) const;
    // Whether a search in this context keeps the act: valid on the context date, SRT when the context
    // asks for SRT only, within the specialty's family of regrouping codes. Browsing uses it too.
    bool retenu(const QString& code, const ContexteRequete& contexte) const;
    // Why the context hides the act: the first of these that applies, in this order.
    enum class Masque
    {
        Aucun,
        Date,
        Srt,
        Specialite
    };
    Masque masque(const QString& code, const ContexteRequete& contexte) const;
    // The acts the text matches (as rechercher() matches them, with no limit) that the context hides.
    ActesMasques masquesRecherche(const QString& texte, const ContexteRequete& contexte) const;

    static QString racineChapitres() { return QStringLiteral("000001"); }
    std::optional<NoeudChapitre> noeud(const QString& code) const;
    QList<NoeudChapitre> enfants(const QString& codeNoeud) const;
    // Acts attached directly to the node, in code order, valid on the context date when one is given.
    QList<Acte> actesDuNoeud(const QString& codeNoeud, const QString& dateReference = {}) const;
    // The node holding the act, then its ancestors up to the first level (the root excluded).
    QList<NoeudChapitre> cheminChapitres(const QString& code) const;

    QList<CodeLibelle> specialites() const;
    QList<CodeLibelle> grilles() const; // codes "000".."019"
    QList<CodeLibelle> regroupements() const;
    QString libelleSpecialite(qint32 specialite) const;

private:
    struct Prive;
    std::unique_ptr<Prive> d;
};
