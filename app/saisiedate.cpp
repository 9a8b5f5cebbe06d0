#include "saisiedate.h"

#include <algorithm>

namespace {

int borne(int annee, int mois, int jour)
{
    return std::min(jour, QDate(annee, mois, 1).daysInMonth());
}

} // namespace

QDate SaisieDate::avecJour(const QDate& date, int jour) const
{
    return QDate(date.year(), date.month(), borne(date.year(), date.month(), jour));
}

QDate SaisieDate::avecMois(const QDate& date, int mois) const
{
    const int jour = m_jourVoulu > 0 ? m_jourVoulu : date.day();
    return QDate(date.year(), mois, borne(date.year(), mois, jour));
}

QDate SaisieDate::avecAnnee(const QDate& date, int annee) const
{
    const int jour = m_jourVoulu > 0 ? m_jourVoulu : date.day();
    return QDate(annee, date.month(), borne(annee, date.month(), jour));
}

SaisieDate::Resultat SaisieDate::chiffre(const QDate& date, Partie partie, int chiffre)
{
    if (!date.isValid() || chiffre < 0 || chiffre > 9)
        return {date, false};
    m_chiffres += QChar(u'0' + chiffre);
    m_entreeSeule = false;
    if (partie == Partie::Annee) {
        if (m_chiffres.size() < 4)
            return {date, false};
        const int annee = m_chiffres.toInt();
        m_chiffres.clear();
        // Year 0 does not exist: the part starts again.
        if (annee == 0)
            return {date, false};
        m_entreeSeule = true;
        return {avecAnnee(date, annee), true};
    }

    const int maximum = partie == Partie::Jour ? 31 : 12;
    int valeur = m_chiffres.toInt();
    if (m_chiffres.size() == 2 && (valeur == 0 || valeur > maximum)) {
        // Not a day or a month: the new digit starts the part again.
        m_chiffres = QChar(u'0' + chiffre);
        valeur = chiffre;
    }
    // Complete with two digits, or with one that no second digit could follow ("4" for a day, "2" for a
    // month).
    const bool complete = m_chiffres.size() == 2 || valeur * 10 > maximum;
    QDate resultat = date;
    if (valeur > 0) {
        if (partie == Partie::Jour) {
            m_jourVoulu = valeur;
            resultat = avecJour(date, valeur);
        } else {
            resultat = avecMois(date, valeur);
        }
    }
    if (complete)
        m_chiffres.clear();
    m_entreeSeule = complete;
    return {resultat, complete};
}

SaisieDate::Resultat SaisieDate::separateur(const QDate& date, Partie partie)
{
    if (m_entreeSeule && m_chiffres.isEmpty()) {
        m_entreeSeule = false;
        return {date, false};
    }
    return {terminer(date, partie), true};
}

QDate SaisieDate::terminer(const QDate& date, Partie partie)
{
    const QString chiffres = m_chiffres;
    m_chiffres.clear();
    m_entreeSeule = false;
    if (!date.isValid() || partie != Partie::Annee || chiffres.size() != 2)
        return date;
    const int annee = chiffres.toInt();
    return avecAnnee(date, annee < 30 ? 2000 + annee : 1900 + annee);
}

void SaisieDate::oublier()
{
    m_chiffres.clear();
    m_jourVoulu = 0;
    m_entreeSeule = false;
}
