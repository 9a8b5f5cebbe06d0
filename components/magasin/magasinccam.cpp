#include "magasinccam.h"

#include "normalisation.h"
#include "reglesccam.h"
#include "schemaccam.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <sqlite3.h>
#include <unordered_map>

namespace {

// Filters shared by both halves of a search and by the counts of what a context hides. ?10 date (empty: any
// date, counts only), ?11 grid, ?12 regrouping list, ?13 include (1) or exclude (0) that list, ?14 SRT only.
#define FILTRES_RECHERCHE                                                                                    \
    " (?10 = '' OR (a.date_debut <= ?10 AND (a.date_fin IS NULL OR a.date_fin > ?10)))"                      \
    " AND (?12 = '' OR EXISTS (SELECT 1 FROM regroupement r WHERE r.code = a.code"                           \
    "      AND (instr(?12, ',' || r.regroupement || ',') > 0) = ?13))"                                       \
    " AND (?14 = 0 OR EXISTS (SELECT 1 FROM phase p WHERE p.code = a.code AND (" PRIX_EN_VIGUEUR(            \
        "p.code", "p.activite", "p.phase", "?11", "?10") ") > 0))"

// The price in force: the grid's own latest row not after the date, else the base price (grid 0).
#define PRIX_EN_VIGUEUR(code, activite, phase, grille, date)                                                 \
    "SELECT t.prix FROM tarif t WHERE t.code = " code " AND t.activite = " activite " AND t.phase = " phase  \
    " AND t.grille IN (" grille ", 0) AND t.date_effet <= " date                                             \
    " ORDER BY t.grille DESC, t.date_effet DESC LIMIT 1"

#define COLONNES_ACTE "a.code, a.libelle_court, a.libelle_long, a.type_acte, a.date_debut, a.date_fin"

const char* const sqlActe = "SELECT " COLONNES_ACTE " FROM acte a WHERE a.code = ?1";
const char* const sqlRechercheCode =
    "SELECT " COLONNES_ACTE " FROM acte a WHERE a.code >= ?1 AND a.code < ?2 AND" FILTRES_RECHERCHE
    " ORDER BY a.code LIMIT ?3";
const char* const sqlRechercheTexte =
    "SELECT " COLONNES_ACTE " FROM acte_fts f JOIN acte a ON a.rowid = f.rowid"
    " WHERE acte_fts MATCH ?1 AND" FILTRES_RECHERCHE " ORDER BY f.rowid LIMIT ?3";
// The same two halves, counted; the label half leaves out the codes the code half counted (?2 to ?3).
const char* const sqlCompteCode =
    "SELECT count(*) FROM acte a WHERE a.code >= ?1 AND a.code < ?2 AND" FILTRES_RECHERCHE;
const char* const sqlCompteTexte =
    "SELECT count(*) FROM acte_fts f JOIN acte a ON a.rowid = f.rowid"
    " WHERE acte_fts MATCH ?1 AND NOT (a.code >= ?2 AND a.code < ?3) AND" FILTRES_RECHERCHE;
const char* const sqlActivites =
    "SELECT p.activite, p.phase, p.icr, coalesce(r.regroupement, ''), coalesce(l.libelle, '') FROM phase p"
    " LEFT JOIN regroupement r ON r.code = p.code AND r.activite = p.activite"
    " LEFT JOIN liste l ON l.nom = 'XC_ATE_V' AND l.code = CAST(p.activite AS TEXT)"
    " WHERE p.code = ?1 ORDER BY p.activite, p.phase";
const char* const sqlPrix = PRIX_EN_VIGUEUR("?1", "?2", "?3", "?4", "?5");
const char* const sqlRegroupement =
    "SELECT r.regroupement, coalesce(l.libelle, '') FROM regroupement r"
    " LEFT JOIN libelle_regroupement l ON l.code = r.regroupement WHERE r.code = ?1 AND r.activite = ?2";
const char* const sqlActiviteExiste = "SELECT 1 FROM phase WHERE code = ?1 AND activite = ?2 LIMIT 1";
const char* const sqlModificateurs = "SELECT code, libelle FROM modificateur ORDER BY code";
const char* const sqlIncompatibles =
    "SELECT a.code, a.libelle_court FROM renvoi v JOIN acte a ON a.code = v.code_cite"
    " WHERE v.code = ?1 AND v.type_note = '01' ORDER BY a.code";
// What the rule of compatible acts draws on, read whole once: the complementary acts with their regrouping
// code by activity, the acts the "Coder eventuellement" notes cite, the pairs the "A l exclusion de" notes
// make.
const char* const sqlComplementaires =
    "SELECT r.activite, r.regroupement, a.code, a.libelle_court, a.date_debut, a.date_fin FROM acte a"
    " JOIN regroupement r ON r.code = a.code WHERE a.type_acte = 2 ORDER BY a.code";
const char* const sqlCites = "SELECT v.code, a.code, a.libelle_court, a.date_debut, a.date_fin FROM renvoi v"
                             " JOIN acte a ON a.code = v.code_cite WHERE v.type_note = '06' ORDER BY a.code";
const char* const sqlExclusions = "SELECT code, code_cite FROM renvoi WHERE type_note = '01'";
const char* const sqlPrixBaseMax = "SELECT max((" PRIX_EN_VIGUEUR("p.code", "p.activite", "p.phase", "0",
                                                                  "?2") ")) FROM phase p WHERE p.code = ?1";
const char* const sqlConditions = "SELECT DISTINCT n.type_note, coalesce(tn.libelle, '') FROM note n LEFT "
                                  "JOIN type_note tn ON tn.code = n.type_note"
                                  " WHERE n.code = ?1 AND n.type_note IN ('13', '14', '15', '16', '17')"
                                  " AND (n.date_debut IS NULL OR n.date_debut <= ?2) ORDER BY n.type_note";
const char* const sqlListe = "SELECT libelle FROM liste WHERE nom = ?1 AND code = ?2";
const char* const sqlSrt = "SELECT 1 FROM phase p WHERE p.code = ?1 AND (" PRIX_EN_VIGUEUR(
    "p.code", "p.activite", "p.phase", "?2", "?3") ") > 0 LIMIT 1";
const char* const sqlNoeud = "SELECT code, parent, strate, niveau, libelle FROM noeud WHERE code = ?1";
const char* const sqlEnfants =
    "SELECT code, parent, strate, niveau, libelle FROM noeud WHERE parent = ?1 ORDER BY strate, code";
const char* const sqlActesNoeud =
    "SELECT " COLONNES_ACTE " FROM acte a WHERE a.noeud = ?1"
    " AND (?2 = '' OR (a.date_debut <= ?2 AND (a.date_fin IS NULL OR a.date_fin > ?2)))"
    " ORDER BY a.code";
const char* const sqlNoeudActe = "SELECT noeud FROM acte WHERE code = ?1";
const char* const sqlSpecialites = "SELECT code, libelle FROM specialite ORDER BY code";
const char* const sqlSpecialite = "SELECT libelle FROM specialite WHERE code = ?1";
const char* const sqlGrilles = "SELECT code, libelle FROM grille ORDER BY code";
const char* const sqlRegroupements = "SELECT code, libelle FROM libelle_regroupement ORDER BY code";
const char* const sqlMeta = "SELECT valeur FROM meta WHERE cle = ?1";

QString colonne(sqlite3_stmt* s, int i)
{
    const auto* texte = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
    return texte ? QString::fromUtf8(texte, sqlite3_column_bytes(s, i)) : QString();
}

QString codeActe(const QString& code)
{
    return code.trimmed().toUpper();
}

// "YYYYMMDD" or "YYYY-MM-DD"; anything else gives an empty text, which matches no date.
QString dateValide(const QString& date)
{
    QString d = date.trimmed();
    d.remove(QLatin1Char('-'));
    return QDate::fromString(d, QStringLiteral("yyyyMMdd")).isValid() ? d : QString();
}

QString dateContexte(const ContexteRequete& contexte)
{
    if (contexte.dateReference.trimmed().isEmpty())
        return QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    return dateValide(contexte.dateReference);
}

// "000" to "019" -> the grid number; grids 0 to 2 read the base price, stored as grid 0.
std::optional<int> numeroGrille(const QString& grille)
{
    bool ok = false;
    const int n = grille.trimmed().toInt(&ok);
    if (!ok || n < 0 || n > 19)
        return std::nullopt;
    return n <= 2 ? 0 : n;
}

// One cached prepared statement, reset and unbound when the query is done with it.
class Instruction
{
public:
    explicit Instruction(sqlite3_stmt* s)
        : m_s(s)
    {}
    ~Instruction()
    {
        if (m_s) {
            sqlite3_reset(m_s);
            sqlite3_clear_bindings(m_s);
        }
    }
    Instruction(const Instruction&) = delete;
    Instruction& operator=(const Instruction&) = delete;

