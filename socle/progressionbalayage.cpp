#include "progressionbalayage.h"

#include "sortieconsole.h"

#include <QString>
#include <cstdio>

namespace {

volatile std::sig_atomic_t arretDemande = 0;

extern "C" void demanderArret(int)
{
    arretDemande = 1;
}

QString duree(double secondes)
{
    const qint64 s = qint64(secondes + 0.5);
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

ProgressionBalayage::ProgressionBalayage(qsizetype total)
    : m_total(total)
    , m_terminal(SortieConsole::estTerminal(stderr))
{
    m_chrono.start();
}

void ProgressionBalayage::avancer(qsizetype fait)
{
    const double secondes = double(m_chrono.elapsed()) / 1000.0;
    const double rythme = secondes > 0 ? double(fait) / secondes : 0.0;
    const QString reste = rythme > 0 ? duree(double(m_total - fait) / rythme) : QStringLiteral("?");
    if (m_terminal) {
        if (fait != m_total && m_chrono.elapsed() - m_dernierAffichage < 100)
            return;
        m_dernierAffichage = m_chrono.elapsed();
        constexpr int largeur = 30;
        const int plein = int(largeur * fait / m_total);
        SortieConsole::ecrire(
            stderr, QStringLiteral("\r[%1%2] %3/%4 actes  %5 actes/s  reste %6 ")
                        .arg(QString(plein, QLatin1Char('#')), QString(largeur - plein, QLatin1Char('.')))
                        .arg(fait)
                        .arg(m_total)
                        .arg(rythme, 0, 'f', 0)
                        .arg(reste));
        m_barreAffichee = true;
        return;
    }
    const qsizetype dixieme = fait * 10 / m_total;
    if (dixieme == m_dernierDixieme)
        return;
    m_dernierDixieme = dixieme;
    SortieConsole::ecrireLigne(stderr, QStringLiteral("Balayage : %1 % (%2/%3 actes, %4 actes/s, reste %5)")
                                           .arg(dixieme * 10)
                                           .arg(fait)
                                           .arg(m_total)
                                           .arg(rythme, 0, 'f', 0)
                                           .arg(reste));
}

void ProgressionBalayage::terminer()
{
    if (m_barreAffichee)
        SortieConsole::ecrire(stderr, QStringLiteral("\n"));
    m_barreAffichee = false;
}

ArretBalayage::ArretBalayage()
{
    arretDemande = 0;
    m_precedent = std::signal(SIGINT, demanderArret);
}

ArretBalayage::~ArretBalayage()
{
    std::signal(SIGINT, m_precedent == SIG_ERR ? SIG_DFL : m_precedent);
}

const volatile std::sig_atomic_t* ArretBalayage::demande() const
{
    return &arretDemande;
}

QString descriptionDelaiAppel()
{
    return QStringLiteral(
        "Avec --balayage : un appel qui n'a pas répondu après SECONDES (par défaut : 30) est "
        "consigné comme blocage, et le balayage reprend à l'acte suivant.");
}

std::optional<int> lireDelaiAppel(const QString& texte, QString& refus)
{
    bool entier = false;
    const int secondes = texte.toInt(&entier);
    if (!entier || secondes < 1 || secondes > 86400) {
        refus = QStringLiteral("Délai d'appel invalide : %1 (attendu un nombre de secondes de 1 à 86400)")
                    .arg(texte);
        return std::nullopt;
    }
    return secondes;
}

QString texteInterruption(qsizetype faits, qsizetype total)
{
    return QStringLiteral("Balayage interrompu après %1 acte(s) sur %2.").arg(faits).arg(total);
}
