#include "lancement.h"

#include "balayage.h"
#include "comparaisonjournaux.h"
#include "diagnostic.h"
#include "echec.h"
#include "fabriquecontrole.h"
#include "frminit.h"
#include "implementations.h"
#include "journalappels.h"
#include "journalisation.h"
#include "lecteurscenario.h"
#include "lecturetexte.h"
#include "listecodes.h"
#include "scenario.h"
#include "servicemessagesqt.h"
#include "sortieconsole.h"
#include "traductions.h"
#include "verificationidentifiants.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIODevice>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

#ifdef Q_OS_WIN
constexpr bool AideParBarreOblique = true;
#else
constexpr bool AideParBarreOblique = false;
#endif

enum StatutScenario : int
{
    ScenarioJoue = 0,
    EtapeNonJouee = 1,
    FichierMalForme = 2,
};

// Whether the raw command line holds this option, before Qt is there to parse it: the platform must be
// chosen before the application object exists.
bool contient(int argc, char* argv[], const char* option)
{
    const std::size_t longueur = std::strlen(option);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strncmp(argv[i], option, longueur) == 0 &&
            (argv[i][longueur] == '\0' || argv[i][longueur] == '='))
            return true;
    }
    return false;
}

void ecrire(std::FILE* flux, const QString& texte)
{
    SortieConsole::ecrireLigne(flux, texte);
}

int comparer(const QString& a, const QString& b, const OptionsComparaison& options)
{
    QString erreur;
    // Printed as it comes: a comparison of two long sweeps may say a lot.
    const IssueComparaison issue = comparerJournaux(
        a, b, [](const QString& texte) { SortieConsole::ecrire(stdout, texte); }, erreur, options);
    if (issue == IssueComparaison::NonAppariables)
        ecrire(stderr, QStringLiteral("Comparaison impossible : %1").arg(erreur));
    return static_cast<int>(issue);
}

// The sweep's options, checked before anything is opened or written.
std::optional<ParametresBalayage> parametresBalayage(const QCommandLineParser& analyseur,
                                                     const QString& liste)
{
    ParametresBalayage parametres;
    QString erreur;
    const std::unique_ptr<QIODevice> source = ouvrirTexteUtf8(liste, erreur);
    if (!source) {
        ecrire(stderr, erreur);
        return std::nullopt;
    }
    const ListeCodes codes = lireListeCodes(*source);
    if (!codes.erreur.isEmpty()) {
        ecrire(stderr, codes.ligneErreur > 0
                           ? QStringLiteral("%1:%2 : %3").arg(liste).arg(codes.ligneErreur).arg(codes.erreur)
                           : QStringLiteral("%1 : %2").arg(liste, codes.erreur));
        return std::nullopt;
    }
    parametres.codes = codes.codes;
    if (analyseur.isSet(QStringLiteral("commandes")) &&
        !lireCommandesBalayage(analyseur.value(QStringLiteral("commandes")), parametres.boutons, erreur)) {
        ecrire(stderr, erreur);
        return std::nullopt;
    }
    if (analyseur.isSet(QStringLiteral("date"))) {
        const QString texte = analyseur.value(QStringLiteral("date"));
        const QDate date = QDate::fromString(texte, QStringLiteral("yyyyMMdd"));
        // The date picker's own range starts with the Gregorian calendar's adoption in Britain.
        if (texte.size() != 8 || !date.isValid() || date < QDate(1752, 9, 14)) {
            ecrire(stderr, QStringLiteral("--date : « %1 » n'est pas une date AAAAMMJJ").arg(texte));
            return std::nullopt;
        }
        parametres.date = date;
    }
    if (analyseur.isSet(QStringLiteral("grille"))) {
        const QString grille = analyseur.value(QStringLiteral("grille"));
        if (grille != QLatin1String("000") && grille != QLatin1String("001") &&
            grille != QLatin1String("002")) {
            ecrire(stderr, QStringLiteral("--grille : 000, 001 ou 002, pas « %1 »").arg(grille));
            return std::nullopt;
        }
        parametres.grille = grille;
    }
    parametres.srt = analyseur.isSet(QStringLiteral("srt"));
    return parametres;
}

// The journal --journal names, when it does; false, once said why, when it cannot be opened.
bool ouvrirJournal(const QCommandLineParser& analyseur, const QCommandLineOption& option,
                   std::unique_ptr<JournalAppels>& journal)
{
    if (!analyseur.isSet(option))
        return true;
    QString erreur;
    journal = JournalAppels::ouvrir(analyseur.value(option), erreur);
    if (!journal)
        ecrire(stderr, erreur);
    return journal != nullptr;
}