    Instruction& texte(int i, const QString& t)
    {
        const QByteArray b = t.toUtf8();
        sqlite3_bind_text(m_s, i, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Instruction& entier(int i, qint64 v)
    {
        sqlite3_bind_int64(m_s, i, v);
        return *this;
    }
    bool ligne() { return sqlite3_step(m_s) == SQLITE_ROW; }
    QString texte(int i) const { return colonne(m_s, i); }
    qint64 entier(int i) const { return sqlite3_column_int64(m_s, i); }
    bool nul(int i) const { return sqlite3_column_type(m_s, i) == SQLITE_NULL; }

private:
    sqlite3_stmt* m_s;
};

} // namespace

// An act the rule of compatible acts may keep, with what the rule and its answer need of it.
struct ActeCandidat
{
    QString code;
    QString libelleCourt;
    QString dateDebut;
    std::optional<QString> dateFin; // none: open-ended

    bool valide(const QString& date) const { return dateDebut <= date && (!dateFin || *dateFin > date); }
};

// The candidates of the rule, read once: a sweep asks every act for them, and one query per act that tried
// every complementary act of the CCAM was the slowest part of it.
struct CandidatsCompatibles
{
    QHash<std::pair<int, QString>, QList<ActeCandidat>> complementaires; // by activity and regrouping code
    QHash<QString, QList<ActeCandidat>> cites;                           // by citing act
    QSet<std::pair<QString, QString>> exclusions;                        // (act, act its note excludes)

