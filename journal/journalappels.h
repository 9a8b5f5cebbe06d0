#pragma once

#include <QByteArrayView>
#include <QJsonObject>
#include <QString>
#include <memory>

class QIODevice;
struct GenreEvenement;

// The journal of calls: one JSON object per line, written as events happen and flushed at each line,
// so that a crash loses nothing already shown. Every line starts with the head of vocabulairejournal.h
// (number, time, kind); the other fields depend on the kind.
class JournalAppels
{
public:
    // Writes to `sortie`, already open for writing; the journal owns it.
    explicit JournalAppels(std::unique_ptr<QIODevice> sortie);
    ~JournalAppels();
    JournalAppels(const JournalAppels&) = delete;
    JournalAppels& operator=(const JournalAppels&) = delete;

    // "-" is the standard output; any other path is created or truncated. Null with `erreur` set when
    // the file cannot be opened.
    static std::unique_ptr<JournalAppels> ouvrir(const QString& chemin, QString& erreur);

    void consigner(const GenreEvenement& genre, const QJsonObject& champs = {});
    // A sweep's worker: lines are held in memory and written in one go when a call is announced (the
    // announcement with them, before the call) or at vider(), so that a crash inside a call loses nothing
    // and an act costs a few writes instead of one a line. A crash between two calls loses the answer of the
    // first, and the supervisor names it as the call in flight.
    void retenirJusquAuxAnnonces() { m_retenir = true; }
    // Text of the caller's own among the lines, in the same order (a worker's messages to its supervisor).
    void ajouter(const QByteArray& texte) { m_relayees.append(texte); }

    // A line another journal wrote (a sweep's worker), its head's number replaced by this journal's next
    // and the rest kept byte for byte, as cheap as a copy. A line without such a head is written as it is.
    // Kept in memory until vider(), so that a burst of lines is one write.
    void relayer(QByteArrayView ligne);
    void vider();

    // Fields every following line carries after its kind, until changed (empty: none). A sweep tags
    // each act's events with the act's code this way.
    void etiqueter(const QJsonObject& champs);

    // The button of the command whose "commande" line was the last written and whose "fin_commande" was not
    // yet; empty between commands. What the control fires on its own is tied to it this way.
    const QString& commandeEnCours() const { return m_commande; }

    // False once a line could not be written in full (disk full, closed pipe): the run goes on, but the
    // caller should say that its journal is incomplete.
    bool complet() const { return m_complet; }

private:
    void ecrireLigne(const QByteArray& ligne);

    std::unique_ptr<QIODevice> m_sortie;
    qint64 m_numero = 0;
    QByteArray m_etiquette;
    QByteArray m_relayees; // relayed or held lines not yet written
    bool m_retenir = false;
    QString m_commande;
    bool m_complet = true;
};
