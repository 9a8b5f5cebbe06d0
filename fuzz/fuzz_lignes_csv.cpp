// The CSV row parser and the date and price conversions of the CCAM importer, on any bytes:
// malformed quoting, stray separators, invalid UTF-8, long fields. Every line either parses as an
// independent reference parser reads it or fails with a reason; the conversions agree with plain
// references. A second mode imports a directory whose one file holds the input over a database
// that already exists: a failed import must leave that database byte for byte as it was.
#include "commun/exigence.h"
#include "importeurccam.h"

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The documented grammar read one character at a time, as a state machine rather than by searching
// for the next quote or separator as the importer does. nullopt for a malformed line.
std::optional<std::vector<std::string>> decouperReference(std::string_view ligne)
{
    if (!ligne.empty() && ligne.back() == '\r')
        ligne.remove_suffix(1);
    enum
    {
        DebutChamp,
        HorsGuillemets,
        EntreGuillemets,
        GuillemetVu
    } etat = DebutChamp;
    std::vector<std::string> champs;
    std::string champ;
    for (const char c : ligne) {
        switch (etat) {
        case DebutChamp:
        case HorsGuillemets:
            if (c == ';') {
                champs.push_back(std::move(champ));
                champ.clear();
                etat = DebutChamp;
            } else if (c == '"') {
                if (etat == HorsGuillemets)
                    return std::nullopt;
                etat = EntreGuillemets;
            } else {
                champ.push_back(c);
                etat = HorsGuillemets;
            }
            break;
        case EntreGuillemets:
            if (c == '"')
                etat = GuillemetVu;
            else
                champ.push_back(c);
            break;
        case GuillemetVu:
            if (c == '"') {
                champ.push_back('"');
                etat = EntreGuillemets;
            } else if (c == ';') {
                champs.push_back(std::move(champ));
                champ.clear();
                etat = DebutChamp;
            } else {
                return std::nullopt;
            }
            break;
        }
    }
    if (etat == EntreGuillemets)
        return std::nullopt;
    champs.push_back(std::move(champ));
    return champs;
}

// Separators outside quotes, counted by quote parity alone.
std::size_t separateursHorsGuillemets(std::string_view ligne)
{
    bool dedans = false;
    std::size_t n = 0;
    for (const char c : ligne) {
        if (c == '"')
            dedans = !dedans;
        else if (c == ';' && !dedans)
            ++n;
    }
    return n;
}

bool chiffres(std::string_view t)
{
    for (const char c : t)
        if (c < '0' || c > '9')
            return false;
    return !t.empty();
}

void verifierLigne(std::string_view ligne)
{
    std::vector<std::string> champs;
    std::string erreur;
    const bool reussi = decouperLigneCsv(ligne, champs, erreur);
    const auto attendus = decouperReference(ligne);
    exiger(reussi == attendus.has_value(), "la ligne est refusée exactement quand la grammaire la refuse");
    if (!reussi) {
        exiger(!erreur.empty(), "un refus donne sa raison");
        return;
    }
    exiger(champs == *attendus, "les champs sont ceux de la lecture de référence");
    std::string_view sansRetour = ligne;
    if (!sansRetour.empty() && sansRetour.back() == '\r')
        sansRetour.remove_suffix(1);
    exiger(champs.size() == separateursHorsGuillemets(sansRetour) + 1,
           "autant de champs que de séparateurs hors guillemets plus un");
    if (sansRetour.find('"') == std::string_view::npos) {
        std::vector<std::string> simples(1);
        for (const char c : sansRetour) {
            if (c == ';')
                simples.emplace_back();
            else
                simples.back().push_back(c);
        }
        exiger(champs == simples, "sans guillemets, les champs sont le texte entre les « ; »");
    }
    // The importer hands the same vector to every line of a file: what an earlier, longer line left
    // there must not show through.
    std::vector<std::string> reutilise{std::string(300, 'x'), "y", "z", "w", "v", "u", "t", "s", "r"};
    std::string erreur2;
    exiger(decouperLigneCsv(ligne, reutilise, erreur2) && reutilise == champs,
           "un vecteur déjà rempli donne les mêmes champs");
}

void verifierDate(std::string_view texte)
{
    std::string sortie;
    const bool reussi = convertirDate(texte, sortie);
    bool attendu = texte.size() == 10 && texte[4] == '-' && texte[7] == '-' && chiffres(texte.substr(0, 4)) &&
                   chiffres(texte.substr(5, 2)) && chiffres(texte.substr(8, 2));
    if (attendu) {
        const int annee = std::stoi(std::string(texte.substr(0, 4)));
        const int mois = std::stoi(std::string(texte.substr(5, 2)));
        const int jour = std::stoi(std::string(texte.substr(8, 2)));
        attendu = annee >= 1900 && QDate(annee, mois, jour).isValid();
    }
    exiger(reussi == attendu, "une date est acceptée exactement quand elle existe au calendrier, dès 1900");
    if (reussi) {
        const std::string chiffresSeuls = std::string(texte.substr(0, 4)) + std::string(texte.substr(5, 2)) +
                                          std::string(texte.substr(8, 2));
        exiger(sortie == chiffresSeuls, "la date convertie est « AAAAMMJJ »");
    }
}

