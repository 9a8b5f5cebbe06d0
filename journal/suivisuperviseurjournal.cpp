#include "suivisuperviseurjournal.h"

#include "journalappels.h"
#include "vocabulairejournal.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

bool deGenre(QByteArrayView ligne, qsizetype genre, QByteArrayView tete)
{
    return genre >= 0 && ligne.sliced(genre).startsWith(tete);
}

} // namespace

SuiviSuperviseurJournal::SuiviSuperviseurJournal(JournalAppels* journal, const QStringList& codes,
                                                 int delaiAppelS)
    : m_journal(journal)
    , m_codes(codes)
    , m_delaiAppelS(delaiAppelS)
{}

void SuiviSuperviseurJournal::ligneJournal(QByteArrayView ligne)
{
    const qsizetype genre = TeteLigne::debutGenre(ligne);
    // An announcement stands until its answer: what the control fires during the call leaves it in flight.
    if (deGenre(ligne, genre, "\"genre\":\"appel\"")) {
        m_annonce = ligne.toByteArray();
    } else if (deGenre(ligne, genre, "\"genre\":\"controle\"") ||
               deGenre(ligne, genre, "\"genre\":\"bibliotheque\"")) {
        m_annonce.clear();
    } else if (deGenre(ligne, genre, "\"genre\":\"commande\"")) {
        m_commande = ligne.toByteArray();
        m_annonce.clear();
    } else if (deGenre(ligne, genre, "\"genre\":\"fin_commande\"")) {
        m_commande.clear();
        m_annonce.clear();
    }
    if (m_journal && retenir(ligne))
        m_journal->relayer(ligne);
}

void SuiviSuperviseurJournal::lignesLues()
{
    if (m_journal)
        m_journal->vider();
}

void SuiviSuperviseurJournal::panne(const PanneTravailleur& panne)
{
    const QString acte = panne.indice >= 0 ? m_codes.at(panne.indice) : QString();
    const QJsonObject annonce = QJsonDocument::fromJson(m_annonce).object();
    const QString bouton = QJsonDocument::fromJson(m_commande).object().value(Champ::bouton).toString();
    m_annonce.clear();
    m_commande.clear();
    QJsonObject champs;
    QString appel;
    for (const QLatin1String cle : {Champ::membre, Champ::pointEntree})
        if (annonce.contains(cle)) {
            appel = annonce.value(cle).toString();
            champs.insert(cle, appel);
        }
    if (!bouton.isEmpty())
        champs.insert(Champ::bouton, bouton);
    QString comment;
    if (panne.blocage) {
        champs.insert(Champ::delaiS, m_delaiAppelS);
        comment = QStringLiteral("sans réponse après %1 s").arg(m_delaiAppelS);
    } else if (!panne.fin.signal.isEmpty()) {
        champs.insert(Champ::signal, panne.fin.signal);
        comment = panne.fin.signal;
    } else {
        champs.insert(Champ::codeSortie, panne.fin.codeSortie);
        comment = QStringLiteral("code de sortie %1").arg(panne.fin.codeSortie);
    }
    if (m_journal) {
        m_journal->etiqueter(acte.isEmpty() ? QJsonObject() : QJsonObject{{Champ::acte, acte}});
        m_journal->consigner(panne.blocage ? Genre::blocage : Genre::plantage, champs);
        m_journal->etiqueter({});
    }
    if (!bouton.isEmpty() && !appel.isEmpty())
        appel = bouton + QStringLiteral(", ") + appel;
    m_pannes.append(QStringLiteral("%1, %2 : %3 (%4)")
                        .arg(panne.blocage ? QStringLiteral("Blocage") : QStringLiteral("Plantage"),
                             acte.isEmpty() ? QStringLiteral("hors acte") : acte,
                             appel.isEmpty() ? QStringLiteral("entre deux appels") : appel, comment));
    m_dernierActe = acte;
}

QString SuiviSuperviseurJournal::texteAbandon(int pannesDeSuite, const QString& horsActe) const
{
    return QStringLiteral("Balayage abandonné : %1 plantage(s) ou blocage(s) de suite sans qu'un acte "
                          "réponde, le dernier à %2.")
        .arg(pannesDeSuite)
        .arg(m_dernierActe.isEmpty() ? horsActe : m_dernierActe);
}

QString comptesPannes(int plantages, int blocages)
{
    return QStringLiteral("%1 plantage(s), %2 blocage(s)").arg(plantages).arg(blocages);
}
