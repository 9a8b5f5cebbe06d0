#pragma once

#include "controledispatch.h"

#include <wrl/client.h>

// clang-format off
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
// clang-format on

class PuitsEvenements;
class PuitsProprietes;

// The control's events as a form receives them: its default source interface, found through
// IProvideClassInfo2, else its coclass in the type library of its IDispatch, else in the type library its
// class's registration names, sunk by a dispatch sink that takes any identifier and names each event and its
// arguments from the type information; and its property changes, through IPropertyNotifySink. A control that
// has neither is no failure. Each event is handed to `rappel` as it comes, inside the call that fired it.
class ConnexionsEvenements
{
public:
    using Rappel = std::function<void(const EvenementControle&)>;

    ConnexionsEvenements(IUnknown* controle, const CLSID& classe, Rappel rappel);
    ~ConnexionsEvenements();
    ConnexionsEvenements(const ConnexionsEvenements&) = delete;
    ConnexionsEvenements& operator=(const ConnexionsEvenements&) = delete;

    // Unadvises both; nothing reaches `rappel` afterwards, even from a control that keeps its sinks.
    void deconnecter();

    // The source interface's name ("_DCtlAncienEvents"), empty when the control offers none the host found.
    const QString& interfaceSource() const { return m_interfaceSource; }

private:
    Microsoft::WRL::ComPtr<PuitsEvenements> m_puits;
    Microsoft::WRL::ComPtr<IConnectionPoint> m_point;
    DWORD m_cookie = 0;
    Microsoft::WRL::ComPtr<PuitsProprietes> m_puitsProprietes;
    Microsoft::WRL::ComPtr<IConnectionPoint> m_pointProprietes;
    DWORD m_cookieProprietes = 0;
    QString m_interfaceSource;
};
