#include "importeurccam.h"
#include "traductions.h"

#include <QCommandLineParser>
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

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ccam-import"));
    installerTraductionsQt(app);

    QCommandLineParser parseur;
    parseur.setApplicationDescription(
        QStringLiteral("Importe les fichiers CSV de la CCAM (.csv ou .csv.gz) dans une base SQLite neuve."));
    const QCommandLineOption aide({QStringLiteral("h"), QStringLiteral("aide"), QStringLiteral("help")},
                                  QStringLiteral("Affiche cette aide."));
    const QCommandLineOption ignorer(QStringLiteral("ignorer-erreurs"),
                                     QStringLiteral("Écarte les lignes invalides, les signale et poursuit."));
    const QCommandLineOption silencieux(QStringLiteral("silencieux"),
                                        QStringLiteral("N'affiche ni la progression ni le bilan."));
    const QCommandLineOption version(QStringLiteral("version-donnees"),
                                     QStringLiteral("Version des données notée dans la base."),
                                     QStringLiteral("texte"));
    parseur.addOptions({aide, ignorer, silencieux, version});
    parseur.addPositionalArgument(QStringLiteral("repertoire"),
                                  QStringLiteral("Répertoire des fichiers CSV."));
    parseur.addPositionalArgument(QStringLiteral("base"),
                                  QStringLiteral("Fichier SQLite à créer ou remplacer."));
    if (!parseur.parse(QCoreApplication::arguments())) {
        ecrire(stderr,
               QStringLiteral("ccam-import : ligne de commande refusée : %1\n").arg(parseur.errorText()));
        return 2;
    }
    if (parseur.isSet(aide)) {
        ecrire(stdout, parseur.helpText());
        return 0;
    }
    if (parseur.positionalArguments().size() != 2) {
        ecrire(stderr, QStringLiteral("ccam-import : deux arguments attendus, le répertoire et la base.\n"));
        return 2;
    }

    std::signal(SIGINT, surSignal);
    std::signal(SIGTERM, surSignal);

    const bool bavard = !parseur.isSet(silencieux);
    const bool terminal = bavard && ::isatty(STDERR_FILENO);
    OptionsImport options;
    options.repertoire = parseur.positionalArguments().at(0);
    options.cible = parseur.positionalArguments().at(1);
    options.ignorerLignesInvalides = parseur.isSet(ignorer);
    options.versionDonnees = parseur.value(version);
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

    const qsizetype rejetsAffiches = 200;
    for (qsizetype i = 0; i < bilan.rejets.size() && i < rejetsAffiches; ++i) {
        const RejetLigne& r = bilan.rejets.at(i);
        ecrire(stderr, QStringLiteral("%1:%2 : %3\n").arg(r.fichier).arg(r.ligne).arg(r.raison));
    }
    if (bilan.rejets.size() > rejetsAffiches)
        ecrire(stderr,
               QStringLiteral("… et %1 autres lignes écartées\n").arg(bilan.rejets.size() - rejetsAffiches));

    if (!bilan.reussi) {
        ecrire(stderr, QStringLiteral("ccam-import : échec, %1 ; la base %2 n'a pas été modifiée.\n")
                           .arg(bilan.erreur, options.cible));
        return 1;
    }
    if (bavard) {
        for (const auto& [table, lignes] : bilan.lignesParTable)
            ecrire(stdout, QStringLiteral("%1 %2\n").arg(table, -24).arg(lignes, 10));
        ecrire(stdout, QStringLiteral("%1 lignes écartées ; base %2 écrite en %3 s.\n")
                           .arg(bilan.rejets.size())
                           .arg(options.cible)
                           .arg(chrono.elapsed() / 1000.0, 0, 'f', 1));
    }
    return 0;
}
