#include "journalappels.h"

#include "vocabulairejournal.h"

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <cstdio>

JournalAppels::JournalAppels(std::unique_ptr<QIODevice> sortie)
    : m_sortie(std::move(sortie))
{}

JournalAppels::~JournalAppels()
{
    vider();
}

std::unique_ptr<JournalAppels> JournalAppels::ouvrir(const QString& chemin, QString& erreur)
{
    auto fichier = std::make_unique<QFile>();
    bool ouvert = false;
    if (chemin == QLatin1String("-")) {
        ouvert = fichier->open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    } else {
        fichier->setFileName(chemin);
        ouvert = fichier->open(QIODevice::WriteOnly | QIODevice::Truncate);
    }
    if (!ouvert) {
        erreur = QStringLiteral("Impossible d'écrire le journal %1 : %2").arg(chemin, fichier->errorString());
        return nullptr;
    }
    return std::make_unique<JournalAppels>(std::move(fichier));
}

void JournalAppels::consigner(const GenreEvenement& genre, const QJsonObject& champs)
{
    // The head is written by hand, since QJsonObject would sort its fields among the others.
    // After the lines relayed before it.
    if (!m_retenir)
        vider();
    QByteArray ligne = TeteLigne::ecrire(++m_numero, QDateTime::currentDateTimeUtc(), genre) + m_etiquette;
    if (!champs.isEmpty()) {
        const QByteArray reste = QJsonDocument(champs).toJson(QJsonDocument::Compact);
        ligne += ',' + reste.mid(1, reste.size() - 2);
    }
    ligne += "}\n";
    if (&genre == &Genre::commande)
        m_commande = champs.value(Champ::bouton).toString();
    else if (&genre == &Genre::finCommande)
        m_commande.clear();
    if (m_retenir) {
        m_relayees += ligne;
        if (&genre == &Genre::appel)
            vider();
        return;
    }
    ecrireLigne(ligne);
}

void JournalAppels::relayer(QByteArrayView ligne)
{
    // {"n":12,"t":...: the number is replaced up to its comma, whatever stands after it.
    static constexpr QByteArrayView tete("{\"n\":");
    const qsizetype virgule = ligne.startsWith(tete) ? ligne.indexOf(',') : -1;
    if (virgule > 0)
        m_relayees.append(tete).append(QByteArray::number(++m_numero)).append(ligne.sliced(virgule));
    else
        m_relayees.append(ligne);
    if (!m_relayees.endsWith('\n'))
        m_relayees.append('\n');
}

void JournalAppels::vider()
{
    if (m_relayees.isEmpty())
        return;
    ecrireLigne(m_relayees);
    m_relayees.clear();
}

void JournalAppels::ecrireLigne(const QByteArray& ligne)
{
    if (m_sortie->write(ligne) != ligne.size())
        m_complet = false;
    if (auto* fichier = qobject_cast<QFile*>(m_sortie.get()); fichier && !fichier->flush())
        m_complet = false;
}

void JournalAppels::etiqueter(const QJsonObject& champs)
{
    m_etiquette.clear();
    if (champs.isEmpty())
        return;
    const QByteArray texte = QJsonDocument(champs).toJson(QJsonDocument::Compact);
    m_etiquette = ',' + texte.mid(1, texte.size() - 2);
}
