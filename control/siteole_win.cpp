#include "siteole_win.h"

#include "feuilleole_win.h"
#include "gardefenetre_win.h"

#include <cmath>
#include <olectl.h>

namespace {

template<typename Interface> HRESULT donner(Interface* pointeur, void** objet)
{
    *objet = pointeur;
    pointeur->AddRef();
    return S_OK;
}

// System colours as OLE_COLOR: the high bit marks a system colour index.
constexpr LONG couleurSysteme(int index)
{
    return static_cast<LONG>(0x80000000u | static_cast<unsigned>(index));
}

void booleen(VARIANT& valeur, bool vrai)
{
    valeur.vt = VT_BOOL;
    valeur.boolVal = vrai ? VARIANT_TRUE : VARIANT_FALSE;
}

void entier(VARIANT& valeur, LONG nombre)
{
    valeur.vt = VT_I4;
    valeur.lVal = nombre;
}

} // namespace

bool proprieteAmbiante(DISPID identifiant, const FeuilleOle& feuille, VARIANT& valeur)
{
    VariantInit(&valeur);
    switch (identifiant) {
    case DISPID_AMBIENT_USERMODE:
        booleen(valeur, true);
        return true;
    case DISPID_AMBIENT_UIDEAD:
        booleen(valeur, false);
        return true;
    case DISPID_AMBIENT_LOCALEID:
        entier(valeur, static_cast<LONG>(GetUserDefaultLCID()));
        return true;
    case DISPID_AMBIENT_DISPLAYNAME:
        valeur.vt = VT_BSTR;
        valeur.bstrVal = SysAllocString(L"ctlTarvo1");
        return valeur.bstrVal != nullptr;
    // The container reflects no messages back to the control: it keeps handling its own.
    case DISPID_AMBIENT_MESSAGEREFLECT:
        booleen(valeur, false);
        return true;
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
        booleen(valeur, false);
        return true;
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
    case DISPID_AMBIENT_AUTOCLIP:
        booleen(valeur, true);
        return true;
    case DISPID_AMBIENT_BACKCOLOR:
        entier(valeur, couleurSysteme(COLOR_BTNFACE));
        return true;
    case DISPID_AMBIENT_FORECOLOR:
        entier(valeur, couleurSysteme(COLOR_BTNTEXT));
        return true;
    case DISPID_AMBIENT_APPEARANCE:
        entier(valeur, 1); // 3D
        return true;
    case DISPID_AMBIENT_TEXTALIGN:
        entier(valeur, 0); // general: numbers right, text left
        return true;
    case DISPID_AMBIENT_FONT:
        valeur.pdispVal = creerPoliceAmbiante(feuille.description());
        valeur.vt = valeur.pdispVal != nullptr ? VT_DISPATCH : VT_EMPTY;
        return valeur.pdispVal != nullptr;
    // The form measures in twips, as TransformCoords answers.
    case DISPID_AMBIENT_SCALEUNITS:
        valeur.vt = VT_BSTR;
        valeur.bstrVal = SysAllocString(L"Twip");
        return valeur.bstrVal != nullptr;
    case DISPID_AMBIENT_CODEPAGE:
        entier(valeur, static_cast<LONG>(GetACP()));
        return true;
    case DISPID_AMBIENT_RIGHTTOLEFT:
        booleen(valeur, false);
        return true;
    case DISPID_AMBIENT_TOPTOBOTTOM:
        booleen(valeur, true);
        return true;
    default:
        return false;
    }
}

POINTF himetricVersTwips(POINTL himetric)
{
    return {static_cast<float>(himetric.x) * 1440.0f / 2540.0f,
            static_cast<float>(himetric.y) * 1440.0f / 2540.0f};
}

POINTL twipsVersHimetric(POINTF twips)
{
    return {std::lround(static_cast<double>(twips.x) * 2540.0 / 1440.0),
            std::lround(static_cast<double>(twips.y) * 2540.0 / 1440.0)};
}

CadreOle::CadreOle(std::shared_ptr<GardeFenetre> garde)
    : m_garde(std::move(garde))
{}

HRESULT CadreOle::QueryInterface(REFIID iid, void** objet)
{
    if (objet == nullptr)
        return E_POINTER;
    *objet = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow ||
        iid == IID_IOleInPlaceFrame)
        return donner(static_cast<IOleInPlaceFrame*>(this), objet);
    return E_NOINTERFACE;
}

ULONG CadreOle::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG CadreOle::Release()
{
    const LONG restant = InterlockedDecrement(&m_references);
    if (restant == 0)
        delete this;
    return static_cast<ULONG>(restant);
}

HRESULT CadreOle::GetWindow(HWND* poignee)
{
    if (poignee == nullptr)
        return E_POINTER;
    *poignee = m_garde->fenetre();
    return *poignee != nullptr ? S_OK : E_FAIL;
}

