#include "superviseurbalayage.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <deque>

namespace {

constexpr int tranchePollMs = 50;
constexpr int delaiArretMs = 1000;
constexpr int attenteLotMs = 2;

} // namespace

struct SuperviseurBalayage::Travailleur
{
    std::unique_ptr<QProcess> processus;
    QByteArray tampon; // its output not yet cut into lines
    QElapsedTimer silence;
    std::deque<qsizetype> actes; // dealt and not finished, the one in flight first
    AppelEnVol enVol;
    bool premier = false; // the first worker started: its start-up is the journal's
    bool pret = false;    // its start-up over ("#pret")
    bool entreeFermee = false;
    bool termine = false; // ended with every act it was dealt done: nothing to restart
};

// One act's events kept for their turn: its lines, then how it ended.
struct SuperviseurBalayage::SortieActe
{
    QList<QByteArray> lignes;
    bool fini = false;
    std::optional<PanneTravailleur> panne;
    // Past every act only: the crashes or hangs of workers disconnecting.
    QList<std::pair<qsizetype, PanneTravailleur>> pannesApres;
};

SuperviseurBalayage::SuperviseurBalayage(ParametresSuperviseur parametres, SuiviSuperviseur& suivi)
    : m_parametres(std::move(parametres))
    , m_suivi(suivi)
{}

SuperviseurBalayage::~SuperviseurBalayage()
{
    arreterTous();
}

void SuperviseurBalayage::arreterTous()
{
    for (const std::unique_ptr<Travailleur>& travailleur : m_travailleurs)
        if (travailleur->processus && travailleur->processus->state() != QProcess::NotRunning) {
            travailleur->processus->kill();
            travailleur->processus->waitForFinished(-1);
        }
}

bool SuperviseurBalayage::demarrer(Travailleur& travailleur)
{
    travailleur.processus = std::make_unique<QProcess>();
    travailleur.processus->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    travailleur.processus->start(m_parametres.programme, m_parametres.arguments);
    if (!travailleur.processus->waitForStarted(-1)) {
        m_erreurDemarrage = travailleur.processus->errorString();
        return false;
    }
    travailleur.premier = !m_premierDemarre;
    m_premierDemarre = true;
    travailleur.pret = false;
    travailleur.entreeFermee = false;
    travailleur.tampon.clear();
    travailleur.enVol = {};
    travailleur.silence.start();
    return true;
}

void SuperviseurBalayage::distribuer()
{
    const qsizetype total = m_parametres.codes.size();
    // How far past the first act not handed on acts are dealt, per worker: a worker stuck in a call holds the
    // others back after that many acts, so that what waits for its turn stays a few acts' lines.
    const qsizetype fenetre = 2 * m_parametres.actesAvance * qsizetype(m_travailleurs.size());
    QList<QByteArray> lots(qsizetype(m_travailleurs.size()));
    // One act at a time to the worker with the fewest: several workers take turns act by act, so that the
    // acts waiting for their turn stay few.
    for (;;) {
        const bool rendu = !m_rendus.empty();
        const qsizetype acte = rendu ? m_rendus.front() : m_prochain;
        if (m_interrompu || (!rendu && m_prochain == total) || acte - m_ecrit >= fenetre)
            break;
        Travailleur* choisi = nullptr;
        qsizetype lot = -1;
        for (std::size_t i = 0; i < m_travailleurs.size(); ++i) {
            Travailleur& t = *m_travailleurs[i];
            if (!t.processus || t.entreeFermee || qsizetype(t.actes.size()) >= m_parametres.actesAvance)
                continue;
            if (!choisi || t.actes.size() < choisi->actes.size()) {
                choisi = &t;
                lot = qsizetype(i);
            }
        }
        if (!choisi)
            break;
        // An idle worker starts its silence with the act it is given.
        if (choisi->actes.empty())
            choisi->silence.start();
        choisi->actes.push_back(acte);
        if (rendu)
            m_rendus.erase(m_rendus.begin());
        else
            ++m_prochain;
        lots[lot] += m_parametres.codes.at(acte).toUtf8() + '\n';
    }
    const bool toutDistribue = m_rendus.empty() && m_prochain == total;
    for (std::size_t i = 0; i < m_travailleurs.size(); ++i) {
        Travailleur& t = *m_travailleurs[i];
        if (!t.processus || t.entreeFermee)
            continue;
        if (!lots.at(qsizetype(i)).isEmpty())
            t.processus->write(lots.at(qsizetype(i)));
        if (m_interrompu || toutDistribue) {
            t.processus->closeWriteChannel();
            t.entreeFermee = true;
        }
    }
}