    bool exclus(const QString& a, const QString& b) const
    {
        return exclusions.contains({a, b}) || exclusions.contains({b, a});
    }
};

struct MagasinCcam::Prive
{
    sqlite3* base = nullptr;
    QString chemin;
    std::unordered_map<const char*, sqlite3_stmt*> instructions;
    std::optional<QList<Modificateur>> modificateurs;
    std::optional<CandidatsCompatibles> candidatsCompatibles;

    ~Prive()
    {
        for (auto& [sql, s] : instructions)
            sqlite3_finalize(s);
        sqlite3_close_v2(base);
    }

    // Keyed by the address of the SQL text: each query of this file is prepared once per store.
    Instruction instruction(const char* sql)
    {
        sqlite3_stmt*& s = instructions[sql];
        if (!s && sqlite3_prepare_v3(base, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr) != SQLITE_OK) {
            // Only a store of another format gets here; the constructor has already checked that.
            qWarning("magasin CCAM : requête impossible à préparer (%s)", sqlite3_errmsg(base));
            s = nullptr;
        }
        return Instruction(s);
    }

    Acte lireActe(const Instruction& q) const
    {
        Acte a;
        a.code = q.texte(0);
        a.libelleCourt = q.texte(1);
        a.libelleLong = q.texte(2);
        a.typeActe = static_cast<int>(q.entier(3));
        a.dateDebut = q.texte(4);
        a.dateFin = q.texte(5);
        return a;
    }

    static ActeCandidat lireCandidat(const Instruction& q, int premiere)
    {
        ActeCandidat a{q.texte(premiere), q.texte(premiere + 1), q.texte(premiere + 2), std::nullopt};
        if (!q.nul(premiere + 3))
            a.dateFin = q.texte(premiere + 3);
        return a;
    }

