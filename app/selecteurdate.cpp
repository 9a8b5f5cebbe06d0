#include "selecteurdate.h"

#include <QKeyEvent>
#include <algorithm>

bool SelecteurDate::focusNextPrevChild(bool suivant)
{
    return QAbstractSpinBox::focusNextPrevChild(suivant);
}

void SelecteurDate::keyPressEvent(QKeyEvent* evenement)
{
    const QString texte = evenement->text();
    const bool sansModificateur =
        (evenement->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) == Qt::NoModifier;
    const std::optional<SaisieDate::Partie> partieCourante = partie(currentSection());
    if (sansModificateur && partieCourante && texte.size() == 1) {
        const QChar c = texte.front();
        if (c.isDigit() && c.unicode() < 128) {
            const SaisieDate::Resultat resultat = m_saisie.chiffre(date(), *partieCourante, c.digitValue());
            montrer(resultat.date, resultat.partieComplete ? 1 : 0);
            return;
        }
        if (c == QLatin1Char('/') || c == QLatin1Char('.') || c == QLatin1Char('-') ||
            c == QLatin1Char(' ')) {
            const SaisieDate::Resultat resultat = m_saisie.separateur(date(), *partieCourante);
            montrer(resultat.date, resultat.partieComplete ? 1 : 0);
            return;
        }
    }
    if (partieCourante && (evenement->key() == Qt::Key_Return || evenement->key() == Qt::Key_Enter))
        setDate(m_saisie.terminer(date(), *partieCourante));
    m_saisie.oublier();
    QDateEdit::keyPressEvent(evenement);
}

void SelecteurDate::focusInEvent(QFocusEvent* evenement)
{
    m_saisie.oublier();
    QDateEdit::focusInEvent(evenement);
}

void SelecteurDate::focusOutEvent(QFocusEvent* evenement)
{
    if (const auto partieCourante = partie(currentSection()))
        setDate(m_saisie.terminer(date(), *partieCourante));
    m_saisie.oublier();
    QDateEdit::focusOutEvent(evenement);
}

void SelecteurDate::mousePressEvent(QMouseEvent* evenement)
{
    // A click picks another part: what was typed into the last one is taken first.
    if (const auto partieCourante = partie(currentSection()))
        setDate(m_saisie.terminer(date(), *partieCourante));
    m_saisie.oublier();
    QDateEdit::mousePressEvent(evenement);
}

std::optional<SaisieDate::Partie> SelecteurDate::partie(QDateTimeEdit::Section section)
{
    switch (section) {
    case QDateTimeEdit::DaySection:
        return SaisieDate::Partie::Jour;
    case QDateTimeEdit::MonthSection:
        return SaisieDate::Partie::Mois;
    case QDateTimeEdit::YearSection:
        return SaisieDate::Partie::Annee;
    default:
        return std::nullopt;
    }
}

// The date, then the part that now has the focus (the same one, or the next), selected so that the next digit
// replaces it.
void SelecteurDate::montrer(const QDate& nouvelle, int avance)
{
    const int index = std::min(currentSectionIndex() + avance, sectionCount() - 1);
    setDate(nouvelle);
    setCurrentSectionIndex(index);
    setSelectedSection(sectionAt(index));
}
