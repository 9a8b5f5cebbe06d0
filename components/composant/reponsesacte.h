#pragma once

#include "magasinccam.h"

#include <QStringList>

// A field of a pipe list: a "|" inside it would shift every later field, so it becomes "/".
QString champPipe(const QString& texte);
// Fields joined by "|", each made safe by champPipe.
QString listePipe(const QStringList& champs);

// What the control answers about one act in one query context. Built for one query: it reads the
// store on demand and keeps nothing. An empty or unknown code answers empty texts everywhere.
class ReponsesActe
{
public:
    ReponsesActe(const MagasinCcam& magasin, const QString& code, const ContexteRequete& contexte);

    bool connu() const { return m_acte.has_value(); }
    QString code() const;
    QString libelleCourt() const;
    QString libelleLong() const;
    // Cents in the context grid on the context date, for the act's first activity and that activity's
    // first phase (activity 1 phase 0 for nearly every act); empty when no price is in force.
    QString prix() const;
    // The regrouping code of the act's first activity.
    QString codeRegroupement() const;

    // Pairs code|label of the modifiers the act allows: for one activity, or for all (activite 0),
    // each code once, in the order of the store's modifier list.
    QString modificateurs(int activite = 0) const;
    // Records of four fields over the store's whole modifier list: code|label|activities of the act
    // allowing it ("1,4", empty without act)|coefficient (empty: the public data carries none).
    QString modificateursGlobaux() const;
    // Pairs code|label of the act's regrouping codes, each code once, in activity order.
    QString regroupements() const;
    // Pairs code|label of the acts compatible with this one on the context date, over all its
    // activities, each code once, in the store's order.
    QString actesCompatibles() const;

private:
    QString dateDuContexte() const;

    const MagasinCcam& m_magasin;
    std::optional<Acte> m_acte;
    QList<Activite> m_activites;
    ContexteRequete m_contexte;
};
