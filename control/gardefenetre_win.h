#pragma once

#include <QPointer>
#include <memory>

// clang-format off
#include <windows.h>
// clang-format on

class QWidget;

// The form's top-level window as the container disables it while the control runs, and gives it back.
// - The container's own calls disable it at the first one and leave it so across those that follow: it is
//   enabled again once the thread gets back to its events (the command's end, or a box of the tool's own
//   that opens in between), so a command toggles it once, not once per call.
// - The control's own EnableModeless (through the frame) disables it before a dialog of its own and enables
//   it again at once when told, before the dialog closes, so the system gives activation back to the form
//   rather than to another program.
// - Enabling it gives the keyboard focus back to the widget that had it: disabling a window takes it away.
// A window the guard finds disabled (by a modal box of the tool) stays so.
class GardeFenetre : public std::enable_shared_from_this<GardeFenetre>
{
public:
    explicit GardeFenetre(HWND fenetre);
    ~GardeFenetre();
    GardeFenetre(const GardeFenetre&) = delete;
    GardeFenetre& operator=(const GardeFenetre&) = delete;

    void appelCommence();
    void appelTermine();
    // EnableModeless(FALSE) before a modal dialog of the control, EnableModeless(TRUE) before it closes.
    void modeless(bool activer);
    // Enables the window now if the guard disabled it (the container closing).
    void liberer();

    HWND fenetre() const { return m_fenetre; }
    // How many times the guard has disabled the window.
    int desactivations() const { return m_desactivations; }

private:
    void desactiver();
    void reactiver();
    void reactivationDifferee();

    HWND m_fenetre;
    int m_appels = 0;
    int m_modeless = 0;
    bool m_desactivee = false; // by this guard, until it enables the window again
    bool m_etaitActive = false;
    bool m_reactivationPrevue = false;
    int m_desactivations = 0;
    QPointer<QWidget> m_focus;
    HWND m_focusNatif = nullptr;
};
