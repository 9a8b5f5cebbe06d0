// tarvo-verifier: checks a classification library installation. Runs the library test sequence against the
// library the search finds (beside this program first, then the system's search) and prints each step.
// Exit status: 0 when the library connected and the sequence ran to its end; 1 when the sequence ran but the
// connection did not succeed; 2 when nothing could be checked: a refused command line (nothing is called
// then) or a library or entry point that is missing.

#include "appelsjournalises.h"
#include "echec.h"
#include "journalappels.h"
#include "sequencetarvo.h"
#include "servicemessagesconsole.h"
#include "servicemessagesjournalise.h"
#include "sortieconsole.h"
#include "tarvo.h"
#include "traductions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QRegularExpression>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

constexpr int statutReussi = 0;
constexpr int statutConnexionEchouee = 1;
constexpr int statutNonVerifie = 2;

void ecrire(std::FILE* flux, const QString& ligne)
{
    SortieConsole::ecrireLigne(flux, ligne);
}

// A result with the name and meaning of our library's failure code when it is one.
QString resultatLisible(qint32 resultat)
{
    const QString code = tarvo::descriptionCode(resultat);
    return code.isEmpty() ? QString::number(resultat) : QStringLiteral("%1 (%2)").arg(resultat).arg(code);
}

// The library explains a failed connection in its current string. Read only after a failure, and a library
// without these entry points simply gives no reason.
QString raisonConnexion()
{
    try {
        const qint32 longueur = tarvo::GetLenString_Tarvo();
        QString raison;
        if (longueur > 0)
            tarvo::GetString_Tarvo(raison, longueur + 1);
        return raison.trimmed();
    } catch (const Echec&) {
        return {};
    }
}