HRESULT CadreOle::EnableModeless(BOOL activer)
{
    m_garde->modeless(activer != FALSE);
    return S_OK;
}

SiteOle::SiteOle(HWND fenetre, CadreOle* cadre, FeuilleOle* feuille)
    : m_fenetre(fenetre)
    , m_cadre(cadre)
    , m_feuille(feuille)
    , m_extenseur(new ExtenseurOle(feuille, fenetre))
{
    m_cadre->AddRef();
    m_feuille->AddRef();
}

SiteOle::~SiteOle()
{
    m_extenseur->Release();
    m_feuille->Release();
    m_cadre->Release();
}

void SiteOle::oublierFenetre()
{
    m_fenetre = nullptr;
    m_extenseur->oublierFenetre();
}

HRESULT SiteOle::QueryInterface(REFIID iid, void** objet)
{
    if (objet == nullptr)
        return E_POINTER;
    *objet = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        return donner(static_cast<IOleClientSite*>(this), objet);
    if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
        return donner(static_cast<IOleInPlaceSite*>(this), objet);
    if (iid == IID_IOleControlSite)
        return donner(static_cast<IOleControlSite*>(this), objet);
    if (iid == IID_IDispatch)
        return donner(static_cast<IDispatch*>(this), objet);
    return E_NOINTERFACE;
}

ULONG SiteOle::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG SiteOle::Release()
{
    const LONG restant = InterlockedDecrement(&m_references);
    if (restant == 0)
        delete this;
    return static_cast<ULONG>(restant);
}

HRESULT SiteOle::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker != nullptr)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT SiteOle::GetContainer(IOleContainer** conteneur)
{
    if (conteneur == nullptr)
        return E_POINTER;
    *conteneur = m_feuille;
    m_feuille->AddRef();
    return S_OK;
}

HRESULT SiteOle::GetWindow(HWND* poignee)
{
    if (poignee == nullptr)
        return E_POINTER;
    *poignee = m_fenetre;
    return m_fenetre != nullptr ? S_OK : E_FAIL;
}

HRESULT SiteOle::OnInPlaceActivate()
{
    m_actif = true;
    return S_OK;
}

HRESULT SiteOle::OnInPlaceDeactivate()
{
    m_actif = false;
    return S_OK;
}

HRESULT SiteOle::GetWindowContext(IOleInPlaceFrame** cadre, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT decoupe, LPOLEINPLACEFRAMEINFO info)
{
    if (cadre == nullptr || document == nullptr || position == nullptr || decoupe == nullptr ||
        info == nullptr)
        return E_POINTER;
    *cadre = m_cadre;
    m_cadre->AddRef();
    *document = nullptr; // a form is its own document: no separate document window
    // The control fills our native window, which sits where the form places it.
    RECT client{};
    if (m_fenetre != nullptr)
        GetClientRect(m_fenetre, &client);
    *position = client;
    *decoupe = client;
    HWND racine = nullptr;
    m_cadre->GetWindow(&racine);
    info->fMDIApp = FALSE;
    info->hwndFrame = racine;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT SiteOle::GetExtendedControl(IDispatch** controle)
{
    if (controle == nullptr)
        return E_POINTER;
    *controle = m_extenseur;
    m_extenseur->AddRef();
    return S_OK;
}

// The container's units are the form's, twips, as its ambient ScaleUnits says; the control measures in
// HIMETRIC (0.01 mm). Positions and sizes convert alike.
HRESULT SiteOle::TransformCoords(POINTL* himetric, POINTF* conteneur, DWORD sens)
{
    if (himetric == nullptr || conteneur == nullptr)
        return E_POINTER;
    if (sens & XFORMCOORDS_HIMETRICTOCONTAINER)
        *conteneur = himetricVersTwips(*himetric);
    else if (sens & XFORMCOORDS_CONTAINERTOHIMETRIC)
        *himetric = twipsVersHimetric(*conteneur);
    else
        return E_INVALIDARG;
    return S_OK;
}

HRESULT SiteOle::GetTypeInfoCount(UINT* nombre)
{
    if (nombre == nullptr)
        return E_POINTER;
    *nombre = 0;
    return S_OK;
}

HRESULT SiteOle::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != nullptr)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT SiteOle::GetIDsOfNames(REFIID, LPOLESTR*, UINT nombre, LCID, DISPID* identifiants)
{
    for (UINT i = 0; identifiants != nullptr && i < nombre; ++i)
        identifiants[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT SiteOle::Invoke(DISPID identifiant, REFIID, LCID, WORD drapeaux, DISPPARAMS*, VARIANT* resultat,
                        EXCEPINFO*, UINT*)
{
    if ((drapeaux & DISPATCH_PROPERTYGET) == 0 || resultat == nullptr)
        return DISP_E_MEMBERNOTFOUND;
    if (!proprieteAmbiante(identifiant, *m_feuille, *resultat))
        return DISP_E_MEMBERNOTFOUND;
    return S_OK;
}