void SuperviseurBalayage::ligneTravailleur(Travailleur& travailleur, QByteArrayView ligne)
{
    if (m_parametres.demarrageUnique && !travailleur.pret && !travailleur.premier)
        return;
    m_suivi.suivreAppel(ligne, travailleur.enVol);
    // Before its first act (its connection) a line goes with that act; past its last, after every act.
    const qsizetype acte = travailleur.actes.empty() ? m_parametres.codes.size() : travailleur.actes.front();
    if (acte == m_ecrit) {
        m_suivi.ligneJournal(ligne);
        return;
    }
    std::unique_ptr<SortieActe>& sortie = m_sorties[acte];
    if (!sortie)
        sortie = std::make_unique<SortieActe>();
    sortie->lignes.append(ligne.toByteArray());
}

void SuperviseurBalayage::acteTermine(qsizetype indice, const PanneTravailleur* panne)
{
    if (indice == m_ecrit) {
        if (panne)
            m_suivi.panne(*panne);
        m_suivi.finActe(indice, ++m_actesFaits);
        ++m_ecrit;
        avancer();
        return;
    }
    std::unique_ptr<SortieActe>& sortie = m_sorties[indice];
    if (!sortie)
        sortie = std::make_unique<SortieActe>();
    sortie->fini = true;
    if (panne)
        sortie->panne = *panne;
}

void SuperviseurBalayage::avancer()
{
    for (;;) {
        const auto trouve = m_sorties.find(m_ecrit);
        if (trouve == m_sorties.end())
            return;
        const std::unique_ptr<SortieActe> sortie = std::move(trouve->second);
        m_sorties.erase(trouve);
        for (const QByteArray& ligne : std::as_const(sortie->lignes))
            m_suivi.ligneJournal(ligne);
        for (const auto& [indice, panne] : std::as_const(sortie->pannesApres))
            m_suivi.panne(panne);
        // Unfinished: its worker is on it, and its next lines are handed on as they come.
        if (!sortie->fini)
            return;
        if (sortie->panne)
            m_suivi.panne(*sortie->panne);
        m_suivi.finActe(m_ecrit, ++m_actesFaits);
        ++m_ecrit;
    }
}

bool SuperviseurBalayage::lireLignes(Travailleur& travailleur)
{
    if (!travailleur.processus)
        return true;
    // What the pipe holds, read at once and cut into lines in place: a sweep's journal is millions of lines.
    QByteArray& tampon = travailleur.tampon;
    tampon += travailleur.processus->readAllStandardOutput();
    qsizetype debut = 0;
    bool continuer = true;
    for (qsizetype fin = tampon.indexOf('\n'); continuer && fin >= 0; fin = tampon.indexOf('\n', debut)) {
        QByteArrayView ligne = QByteArrayView(tampon).sliced(debut, fin - debut);
        debut = fin + 1;
        if (ligne.endsWith('\r'))
            ligne.chop(1);
        if (ligne.startsWith('{')) {
            ligneTravailleur(travailleur, ligne);
        } else if (ligne.startsWith('#')) {
            const qsizetype espace = ligne.indexOf(' ');
            const QByteArrayView mot = ligne.sliced(1, (espace < 0 ? ligne.size() : espace) - 1);
            const QByteArrayView reste = espace < 0 ? QByteArrayView() : ligne.sliced(espace + 1);
            if (mot == "fin") {
                m_pannesDeSuite = 0;
                if (!travailleur.actes.empty()) {
                    const qsizetype acte = travailleur.actes.front();
                    travailleur.actes.pop_front();
                    travailleur.enVol = {};
                    acteTermine(acte, nullptr);
                }
            } else {
                if (mot == "pret")
                    travailleur.pret = true;
                if (!m_suivi.message(mot, reste)) {
                    m_arrete = true;
                    continuer = false;
                }
            }
        }
    }
    if (debut > 0)
        travailleur.silence.start();
    tampon.remove(0, debut);
    return continuer;
}

