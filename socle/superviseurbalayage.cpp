#include "superviseurbalayage.h"

#include <QProcess>
#include <QThread>

namespace {

constexpr int tranchePollMs = 50;
constexpr int delaiArretMs = 1000;
constexpr int attenteLotMs = 2;

} // namespace

SuperviseurBalayage::SuperviseurBalayage(ParametresSuperviseur parametres, SuiviSuperviseur& suivi)
    : m_parametres(std::move(parametres))
    , m_suivi(suivi)
{}

SuperviseurBalayage::~SuperviseurBalayage()
{
    if (m_travailleur && m_travailleur->state() != QProcess::NotRunning) {
        m_travailleur->kill();
        m_travailleur->waitForFinished(-1);
    }
}

bool SuperviseurBalayage::demarrer()
{
    m_travailleur = std::make_unique<QProcess>();
    m_travailleur->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_travailleur->start(m_parametres.programme, m_parametres.arguments);
    if (!m_travailleur->waitForStarted(-1)) {
        m_erreurDemarrage = m_travailleur->errorString();
        return false;
    }
    m_entreeFermee = false;
    m_tampon.clear();
    m_silence.start();
    return true;
}

void SuperviseurBalayage::distribuer()
{
    if (m_entreeFermee)
        return;
    const qsizetype total = m_parametres.codes.size();
    QByteArray lot;
    while (!m_interrompu && m_prochain < total && m_prochain - m_premier < m_parametres.actesAvance) {
        // An idle worker starts its silence with the act it is given.
        if (m_prochain == m_premier)
            m_silence.start();
        lot += m_parametres.codes.at(m_prochain++).toUtf8() + '\n';
    }
    if (!lot.isEmpty())
        m_travailleur->write(lot);
    if (m_interrompu || m_prochain == total) {
        m_travailleur->closeWriteChannel();
        m_entreeFermee = true;
    }
}

bool SuperviseurBalayage::lireLignes()
{
    // What the pipe holds, read at once and cut into lines in place: a sweep's journal is millions of lines.
    m_tampon += m_travailleur->readAllStandardOutput();
    qsizetype debut = 0;
    bool continuer = true;
    for (qsizetype fin = m_tampon.indexOf('\n'); continuer && fin >= 0; fin = m_tampon.indexOf('\n', debut)) {
        QByteArrayView ligne = QByteArrayView(m_tampon).sliced(debut, fin - debut);
        debut = fin + 1;
        if (ligne.endsWith('\r'))
            ligne.chop(1);
        if (ligne.startsWith('{')) {
            m_suivi.ligneJournal(ligne);
        } else if (ligne.startsWith('#')) {
            const qsizetype espace = ligne.indexOf(' ');
            const QByteArrayView mot = ligne.sliced(1, (espace < 0 ? ligne.size() : espace) - 1);
            const QByteArrayView reste = espace < 0 ? QByteArrayView() : ligne.sliced(espace + 1);
            if (mot == "fin") {
                m_pannesDeSuite = 0;
                ++m_actesFaits;
                m_suivi.finActe(m_premier++, m_actesFaits);
            } else if (!m_suivi.message(mot, reste)) {
                m_arrete = true;
                continuer = false;
            }
        }
    }
    if (debut > 0)
        m_silence.start();
    m_tampon.remove(0, debut);
    m_suivi.lignesLues();
    return continuer;
}

bool SuperviseurBalayage::apresPanne(bool blocage)
{
    PanneTravailleur panne;
    panne.blocage = blocage;
    panne.indice = m_premier < m_prochain ? m_premier : -1;
    if (!blocage)
        panne.fin =
            lireFinTravailleur(m_travailleur->exitStatus() == QProcess::CrashExit, m_travailleur->exitCode());
    m_suivi.panne(panne);
    ++(blocage ? m_blocages : m_plantages);
    if (panne.indice >= 0) {
        ++m_actesFaits;
        m_suivi.finActe(panne.indice, m_actesFaits);
        m_premier = panne.indice + 1;
    }
    // The acts dealt after it are dealt again to the next worker.
    m_prochain = m_premier;
    m_travailleur.reset();
    if (++m_pannesDeSuite >= m_parametres.pannesDeSuite) {
        m_abandonne = true;
        return false;
    }
    // Died while disconnecting, every act done: nothing is left to restart for.
    return !(panne.indice < 0 && m_premier == m_parametres.codes.size());
}

void SuperviseurBalayage::executer(const volatile std::sig_atomic_t* arret)
{
    QElapsedTimer depuisArret;
    const qint64 delaiMs = qint64(m_parametres.delaiAppelS) * 1000;
    for (;;) {
        if (!m_travailleur && !demarrer())
            return;
        if (arret && *arret && !m_interrompu) {
            m_interrompu = true;
            depuisArret.start();
        }
        distribuer();
        // Woken by the first line, it lets a few more come: one wake-up a burst, not one a line.
        if (m_travailleur->waitForReadyRead(tranchePollMs))
            QThread::msleep(attenteLotMs);
        if (!lireLignes())
            break;
        if (m_travailleur->state() == QProcess::NotRunning) {
            // Its last lines, written before it ended.
            if (!lireLignes())
                break;
            const bool termine = m_travailleur->exitStatus() == QProcess::NormalExit &&
                                 m_travailleur->exitCode() == 0 && m_premier == m_prochain &&
                                 m_prochain == m_parametres.codes.size();
            if (termine || m_interrompu) {
                m_travailleur.reset();
                return;
            }
            if (!apresPanne(false))
                return;
            continue;
        }
        if (m_interrompu && depuisArret.elapsed() > qMin<qint64>(delaiArretMs, delaiMs)) {
            m_travailleur->kill();
            m_travailleur->waitForFinished(-1);
            lireLignes();
            m_travailleur.reset();
            return;
        }
        if (m_silence.elapsed() > delaiMs) {
            m_travailleur->kill();
            m_travailleur->waitForFinished(-1);
            if (!lireLignes())
                break;
            if (!apresPanne(true))
                return;
        }
    }
    // A message ended the sweep: the worker has nothing more to say.
    if (m_travailleur) {
        if (!m_travailleur->waitForFinished(delaiArretMs))
            m_travailleur->kill();
        m_travailleur->waitForFinished(-1);
        m_travailleur.reset();
    }
}
