#include "conteneurole_win.h"

#include "echeccom_win.h"
#include "feuilleole_win.h"
#include "gardefenetre_win.h"
#include "siteole_win.h"

#include <ocidl.h>

using Microsoft::WRL::ComPtr;

namespace {

const wchar_t ClasseFenetre[] = L"BancConteneurOle";

// One window class for both our windows: they draw nothing and handle nothing of their own.
ATOM classeFenetre()
{
    static const ATOM classe = [] {
        WNDCLASSEXW description{};
        description.cbSize = sizeof description;
        description.lpfnWndProc = DefWindowProcW;
        description.hInstance = GetModuleHandleW(nullptr);
        description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        description.lpszClassName = ClasseFenetre;
        return RegisterClassExW(&description);
    }();
    return classe;
}

int pixelsParPouce(HWND fenetre, int axe)
{
    HDC contexte = GetDC(fenetre);
    const int resultat = contexte != nullptr ? GetDeviceCaps(contexte, axe) : 96;
    if (contexte != nullptr)
        ReleaseDC(fenetre, contexte);
    return resultat;
}

using FonctionContexteDpi = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

// Absent before Windows 10 1607: the thread then keeps the process's own awareness, unaware for a program
// that never declared any.
FonctionContexteDpi fonctionContexteDpi()
{
    static const FonctionContexteDpi fonction = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 != nullptr ? reinterpret_cast<FonctionContexteDpi>(reinterpret_cast<void (*)()>(
                                       GetProcAddress(user32, "SetThreadDpiAwarenessContext")))
                                 : nullptr;
    }();
    return fonction;
}

} // namespace

InitialisationOle::InitialisationOle()
    : m_resultat(OleInitialize(nullptr))
{}

InitialisationOle::~InitialisationOle()
{
    if (SUCCEEDED(m_resultat))
        OleUninitialize();
}

ConteneurOle::ConteneurOle(const QString& identite, HWND proprietaire, const DescriptionFeuille& feuille,
                           ConnexionsEvenements::Rappel rappel)
{
    if (FAILED(m_ole.resultat()))
        throw echecCreation(m_ole.resultat(), identite);
    CLSID classe{};
    const auto texte = reinterpret_cast<LPCOLESTR>(identite.utf16());
    HRESULT hr = identite.startsWith(QLatin1Char('{')) ? CLSIDFromString(texte, &classe)
                                                       : CLSIDFromProgID(texte, &classe);
    if (FAILED(hr))
        throw echecCreation(hr, identite);
    // A system without a display at all (Wine headless) makes no window: the control is then activated
    // without one, and a control that needs one says so through DoVerb.
    creerFenetres(proprietaire, feuille);
    m_garde = std::make_shared<GardeFenetre>(fenetreRacine());
    // mingw-w64's ComPtr::Attach adds a reference: our objects' first ones are handed over instead.
    *m_cadre.ReleaseAndGetAddressOf() = new CadreOle(m_garde);
    *m_feuille.ReleaseAndGetAddressOf() = new FeuilleOle(feuille, fenetreRacine());

    ComPtr<IUnknown> objet;
    hr = CoCreateInstance(classe, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&objet));
    if (FAILED(hr)) {
        fermer();
        throw echecCreation(hr, identite);
    }
    m_feuille->placerControle(objet.Get());
    try {
        activer(objet.Get(), classe, identite);
    } catch (...) {
        fermer();
        throw;
    }
    hr = objet.As(&m_dispatch);
    if (FAILED(hr)) {
        fermer();
        throw echecCreation(hr, identite);
    }
    m_evenements = std::make_unique<ConnexionsEvenements>(objet.Get(), classe, std::move(rappel));
}

ConteneurOle::~ConteneurOle()
{
    fermer();
}

void ConteneurOle::tolerer(const char16_t* etape, HRESULT resultat)
{
    const Echec echec = echecDepuisHresult(resultat);
    m_etapes.append({QString::fromUtf16(etape), static_cast<qint32>(resultat), echec.description()});
}