// The window, opened and then either left to the operator or played by the scenario.
int ouvrirFenetre(const Implementations& implementations, const FabriqueControle& fabriqueChoisie,
                  const QString& progIdControle, JournalAppels* journal, LecteurScenario* lecteur,
                  const QString& cheminScenario)
{
    ServiceMessagesQt messagesQt;
    ServiceMessages& messages = lecteur ? static_cast<ServiceMessages&>(*lecteur) : messagesQt;
    VerificationIdentifiants verification(journal);
    const FabriqueControle fabrique = verification.envelopper(fabriqueChoisie);
    std::optional<Journalisation> journalisation;
    if (journal)
        journalisation.emplace(*journal, messages, implementations.bibliotheque, fabrique, progIdControle);

    const std::unique_ptr<FrmInit> fenetre = demarrerFrmInitJournalise(
        journalisation, messages, fabrique, implementations.sonde, implementations.bibliotheque);
    if (!fenetre) {
        if (lecteur)
            ecrire(stderr, QStringLiteral("%1 : la fenêtre n'a pas pu s'ouvrir").arg(cheminScenario));
        return lecteur ? EtapeNonJouee : EXIT_FAILURE;
    }
    if (journalisation)
        fenetre->suivreCommandes(&journalisation->suivi);
    // A scenario shows no window: its tester reads the standard error and the journal instead.
    if (lecteur) {
        const QString avertissement = verification.avertissement(progIdControle);
        if (!avertissement.isEmpty())
            ecrire(stderr, avertissement);
    } else {
        verification.avertirApresOuverture(
            *fenetre, journalisation ? journalisation->messagesJournalises : messages, progIdControle);
    }

    int statut = ScenarioJoue;
    if (lecteur) {
        if (!lecteur->jouer(*fenetre)) {
            ecrire(stderr, QStringLiteral("%1:%2 : %3")
                               .arg(cheminScenario)
                               .arg(lecteur->ligneErreur())
                               .arg(lecteur->erreur()));
            statut = EtapeNonJouee;
        }
    } else {
        statut = QApplication::exec();
    }
    if (journal && !journal->complet())
        ecrire(stderr, QStringLiteral("Le journal est incomplet : une ligne n'a pas pu être écrite."));
    return statut;
}

} // namespace