bool dateValide(const QString& date)
{
    return QRegularExpression(QStringLiteral("^\\d{8}$")).match(date).hasMatch() &&
           QDate::fromString(date, QStringLiteral("yyyyMMdd")).isValid();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvo-verifier"));
    installerTraductionsQt(application);

    QCommandLineParser analyseur;
    analyseur.setApplicationDescription(QStringLiteral(
        "Vérifie une installation de la bibliothèque de classification TarvoLib : exécute sa séquence de "
        "test et affiche le résultat de chaque étape.\n"
        "Statut de sortie : 0 si la connexion a réussi et la séquence est allée à son terme, 1 si la "
        "connexion a échoué, 2 si la ligne de commande est refusée ou si la bibliothèque ou l'un de ses "
        "points d'entrée manque."));
    const QCommandLineOption optionAide({QStringLiteral("h"), QStringLiteral("aide"), QStringLiteral("help")},
                                        QStringLiteral("Affiche cette aide."));
    const QCommandLineOption optionBibliotheque(QStringLiteral("bibliotheque"),
                                                QStringLiteral("Charge ce fichier (chemin absolu) au lieu de "
                                                               "chercher la bibliothèque."),
                                                QStringLiteral("chemin"));
    const QCommandLineOption optionDate(
        QStringLiteral("date"), QStringLiteral("Date de référence AAAAMMJJ (par défaut : aujourd'hui)."),
        QStringLiteral("date"));
    const QCommandLineOption optionGrille(QStringLiteral("grille"),
                                          QStringLiteral("Grille tarifaire : 000, 001 ou 002 (par défaut : "
                                                         "001)."),
                                          QStringLiteral("grille"), QStringLiteral("001"));
    const QCommandLineOption optionTous(QStringLiteral("tous"),
                                        QStringLiteral("Vérifie aussi la présence des 39 points d'entrée."));
    const QCommandLineOption optionJournal(
        QStringLiteral("journal"),
        QStringLiteral(
            "Écrit dans FICHIER (- pour la sortie standard) un objet JSON par appel à la bibliothèque "
            "et par boîte de message."),
        QStringLiteral("FICHIER"));
    analyseur.addOptions(
        {optionAide, optionBibliotheque, optionDate, optionGrille, optionTous, optionJournal});
    if (!analyseur.parse(QCoreApplication::arguments())) {
        ecrire(stderr, QStringLiteral("Ligne de commande refusée : %1").arg(analyseur.errorText()));
        return statutNonVerifie;
    }
    if (analyseur.isSet(optionAide)) {
        ecrire(stdout, analyseur.helpText());
        return statutReussi;
    }
    if (!analyseur.positionalArguments().isEmpty()) {
        ecrire(stderr,
               QStringLiteral("Argument inattendu : %1").arg(analyseur.positionalArguments().constFirst()));
        return statutNonVerifie;
    }

    // Every value is checked before the library is even loaded: a refused line calls nothing.
    const QString date = analyseur.isSet(optionDate)
                             ? analyseur.value(optionDate)
                             : QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    if (!dateValide(date)) {
        ecrire(stderr,
               QStringLiteral("Date invalide : %1 (attendu une date du calendrier AAAAMMJJ)").arg(date));
        return statutNonVerifie;
    }
    const QString grille = analyseur.value(optionGrille);
    if (!QStringList{QStringLiteral("000"), QStringLiteral("001"), QStringLiteral("002")}.contains(grille)) {
        ecrire(stderr,
               QStringLiteral("Grille tarifaire invalide : %1 (attendu 000, 001 ou 002)").arg(grille));
        return statutNonVerifie;
    }
    if (analyseur.isSet(optionBibliotheque)) {
        const QString chemin = analyseur.value(optionBibliotheque);
        if (QDir::isRelativePath(chemin)) {
            ecrire(stderr, QStringLiteral("Le chemin de la bibliothèque doit être absolu : %1").arg(chemin));
            return statutNonVerifie;
        }
        tarvo::definirCheminBibliotheque(chemin);
    }

    std::unique_ptr<JournalAppels> journal;
    if (analyseur.isSet(optionJournal)) {
        QString erreur;
        journal = JournalAppels::ouvrir(analyseur.value(optionJournal), erreur);
        if (!journal) {
            ecrire(stderr, erreur);
            return statutNonVerifie;
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
    const ValeursFixesSequence fixes = valeursFixesSequence();
    SourceContexteSequence source;
    source.dateReference = [&date] {
        return date;
    };
    source.grilleTarifaire = [&grille] {
        return grille;
    };
    qint32 connexion = 0;
    source.apresAppel = [&](int etape, const QString& pointEntree, qint32 resultat) {
        if (etape == 1) {
            ecrire(stdout, QStringLiteral("Bibliothèque : %1").arg(tarvo::fichierCharge()));
            ecrire(stdout,
                   QStringLiteral("Valeurs testées : actes %1 (étapes 3 à 5) et %2 (étape 6), date de "
                                  "référence %3 et grille %4 (étape 3), date de prise en charge %5 (étape 4)")
                       .arg(fixes.acte, fixes.acteAssociation, date, grille, fixes.datePriseEnCharge));
        }
        ecrire(stdout,
               QStringLiteral("Étape %1 : %2 = %3").arg(etape).arg(pointEntree, resultatLisible(resultat)));
        if (etape == 1) {
            connexion = resultat;
            if (resultat <= 0) {
                const QString raison = raisonConnexion();
                if (!raison.isEmpty())
                    ecrire(stdout, QStringLiteral("Raison donnée par la bibliothèque : %1").arg(raison));
            }
        }
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
        ecrire(stderr, QStringLiteral("Vérification impossible, erreur %1 : %2")
                           .arg(echec.numero())
                           .arg(echec.description()));
        return statutNonVerifie;
    }
    // The sequence goes on whatever the connection answers, but a check that could not connect has failed.
    if (connexion <= 0) {
        ecrire(stderr,
               QStringLiteral("Vérification échouée : la connexion a répondu %1 ; les étapes suivantes "
                              "ont été exécutées quand même.")
                   .arg(resultatLisible(connexion)));
        return statutConnexionEchouee;
    }
    ecrire(stdout, QStringLiteral("Vérification réussie."));
    return statutReussi;
}