void ConteneurOle::activer(IUnknown* objet, const CLSID& classe, const QString& identite)
{
    if (FAILED(objet->QueryInterface(IID_PPV_ARGS(&m_objetOle))))
        return;
    *m_site.ReleaseAndGetAddressOf() = new SiteOle(m_fenetreControle, m_cadre.Get(), m_feuille.Get());
    auto* site = static_cast<IOleClientSite*>(m_site.Get());
    HRESULT hr = m_objetOle->GetMiscStatus(DVASPECT_CONTENT, &m_statut);
    // The registry's MiscStatus stands for a control that sends the form there.
    if (hr == OLE_S_USEREG || FAILED(hr)) {
        if (FAILED(OleRegGetMiscStatus(classe, DVASPECT_CONTENT, &m_statut)))
            m_statut = 0;
        if (FAILED(hr))
            tolerer(u"IOleObject::GetMiscStatus", hr);
    }
    const bool siteDabord = (m_statut & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteDabord && FAILED(hr = m_objetOle->SetClientSite(site)))
        tolerer(u"IOleObject::SetClientSite", hr);
    initialiser(objet, identite);
    if (!siteDabord && FAILED(hr = m_objetOle->SetClientSite(site)))
        tolerer(u"IOleObject::SetClientSite", hr);

    // The control takes the size it asks for, in our window at the form's position.
    SIZEL etendue{};
    if (SUCCEEDED(m_objetOle->GetExtent(DVASPECT_CONTENT, &etendue))) {
        SetWindowPos(m_fenetreControle, nullptr, 0, 0,
                     MulDiv(etendue.cx, pixelsParPouce(m_fenetreControle, LOGPIXELSX), 2540),
                     MulDiv(etendue.cy, pixelsParPouce(m_fenetreControle, LOGPIXELSY), 2540),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // A control invisible at run time is activated all the same, in a window nobody sees; a form goes on
    // without its activation, as it does past a step the control does not implement.
    const bool invisible = (m_statut & OLEMISC_INVISIBLEATRUNTIME) != 0;
    if (!invisible)
        ShowWindow(m_fenetreControle, SW_SHOWNA);
    RECT position{};
    GetClientRect(m_fenetreControle, &position);
    hr = m_objetOle->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, m_fenetreControle, &position);
    if (FAILED(hr)) {
        if (!invisible && hr != E_NOTIMPL)
            throw echecCreation(hr, identite);
        tolerer(u"IOleObject::DoVerb(OLEIVERB_INPLACEACTIVATE)", hr);
    }
}

// A new control is initialised through IPersistStreamInit, else through IPersistPropertyBag; one that has
// neither, or that does not implement InitNew, starts from its own defaults.
void ConteneurOle::initialiser(IUnknown* objet, const QString& identite)
{
    ComPtr<IPersistStreamInit> flux;
    ComPtr<IPersistPropertyBag> sac;
    HRESULT hr = objet->QueryInterface(IID_PPV_ARGS(&flux));
    if (SUCCEEDED(hr)) {
        hr = flux->InitNew();
        if (hr == E_NOTIMPL)
            tolerer(u"IPersistStreamInit::InitNew", hr);
        else if (FAILED(hr))
            throw echecCreation(hr, identite);
        return;
    }
    tolerer(u"IPersistStreamInit", hr);
    if (SUCCEEDED(objet->QueryInterface(IID_PPV_ARGS(&sac)))) {
        hr = sac->InitNew();
        if (hr == E_NOTIMPL)
            tolerer(u"IPersistPropertyBag::InitNew", hr);
        else if (FAILED(hr))
            throw echecCreation(hr, identite);
    }
}

HWND ConteneurOle::fenetreRacine() const
{
    return m_fenetreControle != nullptr ? GetAncestor(m_fenetreControle, GA_ROOT) : nullptr;
}

void ConteneurOle::creerFenetres(HWND proprietaire, const DescriptionFeuille& feuille)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto nomClasse = reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(classeFenetre()));
    HWND parent = proprietaire;
    if (parent == nullptr) {
        // Offscreen the form has no native window: a hidden one of ours stands for it, so the control always
        // has a window to belong to and a frame to disable.
        m_fenetreCadre =
            CreateWindowExW(0, nomClasse, reinterpret_cast<LPCWSTR>(feuille.nom.utf16()),
                            WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
        parent = m_fenetreCadre;
    }
    if (parent == nullptr)
        return;
    const int x = MulDiv(feuille.gaucheTwips, pixelsParPouce(parent, LOGPIXELSX), 1440);
    const int y = MulDiv(feuille.hautTwips, pixelsParPouce(parent, LOGPIXELSY), 1440);
    m_fenetreControle = CreateWindowExW(0, nomClasse, reinterpret_cast<LPCWSTR>(feuille.nomControle.utf16()),
                                        WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y, 0, 0, parent,
                                        nullptr, instance, nullptr);
}

void ConteneurOle::fermer()
{
    // Nothing the control fires while it closes reaches the journal.
    if (m_evenements)
        m_evenements->deconnecter();
    m_evenements.reset();
    m_dispatch.Reset();
    if (m_objetOle) {
        ComPtr<IOleInPlaceObject> surPlace;
        if (m_site && m_site->actifSurPlace() && SUCCEEDED(m_objetOle.As(&surPlace)))
            surPlace->InPlaceDeactivate();
        surPlace.Reset();
        m_objetOle->Close(OLECLOSE_NOSAVE);
        m_objetOle->SetClientSite(nullptr);
        m_objetOle.Reset();
    }
    if (m_feuille)
        m_feuille->placerControle(nullptr);
    if (m_site)
        m_site->oublierFenetre();
    m_site.Reset();
    m_cadre.Reset();
    m_feuille.Reset();
    if (m_garde)
        m_garde->liberer();
    if (m_fenetreControle != nullptr)
        DestroyWindow(m_fenetreControle);
    m_fenetreControle = nullptr;
    if (m_fenetreCadre != nullptr)
        DestroyWindow(m_fenetreCadre);
    m_fenetreCadre = nullptr;
}

ConteneurOle::Appel::Appel(ConteneurOle& conteneur)
    : m_garde(*conteneur.m_garde)
{
    m_garde.appelCommence();
    if (const FonctionContexteDpi fonction = fonctionContexteDpi())
        m_contexteDpi = fonction(DPI_AWARENESS_CONTEXT_UNAWARE);
}

ConteneurOle::Appel::~Appel()
{
    if (m_contexteDpi != nullptr)
        fonctionContexteDpi()(m_contexteDpi);
    m_garde.appelTermine();
}