int lancerBancCcam(int& argc, char* argv[], const Implementations& implementations)
{
    const bool sansFenetre = contient(argc, argv, "--comparer") || contient(argc, argv, "--help") ||
                             contient(argc, argv, "-h") || contient(argc, argv, "--help-all") ||
                             contient(argc, argv, "-?") ||
                             (AideParBarreOblique && contient(argc, argv, "/?"));
    const bool horsEcran = (contient(argc, argv, "--scenario") && !contient(argc, argv, "--fenetre")) ||
                           contient(argc, argv, "--balayage") || contient(argc, argv, "--diagnostic");
    if (!sansFenetre && horsEcran)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> application = sansFenetre
                                                              ? std::make_unique<QCoreApplication>(argc, argv)
                                                              : std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(titreApplication());
    installerTraductionsQt(*application);
    if (argc <= 1) {
        QString erreur;
        const FabriqueControle fabrique = implementations.choixControle({}, erreur);
        if (!fabrique) {
            ecrire(stderr, erreur);
            return FichierMalForme;
        }
        return ouvrirFenetre(implementations, fabrique, implementations.progIdControle, nullptr, nullptr, {});
    }

    QCommandLineParser analyseur;
    analyseur.setApplicationDescription(QStringLiteral(
        "Banc d'essai du contrôle de sélection d'actes CCAM et de la bibliothèque de classification. Sans "
        "option, ouvre la fenêtre."));
    analyseur.addHelpOption();
    const QCommandLineOption optionJournal(
        QStringLiteral("journal"),
        QStringLiteral(
            "Écrit dans FICHIER (- pour la sortie standard) un objet JSON par appel au contrôle ou à "
            "la bibliothèque, par boîte de message et par commande."),
        QStringLiteral("FICHIER"));
    const QCommandLineOption optionScenario(
        QStringLiteral("scenario"),
        QStringLiteral(
            "Joue les étapes de FICHIER (JSON Lines) sur la fenêtre, sans l'afficher, puis termine : "
            "0 si toutes les étapes ont été jouées, 1 si l'une n'a pas pu l'être, 2 si le fichier "
            "est mal formé."),
        QStringLiteral("FICHIER"));
    const QCommandLineOption optionComparer(
        QStringLiteral("comparer"),
        QStringLiteral(
            "Compare deux journaux d'un même scénario, A puis B, et affiche par commande les réponses "
            "qui diffèrent : 0 si rien ne diffère, 1 sinon, 2 s'ils ne peuvent être appariés."),
        QStringLiteral("A.jsonl"));
    const QCommandLineOption optionBalayage(
        QStringLiteral("balayage"),
        QStringLiteral(
            "Pour chaque code d'acte de FICHIER (un par ligne, - pour l'entrée standard), remplit "
            "txtCodeCCAM et lance les commandes, sans afficher la fenêtre : 0 si toutes ont abouti, "
            "1 si l'une a échoué ou si le balayage a été interrompu (Ctrl+C), 2 si la liste ou "
            "une option est refusée."),
        QStringLiteral("FICHIER"));
    const QCommandLineOption optionCommandes(
        QStringLiteral("commandes"),
        QStringLiteral("Avec --balayage, les commandes lancées pour chaque acte (2,4,5,6,7 par défaut)."),
        QStringLiteral("LISTE"));
    const QCommandLineOption optionDate(QStringLiteral("date"),
                                        QStringLiteral("Avec --balayage, la date de référence (DTPicker1)."),
                                        QStringLiteral("AAAAMMJJ"));
    const QCommandLineOption optionGrille(QStringLiteral("grille"),
                                          QStringLiteral("Avec --balayage, la grille tarifaire (CboGrille)."),
                                          QStringLiteral("000|001|002"));
    const QCommandLineOption optionSrt(QStringLiteral("srt"),
                                       QStringLiteral("Avec --balayage, coche « Restreindre aux SRT »."));
    const QCommandLineOption optionIgnorer(
        QStringLiteral("ignorer"),
        QStringLiteral("Avec --comparer, laisse de côté ces membres (par exemple CheminConfig)."),
        QStringLiteral("MEMBRE[,MEMBRE...]"));
    const QCommandLineOption optionRapport(
        QStringLiteral("rapport"),
        QStringLiteral("Avec --comparer, écrit aussi la comparaison en page HTML."),
        QStringLiteral("FICHIER.html"));
    const QCommandLineOption optionControle(
        QStringLiteral("controle"),
        QStringLiteral(
            "Le contrôle de sélection d'actes hébergé : « interne » (le composant du banc, dans le "
            "programme), ou sous Windows le ProgID ou le {CLSID} d'un contrôle inscrit. Par défaut "
            "« %1 » sous Windows, « interne » ailleurs.")
            .arg(QString::fromUtf16(progIdCtlTarvo)),
        QStringLiteral("CONTROLE"));
    const QCommandLineOption optionFenetre(
        QStringLiteral("fenetre"),
        QStringLiteral("Avec --scenario, joue les étapes dans la fenêtre affichée, qu'on la voie faire."));
    const QCommandLineOption optionDiagnostic(
        QStringLiteral("diagnostic"),
        QStringLiteral("Dit quel contrôle et quelle bibliothèque répondent (fichiers, versions, inscription, "
                       "identifiants, points d'entrée), puis termine : 0 si tout est conforme, 1 si quelque "
                       "chose diffère ou manque, 2 si rien n'a pu être vérifié."));
    analyseur.addOptions({optionJournal, optionScenario, optionComparer, optionBalayage, optionCommandes,
                          optionDate, optionGrille, optionSrt, optionIgnorer, optionRapport, optionControle,
                          optionFenetre, optionDiagnostic});
    analyseur.addPositionalArgument(QStringLiteral("B.jsonl"),
                                    QStringLiteral("Le second journal, avec --comparer."),
                                    QStringLiteral("[B.jsonl]"));
    // "/?" asks for help on Windows, as every program there understands it.
    QStringList arguments = QCoreApplication::arguments();
    if (AideParBarreOblique)
        arguments.replaceInStrings(QRegularExpression(QStringLiteral("^/\\?$")), QStringLiteral("--help"));
    if (!analyseur.parse(arguments)) {
        ecrire(stderr, analyseur.errorText());
        return FichierMalForme;
    }
    if (analyseur.isSet(QStringLiteral("help"))) {
        ecrire(stdout, analyseur.helpText());
        return EXIT_SUCCESS;
    }
    const QStringList positionnels = analyseur.positionalArguments();
    const auto unDe = [&](const QList<const QCommandLineOption*>& options) {
        return std::any_of(options.begin(), options.end(),
                           [&](const QCommandLineOption* option) { return analyseur.isSet(*option); });
    };
    const QList<const QCommandLineOption*> optionsBalayage{&optionCommandes, &optionDate, &optionGrille,
                                                           &optionSrt};
    if (analyseur.isSet(optionComparer)) {
        if (positionnels.size() != 1 ||
            unDe({&optionScenario, &optionJournal, &optionBalayage, &optionControle, &optionFenetre,
                  &optionDiagnostic}) ||
            unDe(optionsBalayage)) {
            ecrire(stderr,
                   QStringLiteral("--comparer attend deux journaux et, au plus, --ignorer et --rapport : "
                                  "--comparer A.jsonl B.jsonl"));
            return FichierMalForme;
        }
        OptionsComparaison options;
        for (const QString& membre :
             analyseur.values(optionIgnorer).join(QLatin1Char(',')).split(QLatin1Char(',')))
            if (!membre.trimmed().isEmpty())
                options.ignores.append(membre.trimmed());
        options.rapportHtml = analyseur.value(optionRapport);
        return comparer(analyseur.value(optionComparer), positionnels.constFirst(), options);
    }
    if (unDe({&optionIgnorer, &optionRapport})) {
        ecrire(stderr, QStringLiteral("--ignorer et --rapport vont avec --comparer"));
        return FichierMalForme;
    }
    if (!positionnels.isEmpty()) {
        ecrire(stderr, QStringLiteral("Argument inattendu : %1").arg(valeurCitee(positionnels.constFirst())));
        return FichierMalForme;
    }
    if (analyseur.isSet(optionFenetre) && !analyseur.isSet(optionScenario)) {
        ecrire(stderr,
               QStringLiteral("--fenetre ne va qu'avec --scenario : la fenêtre s'affiche déjà sans lui"));
        return FichierMalForme;
    }
    QString erreurControle;
    const QString nomControle = analyseur.isSet(optionControle) ? analyseur.value(optionControle) : QString();
    const FabriqueControle fabrique = implementations.choixControle(nomControle, erreurControle);
    if (!fabrique) {
        ecrire(stderr, erreurControle);
        return FichierMalForme;
    }
    // A control named by its ProgID or CLSID is the one the registry is asked about.
    const QString progIdControle = nomControle.isEmpty() || nomControle == QString::fromUtf16(controleInterne)
                                       ? implementations.progIdControle
                                       : nomControle;
    if (analyseur.isSet(optionDiagnostic)) {
        if (unDe({&optionScenario, &optionJournal, &optionBalayage, &optionFenetre}) ||
            unDe(optionsBalayage)) {
            ecrire(stderr, QStringLiteral("--diagnostic ne prend pas d'autre option que --controle."));
            return FichierMalForme;
        }
        return executerDiagnostic(progIdControle, fabrique, stdout);
    }
    if (analyseur.isSet(optionBalayage)) {
        if (analyseur.isSet(optionScenario)) {
            ecrire(stderr, QStringLiteral("--balayage et --scenario ne vont pas ensemble"));
            return FichierMalForme;
        }
        // Read and checked whole before the journal is opened, so a refused list leaves no file behind.
        const std::optional<ParametresBalayage> parametres =
            parametresBalayage(analyseur, analyseur.value(optionBalayage));
        if (!parametres)
            return FichierMalForme;
        std::unique_ptr<JournalAppels> journal;
        if (!ouvrirJournal(analyseur, optionJournal, journal))
            return FichierMalForme;
        return lancerBalayage(*parametres, journal.get(), implementations, fabrique, progIdControle);
    }
    if (unDe(optionsBalayage)) {
        ecrire(stderr, QStringLiteral("--commandes, --date, --grille et --srt vont avec --balayage"));
        return FichierMalForme;
    }

    // The scenario is read whole before anything is opened or written, so a malformed file leaves no
    // journal behind.
    const QString cheminScenario = analyseur.value(optionScenario);
    LectureScenario lecture;
    if (analyseur.isSet(optionScenario)) {
        lecture = lireFichierScenario(cheminScenario);
        if (!lecture.erreur.isEmpty()) {
            ecrire(stderr, lecture.ligneErreur > 0
                               ? QStringLiteral("%1:%2 : %3")
                                     .arg(cheminScenario)
                                     .arg(lecture.ligneErreur)
                                     .arg(lecture.erreur)
                               : QStringLiteral("%1 : %2").arg(cheminScenario, lecture.erreur));
            return FichierMalForme;
        }
    }
    std::unique_ptr<JournalAppels> journal;
    if (!ouvrirJournal(analyseur, optionJournal, journal))
        return FichierMalForme;
    std::optional<LecteurScenario> lecteur;
    if (analyseur.isSet(optionScenario))
        lecteur.emplace(std::move(lecture.etapes), journal.get());
    return ouvrirFenetre(implementations, fabrique, progIdControle, journal.get(),
                         lecteur ? &*lecteur : nullptr, cheminScenario);
}
