#include "gardefenetre_win.h"

#include <QApplication>
#include <QMetaObject>
#include <QWidget>

GardeFenetre::GardeFenetre(HWND fenetre)
    : m_fenetre(fenetre)
{}

GardeFenetre::~GardeFenetre()
{
    liberer();
}

void GardeFenetre::appelCommence()
{
    ++m_appels;
    if (!m_desactivee)
        desactiver();
}

void GardeFenetre::appelTermine()
{
    if (m_appels > 0)
        --m_appels;
    if (m_appels > 0 || m_modeless > 0 || !m_desactivee || m_reactivationPrevue)
        return;
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        reactiver();
        return;
    }
    // Queued, so that the next call of the same command finds the window still disabled; a guard gone
    // meanwhile (the window closed) is left alone.
    m_reactivationPrevue = true;
    QMetaObject::invokeMethod(
        application,
        [faible = weak_from_this()] {
            if (const std::shared_ptr<GardeFenetre> garde = faible.lock())
                garde->reactivationDifferee();
        },
        Qt::QueuedConnection);
}

void GardeFenetre::modeless(bool activer)
{
    if (!activer) {
        ++m_modeless;
        if (!m_desactivee)
            desactiver();
        return;
    }
    // The control is about to close its dialog: the window must be enabled before, a call still running.
    if (m_modeless > 0 && --m_modeless == 0 && m_desactivee)
        reactiver();
}

void GardeFenetre::liberer()
{
    m_appels = 0;
    m_modeless = 0;
    if (m_desactivee)
        reactiver();
}

void GardeFenetre::desactiver()
{
    m_desactivee = true;
    if (m_fenetre == nullptr || !IsWindow(m_fenetre))
        return;
    ++m_desactivations;
    m_focusNatif = GetFocus();
    QWidget* focus = QApplication::focusWidget();
    m_focus = focus != nullptr && reinterpret_cast<HWND>(focus->window()->internalWinId()) == m_fenetre
                  ? focus
                  : nullptr;
    m_etaitActive = EnableWindow(m_fenetre, FALSE) == 0;
}

void GardeFenetre::reactiver()
{
    m_desactivee = false;
    if (m_fenetre == nullptr || !IsWindow(m_fenetre) || !m_etaitActive)
        return;
    EnableWindow(m_fenetre, TRUE);
    // The focus comes back only to a window still in front: another program the operator went to keeps it.
    if (GetForegroundWindow() != m_fenetre)
        return;
    if (m_focusNatif != nullptr && IsWindow(m_focusNatif) && GetFocus() != m_focusNatif)
        SetFocus(m_focusNatif);
    if (m_focus && !m_focus->hasFocus())
        m_focus->setFocus(Qt::OtherFocusReason);
}

void GardeFenetre::reactivationDifferee()
{
    m_reactivationPrevue = false;
    if (m_appels == 0 && m_modeless == 0 && m_desactivee)
        reactiver();
}
