#include "importeurccam.h"

#include "normalisation.h"
#include "schemaccam.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <sqlite3.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>
#include <zlib.h>

bool decouperLigneCsv(std::string_view ligne, std::vector<std::string>& champs, std::string& erreur)
{
    if (!ligne.empty() && ligne.back() == '\r')
        ligne.remove_suffix(1);
    std::size_t n = 0;
    auto champSuivant = [&]() -> std::string& {
        if (champs.size() <= n)
            champs.emplace_back();
        std::string& c = champs[n++];
        c.clear();
        return c;
    };
    std::size_t i = 0;
    const std::size_t fin = ligne.size();
    while (true) {
        std::string& champ = champSuivant();
        if (i < fin && ligne[i] == '"') {
            ++i;
            while (true) {
                const std::size_t guillemet = ligne.find('"', i);
                if (guillemet == std::string_view::npos) {
                    erreur = "guillemet non refermé";
                    return false;
                }
                champ.append(ligne.substr(i, guillemet - i));
                i = guillemet + 1;
                if (i < fin && ligne[i] == '"') {
                    champ.push_back('"');
                    ++i;
                    continue;
                }
                break;
            }
            if (i < fin && ligne[i] != ';') {
                erreur = "caractère après un champ entre guillemets";
                return false;
            }
        } else {
            const std::size_t sep = ligne.find(';', i);
            const std::size_t bout = sep == std::string_view::npos ? fin : sep;
            const std::string_view brut = ligne.substr(i, bout - i);
            if (brut.find('"') != std::string_view::npos) {
                erreur = "guillemet au milieu d'un champ";
                return false;
            }
            champ.assign(brut);
            i = bout;
        }
        if (i >= fin)
            break;
        ++i; // the separator; a line ending with it has one more, empty, field
    }
    champs.resize(n);
    return true;
}

