#include "lancement.h"

#include "balayage.h"
#include "comparaisonjournaux.h"
#include "diagnostic.h"
#include "fabriquecontrole.h"
#include "fenetrebanc.h"
#include "frminit.h"
#include "implementations.h"
#include "journalappels.h"
#include "lecteurscenario.h"
#include "listecodes.h"
#include "optionsbanc.h"
#include "scenario.h"
#include "servicemessagesqt.h"
#include "sortieconsole.h"
#include "traductions.h"

#include <QApplication>
#include <QDate>
#include <cstdio>
#include <optional>

namespace {

void ecrire(std::FILE* flux, const QString& texte)
{
    SortieConsole::ecrireLigne(flux, texte);
}

// A file refused at a line, or as a whole when `ligne` is 0.
QString refusFichier(const QString& chemin, int ligne, const QString& erreur)
{
    return ligne > 0 ? QStringLiteral("%1:%2 : %3").arg(chemin).arg(ligne).arg(erreur)
                     : QStringLiteral("%1 : %2").arg(chemin, erreur);
}

std::unique_ptr<QCoreApplication> creerApplication(int& argc, char* argv[])
{
    switch (applicationDemandee(argc, argv)) {
    case ApplicationBanc::SansWidgets:
        return std::make_unique<QCoreApplication>(argc, argv);
    case ApplicationBanc::HorsEcran:
        qputenv("QT_QPA_PLATFORM", "offscreen");
        break;
    case ApplicationBanc::Ecran:
        break;
    }
    return std::make_unique<QApplication>(argc, argv);
}

// The control --controle names, and the ProgID the registry is asked about for it.
struct ControleChoisi
{
    FabriqueControle fabrique;
    QString progId;
};

std::optional<ControleChoisi> choisirControle(const OptionsBanc& options,
                                              const Implementations& implementations)
{
    QString erreur;
    ControleChoisi choix{implementations.choixControle(options.controle, erreur), {}};
    if (!choix.fabrique) {
        ecrire(stderr, erreur);
        return std::nullopt;
    }
    // A control named by its ProgID or CLSID is the one the registry is asked about.
    choix.progId = options.controle.isEmpty() || options.controle == QStringView(controleInterne)
                       ? implementations.progIdControle
                       : options.controle;
    return choix;
}

// The journal --journal names, when it does; false, once said why, when it cannot be opened.
bool ouvrirJournal(const OptionsBanc& options, std::unique_ptr<JournalAppels>& journal)
{
    if (!options.cheminJournal)
        return true;
    QString erreur;
    journal = JournalAppels::ouvrir(*options.cheminJournal, erreur);
    if (!journal)
        ecrire(stderr, erreur);
    return journal != nullptr;
}

int comparer(const OptionsBanc& options)
{
    QString erreur;
    // Printed as it comes: a comparison of two long sweeps may say a lot.
    const IssueComparaison issue = comparerJournaux(
        options.journalA, options.journalB,
        [](const QString& texte) { SortieConsole::ecrire(stdout, texte); }, erreur, options.comparaison);
    if (issue == IssueComparaison::NonAppariables)
        ecrire(stderr, QStringLiteral("Comparaison impossible : %1").arg(erreur));
    return static_cast<int>(issue);
}

// The window, left to the operator.
int ouvrirFenetre(const OptionsBanc& options, const Implementations& implementations,
                  const ControleChoisi& controle)
{
    std::unique_ptr<JournalAppels> journal;
    if (!ouvrirJournal(options, journal))
        return StatutBanc::LigneRefusee;
    ServiceMessagesQt messages;
    FenetreBanc fenetre(implementations, controle.fabrique, controle.progId, journal.get(), messages);
    if (!fenetre.ouvrir(FenetreBanc::Avertissement::Boite))
        return StatutBanc::NonAbouti;
    const int statut = QApplication::exec();
    fenetre.signalerJournalIncomplet();
    return statut;
}

// The scenario is read whole before anything is opened or written, so a malformed file leaves no journal
// behind.
int jouerScenario(const OptionsBanc& options, const Implementations& implementations,
                  const ControleChoisi& controle)
{
    const QString& chemin = options.cheminScenario;
    LectureScenario lecture = lireFichierScenario(chemin);
    if (!lecture.erreur.isEmpty()) {
        ecrire(stderr, refusFichier(chemin, lecture.ligneErreur, lecture.erreur));
        return StatutBanc::FichierMalForme;
    }
    std::unique_ptr<JournalAppels> journal;
    if (!ouvrirJournal(options, journal))
        return StatutBanc::LigneRefusee;
    LecteurScenario lecteur(std::move(lecture.etapes), journal.get());
    FenetreBanc demarrage(
        implementations,
        fabriqueRepondantAuxBoites(controle.fabrique, lecteur.choixBoitesNatives(options.boitesNatives)),
        controle.progId, journal.get(), lecteur);
    FrmInit* const fenetre = demarrage.ouvrir(FenetreBanc::Avertissement::Console);
    if (!fenetre) {
        ecrire(stderr, QStringLiteral("%1 : la fenêtre n'a pas pu s'ouvrir").arg(chemin));
        return StatutBanc::NonAbouti;
    }
    int statut = StatutBanc::Abouti;
    if (!lecteur.jouer(*fenetre)) {
        ecrire(stderr, refusFichier(chemin, lecteur.ligneErreur(), lecteur.erreur()));
        statut = StatutBanc::NonAbouti;
    }
    demarrage.signalerJournalIncomplet();
    return statut;
}

// The list is read and checked whole before the journal is opened, so a refused list leaves no file behind.
int balayer(const OptionsBanc& options, const ControleChoisi& controle)
{
    QString refus;
    std::optional<QStringList> codes = lireFichierCodes(options.listeActes, refus);
    if (!codes) {
        ecrire(stderr, refus);
        return StatutBanc::FichierMalForme;
    }
    ParametresBalayage parametres = options.balayage;
    if (options.tranche) {
        std::optional<QStringList> tranche = trancherCodes(*codes, *options.tranche, refus);
        if (!tranche) {
            ecrire(stderr, refus);
            return StatutBanc::FichierMalForme;
        }
        parametres.tranche = champsTranche(*codes, *options.tranche);
        codes = std::move(tranche);
    }
    parametres.codes = std::move(*codes);
    // Every worker sweeps with the same date, even one started after midnight.
    if (!parametres.date)
        parametres.date = QDate::currentDate();
    QStringList arguments{QStringLiteral("--commandes"), parametres.boutons.join(QLatin1Char(',')),
                          QStringLiteral("--date"), parametres.date->toString(QStringLiteral("yyyyMMdd"))};
    if (parametres.grille)
        arguments << QStringLiteral("--grille") << *parametres.grille;
    if (parametres.srt)
        arguments << QStringLiteral("--srt");
    if (!options.controle.isEmpty())
        arguments << QStringLiteral("--controle") << options.controle;
    if (parametres.boitesNatives == ReponseBoiteNative::Mode::Annulation)
        arguments << QStringLiteral("--boites-natives") << QStringLiteral("annuler");
    std::unique_ptr<JournalAppels> journal;
    if (!ouvrirJournal(options, journal))
        return StatutBanc::LigneRefusee;
    return lancerBalayage(parametres, arguments, journal.get(), controle.progId);
}

} // namespace

