#include "donneesbench.h"
#include "importeurccam.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <zlib.h>

namespace {

using Horloge = std::chrono::steady_clock;

// The same table layout as the store, columns as the CSV gives them: the command-line tool cannot
// convert dates or prices on the way in, so it keeps them as text.
const char* const schemaBrut = R"(
PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE; PRAGMA cache_size=-131072;
CREATE TABLE acte(code, libelle_court, libelle_long, type_acte, sexe, date_debut, date_fin);
CREATE TABLE noeud(type, code, parent, strate, niveau, libelle, n1, n2, n3, n4);
CREATE TABLE tarif(code, activite, phase, date_effet, date_arr_minis, date_jo, prix,
                   PRIMARY KEY(code, activite, phase, date_effet)) WITHOUT ROWID;
CREATE TABLE tarif_grille(code, activite, phase, grille, date_effet, date_arr_minis, date_jo, prix,
                          PRIMARY KEY(code, activite, phase, grille, date_effet)) WITHOUT ROWID;
CREATE TABLE regroupement(code, activite, regroupement, date_debut, PRIMARY KEY(code, activite)) WITHOUT ROWID;
CREATE TABLE phase(code, activite, phase, icr, classant, PRIMARY KEY(code, activite, phase)) WITHOUT ROWID;
CREATE TABLE note(code, date_debut, type_note, libelle_type_note, texte);
CREATE TABLE modificateur(code PRIMARY KEY, libelle);
CREATE TABLE libelle_regroupement(code PRIMARY KEY, libelle);
CREATE TABLE specialite(code PRIMARY KEY, libelle);
CREATE TABLE grille(code PRIMARY KEY, libelle);
CREATE TABLE type_note(code PRIMARY KEY, libelle);
.mode csv
.separator ;
BEGIN;
.import --skip 1 ccam_actes.csv acte
.import --skip 1 ccam_hierarchie_actes.csv noeud
.import --skip 1 ccam_tarifs.csv tarif
.import --skip 1 ccam_tarifs_grilles.csv tarif_grille
.import --skip 1 ccam_regroupement.csv regroupement
.import --skip 1 ccam_icr.csv phase
.import --skip 1 ccam_notes.csv note
.import --skip 1 ccam_libelle_modificateur.csv modificateur
.import --skip 1 ccam_libelle_regroupement.csv libelle_regroupement
.import --skip 1 ccam_libelle_specialite_medicale.csv specialite
.import --skip 1 ccam_libelles_grille_tarifs.csv grille
.import --skip 1 libelle_notes.csv type_note
CREATE UNIQUE INDEX acte_code ON acte(code);
CREATE INDEX note_code ON note(code, type_note);
COMMIT;
)";

bool decompresser(const QString& source, const QString& cible)
{
    gzFile gz = gzopen(QFile::encodeName(source).constData(), "rb");
    QFile sortie(cible);
    if (!gz || !sortie.open(QIODevice::WriteOnly))
        return false;
    QByteArray tampon(1 << 20, Qt::Uninitialized);
    int lu = 0;
    while ((lu = gzread(gz, tampon.data(), static_cast<unsigned>(tampon.size()))) > 0)
        sortie.write(tampon.constData(), lu);
    gzclose(gz);
    return lu == 0;
}

// Both importers read the same decompressed files, one copy per run.
void importContreSqlite3(benchmark::State& state)
{
    const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    const QDir source(repertoireCcam());
    if (sqlite3.isEmpty() || !source.exists(QStringLiteral("ccam_actes.csv.gz"))) {
        state.SkipWithError("sqlite3 or the full CCAM data is missing");
        return;
    }
    QTemporaryDir temp;
    const QDir rep(temp.path());
    rep.mkpath(QStringLiteral("listes"));
    for (const QString& f : source.entryList({QStringLiteral("*.csv.gz")}, QDir::Files))
        decompresser(source.filePath(f), rep.filePath(f.chopped(3)));
    for (const QString& f : QDir(source.filePath(QStringLiteral("listes"))).entryList(QDir::Files))
        QFile::copy(source.filePath(QStringLiteral("listes/") + f),
                    rep.filePath(QStringLiteral("listes/") + f));

    double totalBase = 0, totalNous = 0;
    for (auto _ : state) {
        QFile::remove(rep.filePath(QStringLiteral("brut.sqlite")));
        QFile::remove(rep.filePath(QStringLiteral("nous.sqlite")));

        const auto t0 = Horloge::now();
        QProcess p;
        p.setWorkingDirectory(rep.path());
        p.start(sqlite3, {QStringLiteral("brut.sqlite")});
        p.write(schemaBrut);
        p.closeWriteChannel();
        p.waitForFinished(-1);
        const auto t1 = Horloge::now();
        if (p.exitCode() != 0 || !p.readAllStandardError().isEmpty()) {
            state.SkipWithError("sqlite3 .import failed");
            return;
        }

        OptionsImport o;
        o.repertoire = rep.path();
        o.cible = rep.filePath(QStringLiteral("nous.sqlite"));
        const auto t2 = Horloge::now();
        const BilanImport bilan = importerCcam(o);
        const auto t3 = Horloge::now();
        if (!bilan.reussi) {
            state.SkipWithError(bilan.erreur.toUtf8().constData());
            return;
        }
        const double base = std::chrono::duration<double>(t1 - t0).count();
        const double nous = std::chrono::duration<double>(t3 - t2).count();
        totalBase += base;
        totalNous += nous;
        state.SetIterationTime(nous);
    }
    state.counters["sqlite3_s"] = totalBase / static_cast<double>(state.iterations());
    state.counters["import_s"] = totalNous / static_cast<double>(state.iterations());
    // Target: at most 1.5.
    state.counters["ratio_vs_sqlite3"] = totalNous / totalBase;
}
BENCHMARK(importContreSqlite3)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