    const CandidatsCompatibles& compatibles()
    {
        if (candidatsCompatibles)
            return *candidatsCompatibles;
        CandidatsCompatibles& c = candidatsCompatibles.emplace();
        {
            Instruction q = instruction(sqlComplementaires);
            while (q.ligne())
                c.complementaires[{static_cast<int>(q.entier(0)), q.texte(1)}].append(lireCandidat(q, 2));
        }
        {
            Instruction q = instruction(sqlCites);
            while (q.ligne())
                c.cites[q.texte(0)].append(lireCandidat(q, 1));
        }
        Instruction q = instruction(sqlExclusions);
        while (q.ligne())
            c.exclusions.insert({q.texte(0), q.texte(1)});
        return c;
    }

    QString libelleListe(const char* nom, const QString& code)
    {
        Instruction q = instruction(sqlListe);
        q.texte(1, QString::fromLatin1(nom)).texte(2, code);
        return q.ligne() ? q.texte(0) : QString();
    }

    QList<CodeLibelle> codesLibelles(const char* sql, int largeurCode = 0)
    {
        QList<CodeLibelle> liste;
        Instruction q = instruction(sql);
        while (q.ligne())
            liste.append({largeurCode
                              ? QStringLiteral("%1").arg(q.entier(0), largeurCode, 10, QLatin1Char('0'))
                              : q.texte(0),
                          q.texte(1)});
        return liste;
    }
};

MagasinCcam::MagasinCcam(const QString& cheminBase)
    : d(std::make_unique<Prive>())
{
    d->chemin = cheminBase;
    const QFileInfo info(cheminBase);
    if (cheminBase.isEmpty() || !info.isFile())
        throw ErreurMagasin(QStringLiteral("Base CCAM introuvable : %1").arg(cheminBase).toStdString());
    // SQLite takes UTF-8 names on every system; the ANSI code page would lose a folder like "Banc d'été".
    const QByteArray nom = info.absoluteFilePath().toUtf8();
    if (sqlite3_open_v2(nom.constData(), &d->base, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK)
        throw ErreurMagasin(QStringLiteral("Base CCAM illisible : %1 (%2)")
                                .arg(cheminBase, QString::fromUtf8(sqlite3_errmsg(d->base)))
                                .toStdString());
    sqlite3_stmt* s = nullptr;
    QString format;
    if (sqlite3_prepare_v2(d->base, "SELECT valeur FROM meta WHERE cle = 'format'", -1, &s, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW)
        format = colonne(s, 0);
    sqlite3_finalize(s);
    if (format != QLatin1String(schemaccam::format))
        throw ErreurMagasin(
            QStringLiteral("%1 n'est pas une base CCAM écrite par ccam-import (format %2 attendu)")
                .arg(cheminBase, QLatin1String(schemaccam::format))
                .toStdString());
}

MagasinCcam::~MagasinCcam() = default;

QString MagasinCcam::cheminParDefaut(const QString& repertoire)
{
    const QString variable = qEnvironmentVariable("BANC_CCAM_BASE");
    if (!variable.trimmed().isEmpty())
        return variable;
    QString dossier = repertoire;
    if (dossier.isEmpty() && QCoreApplication::instance())
        dossier = QCoreApplication::applicationDirPath();
    if (dossier.isEmpty())
        dossier = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
    // Installed, the sample lies in the data folder, reached from the programs' or the libraries' folder
    // (the relative paths come from cmake/installation.cmake); a build folder holds it beside them, and that
    // path is the one named when the file is missing.
    const QDir depart(dossier);
    const QString voisin = depart.filePath(nomEchantillon());
    if (QFileInfo(voisin).isFile())
        return voisin;
    for (const char* relatif : {BANC_ECHANTILLON_DEPUIS_PROGRAMMES, BANC_ECHANTILLON_DEPUIS_BIBLIOTHEQUES}) {
        const QString installe = QDir::cleanPath(
            depart.filePath(QString::fromUtf8(relatif) + QStringLiteral("/") + nomEchantillon()));
        if (QFileInfo(installe).isFile())
            return installe;
    }
    return voisin;
}

QString MagasinCcam::chemin() const
{
    return d->chemin;
}

MetaDonnees MagasinCcam::metaDonnees() const
{
    auto valeur = [this](const char* cle) {
        Instruction q = d->instruction(sqlMeta);
        q.texte(1, QString::fromLatin1(cle));
        return q.ligne() ? q.texte(0) : QString();
    };
    return {valeur("version_donnees"), valeur("date_import"), valeur("source")};
}

std::optional<Acte> MagasinCcam::acte(const QString& code) const
{
    const QString c = codeActe(code);
    if (c.isEmpty())
        return std::nullopt;
    Instruction q = d->instruction(sqlActe);
    q.texte(1, c);
    if (!q.ligne())
        return std::nullopt;
    return d->lireActe(q);
}

QList<Acte> MagasinCcam::rechercher(const QString& texte, const ContexteRequete& contexte, int limite) const
{
    QList<Acte> resultats;
    const QStringList mots = motsRecherche(texte);
    const QString date = dateContexte(contexte);
    const std::optional<int> grille = numeroGrille(contexte.grille);
    if (mots.isEmpty() || limite <= 0 || date.isEmpty() || !grille)
        return resultats;
    const reglesccam::FamilleSpecialite famille = reglesccam::familleSpecialite(contexte.specialite);
    const QString listeFamille =
        famille.regroupements.isEmpty()
            ? QString()
            : QLatin1Char(',') + famille.regroupements.join(QLatin1Char(',')) + QLatin1Char(',');
    auto lier = [&](Instruction& q) {
        q.texte(10, date).entier(11, *grille).texte(12, listeFamille).entier(13, famille.inclure ? 1 : 0);
        q.entier(14, contexte.srtSeulement ? 1 : 0);
    };

    static const QRegularExpression formeCode(QStringLiteral("^[a-z]{1,4}[0-9]{0,3}$"));
    QSet<QString> dejaVus;
    if (mots.size() == 1 && formeCode.match(mots.front()).hasMatch()) {
        const QString debut = mots.front().toUpper();
        QString fin = debut;
        fin.back() = QChar(fin.back().unicode() + 1);
        Instruction q = d->instruction(sqlRechercheCode);
        q.texte(1, debut).texte(2, fin).entier(3, limite);
        lier(q);
        while (q.ligne()) {
            resultats.append(d->lireActe(q));
            dejaVus.insert(resultats.back().code);
        }
    }
    if (resultats.size() >= limite)
        return resultats;
    QStringList termes;
    for (const QString& mot : mots)
        termes.append(QLatin1Char('"') + mot + QStringLiteral("\"*"));
    Instruction q = d->instruction(sqlRechercheTexte);
    q.texte(1, termes.join(QLatin1Char(' '))).entier(3, limite + dejaVus.size());
    lier(q);
    while (resultats.size() < limite && q.ligne()) {
        if (!dejaVus.contains(q.texte(0)))
            resultats.append(d->lireActe(q));
    }
    return resultats;
}

QList<Activite> MagasinCcam::activites(const QString& code) const
{
    QList<Activite> liste;
    Instruction q = d->instruction(sqlActivites);
    q.texte(1, codeActe(code));
    while (q.ligne()) {
        const int activite = static_cast<int>(q.entier(0));
        if (liste.isEmpty() || liste.back().code != activite)
            liste.append({activite, q.texte(4), q.texte(3), {}});
        liste.back().phases.append(
            {static_cast<int>(q.entier(1)),
             q.nul(2) ? std::nullopt : std::optional<int>(static_cast<int>(q.entier(2)))});
    }
    return liste;
}

std::optional<qint64> MagasinCcam::prix(const QString& code, int activite, int phase, const QString& grille,
                                        const QString& dateReference) const
{
    const std::optional<int> numero = numeroGrille(grille);
    const QString date = dateValide(dateReference);
    if (!numero || date.isEmpty())
        return std::nullopt;
    Instruction q = d->instruction(sqlPrix);
    q.texte(1, codeActe(code)).entier(2, activite).entier(3, phase).entier(4, *numero).texte(5, date);
    if (!q.ligne())
        return std::nullopt;
    return q.entier(0);
}

std::optional<Regroupement> MagasinCcam::regroupement(const QString& code, int activite) const
{
    Instruction q = d->instruction(sqlRegroupement);
    q.texte(1, codeActe(code)).entier(2, activite);
    if (!q.ligne())
        return std::nullopt;
    return Regroupement{q.texte(0), q.texte(1)};
}

QList<Modificateur> MagasinCcam::modificateurs() const
{
    if (!d->modificateurs)
        d->modificateurs = d->codesLibelles(sqlModificateurs);
    return *d->modificateurs;
}

QList<Modificateur> MagasinCcam::modificateursAutorises(const QString& code, int activite) const
{
    {
        Instruction q = d->instruction(sqlActiviteExiste);
        q.texte(1, codeActe(code)).entier(2, activite);
        if (!q.ligne())
            return {};
    }
    const std::optional<Regroupement> r = regroupement(code, activite);
    const QStringList autorises = reglesccam::modificateursAutorises(activite, r ? r->code : QString());
    QList<Modificateur> liste;
    for (const Modificateur& m : modificateurs())
        if (autorises.contains(m.code))
            liste.append(m);
    return liste;
}

QList<ActeLie> MagasinCcam::actesIncompatibles(const QString& code) const
{
    QList<ActeLie> liste;
    Instruction q = d->instruction(sqlIncompatibles);
    q.texte(1, codeActe(code));
    while (q.ligne())
        liste.append({q.texte(0), q.texte(1)});
    return liste;
}

QList<ActeLie> MagasinCcam::actesCompatibles(const QString& code, int activite,
                                             const QString& dateReference) const
{
    QString date;
    if (!dateReference.trimmed().isEmpty()) {
        date = dateValide(dateReference);
        if (date.isEmpty())
            return {};
    }
    const QString c = codeActe(code);
    {
        Instruction q = d->instruction(sqlActiviteExiste);
        q.texte(1, c).entier(2, activite);
        if (!q.ligne())
            return {};
    }
    const CandidatsCompatibles& candidats = d->compatibles();
    // In code order, each act once, whichever rule keeps it.
    QMap<QString, const ActeCandidat*> retenus;
    const auto retenir = [&](const auto& parCle, const auto& cle) {
        const auto trouve = parCle.constFind(cle);
        if (trouve == parCle.cend())
            return;
        for (const ActeCandidat& a : *trouve)
            if (a.code != c && !candidats.exclus(c, a.code) && (date.isEmpty() || a.valide(date)))
                retenus.insert(a.code, &a);
    };
    if (const std::optional<Regroupement> r = regroupement(c, activite))
        retenir(candidats.complementaires, std::pair{activite, r->code});
    retenir(candidats.cites, c);
    QList<ActeLie> liste;
    liste.reserve(retenus.size());
    for (const ActeCandidat* a : std::as_const(retenus))
        liste.append({a->code, a->libelleCourt});
    return liste;
}

bool MagasinCcam::valide(const QString& code, const QString& dateReference) const
{
    const std::optional<Acte> a = acte(code);
    const QString date = dateValide(dateReference);
    return a && !date.isEmpty() && a->dateDebut <= date && (a->dateFin.isEmpty() || date < a->dateFin);
}

std::optional<PriseEnCharge> MagasinCcam::priseEnCharge(const QString& code,
                                                        const QString& dateReference) const
{
    const QString date = dateValide(dateReference);
    if (!acte(code) || date.isEmpty())
        return std::nullopt;
    PriseEnCharge p;
    std::optional<qint64> prixMax;
    if (valide(code, date)) {
        Instruction q = d->instruction(sqlPrixBaseMax);
        q.texte(1, codeActe(code)).texte(2, date);
        if (q.ligne() && !q.nul(0))
            prixMax = q.entier(0);
    }
    QStringList conditions;
    {
        Instruction q = d->instruction(sqlConditions);
        q.texte(1, codeActe(code)).texte(2, date);
        while (q.ligne()) {
            QString libelle = q.texte(1);
            const qsizetype deuxPoints = libelle.indexOf(QLatin1String(" : "));
            conditions.append(deuxPoints >= 0 ? libelle.mid(deuxPoints + 3) : libelle);
        }
    }
    if (!prixMax) {
        p.code = QStringLiteral("4");
        p.codeRemboursement = QStringLiteral("2");
    } else if (*prixMax == 0) {
        p.code = QStringLiteral("2");
        p.codeRemboursement = QStringLiteral("2");
    } else if (!conditions.isEmpty()) {
        p.code = QStringLiteral("3");
        p.codeRemboursement = QStringLiteral("3");
    } else {
        p.code = QStringLiteral("1");
        p.codeRemboursement = QStringLiteral("1");
    }
    p.libelle = d->libelleListe("XC_CGE_V", p.code);
    p.libelleRemboursement = d->libelleListe("XC_REM_V", p.codeRemboursement);
    if (prixMax)
        p.conditions = conditions.join(QStringLiteral(" ; "));
    return p;
}

bool MagasinCcam::estSrt(const QString& code, const ContexteRequete& contexte) const
{
    const std::optional<int> grille = numeroGrille(contexte.grille);
    const QString date = dateContexte(contexte);
    if (!grille || !valide(code, date))
        return false;
    Instruction q = d->instruction(sqlSrt);
    q.texte(1, codeActe(code)).entier(2, *grille).texte(3, date);
    return q.ligne();
}

bool MagasinCcam::retenu(const QString& code, const ContexteRequete& contexte) const
{
    return masque(code, contexte) == Masque::Aucun;
}

MagasinCcam::Masque MagasinCcam::masque(const QString& code, const ContexteRequete& contexte) const
{
    if (!valide(code, dateContexte(contexte)))
        return Masque::Date;
    if (contexte.srtSeulement && !estSrt(code, contexte))
        return Masque::Srt;
    const reglesccam::FamilleSpecialite famille = reglesccam::familleSpecialite(contexte.specialite);
    if (famille.inclure && famille.regroupements.isEmpty())
        return Masque::Aucun;
    for (const Activite& a : activites(code)) {
        if (!a.regroupement.isEmpty() && famille.regroupements.contains(a.regroupement) == famille.inclure)
            return Masque::Aucun;
    }
    return Masque::Specialite;
}

ActesMasques MagasinCcam::masquesRecherche(const QString& texte, const ContexteRequete& contexte) const
{
    ActesMasques masques;
    const QStringList mots = motsRecherche(texte);
    const QString date = dateContexte(contexte);
    const std::optional<int> grille = numeroGrille(contexte.grille);
    if (mots.isEmpty() || date.isEmpty() || !grille)
        return masques;

    QString debut, fin;
    static const QRegularExpression formeCode(QStringLiteral("^[a-z]{1,4}[0-9]{0,3}$"));
    if (mots.size() == 1 && formeCode.match(mots.front()).hasMatch()) {
        debut = mots.front().toUpper();
        fin = debut;
        fin.back() = QChar(fin.back().unicode() + 1);
    }
    QStringList termes;
    for (const QString& mot : mots)
        termes.append(QLatin1Char('"') + mot + QStringLiteral("\"*"));
    const QString requeteTexte = termes.join(QLatin1Char(' '));

    // The acts the search would keep with the date, the SRT restriction and the specialty as given or
    // lifted: the same union of code and label matches as rechercher(), without its limit.
    const auto compter = [&](const QString& dateFiltre, bool srt,
                             const reglesccam::FamilleSpecialite& famille) {
        const QString listeFamille =
            famille.regroupements.isEmpty()
                ? QString()
                : QLatin1Char(',') + famille.regroupements.join(QLatin1Char(',')) + QLatin1Char(',');
        const auto lier = [&](Instruction& q) {
            q.texte(10, dateFiltre).entier(11, *grille).texte(12, listeFamille);
            q.entier(13, famille.inclure ? 1 : 0).entier(14, srt ? 1 : 0);
        };
        qint64 nombre = 0;
        if (!debut.isEmpty()) {
            Instruction q = d->instruction(sqlCompteCode);
            q.texte(1, debut).texte(2, fin);
            lier(q);
            if (q.ligne())
                nombre += q.entier(0);
        }
        Instruction q = d->instruction(sqlCompteTexte);
        q.texte(1, requeteTexte).texte(2, debut).texte(3, fin);
        lier(q);
        if (q.ligne())
            nombre += q.entier(0);
        return nombre;
    };

    // Lifted one after the other, specialty first, so that each act counts once, under the reason masque()
    // gives it: the date before the SRT restriction before the specialty.
    const reglesccam::FamilleSpecialite famille = reglesccam::familleSpecialite(contexte.specialite);
    const reglesccam::FamilleSpecialite toutes{};
    const bool specialiteActive = !(famille.inclure && famille.regroupements.isEmpty());
    const qint64 gardes = compter(date, contexte.srtSeulement, famille);
    const qint64 sansSpecialite = specialiteActive ? compter(date, contexte.srtSeulement, toutes) : gardes;
    const qint64 sansSrt = contexte.srtSeulement ? compter(date, false, toutes) : sansSpecialite;
    const qint64 tous = compter(QString(), false, toutes);
    masques.parSpecialite = sansSpecialite - gardes;
    masques.parSrt = sansSrt - sansSpecialite;
    masques.parDate = tous - sansSrt;
    return masques;
}

namespace {
NoeudChapitre lireNoeud(const Instruction& q)
{
    return {q.texte(0), q.texte(1), q.texte(2), static_cast<int>(q.entier(3)), q.texte(4)};
}
} // namespace

std::optional<NoeudChapitre> MagasinCcam::noeud(const QString& code) const
{
    Instruction q = d->instruction(sqlNoeud);
    q.texte(1, code.trimmed());
    if (!q.ligne())
        return std::nullopt;
    return lireNoeud(q);
}

QList<NoeudChapitre> MagasinCcam::enfants(const QString& codeNoeud) const
{
    QList<NoeudChapitre> liste;
    Instruction q = d->instruction(sqlEnfants);
    q.texte(1, codeNoeud.trimmed());
    while (q.ligne())
        liste.append(lireNoeud(q));
    return liste;
}

QList<Acte> MagasinCcam::actesDuNoeud(const QString& codeNoeud, const QString& dateReference) const
{
    QList<Acte> liste;
    const QString date = dateReference.trimmed().isEmpty() ? QString() : dateValide(dateReference);
    if (!dateReference.trimmed().isEmpty() && date.isEmpty())
        return liste;
    Instruction q = d->instruction(sqlActesNoeud);
    q.texte(1, codeNoeud.trimmed()).texte(2, date);
    while (q.ligne())
        liste.append(d->lireActe(q));
    return liste;
}

QList<NoeudChapitre> MagasinCcam::cheminChapitres(const QString& code) const
{
    QList<NoeudChapitre> chemin;
    QString courant;
    {
        Instruction q = d->instruction(sqlNoeudActe);
        q.texte(1, codeActe(code));
        if (!q.ligne())
            return chemin;
        courant = q.texte(0);
    }
    // The depth is bounded so that a damaged hierarchy with a cycle cannot hang the caller.
    for (int profondeur = 0; profondeur < 16 && !courant.isEmpty() && courant != racineChapitres();
         ++profondeur) {
        const std::optional<NoeudChapitre> n = noeud(courant);
        if (!n)
            break;
        chemin.append(*n);
        courant = n->parent;
    }
    return chemin;
}

QList<CodeLibelle> MagasinCcam::specialites() const
{
    return d->codesLibelles(sqlSpecialites, 2);
}

QList<CodeLibelle> MagasinCcam::grilles() const
{
    return d->codesLibelles(sqlGrilles, 3);
}

QList<CodeLibelle> MagasinCcam::regroupements() const
{
    return d->codesLibelles(sqlRegroupements);
}

QString MagasinCcam::libelleSpecialite(qint32 specialite) const
{
    Instruction q = d->instruction(sqlSpecialite);
    q.entier(1, specialite);
    return q.ligne() ? q.texte(0) : QString();
}