int lancerBancCcam(int& argc, char* argv[], const Implementations& implementations)
{
    const std::unique_ptr<QCoreApplication> application = creerApplication(argc, argv);
    QCoreApplication::setApplicationName(titreApplication());
    installerTraductionsQt(*application);

    const std::variant<OptionsBanc, FinLigneBanc> lecture = lireOptionsBanc(QCoreApplication::arguments());
    if (const FinLigneBanc* fin = std::get_if<FinLigneBanc>(&lecture)) {
        ecrire(fin->statut == StatutBanc::Abouti ? stdout : stderr, fin->texte);
        return fin->statut;
    }
    const OptionsBanc& options = std::get<OptionsBanc>(lecture);
    if (options.mode == ModeBanc::Comparaison)
        return comparer(options);
    const std::optional<ControleChoisi> controle = choisirControle(options, implementations);
    if (!controle)
        return StatutBanc::LigneRefusee;
    switch (options.mode) {
    case ModeBanc::Diagnostic:
        return executerDiagnostic(controle->progId, controle->fabrique, stdout);
    case ModeBanc::Balayage:
        return balayer(options, *controle);
    case ModeBanc::Travailleur:
        return lancerTravailleurBalayage(options.balayage, implementations, controle->fabrique,
                                         controle->progId);
    case ModeBanc::Scenario:
        return jouerScenario(options, implementations, *controle);
    case ModeBanc::Fenetre:
    case ModeBanc::Comparaison: // compared above: two journals need no control
        break;
    }
    return ouvrirFenetre(options, implementations, *controle);
}
