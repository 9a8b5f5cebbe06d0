// ccam-import: the public CCAM's CSV files into a new reference store.
#include "importeurccam.h"
#include "optionsimport.h"
#include "traductions.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

std::atomic<bool> interrompu{false};

void surSignal(int)
{
    interrompu = true;
}

void ecrire(FILE* f, const QString& texte)
{
    std::fputs(texte.toLocal8Bit().constData(), f);
}

// The lines set aside, the first ones only: a wrong layout would reject every line of a large file.
void signalerRejets(const BilanImport& bilan)
{
    const qsizetype rejetsAffiches = 200;
    for (qsizetype i = 0; i < bilan.rejets.size() && i < rejetsAffiches; ++i) {
        const RejetLigne& r = bilan.rejets.at(i);
        ecrire(stderr, QStringLiteral("%1:%2 : %3\n").arg(r.fichier).arg(r.ligne).arg(r.raison));
    }
    if (bilan.rejets.size() > rejetsAffiches)
        ecrire(stderr,
               QStringLiteral("… et %1 autres lignes écartées\n").arg(bilan.rejets.size() - rejetsAffiches));
}

int importer(const OptionsLigneImport& ligne)
{
    std::signal(SIGINT, surSignal);
    std::signal(SIGTERM, surSignal);

    const bool bavard = !ligne.silencieux;
    const bool terminal = bavard && ::isatty(STDERR_FILENO);
    OptionsImport options;
    options.repertoire = ligne.repertoire;
    options.cible = ligne.cible;
    options.ignorerLignesInvalides = ligne.ignorerLignesInvalides;
    options.versionDonnees = ligne.versionDonnees;
    options.interruption = &interrompu;
    if (terminal)
        options.progression = [](const QString& fichier, qint64 lignes) {
            ecrire(stderr, QStringLiteral("\r\033[K%1 : %2 lignes").arg(fichier).arg(lignes));
        };

    QElapsedTimer chrono;
    chrono.start();
    const BilanImport bilan = importerCcam(options);
    if (terminal)
        ecrire(stderr, QStringLiteral("\r\033[K"));
    signalerRejets(bilan);

    if (!bilan.reussi) {
        ecrire(stderr, QStringLiteral("ccam-import : échec, %1 ; la base %2 n'a pas été modifiée.\n")
                           .arg(bilan.erreur, options.cible));
        return StatutImport::Echoue;
    }
    if (bavard) {
        for (const auto& [table, lignes] : bilan.lignesParTable)
            ecrire(stdout, QStringLiteral("%1 %2\n").arg(table, -24).arg(lignes, 10));
        ecrire(stdout, QStringLiteral("%1 lignes écartées ; base %2 écrite en %3 s.\n")
                           .arg(bilan.rejets.size())
                           .arg(options.cible)
                           .arg(chrono.elapsed() / 1000.0, 0, 'f', 1));
    }
    return StatutImport::Reussi;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ccam-import"));
    installerTraductionsQt(application);

    const std::variant<OptionsLigneImport, FinLigneImport> lecture =
        lireOptionsImport(QCoreApplication::arguments());
    if (const FinLigneImport* fin = std::get_if<FinLigneImport>(&lecture)) {
        ecrire(fin->statut == StatutImport::Reussi ? stdout : stderr, fin->texte);
        return fin->statut;
    }
    return importer(std::get<OptionsLigneImport>(lecture));
}