bool SuperviseurBalayage::apresPanne(Travailleur& travailleur, bool blocage)
{
    PanneTravailleur panne;
    panne.blocage = blocage;
    panne.indice = travailleur.actes.empty() ? -1 : travailleur.actes.front();
    panne.enVol = travailleur.enVol;
    if (!blocage)
        panne.fin = lireFinTravailleur(travailleur.processus->exitStatus() == QProcess::CrashExit,
                                       travailleur.processus->exitCode());
    ++(blocage ? m_blocages : m_plantages);
    if (panne.indice >= 0) {
        travailleur.actes.pop_front();
        // The acts dealt after it are dealt again, to whichever worker has room.
        m_rendus.insert(m_rendus.end(), travailleur.actes.begin(), travailleur.actes.end());
        std::sort(m_rendus.begin(), m_rendus.end());
        travailleur.actes.clear();
        acteTermine(panne.indice, &panne);
    } else {
        // Past every act it was dealt: after every act in the journal.
        const qsizetype apres = m_parametres.codes.size();
        if (m_ecrit == apres) {
            m_suivi.panne(panne);
        } else {
            std::unique_ptr<SortieActe>& sortie = m_sorties[apres];
            if (!sortie)
                sortie = std::make_unique<SortieActe>();
            sortie->pannesApres.append({-1, panne});
        }
    }
    travailleur.processus.reset();
    travailleur.enVol = {};
    if (++m_pannesDeSuite >= m_parametres.pannesDeSuite) {
        m_abandonne = true;
        return false;
    }
    // Died while disconnecting, every act it had done: nothing is left to restart it for.
    travailleur.termine = panne.indice < 0 && m_rendus.empty();
    return true;
}

void SuperviseurBalayage::attendre()
{
    if (m_travailleurs.size() == 1) {
        QProcess& processus = *m_travailleurs.front()->processus;
        // Woken by the first line, it lets a few more come: one wake-up a burst, not one a line.
        if (processus.waitForReadyRead(tranchePollMs))
            QThread::msleep(attenteLotMs);
        return;
    }
    // Several pipes: the event loop wakes on whichever speaks first.
    QEventLoop boucle;
    QTimer delai;
    delai.setSingleShot(true);
    QObject::connect(&delai, &QTimer::timeout, &boucle, &QEventLoop::quit);
    for (const std::unique_ptr<Travailleur>& travailleur : m_travailleurs) {
        if (!travailleur->processus)
            continue;
        if (travailleur->processus->bytesAvailable() > 0 ||
            travailleur->processus->state() == QProcess::NotRunning)
            return;
        QObject::connect(travailleur->processus.get(), &QProcess::readyReadStandardOutput, &boucle,
                         &QEventLoop::quit);
        QObject::connect(travailleur->processus.get(), &QProcess::finished, &boucle, &QEventLoop::quit);
    }
    delai.start(tranchePollMs);
    boucle.exec();
    QThread::msleep(attenteLotMs);
    QCoreApplication::processEvents();
}

void SuperviseurBalayage::viderSorties()
{
    // What an interrupted or abandoned sweep kept, unfinished acts included: every line a worker wrote is in
    // the journal, in act order.
    std::vector<qsizetype> restants;
    for (const auto& [indice, sortie] : m_sorties)
        restants.push_back(indice);
    std::sort(restants.begin(), restants.end());
    for (const qsizetype indice : restants) {
        const SortieActe& sortie = *m_sorties.at(indice);
        for (const QByteArray& ligne : sortie.lignes)
            m_suivi.ligneJournal(ligne);
        for (const auto& [rien, panne] : sortie.pannesApres)
            m_suivi.panne(panne);
        if (sortie.panne)
            m_suivi.panne(*sortie.panne);
        if (sortie.fini)
            m_suivi.finActe(indice, ++m_actesFaits);
    }
    m_sorties.clear();
    m_suivi.lignesLues();
}

