#pragma once

#include "controledispatch.h"
#include "evenementsole_win.h"

#include <QList>
#include <QString>
#include <memory>
#include <wrl/client.h>

// clang-format off
#include <windows.h>
#include <ole2.h>
#include <oleidl.h>
// clang-format on

class CadreOle;
class FeuilleOle;
class GardeFenetre;
class SiteOle;
struct DescriptionFeuille;

// OLE for the window's thread, for as long as a control lives: balanced on every path.
class InitialisationOle
{
public:
    InitialisationOle();
    ~InitialisationOle();
    InitialisationOle(const InitialisationOle&) = delete;
    InitialisationOle& operator=(const InitialisationOle&) = delete;
    HRESULT resultat() const { return m_resultat; }

private:
    HRESULT m_resultat;
};

// The one control of a form, hosted as a form hosts it: created, given its site, initialised new, then
// activated in place in a native window of our own at the form's position for it, its events connected;
// closed in the mirror order. A step a form goes on from when it fails (a control invisible at run time that
// cannot be activated, one without IPersistStreamInit, a step that answers E_NOTIMPL) is noted and passed
// over. A plain automation object (no IOleObject) is created and called alike, with neither site nor
// activation.
class ConteneurOle
{
public:
    // `identite` is the control's ProgID or its class identifier in braces. `proprietaire` is the form's own
    // top-level window, or null where it has none (offscreen): the container then makes a hidden top-level
    // window of its own. `feuille` is what the control is told of the form; `rappel` receives its events.
    // Throws Echec 429 when the control cannot be created.
    ConteneurOle(const QString& identite, HWND proprietaire, const DescriptionFeuille& feuille,
                 ConnexionsEvenements::Rappel rappel);
    ~ConteneurOle();
    ConteneurOle(const ConteneurOle&) = delete;
    ConteneurOle& operator=(const ConteneurOle&) = delete;

    IDispatch* dispatch() const { return m_dispatch.Get(); }
    // The native window the control is activated in, and the top-level window above it.
    HWND fenetreControle() const { return m_fenetreControle; }
    HWND fenetreRacine() const;
    const QList<EtapeActivation>& etapesToleres() const { return m_etapes; }
    const GardeFenetre& garde() const { return *m_garde; }

    // For the length of one call into the control: the top-level window disabled (once for the calls of a
    // command, gardefenetre_win.h) and the thread unaware of screen scaling, as a program of the control's
    // era is, so the system scales the control's own dialogs. The awareness is restored when it goes, failure
    // included.
    class Appel
    {
    public:
        explicit Appel(ConteneurOle& conteneur);
        ~Appel();
        Appel(const Appel&) = delete;
        Appel& operator=(const Appel&) = delete;

    private:
        GardeFenetre& m_garde;
        DPI_AWARENESS_CONTEXT m_contexteDpi = nullptr;
    };

private:
    void creerFenetres(HWND proprietaire, const DescriptionFeuille& feuille);
    void activer(IUnknown* objet, const CLSID& classe, const QString& identite);
    void initialiser(IUnknown* objet, const QString& identite);
    // Notes a step that failed and that a form goes on from.
    void tolerer(const char16_t* etape, HRESULT resultat);
    void fermer();

    InitialisationOle m_ole;       // first in, last out: every interface is released before OLE ends
    HWND m_fenetreCadre = nullptr; // ours, offscreen only
    HWND m_fenetreControle = nullptr;
    std::shared_ptr<GardeFenetre> m_garde;
    Microsoft::WRL::ComPtr<CadreOle> m_cadre;
    Microsoft::WRL::ComPtr<FeuilleOle> m_feuille;
    Microsoft::WRL::ComPtr<SiteOle> m_site;
    Microsoft::WRL::ComPtr<IOleObject> m_objetOle;
    Microsoft::WRL::ComPtr<IDispatch> m_dispatch;
    std::unique_ptr<ConnexionsEvenements> m_evenements;
    DWORD m_statut = 0;
    QList<EtapeActivation> m_etapes;
};
