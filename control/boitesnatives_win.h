#pragma once

#include "controledispatch.h"

#include <set>

// clang-format off
#include <windows.h>
// clang-format on

// The native boxes a control shows while a call into it is in flight, read and answered so that an
// unattended run goes on.
// - A thread of its own looks for them every 50 ms while a call runs: a visible top-level window of the
//   system's dialog class (#32770) in this process, or any other the window's thread shows that is not one
//   of Qt's (the form is disabled for the call: such a window blocks it). The control's MessageBoxW runs its
//   own modal loop on the window's thread, where no timer of ours is sure to run (a loop may take only its
//   own messages), while a message sent to a window of that thread is delivered by any loop, even a filtered
//   one.
// - The thread reads the box (title, static texts, push buttons) and sends it to a hidden window of the
//   window's thread: the answer is chosen there and the observer (the journal, which is written from that
//   thread only) told of the box before the button is pressed, so that a call that then crashes still leaves
//   the box in the journal.
// - Then it presses the button (WM_COMMAND, as a click sends it), or closes a box it found none to press in.
class SurveillanceBoites
{
public:
    // Both are called on the window's thread, inside the call that showed the box.
    SurveillanceBoites(ChoixBoiteNative choix, ObservateurBoites observateur);
    ~SurveillanceBoites();
    SurveillanceBoites(const SurveillanceBoites&) = delete;
    SurveillanceBoites& operator=(const SurveillanceBoites&) = delete;

    // For the length of one call into the control (nested calls counted); `surveillance` may be null.
    class EnVol
    {
    public:
        explicit EnVol(SurveillanceBoites* surveillance);
        ~EnVol();
        EnVol(const EnVol&) = delete;
        EnVol& operator=(const EnVol&) = delete;

    private:
        SurveillanceBoites* m_surveillance;
    };

private:
    struct Echange;
    static DWORD WINAPI executer(LPVOID surveillance);
    static LRESULT CALLBACK procedureMessager(HWND fenetre, UINT message, WPARAM w, LPARAM l);
    void surveiller();
    void traiter(HWND boite);
    void choisir(Echange& echange);

    ChoixBoiteNative m_choix;
    ObservateurBoites m_observateur;
    DWORD m_filFenetre;
    HWND m_messager = nullptr; // on the window's thread
    HANDLE m_arret = nullptr;
    HANDLE m_enVol = nullptr;
    HANDLE m_fil = nullptr;
    int m_appels = 0;          // window's thread only
    std::set<HWND> m_traitees; // watcher's thread only: the boxes already answered, until the calls end
};