void verifierPrix(std::string_view texte)
{
    qint64 centimes = -1;
    const bool reussi = convertirPrix(texte, centimes);
    const std::size_t point = texte.find('.');
    const std::string_view euros = texte.substr(0, point);
    const std::string_view decimales =
        point == std::string_view::npos ? std::string_view() : texte.substr(point + 1);
    const bool attendu = chiffres(euros) && euros.size() <= 12 &&
                         (point == std::string_view::npos || (chiffres(decimales) && decimales.size() <= 2));
    exiger(reussi == attendu, "un prix est accepté exactement s'il s'écrit « euros[.cc] »");
    if (!reussi)
        return;
    qint64 attendus = 0;
    for (const char c : euros)
        attendus = attendus * 10 + (c - '0');
    attendus *= 100;
    if (!decimales.empty())
        attendus += (decimales[0] - '0') * 10 + (decimales.size() == 2 ? decimales[1] - '0' : 0);
    exiger(centimes == attendus, "le prix converti est en centimes exacts");
}

// ---- The import over an existing database ----

const char* const fichiersImport[] = {"ccam_actes.csv",
                                      "ccam_hierarchie_actes.csv",
                                      "ccam_icr.csv",
                                      "ccam_libelle_modificateur.csv",
                                      "ccam_libelle_regroupement.csv",
                                      "ccam_libelle_specialite_medicale.csv",
                                      "ccam_libelles_grille_tarifs.csv",
                                      "ccam_notes.csv",
                                      "ccam_regroupement.csv",
                                      "ccam_tarifs.csv",
                                      "ccam_tarifs_grilles.csv",
                                      "libelle_notes.csv",
                                      "listes/XC_ATE_V.csv",
                                      "listes/XC_CGE_V.csv",
                                      "listes/XC_REM_V.csv"};

QByteArray lire(const QString& chemin)
{
    QFile f(chemin);
    exiger(f.open(QIODevice::ReadOnly), "un fichier du banc se lit");
    return f.readAll();
}

void ecrire(const QString& chemin, const QByteArray& contenu)
{
    QFile f(chemin);
    exiger(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(contenu) == contenu.size(),
           "un fichier du banc s'écrit");
}

// A copy of the sample and a database imported from it, made once per process.
struct BancImport
{
    QTemporaryDir dossier;
    QString source, cible;
    QByteArray precedente;

    BancImport()
    {
        exiger(dossier.isValid(), "un dossier temporaire se crée");
        source = dossier.filePath(QStringLiteral("source"));
        cible = dossier.filePath(QStringLiteral("base/ccam.sqlite"));
        QDir().mkpath(source + QStringLiteral("/listes"));
        QDir().mkpath(dossier.filePath(QStringLiteral("base")));
        for (const char* nom : fichiersImport)
            ecrire(source + u'/' + QString::fromLatin1(nom),
                   lire(QStringLiteral(BANC_ECHANTILLON "/") + QString::fromLatin1(nom)));
        OptionsImport options;
        options.repertoire = source;
        options.cible = cible;
        exiger(importerCcam(options).reussi, "l'échantillon s'importe");
        precedente = lire(cible);
    }
};

void verifierImport(uint8_t reglage, const uint8_t* donnees, size_t taille)
{
    static BancImport banc;
    const QString nom = QString::fromLatin1(fichiersImport[(reglage >> 2) % std::size(fichiersImport)]);
    const QString chemin = banc.source + u'/' + nom;
    const QByteArray original = lire(QStringLiteral(BANC_ECHANTILLON "/") + nom);
    // Mostly after the file's own header, so that the rows themselves are reached.
    QByteArray contenu = (reglage & 0x40) ? QByteArray() : original.left(original.indexOf('\n') + 1);
    contenu.append(reinterpret_cast<const char*>(donnees), qsizetype(taille));
    ecrire(chemin, contenu);

    OptionsImport options;
    options.repertoire = banc.source;
    options.cible = banc.cible;
    options.ignorerLignesInvalides = (reglage & 0x80) != 0;
    const BilanImport bilan = importerCcam(options);
    ecrire(chemin, original);

    const QStringList restants = QDir(QFileInfo(banc.cible).path()).entryList(QDir::Files | QDir::Hidden);
    exiger(restants == QStringList{QStringLiteral("ccam.sqlite")}, "aucun fichier temporaire laissé");
    if (bilan.reussi) {
        exiger(bilan.erreur.isEmpty(), "un import réussi ne donne pas d'erreur");
        ecrire(banc.cible, banc.precedente);
        return;
    }
    exiger(!bilan.erreur.isEmpty(), "un import échoué dit pourquoi");
    exiger(lire(banc.cible) == banc.precedente, "un import échoué laisse la base précédente intacte");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    if (taille < 1)
        return 0;
    const uint8_t reglage = donnees[0];
    ++donnees;
    --taille;
    // One input in four imports: an import costs a few milliseconds, a line a few microseconds.
    if ((reglage & 3) == 3) {
        verifierImport(reglage, donnees, taille);
        return 0;
    }
    const std::string_view texte(reinterpret_cast<const char*>(donnees), taille);
    // Each line of the input as the importer would meet it, then the whole input as one line.
    std::size_t debut = 0;
    for (std::size_t fin; (fin = texte.find('\n', debut)) != std::string_view::npos; debut = fin + 1)
        verifierLigne(texte.substr(debut, fin - debut));
    verifierLigne(texte);

    std::vector<std::string> champs;
    std::string erreur;
    decouperLigneCsv(texte.substr(debut), champs, erreur);
    champs.emplace_back(texte);
    for (const std::string& champ : champs) {
        verifierDate(champ);
        verifierPrix(champ);
    }
    return 0;
}