void SuperviseurBalayage::executer(const volatile std::sig_atomic_t* arret)
{
    QElapsedTimer depuisArret;
    const qint64 delaiMs = qint64(m_parametres.delaiAppelS) * 1000;
    const qsizetype nombre = std::clamp<qsizetype>(m_parametres.travailleurs, 1,
                                                   std::max<qsizetype>(1, m_parametres.codes.size()));
    for (qsizetype i = 0; i < nombre; ++i)
        m_travailleurs.push_back(std::make_unique<Travailleur>());
    for (;;) {
        const bool resteADistribuer = !m_rendus.empty() || m_prochain < m_parametres.codes.size();
        bool actifs = false;
        bool demarrage = true;
        for (const std::unique_ptr<Travailleur>& travailleur : m_travailleurs) {
            if (!travailleur->processus && !travailleur->termine && !m_interrompu &&
                (resteADistribuer || travailleur.get() == m_travailleurs.front().get()) &&
                !demarrer(*travailleur)) {
                demarrage = false;
                break;
            }
            actifs = actifs || travailleur->processus;
        }
        if (!demarrage || !actifs)
            break;
        if (arret && *arret && !m_interrompu) {
            m_interrompu = true;
            depuisArret.start();
        }
        distribuer();
        attendre();
        bool continuer = true;
        for (const std::unique_ptr<Travailleur>& travailleur : m_travailleurs)
            continuer = continuer && lireLignes(*travailleur);
        m_suivi.lignesLues();
        if (!continuer)
            break;
        bool fin = false;
        for (const std::unique_ptr<Travailleur>& pointeur : m_travailleurs) {
            Travailleur& travailleur = *pointeur;
            if (!travailleur.processus)
                continue;
            if (travailleur.processus->state() == QProcess::NotRunning) {
                // Its last lines, written before it ended.
                if (!lireLignes(travailleur)) {
                    fin = true;
                    break;
                }
                const bool termine = travailleur.processus->exitStatus() == QProcess::NormalExit &&
                                     travailleur.processus->exitCode() == 0 && travailleur.actes.empty() &&
                                     travailleur.entreeFermee;
                if (termine || m_interrompu) {
                    travailleur.processus.reset();
                    travailleur.termine = true;
                    continue;
                }
                if (!apresPanne(travailleur, false)) {
                    fin = true;
                    break;
                }
                continue;
            }
            // Idle, waiting for acts the others hold back: no call of its own in flight.
            const bool occupe = !travailleur.actes.empty() || travailleur.entreeFermee;
            if (!m_interrompu && occupe && travailleur.silence.elapsed() > delaiMs) {
                travailleur.processus->kill();
                travailleur.processus->waitForFinished(-1);
                if (!lireLignes(travailleur) || !apresPanne(travailleur, true)) {
                    fin = true;
                    break;
                }
            }
        }
        m_suivi.lignesLues();
        if (fin)
            break;
        if (m_interrompu && depuisArret.elapsed() > qMin<qint64>(delaiArretMs, delaiMs)) {
            arreterTous();
            for (const std::unique_ptr<Travailleur>& travailleur : m_travailleurs)
                lireLignes(*travailleur);
            break;
        }
    }
    // A message ended the sweep, or it was given up: the workers have nothing more to say.
    for (const std::unique_ptr<Travailleur>& travailleur : m_travailleurs) {
        if (!travailleur->processus)
            continue;
        if (m_arrete && !travailleur->processus->waitForFinished(delaiArretMs))
            travailleur->processus->kill();
        else if (!m_arrete)
            travailleur->processus->kill();
        travailleur->processus->waitForFinished(-1);
        travailleur->processus.reset();
    }
    viderSorties();
}
