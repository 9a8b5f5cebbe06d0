// tarvo-verifier: runs the library test sequence against the classification library the search finds
// (beside this program first, then the system's search) and prints each step. Exit status: 0 when the
// sequence ran to its end, 1 on a bad command line, 2 when the library or an entry point is missing.

#include "appelsjournalises.h"
#include "echec.h"
#include "journalappels.h"
#include "sequencetarvo.h"
#include "servicemessagesconsole.h"
#include "servicemessagesjournalise.h"
#include "sortieconsole.h"
#include "tarvo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QRegularExpression>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

void ecrire(std::FILE* flux, const QString& ligne)
{
    SortieConsole::ecrireLigne(flux, ligne);
    std::fflush(flux);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvo-verifier"));

    QCommandLineParser analyseur;
    analyseur.setApplicationDescription(QStringLiteral(
        "Exécute la séquence de test de la bibliothèque de classification TarvoLib et affiche le "
        "résultat de chaque étape."));
    analyseur.addHelpOption();
    const QCommandLineOption optionBibliotheque(QStringLiteral("bibliotheque"),
                                                QStringLiteral("Charge ce fichier (chemin absolu) au lieu de "
                                                               "chercher la bibliothèque."),
                                                QStringLiteral("chemin"));
    const QCommandLineOption optionDate(
        QStringLiteral("date"), QStringLiteral("Date de référence AAAAMMJJ (par défaut : aujourd'hui)."),
        QStringLiteral("date"));
    const QCommandLineOption optionGrille(QStringLiteral("grille"),
                                          QStringLiteral("Grille tarifaire (par défaut : 001)."),
                                          QStringLiteral("grille"), QStringLiteral("001"));
    const QCommandLineOption optionTous(QStringLiteral("tous"),
                                        QStringLiteral("Vérifie aussi la présence des 39 points d'entrée."));
    const QCommandLineOption optionJournal(
        QStringLiteral("journal"),
        QStringLiteral(
            "Écrit dans FICHIER (- pour la sortie standard) un objet JSON par appel à la bibliothèque "
            "et par boîte de message."),
        QStringLiteral("FICHIER"));
    analyseur.addOptions({optionBibliotheque, optionDate, optionGrille, optionTous, optionJournal});
    if (!analyseur.parse(QCoreApplication::arguments())) {
        ecrire(stderr, analyseur.errorText());
        return 1;
    }
    if (analyseur.isSet(QStringLiteral("help"))) {
        ecrire(stdout, analyseur.helpText());
        return 0;
    }
    if (!analyseur.positionalArguments().isEmpty()) {
        ecrire(stderr,
               QStringLiteral("Argument inattendu : %1").arg(analyseur.positionalArguments().constFirst()));
        return 1;
    }

    const QString date = analyseur.isSet(optionDate)
                             ? analyseur.value(optionDate)
                             : QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    if (!QRegularExpression(QStringLiteral("^\\d{8}$")).match(date).hasMatch()) {
        ecrire(stderr, QStringLiteral("Date invalide : %1 (attendu AAAAMMJJ)").arg(date));
        return 1;
    }
    const QString grille = analyseur.value(optionGrille);
    if (analyseur.isSet(optionBibliotheque)) {
        const QString chemin = analyseur.value(optionBibliotheque);
        if (QDir::isRelativePath(chemin)) {
            ecrire(stderr, QStringLiteral("Le chemin de la bibliothèque doit être absolu : %1").arg(chemin));
            return 1;
        }
        tarvo::definirCheminBibliotheque(chemin);
    }

    std::unique_ptr<JournalAppels> journal;
    if (analyseur.isSet(optionJournal)) {
        QString erreur;
        journal = JournalAppels::ouvrir(analyseur.value(optionJournal), erreur);
        if (!journal) {
            ecrire(stderr, erreur);
            return 1;
        }
    }
    ServiceMessagesConsole console;
    std::optional<ServiceMessagesJournalise> messagesJournalises;
    std::optional<AppelsJournalises> appelsJournalises;
    if (journal) {
        messagesJournalises.emplace(console, *journal);
        appelsJournalises.emplace(appelsTarvo(), *journal);
    }
    ServiceMessages& messages = journal ? static_cast<ServiceMessages&>(*messagesJournalises) : console;
    AppelsSequence& appels = journal ? static_cast<AppelsSequence&>(*appelsJournalises) : appelsTarvo();
    SourceContexteSequence source;
    source.dateReference = [&date] {
        return date;
    };
    source.grilleTarifaire = [&grille] {
        return grille;
    };
    source.apresAppel = [](int etape, const QString& pointEntree, qint32 resultat) {
        if (etape == 1)
            ecrire(stdout, QStringLiteral("Bibliothèque : %1").arg(tarvo::fichierCharge()));
        ecrire(stdout, QStringLiteral("Étape %1 : %2 = %3").arg(etape).arg(pointEntree).arg(resultat));
    };

    try {
        executerSequenceTarvo(messages, source, appels);
        ecrire(stdout, QStringLiteral("Étape 8 : tableaux libérés"));
        if (analyseur.isSet(optionTous)) {
            for (const QString& nom : tarvo::nomsPointsEntree())
                tarvo::verifierPointEntree(nom);
            ecrire(stdout, QStringLiteral("Les %1 points d'entrée sont présents.")
                               .arg(tarvo::nomsPointsEntree().size()));
        }
    } catch (const Echec& echec) {
        ecrire(stderr, QStringLiteral("Erreur %1 : %2").arg(echec.numero()).arg(echec.description()));
        return 2;
    }
    return 0;
}