namespace {

bool lireEntier(std::string_view texte, int& valeur)
{
    if (texte.empty())
        return false;
    const auto [ptr, ec] = std::from_chars(texte.data(), texte.data() + texte.size(), valeur);
    return ec == std::errc() && ptr == texte.data() + texte.size();
}

bool chiffres(std::string_view t)
{
    return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

bool convertirDate(std::string_view texte, std::string& sortie)
{
    if (texte.size() != 10 || texte[4] != '-' || texte[7] != '-')
        return false;
    int annee = 0, mois = 0, jour = 0;
    if (!chiffres(texte.substr(0, 4)) || !chiffres(texte.substr(5, 2)) || !chiffres(texte.substr(8, 2)))
        return false;
    lireEntier(texte.substr(0, 4), annee);
    lireEntier(texte.substr(5, 2), mois);
    lireEntier(texte.substr(8, 2), jour);
    static constexpr int jours[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (annee < 1900 || mois < 1 || mois > 12 || jour < 1 || jour > jours[mois - 1])
        return false;
    const bool bissextile = (annee % 4 == 0 && annee % 100 != 0) || annee % 400 == 0;
    if (mois == 2 && jour == 29 && !bissextile)
        return false;
    sortie.assign(texte.substr(0, 4));
    sortie.append(texte.substr(5, 2));
    sortie.append(texte.substr(8, 2));
    return true;
}

bool convertirPrix(std::string_view texte, qint64& centimes)
{
    const std::size_t point = texte.find('.');
    const std::string_view entier = texte.substr(0, point);
    const std::string_view decimales =
        point == std::string_view::npos ? std::string_view() : texte.substr(point + 1);
    if (!chiffres(entier) || entier.size() > 12)
        return false;
    if (point != std::string_view::npos &&
        (decimales.empty() || decimales.size() > 2 || !chiffres(decimales)))
        return false;
    qint64 euros = 0;
    std::from_chars(entier.data(), entier.data() + entier.size(), euros);
    int cts = 0;
    if (!decimales.empty()) {
        lireEntier(decimales, cts);
        if (decimales.size() == 1)
            cts *= 10;
    }
    centimes = euros * 100 + cts;
    return true;
}

namespace {

// A row error carries its reason; the caller adds the file and line.
struct ErreurLigne
{
    std::string raison;
};

// Reads plain or gzipped files alike: zlib passes plain files through unchanged.
class LecteurLignes
{
public:
    explicit LecteurLignes(const QString& chemin)
        : m_fichier(gzopen(QFile::encodeName(chemin).constData(), "rb"))
    {
        if (m_fichier)
            gzbuffer(m_fichier, 1 << 18);
    }
    ~LecteurLignes()
    {
        if (m_fichier)
            gzclose(m_fichier);
    }
    LecteurLignes(const LecteurLignes&) = delete;
    LecteurLignes& operator=(const LecteurLignes&) = delete;

    bool ouvert() const { return m_fichier != nullptr; }
    const QString& erreur() const { return m_erreur; }

    // False at the end of the file or on a read error (then erreur() is set).
    bool lire(std::string_view& ligne)
    {
        while (true) {
            const std::size_t nl = m_tampon.find('\n', m_debut);
            if (nl != std::string::npos) {
                ligne = std::string_view(m_tampon).substr(m_debut, nl - m_debut);
                m_debut = nl + 1;
                return true;
            }
            if (m_fin) {
                if (m_debut < m_tampon.size()) {
                    ligne = std::string_view(m_tampon).substr(m_debut);
                    m_debut = m_tampon.size();
                    return true;
                }
                return false;
            }
            m_tampon.erase(0, m_debut);
            m_debut = 0;
            const std::size_t avant = m_tampon.size();
            m_tampon.resize(avant + (1 << 20));
            const int lu = gzread(m_fichier, m_tampon.data() + avant, 1 << 20);
            m_tampon.resize(avant + std::max(lu, 0));
            if (lu <= 0) {
                int code = Z_OK;
                const char* message = gzerror(m_fichier, &code);
                // A truncated gzip stream reads as a short file with Z_BUF_ERROR set.
                if (lu < 0 || (code != Z_OK && code != Z_STREAM_END)) {
                    m_erreur = QStringLiteral("lecture impossible (%1)").arg(QString::fromUtf8(message));
                    return false;
                }
                m_fin = true;
            }
        }
    }

private:
    gzFile m_fichier;
    std::string m_tampon;
    std::size_t m_debut = 0;
    bool m_fin = false;
    QString m_erreur;
};

class Requete
{
public:
    Requete(sqlite3* base, const char* sql)
    {
        if (sqlite3_prepare_v3(base, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) != SQLITE_OK)
            m_erreur = QString::fromUtf8(sqlite3_errmsg(base));
    }
    ~Requete() { sqlite3_finalize(m_stmt); }
    Requete(const Requete&) = delete;
    Requete& operator=(const Requete&) = delete;

    const QString& erreur() const { return m_erreur; }
    Requete& texte(int i, std::string_view t)
    {
        sqlite3_bind_text(m_stmt, i, t.data(), static_cast<int>(t.size()), SQLITE_STATIC);
        return *this;
    }
    Requete& texteOuNul(int i, std::string_view t)
    {
        if (t.empty())
            sqlite3_bind_null(m_stmt, i);
        else
            texte(i, t);
        return *this;
    }
    Requete& entier(int i, qint64 v)
    {
        sqlite3_bind_int64(m_stmt, i, v);
        return *this;
    }
    Requete& nul(int i)
    {
        sqlite3_bind_null(m_stmt, i);
        return *this;
    }
    // SQLITE_DONE, or the result code of the failed step.
    int executer()
    {
        const int rc = sqlite3_step(m_stmt);
        sqlite3_reset(m_stmt);
        return rc;
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
    QString m_erreur;
};

struct Fichier
{
    const char* nom;
    std::vector<std::string_view> entete;
};

const Fichier fActes{
    "ccam_actes",
    {"code", "libelle_court", "libelle_long", "type_acte", "compatibilite_sexe", "date_debut", "date_fin"}};
const Fichier fHierarchie{"ccam_hierarchie_actes",
                          {"type", "code", "parent", "strate", "niveau", "libelle", "niveau_1", "niveau_2",
                           "niveau_3", "niveau_4"}};
const Fichier fTarifs{"ccam_tarifs",
                      {"code", "activite", "phase", "date_effet", "date_arr_minis", "date_jo", "tarif"}};
const Fichier fGrilles{
    "ccam_tarifs_grilles",
    {"code", "activite", "phase", "grille", "date_effet", "date_arr_minis", "date_jo", "tarif"}};
const Fichier fRegroupement{"ccam_regroupement", {"code", "activite", "regroupement", "date_debut"}};
const Fichier fIcr{"ccam_icr", {"code", "activite", "phase", "icr", "classant"}};
const Fichier fNotes{"ccam_notes", {"code", "date_debut", "type_note", "libelle_type_note", "note"}};
const Fichier fModificateurs{"ccam_libelle_modificateur", {"modificateur", "libelle_modificateur"}};
const Fichier fLibRegroupement{"ccam_libelle_regroupement", {"regroupement", "libelle_regroupement"}};
const Fichier fSpecialites{"ccam_libelle_specialite_medicale",
                           {"specialite_medicale", "libelle_specialite_medicale"}};
const Fichier fLibGrilles{"ccam_libelles_grille_tarifs", {"grille", "libelle_grille_tarif"}};
const Fichier fTypesNote{"libelle_notes", {"type_note", "libelle_type_note"}};

// Coded lists the store reads; any other XC_*.csv found beside them is kept too.
const char* const listesRequises[] = {"XC_ATE_V", "XC_CGE_V", "XC_REM_V"};

struct ActeLu
{
    std::string code, court, long_, dateDebut, dateFin, noeud;
    int type = 0, sexe = 0;
};

class Importeur
{
public:
    explicit Importeur(const OptionsImport& options)
        : m_options(options)
    {}
    ~Importeur()
    {
        if (m_base)
            sqlite3_close_v2(m_base);
    }

    BilanImport executer();

private:
    struct Abandon
    {
        QString raison;
    };

    QString cheminFichier(const QString& nom, bool gzipPossible) const;
    // Calls traiter on each data row; a row error is recorded (and stops the import unless rows may
    // be skipped). Returns the number of rows kept.
    qint64 parcourir(const QString& chemin, const std::vector<std::string_view>& entete,
                     const std::function<void(const std::vector<std::string>&)>& traiter);
    qint64 parcourirFichier(const Fichier& f,
                            const std::function<void(const std::vector<std::string>&)>& traiter)
    {
        return parcourir(cheminFichier(QString::fromLatin1(f.nom), true), f.entete, traiter);
    }
    void sql(const char* texte);
    void verifier(int rc, const char* quoi);
    void creerSchema();
    void lireActes();
    void lireHierarchie();
    void ecrireActes();
    void lireTarifs(const Fichier& f, bool grilles);
    void lireDivers();
    void lireListes();
    void finir();

    const std::string& codeConnu(const std::string& code) const
    {
        if (!m_codes.count(code))
            throw ErreurLigne{"acte inconnu « " + code + " »"};
        return code;
    }
    static int activite(const std::string& t)
    {
        int v = 0;
        if (!lireEntier(t, v) || v < 1 || v > 5)
            throw ErreurLigne{"activité invalide « " + t + " »"};
        return v;
    }
    static int phase(const std::string& t)
    {
        int v = 0;
        if (!lireEntier(t, v) || v < 0 || v > 9)
            throw ErreurLigne{"phase invalide « " + t + " »"};
        return v;
    }
    static std::string date(const std::string& t, bool facultative = false)
    {
        std::string d;
        if (facultative && t.empty())
            return d;
        if (!convertirDate(t, d))
            throw ErreurLigne{"date invalide « " + t + " »"};
        return d;
    }
    void inserer(Requete& r)
    {
        const int rc = r.executer();
        if (rc == SQLITE_CONSTRAINT)
            throw ErreurLigne{"ligne en double"};
        verifier(rc, "insertion");
    }

    const OptionsImport& m_options;
    BilanImport m_bilan;
    sqlite3* m_base = nullptr;
    QString m_fichierCourant;
    std::vector<ActeLu> m_actes;
    std::unordered_map<std::string, std::size_t> m_indexActes;
    std::unordered_set<std::string> m_codes;
};

QString Importeur::cheminFichier(const QString& nom, bool gzipPossible) const
{
    const QDir rep(m_options.repertoire);
    if (gzipPossible && QFileInfo::exists(rep.filePath(nom + QStringLiteral(".csv.gz"))))
        return rep.filePath(nom + QStringLiteral(".csv.gz"));
    return rep.filePath(nom + QStringLiteral(".csv"));
}

void Importeur::sql(const char* texte)
{
    char* message = nullptr;
    if (sqlite3_exec(m_base, texte, nullptr, nullptr, &message) != SQLITE_OK) {
        const QString raison = QString::fromUtf8(message ? message : "?");
        sqlite3_free(message);
        throw Abandon{QStringLiteral("erreur SQLite : %1").arg(raison)};
    }
}

void Importeur::verifier(int rc, const char* quoi)
{
    if (rc != SQLITE_DONE && rc != SQLITE_OK && rc != SQLITE_ROW)
        throw Abandon{QStringLiteral("erreur SQLite (%1) : %2")
                          .arg(QString::fromLatin1(quoi), QString::fromUtf8(sqlite3_errmsg(m_base)))};
}

qint64 Importeur::parcourir(const QString& chemin, const std::vector<std::string_view>& entete,
                            const std::function<void(const std::vector<std::string>&)>& traiter)
{
    const QString nom = QFileInfo(chemin).fileName();
    if (!QFileInfo(chemin).isFile())
        throw Abandon{QStringLiteral("%1 : fichier introuvable").arg(QDir::toNativeSeparators(chemin))};
    if (m_options.interruption && m_options.interruption->load())
        throw Abandon{QStringLiteral("import interrompu")};
    LecteurLignes lecteur(chemin);
    if (!lecteur.ouvert())
        throw Abandon{QStringLiteral("%1 : ouverture impossible").arg(QDir::toNativeSeparators(chemin))};
    std::vector<std::string> champs;
    std::string erreur;
    std::string_view ligne;
    qint64 numero = 0;
    qint64 gardees = 0;
    while (lecteur.lire(ligne)) {
        ++numero;
        if ((numero & 0xFFF) == 0) {
            if (m_options.interruption && m_options.interruption->load())
                throw Abandon{QStringLiteral("import interrompu")};
            if (m_options.progression && (numero & 0xFFFF) == 0)
                m_options.progression(nom, numero);
        }
        if (numero == 1) {
            if (ligne.substr(0, 3) == "\xEF\xBB\xBF")
                ligne.remove_prefix(3);
            if (!decouperLigneCsv(ligne, champs, erreur) ||
                !std::equal(champs.begin(), champs.end(), entete.begin(), entete.end()))
                throw Abandon{QStringLiteral("%1:1 : en-tête inattendu, attendu « %2 »")
                                  .arg(nom, QString::fromUtf8(std::string(entete.front()).c_str()))};
            continue;
        }
        if (ligne.empty() || ligne == "\r")
            continue;
        try {
            if (!decouperLigneCsv(ligne, champs, erreur))
                throw ErreurLigne{erreur};
            if (champs.size() != entete.size())
                throw ErreurLigne{"nombre de colonnes incorrect (" + std::to_string(entete.size()) +
                                  " attendues, " + std::to_string(champs.size()) + " lues)"};
            traiter(champs);
            ++gardees;
        } catch (const ErreurLigne& e) {
            m_bilan.rejets.append({nom, numero, QString::fromUtf8(e.raison.c_str())});
            if (!m_options.ignorerLignesInvalides)
                throw Abandon{
                    QStringLiteral("%1:%2 : %3").arg(nom).arg(numero).arg(m_bilan.rejets.last().raison)};
        }
    }
    if (!lecteur.erreur().isEmpty())
        throw Abandon{QStringLiteral("%1 : %2").arg(nom, lecteur.erreur())};
    if (numero == 0)
        throw Abandon{QStringLiteral("%1 : fichier vide").arg(nom)};
    if (m_options.progression)
        m_options.progression(nom, numero);
    return gardees;
}

void Importeur::creerSchema()
{
    sql(schemaccam::tables);
}

void Importeur::lireActes()
{
    const qint64 n = parcourirFichier(fActes, [this](const std::vector<std::string>& c) {
        static const auto estCode = [](const std::string& s) {
            return s.size() == 7 &&
                   std::all_of(s.begin(), s.begin() + 4, [](char x) { return x >= 'A' && x <= 'Z'; }) &&
                   chiffres(std::string_view(s).substr(4));
        };
        if (!estCode(c[0]))
            throw ErreurLigne{"code d'acte invalide « " + c[0] + " »"};
        if (m_codes.count(c[0]))
            throw ErreurLigne{"acte en double « " + c[0] + " »"};
        if (c[1].empty() && c[2].empty())
            throw ErreurLigne{"libellé vide"};
        ActeLu a;
        if (!lireEntier(c[3], a.type) || a.type < 0 || a.type > 9)
            throw ErreurLigne{"type d'acte invalide « " + c[3] + " »"};
        if (!lireEntier(c[4], a.sexe) || a.sexe < 0 || a.sexe > 9)
            throw ErreurLigne{"compatibilité de sexe invalide « " + c[4] + " »"};
        a.dateDebut = date(c[5]);
        a.dateFin = date(c[6], true);
        a.code = c[0];
        a.court = c[1];
        a.long_ = c[2];
        m_codes.insert(a.code);
        m_actes.push_back(std::move(a));
    });
    std::sort(m_actes.begin(), m_actes.end(),
              [](const ActeLu& a, const ActeLu& b) { return a.code < b.code; });
    for (std::size_t i = 0; i < m_actes.size(); ++i)
        m_indexActes.emplace(m_actes[i].code, i);
    m_bilan.lignesParTable.append({QStringLiteral("acte"), n});
}

void Importeur::lireHierarchie()
{
    Requete ins(m_base,
                "INSERT INTO noeud(code, parent, strate, niveau, libelle) VALUES (?1, ?2, ?3, ?4, ?5)");
    verifier(ins.erreur().isEmpty() ? SQLITE_OK : SQLITE_ERROR, "préparation");
    const qint64 n = parcourirFichier(fHierarchie, [&](const std::vector<std::string>& c) {
        if (c[0] == "A") {
            auto it = m_indexActes.find(c[1]);
            if (it == m_indexActes.end())
                throw ErreurLigne{"acte inconnu « " + c[1] + " »"};
            m_actes[it->second].noeud = c[2];
            return;
        }
        if (c[0] != "H")
            throw ErreurLigne{"type de ligne inconnu « " + c[0] + " » (H ou A attendu)"};
        if (!chiffres(c[1]))
            throw ErreurLigne{"code de nœud invalide « " + c[1] + " »"};
        int niveau = 0;
        if (!c[4].empty() && !lireEntier(c[4], niveau))
            throw ErreurLigne{"niveau invalide « " + c[4] + " »"};
        ins.texte(1, c[1]).texteOuNul(2, c[2]).texte(3, c[3]).entier(4, niveau).texte(5, c[5]);
        inserer(ins);
    });
    m_bilan.lignesParTable.append({QStringLiteral("hierarchie"), n});
}

void Importeur::ecrireActes()
{
    Requete ins(m_base,
                "INSERT INTO acte(rowid, code, libelle_court, libelle_long, type_acte, sexe, date_debut, "
                "date_fin, noeud) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    Requete fts(m_base, "INSERT INTO acte_fts(rowid, texte) VALUES (?1, ?2)");
    verifier(ins.erreur().isEmpty() && fts.erreur().isEmpty() ? SQLITE_OK : SQLITE_ERROR, "préparation");
    qint64 rowid = 0;
    for (const ActeLu& a : m_actes) {
        ++rowid;
        ins.entier(1, rowid)
            .texte(2, a.code)
            .texte(3, a.court)
            .texte(4, a.long_)
            .entier(5, a.type)
            .entier(6, a.sexe);
        ins.texte(7, a.dateDebut).texteOuNul(8, a.dateFin).texteOuNul(9, a.noeud);
        verifier(ins.executer(), "acte");
        // The rowids follow the code order, so label matches come back sorted by code for free.
        const QByteArray texte = normaliserTexte(QString::fromUtf8(a.court.c_str()) + QLatin1Char(' ') +
                                                 QString::fromUtf8(a.long_.c_str()))
                                     .toUtf8();
        fts.entier(1, rowid).texte(2, std::string_view(texte.constData(), texte.size()));
        verifier(fts.executer(), "index plein texte");
    }
}

void Importeur::lireTarifs(const Fichier& f, bool grilles)
{
    Requete ins(
        m_base,
        "INSERT INTO tarif(code, activite, phase, grille, date_effet, prix) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    verifier(ins.erreur().isEmpty() ? SQLITE_OK : SQLITE_ERROR, "préparation");
    std::string dateEffet;
    const int decalage = grilles ? 1 : 0;
    const qint64 n = parcourirFichier(f, [&](const std::vector<std::string>& c) {
        codeConnu(c[0]);
        const int act = activite(c[1]);
        const int ph = phase(c[2]);
        int grille = 0;
        if (grilles && (!lireEntier(c[3], grille) || grille < 3 || grille > 19))
            throw ErreurLigne{"grille invalide « " + c[3] + " » (3 à 19 attendue)"};
        if (!convertirDate(c[3 + decalage], dateEffet))
            throw ErreurLigne{"date invalide « " + c[3 + decalage] + " »"};
        date(c[4 + decalage], true);
        date(c[5 + decalage], true);
        qint64 centimes = 0;
        if (!convertirPrix(c[6 + decalage], centimes))
            throw ErreurLigne{"prix invalide « " + c[6 + decalage] + " »"};
        ins.texte(1, c[0])
            .entier(2, act)
            .entier(3, ph)
            .entier(4, grille)
            .texte(5, dateEffet)
            .entier(6, centimes);
        inserer(ins);
    });
    m_bilan.lignesParTable.append(
        {grilles ? QStringLiteral("tarif (grilles)") : QStringLiteral("tarif (base)"), n});
}

// The codes in parentheses of an "A l exclusion de" note: "(AAJA005)", "( AAQN002)", "(AAJA002, AAJA004)".
std::vector<std::string> codesEntreParentheses(std::string_view note)
{
    std::vector<std::string> codes;
    std::size_t i = 0;
    while ((i = note.find('(', i)) != std::string_view::npos) {
        const std::size_t fin = note.find(')', i);
        const std::string_view dedans =
            note.substr(i + 1, fin == std::string_view::npos ? note.npos : fin - i - 1);
        for (std::size_t j = 0; j + 7 <= dedans.size(); ++j) {
            const std::string_view m = dedans.substr(j, 7);
            const bool debutMot = j == 0 || !std::isalnum(static_cast<unsigned char>(dedans[j - 1]));
            const bool finMot =
                j + 7 == dedans.size() || !std::isalnum(static_cast<unsigned char>(dedans[j + 7]));
            if (debutMot && finMot &&
                std::all_of(m.begin(), m.begin() + 4, [](char x) { return x >= 'A' && x <= 'Z'; }) &&
                chiffres(m.substr(4))) {
                codes.emplace_back(m);
                j += 6;
            }
        }
        if (fin == std::string_view::npos)
            break;
        i = fin + 1;
    }
    return codes;
}

void Importeur::lireDivers()
{
    {
        Requete ins(
            m_base,
            "INSERT INTO regroupement(code, activite, regroupement, date_debut) VALUES (?1, ?2, ?3, ?4)");
        const qint64 n = parcourirFichier(fRegroupement, [&](const std::vector<std::string>& c) {
            codeConnu(c[0]);
            const int act = activite(c[1]);
            if (c[2].empty())
                throw ErreurLigne{"code de regroupement vide"};
            // Bound without a copy: the text must outlive the insertion.
            const std::string debut = date(c[3], true);
            ins.texte(1, c[0]).entier(2, act).texte(3, c[2]).texteOuNul(4, debut);
            inserer(ins);
        });
        m_bilan.lignesParTable.append({QStringLiteral("regroupement"), n});
    }
    {
        Requete ins(m_base,
                    "INSERT INTO phase(code, activite, phase, icr, classant) VALUES (?1, ?2, ?3, ?4, ?5)");
        const qint64 n = parcourirFichier(fIcr, [&](const std::vector<std::string>& c) {
            codeConnu(c[0]);
            const int act = activite(c[1]);
            const int ph = phase(c[2]);
            int icr = 0;
            if (!c[3].empty() && !lireEntier(c[3], icr))
                throw ErreurLigne{"ICR invalide « " + c[3] + " »"};
            ins.texte(1, c[0]).entier(2, act).entier(3, ph);
            if (c[3].empty())
                ins.nul(4);
            else
                ins.entier(4, icr);
            ins.texteOuNul(5, c[4]);
            inserer(ins);
        });
        m_bilan.lignesParTable.append({QStringLiteral("phase"), n});
    }
    {
        Requete ins(m_base, "INSERT INTO note(code, date_debut, type_note, texte) VALUES (?1, ?2, ?3, ?4)");
        Requete renvoi(m_base,
                       "INSERT OR IGNORE INTO renvoi(code, type_note, code_cite) VALUES (?1, ?2, ?3)");
        const qint64 n = parcourirFichier(fNotes, [&](const std::vector<std::string>& c) {
            codeConnu(c[0]);
            const std::string debut = date(c[1], true);
            if (!chiffres(c[2]))
                throw ErreurLigne{"type de note invalide « " + c[2] + " »"};
            ins.texte(1, c[0]).texteOuNul(2, debut).texte(3, c[2]).texte(4, c[4]);
            inserer(ins);
            if (c[2] == "01" || c[2] == "06")
                for (const std::string& code : codesEntreParentheses(c[4]))
                    if (code != c[0]) {
                        renvoi.texte(1, c[0]).texte(2, c[2]).texte(3, code);
                        verifier(renvoi.executer(), "renvoi");
                    }
        });
        m_bilan.lignesParTable.append({QStringLiteral("note"), n});
    }
    const struct
    {
        const Fichier* fichier;
        const char* sql;
        const char* table;
    } libelles[] = {
        {&fModificateurs, "INSERT INTO modificateur(code, libelle) VALUES (?1, ?2)", "modificateur"},
        {&fLibRegroupement, "INSERT INTO libelle_regroupement(code, libelle) VALUES (?1, ?2)",
         "libelle_regroupement"},
        {&fSpecialites, "INSERT INTO specialite(code, libelle) VALUES (?1, ?2)", "specialite"},
        {&fLibGrilles, "INSERT INTO grille(code, libelle) VALUES (?1, ?2)", "grille"},
        {&fTypesNote, "INSERT INTO type_note(code, libelle) VALUES (?1, ?2)", "type_note"},
    };
    for (const auto& l : libelles) {
        Requete ins(m_base, l.sql);
        const bool numerique = l.fichier == &fSpecialites || l.fichier == &fLibGrilles;
        const qint64 n = parcourirFichier(*l.fichier, [&](const std::vector<std::string>& c) {
            int v = 0;
            if (c[0].empty() || (numerique && !lireEntier(c[0], v)))
                throw ErreurLigne{"code invalide « " + c[0] + " »"};
            if (numerique)
                ins.entier(1, v);
            else
                ins.texte(1, c[0]);
            ins.texte(2, c[1]);
            inserer(ins);
        });
        m_bilan.lignesParTable.append({QString::fromLatin1(l.table), n});
    }
}

void Importeur::lireListes()
{
    const QDir rep(QDir(m_options.repertoire).filePath(QStringLiteral("listes")));
    QStringList noms;
    for (const char* requise : listesRequises)
        noms.append(QString::fromLatin1(requise));
    for (const QString& f : rep.entryList({QStringLiteral("XC_*.csv")}, QDir::Files, QDir::Name)) {
        const QString nom = f.chopped(4);
        if (!noms.contains(nom))
            noms.append(nom);
    }
    Requete ins(m_base, "INSERT INTO liste(nom, code, libelle) VALUES (?1, ?2, ?3)");
    qint64 total = 0;
    for (const QString& nom : std::as_const(noms)) {
        const QByteArray nomUtf8 = nom.toUtf8();
        const QString chemin = rep.filePath(nom + QStringLiteral(".csv"));
        // The header names differ from list to list; only their number is fixed.
        LecteurLignes entete(chemin);
        std::string_view premiere;
        std::vector<std::string> champs;
        std::string erreur;
        if (!QFileInfo(chemin).isFile() || !entete.lire(premiere) ||
            !decouperLigneCsv(premiere, champs, erreur))
            throw Abandon{QStringLiteral("%1 : fichier introuvable ou illisible")
                              .arg(QDir::toNativeSeparators(chemin))};
        if (champs.size() < 2)
            throw Abandon{QStringLiteral("%1.csv:1 : deux colonnes au moins attendues").arg(nom)};
        std::vector<std::string> noms(champs.begin(), champs.end());
        const std::vector<std::string_view> attendu(noms.begin(), noms.end());
        total += parcourir(chemin, attendu, [&](const std::vector<std::string>& c) {
            if (c[0].empty())
                throw ErreurLigne{"code vide"};
            ins.texte(1, std::string_view(nomUtf8.constData(), nomUtf8.size())).texte(2, c[0]).texte(3, c[1]);
            inserer(ins);
        });
    }
    m_bilan.lignesParTable.append({QStringLiteral("liste"), total});
}

void Importeur::finir()
{
    // Every act with a price has its activity and phase listed, even without a relative cost index.
    sql("INSERT OR IGNORE INTO phase(code, activite, phase) SELECT DISTINCT code, activite, phase FROM "
        "tarif");
    sql(schemaccam::index);
    Requete meta(m_base, "INSERT INTO meta(cle, valeur) VALUES (?1, ?2)");
    const QString version = m_options.versionDonnees.isEmpty() ? QFileInfo(m_options.repertoire).fileName()
                                                               : m_options.versionDonnees;
    const std::pair<const char*, QString> valeurs[] = {
        {"format", QString::fromLatin1(schemaccam::format)},
        {"version_donnees", version},
        {"date_import", QDateTime::currentDateTimeUtc().toString(Qt::ISODate)},
        {"source", QFileInfo(m_options.repertoire).absoluteFilePath()},
    };
    for (const auto& [cle, valeur] : valeurs) {
        const QByteArray v = valeur.toUtf8();
        meta.texte(1, cle).texte(2, std::string_view(v.constData(), v.size()));
        verifier(meta.executer(), "métadonnées");
    }
}

BilanImport Importeur::executer()
{
    const QString cible = QFileInfo(m_options.cible).absoluteFilePath();
    const QString temporaire = cible + QStringLiteral(".import-%1.tmp").arg(::getpid());
    QFile::remove(temporaire);
    try {
        if (m_options.cible.isEmpty())
            throw Abandon{QStringLiteral("aucun fichier cible")};
        if (!QFileInfo(m_options.repertoire).isDir())
            throw Abandon{QStringLiteral("%1 : répertoire introuvable").arg(m_options.repertoire)};
        if (sqlite3_open_v2(QFile::encodeName(temporaire).constData(), &m_base,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK)
            throw Abandon{QStringLiteral("%1 : création impossible (%2)")
                              .arg(temporaire, QString::fromUtf8(sqlite3_errmsg(m_base)))};
        // Nothing to protect in a file that replaces the target only once complete.
        sql("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE;"
            "PRAGMA cache_size=-131072; PRAGMA temp_store=MEMORY");
        sql("BEGIN");
        creerSchema();
        lireActes();
        lireHierarchie();
        ecrireActes();
        lireTarifs(fTarifs, false);
        lireTarifs(fGrilles, true);
        lireDivers();
        lireListes();
        finir();
        sql("COMMIT");
        if (sqlite3_close(m_base) != SQLITE_OK)
            throw Abandon{QStringLiteral("fermeture de la base impossible")};
        m_base = nullptr;
        if (std::rename(QFile::encodeName(temporaire).constData(), QFile::encodeName(cible).constData()) != 0)
            throw Abandon{QStringLiteral("%1 : remplacement impossible").arg(cible)};
        m_bilan.reussi = true;
    } catch (const Abandon& a) {
        m_bilan.erreur = a.raison;
        if (m_base) {
            sqlite3_close_v2(m_base);
            m_base = nullptr;
        }
        QFile::remove(temporaire);
    }
    return m_bilan;
}

} // namespace

BilanImport importerCcam(const OptionsImport& options)
{
    Importeur importeur(options);
    return importeur.executer();
}
