#pragma once

#include "saisiedate.h"

#include <QDateEdit>
#include <optional>

// DTPicker1. Typed digits fill the part that has the focus and move on to the next part by themselves, a
// separator moves on too; the arrows still step the part, the calendar still drops down. Tab leaves the
// picker at once instead of walking its parts, so the tab order runs over the window as its indexes say.
class SelecteurDate final : public QDateEdit
{
public:
    using QDateEdit::QDateEdit;

protected:
    bool focusNextPrevChild(bool suivant) override;
    void keyPressEvent(QKeyEvent* evenement) override;
    void focusInEvent(QFocusEvent* evenement) override;
    void focusOutEvent(QFocusEvent* evenement) override;
    void mousePressEvent(QMouseEvent* evenement) override;

private:
    static std::optional<SaisieDate::Partie> partie(QDateTimeEdit::Section section);
    void montrer(const QDate& nouvelle, int avance);

    SaisieDate m_saisie;
};
