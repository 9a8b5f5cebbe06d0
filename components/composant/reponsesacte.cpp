#include "reponsesacte.h"

#include <QDate>
#include <QSet>

QString champPipe(const QString& texte)
{
    QString sur = texte;
    sur.replace(QLatin1Char('|'), QLatin1Char('/'));
    return sur;
}

QString listePipe(const QStringList& champs)
{
    QStringList surs;
    surs.reserve(champs.size());
    for (const QString& champ : champs)
        surs.append(champPipe(champ));
    return surs.join(QLatin1Char('|'));
}

ReponsesActe::ReponsesActe(const MagasinCcam& magasin, const QString& code, const ContexteRequete& contexte)
    : m_magasin(magasin)
    , m_contexte(contexte)
{
    if (code.trimmed().isEmpty())
        return;
    m_acte = magasin.acte(code);
    if (m_acte)
        m_activites = magasin.activites(m_acte->code);
}

QString ReponsesActe::code() const
{
    return m_acte ? m_acte->code : QString();
}

QString ReponsesActe::libelleCourt() const
{
    return m_acte ? m_acte->libelleCourt : QString();
}

QString ReponsesActe::libelleLong() const
{
    return m_acte ? m_acte->libelleLong : QString();
}

// A client that never wrote DateReference asks about today, as the selection dialog shows it.
QString ReponsesActe::dateDuContexte() const
{
    return m_contexte.dateReference.isEmpty() ? QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))
                                              : m_contexte.dateReference;
}

QString ReponsesActe::prix() const
{
    if (!m_acte || m_activites.isEmpty())
        return {};
    const Activite& activite = m_activites.constFirst();
    const int phase = activite.phases.isEmpty() ? 0 : activite.phases.constFirst().code;
    const auto centimes =
        m_magasin.prix(m_acte->code, activite.code, phase, m_contexte.grille, dateDuContexte());
    return centimes ? QString::number(*centimes) : QString();
}

QString ReponsesActe::codeRegroupement() const
{
    if (!m_acte || m_activites.isEmpty())
        return {};
    return m_activites.constFirst().regroupement;
}

QString ReponsesActe::modificateurs(int activite) const
{
    if (!m_acte)
        return {};
    QSet<QString> permis;
    for (const Activite& a : m_activites) {
        if (activite != 0 && a.code != activite)
            continue;
        for (const Modificateur& m : m_magasin.modificateursAutorises(m_acte->code, a.code))
            permis.insert(m.code);
    }
    QStringList champs;
    for (const Modificateur& m : m_magasin.modificateurs()) {
        if (permis.contains(m.code))
            champs << m.code << m.libelle;
    }
    return listePipe(champs);
}

QString ReponsesActe::modificateursGlobaux() const
{
    QHash<QString, QStringList> activitesParCode;
    if (m_acte) {
        for (const Activite& a : m_activites) {
            for (const Modificateur& m : m_magasin.modificateursAutorises(m_acte->code, a.code))
                activitesParCode[m.code].append(QString::number(a.code));
        }
    }
    QStringList champs;
    for (const Modificateur& m : m_magasin.modificateurs())
        champs << m.code << m.libelle << activitesParCode.value(m.code).join(QLatin1Char(',')) << QString();
    return listePipe(champs);
}

QString ReponsesActe::regroupements() const
{
    QStringList champs;
    QSet<QString> vus;
    for (const Activite& a : m_activites) {
        if (a.regroupement.isEmpty() || vus.contains(a.regroupement))
            continue;
        vus.insert(a.regroupement);
        const auto r = m_magasin.regroupement(m_acte->code, a.code);
        champs << a.regroupement << (r ? r->libelle : QString());
    }
    return listePipe(champs);
}

QString ReponsesActe::actesCompatibles() const
{
    QStringList champs;
    QSet<QString> vus;
    const QString date = dateDuContexte();
    for (const Activite& a : m_activites) {
        for (const ActeLie& lie : m_magasin.actesCompatibles(m_acte->code, a.code, date)) {
            if (vus.contains(lie.code))
                continue;
            vus.insert(lie.code);
            champs << lie.code << lie.libelle;
        }
    }
    return listePipe(champs);
}
