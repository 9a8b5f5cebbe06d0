#include "feuilleole_win.h"

#include "ressourcescom_win.h"

#include <QStringView>
#include <olectl.h>
#include <vector>

namespace {

template<typename Interface> HRESULT donner(Interface* pointeur, void** objet)
{
    *objet = pointeur;
    pointeur->AddRef();
    return S_OK;
}

struct NomMembre
{
    const char16_t* nom;
    DISPID identifiant;
};

// The form's properties a control reads of its Parent.
namespace MembreFeuille {
enum : DISPID
{
    Nom = 1,
    ScaleMode = 2,
    ScaleWidth = 3,
    ScaleHeight = 4,
    Largeur = 5,
    Hauteur = 6,
    Visible = 7,
};
} // namespace MembreFeuille

const NomMembre membresFeuille[] = {
    {u"Name", MembreFeuille::Nom},
    {u"Caption", DISPID_CAPTION},
    {u"hWnd", DISPID_HWND},
    {u"Enabled", DISPID_ENABLED},
    {u"Font", DISPID_FONT},
    {u"ScaleMode", MembreFeuille::ScaleMode},
    {u"ScaleWidth", MembreFeuille::ScaleWidth},
    {u"ScaleHeight", MembreFeuille::ScaleHeight},
    {u"Width", MembreFeuille::Largeur},
    {u"Height", MembreFeuille::Hauteur},
    {u"Visible", MembreFeuille::Visible},
};

// The extender's own properties: the form keeps them for the control, which has none of these itself.
namespace MembreExtenseur {
enum : DISPID
{
    Gauche = static_cast<DISPID>(0x80010100),
    Haut = static_cast<DISPID>(0x80010101),
    Largeur = static_cast<DISPID>(0x80010102),
    Hauteur = static_cast<DISPID>(0x80010103),
    Visible = static_cast<DISPID>(0x80010104),
    Tag = static_cast<DISPID>(0x80010105),
    Conteneur = static_cast<DISPID>(0x80010106),
};
} // namespace MembreExtenseur

const NomMembre membresExtenseur[] = {
    {u"Name", DISPID_Name},
    {u"Object", DISPID_Object},
    {u"Parent", DISPID_Parent},
    {u"Container", MembreExtenseur::Conteneur},
    {u"Left", MembreExtenseur::Gauche},
    {u"Top", MembreExtenseur::Haut},
    {u"Width", MembreExtenseur::Largeur},
    {u"Height", MembreExtenseur::Hauteur},
    {u"Visible", MembreExtenseur::Visible},
    {u"Tag", MembreExtenseur::Tag},
};

// Names compare without regard to case, as late-binding clients expect.
template<std::size_t N>
HRESULT identifiantsParNom(const NomMembre (&membres)[N], LPOLESTR* noms, UINT nombre, DISPID* identifiants)
{
    if (noms == nullptr || identifiants == nullptr || nombre == 0)
        return E_INVALIDARG;
    for (UINT i = 0; i < nombre; ++i)
        identifiants[i] = DISPID_UNKNOWN;
    for (const NomMembre& membre : membres) {
        if (noms[0] != nullptr && QStringView(reinterpret_cast<const char16_t*>(noms[0]))
                                          .compare(QStringView(membre.nom), Qt::CaseInsensitive) == 0) {
            identifiants[0] = membre.identifiant;
            return nombre == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

void texte(VARIANT& valeur, const QString& contenu)
{
    valeur.bstrVal = bstrDepuisTexte(contenu).detacher();
    valeur.vt = VT_BSTR;
}

void entier(VARIANT& valeur, LONG nombre)
{
    valeur.vt = VT_I4;
    valeur.lVal = nombre;
}

void booleen(VARIANT& valeur, bool vrai)
{
    valeur.vt = VT_BOOL;
    valeur.boolVal = vrai ? VARIANT_TRUE : VARIANT_FALSE;
}

void objet(VARIANT& valeur, IDispatch* dispatch)
{
    valeur.vt = VT_DISPATCH;
    valeur.pdispVal = dispatch;
    if (dispatch != nullptr)
        dispatch->AddRef();
}

// Twips of one pixel of `fenetre`, by axis (15 at 96 dpi).
int twips(HWND fenetre, int pixels, int axe)
{
    HDC contexte = GetDC(fenetre);
    const int ppp = contexte != nullptr ? GetDeviceCaps(contexte, axe) : 96;
    if (contexte != nullptr)
        ReleaseDC(fenetre, contexte);
    return MulDiv(pixels, 1440, ppp);
}

int pixels(HWND fenetre, int enTwips, int axe)
{
    HDC contexte = GetDC(fenetre);
    const int ppp = contexte != nullptr ? GetDeviceCaps(contexte, axe) : 96;
    if (contexte != nullptr)
        ReleaseDC(fenetre, contexte);
    return MulDiv(enTwips, ppp, 1440);
}

// COM interfaces are released through Release(), never deleted through a base pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// One snapshot of the form's controls, for EnumObjects.
class EnumerationControles final : public IEnumUnknown
{
public:
    explicit EnumerationControles(std::vector<IUnknown*> controles, ULONG position = 0)
        : m_controles(std::move(controles))
        , m_position(position)
    {
        for (IUnknown* controle : m_controles)
            controle->AddRef();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (objet == nullptr)
            return E_POINTER;
        *objet = nullptr;
        if (iid == IID_IUnknown || iid == IID_IEnumUnknown)
            return donner(static_cast<IEnumUnknown*>(this), objet);
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return static_cast<ULONG>(InterlockedIncrement(&m_references));
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG restant = InterlockedDecrement(&m_references);
        if (restant == 0)
            delete this;
        return static_cast<ULONG>(restant);
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG nombre, IUnknown** elements, ULONG* rendus) override
    {
        if (elements == nullptr || (nombre > 1 && rendus == nullptr))
            return E_POINTER;
        ULONG n = 0;
        while (n < nombre && m_position < m_controles.size()) {
            elements[n] = m_controles[m_position++];
            elements[n++]->AddRef();
        }
        if (rendus != nullptr)
            *rendus = n;
        return n == nombre ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG nombre) override
    {
        m_position = std::min<ULONG>(m_position + nombre, static_cast<ULONG>(m_controles.size()));
        return m_position < m_controles.size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_position = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumUnknown** copie) override
    {
        if (copie == nullptr)
            return E_POINTER;
        *copie = new EnumerationControles(m_controles, m_position);
        return S_OK;
    }

private:
    ~EnumerationControles()
    {
        for (IUnknown* controle : m_controles)
            controle->Release();
    }

    LONG m_references = 1;
    std::vector<IUnknown*> m_controles;
    ULONG m_position;
};

#pragma GCC diagnostic pop

} // namespace

IDispatch* creerPoliceAmbiante(const DescriptionFeuille& feuille)
{
    std::wstring nom = feuille.police.toStdWString();
    FONTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.lpstrName = nom.data();
    description.cySize.int64 = static_cast<LONGLONG>(feuille.pointsPolice * 10000.0 + 0.5);
    description.sWeight = static_cast<SHORT>(feuille.gras ? FW_BOLD : FW_NORMAL);
    description.sCharset = DEFAULT_CHARSET;
    description.fItalic = feuille.italique;
    IDispatch* police = nullptr;
    if (FAILED(OleCreateFontIndirect(&description, IID_IFontDisp, reinterpret_cast<void**>(&police))))
        return nullptr;
    return police;
}

FeuilleOle::FeuilleOle(const DescriptionFeuille& description, HWND fenetre)
    : m_description(description)
    , m_fenetre(fenetre)
{}

HRESULT FeuilleOle::QueryInterface(REFIID iid, void** objet)
{
    if (objet == nullptr)
        return E_POINTER;
    *objet = nullptr;
    if (iid == IID_IUnknown || iid == IID_IParseDisplayName || iid == IID_IOleContainer)
        return donner(static_cast<IOleContainer*>(this), objet);
    if (iid == IID_IDispatch)
        return donner(static_cast<IDispatch*>(this), objet);
    return E_NOINTERFACE;
}

ULONG FeuilleOle::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG FeuilleOle::Release()
{
    const LONG restant = InterlockedDecrement(&m_references);
    if (restant == 0)
        delete this;
    return static_cast<ULONG>(restant);
}

HRESULT FeuilleOle::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker** moniker)
{
    if (moniker != nullptr)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT FeuilleOle::EnumObjects(DWORD, IEnumUnknown** enumeration)
{
    if (enumeration == nullptr)
        return E_POINTER;
    std::vector<IUnknown*> controles;
    if (m_controle != nullptr)
        controles.push_back(m_controle);
    *enumeration = new EnumerationControles(std::move(controles));
    return S_OK;
}

HRESULT FeuilleOle::GetTypeInfoCount(UINT* nombre)
{
    if (nombre == nullptr)
        return E_POINTER;
    *nombre = 0;
    return S_OK;
}

HRESULT FeuilleOle::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != nullptr)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT FeuilleOle::GetIDsOfNames(REFIID, LPOLESTR* noms, UINT nombre, LCID, DISPID* identifiants)
{
    return identifiantsParNom(membresFeuille, noms, nombre, identifiants);
}

HRESULT FeuilleOle::Invoke(DISPID identifiant, REFIID, LCID, WORD drapeaux, DISPPARAMS*, VARIANT* resultat,
                           EXCEPINFO*, UINT*)
{
    if ((drapeaux & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) == 0)
        return DISP_E_MEMBERNOTFOUND;
    VARIANT ignore;
    VARIANT& valeur = resultat != nullptr ? *resultat : ignore;
    VariantInit(&valeur);
    RECT client{};
    RECT cadre{};
    if (m_fenetre != nullptr) {
        GetClientRect(m_fenetre, &client);
        GetWindowRect(m_fenetre, &cadre);
    }
    try {
        switch (identifiant) {
        case MembreFeuille::Nom:
            texte(valeur, m_description.nom);
            break;
        case DISPID_CAPTION:
            texte(valeur, m_description.titre);
            break;
        case DISPID_HWND:
            entier(valeur, static_cast<LONG>(reinterpret_cast<LONG_PTR>(m_fenetre)));
            break;
        case DISPID_ENABLED:
            booleen(valeur, m_fenetre != nullptr && IsWindowEnabled(m_fenetre));
            break;
        case DISPID_FONT:
            valeur.vt = VT_DISPATCH;
            valeur.pdispVal = creerPoliceAmbiante(m_description);
            break;
        case MembreFeuille::ScaleMode:
            entier(valeur, 1); // twips
            break;
        case MembreFeuille::ScaleWidth:
            entier(valeur, twips(m_fenetre, client.right, LOGPIXELSX));
            break;
        case MembreFeuille::ScaleHeight:
            entier(valeur, twips(m_fenetre, client.bottom, LOGPIXELSY));
            break;
        case MembreFeuille::Largeur:
            entier(valeur, twips(m_fenetre, cadre.right - cadre.left, LOGPIXELSX));
            break;
        case MembreFeuille::Hauteur:
            entier(valeur, twips(m_fenetre, cadre.bottom - cadre.top, LOGPIXELSY));
            break;
        case MembreFeuille::Visible:
            booleen(valeur, m_fenetre != nullptr && IsWindowVisible(m_fenetre));
            break;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (resultat == nullptr)
        VariantClear(&ignore);
    return S_OK;
}

ExtenseurOle::ExtenseurOle(FeuilleOle* feuille, HWND fenetre)
    : m_feuille(feuille)
    , m_fenetre(fenetre)
{
    m_feuille->AddRef();
}

ExtenseurOle::~ExtenseurOle()
{
    m_feuille->Release();
}

HRESULT ExtenseurOle::QueryInterface(REFIID iid, void** objet)
{
    if (objet == nullptr)
        return E_POINTER;
    *objet = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch)
        return donner(static_cast<IDispatch*>(this), objet);
    return E_NOINTERFACE;
}

ULONG ExtenseurOle::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG ExtenseurOle::Release()
{
    const LONG restant = InterlockedDecrement(&m_references);
    if (restant == 0)
        delete this;
    return static_cast<ULONG>(restant);
}

HRESULT ExtenseurOle::GetTypeInfoCount(UINT* nombre)
{
    if (nombre == nullptr)
        return E_POINTER;
    *nombre = 0;
    return S_OK;
}

HRESULT ExtenseurOle::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != nullptr)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT ExtenseurOle::GetIDsOfNames(REFIID, LPOLESTR* noms, UINT nombre, LCID, DISPID* identifiants)
{
    return identifiantsParNom(membresExtenseur, noms, nombre, identifiants);
}

HRESULT ExtenseurOle::Invoke(DISPID identifiant, REFIID, LCID, WORD drapeaux, DISPPARAMS* parametres,
                             VARIANT* resultat, EXCEPINFO*, UINT*)
{
    try {
        if ((drapeaux & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
            if (parametres == nullptr || parametres->cArgs != 1)
                return DISP_E_BADPARAMCOUNT;
            return ecrire(identifiant, parametres->rgvarg[0]);
        }
        if ((drapeaux & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) == 0)
            return DISP_E_MEMBERNOTFOUND;
        VariantCom valeur;
        const HRESULT hr = lire(identifiant, valeur.valeur());
        if (SUCCEEDED(hr) && resultat != nullptr)
            valeur.detacherVers(*resultat);
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT ExtenseurOle::lire(DISPID identifiant, VARIANT& valeur)
{
    RECT position{};
    if (m_fenetre != nullptr) {
        GetWindowRect(m_fenetre, &position);
        MapWindowPoints(nullptr, GetParent(m_fenetre), reinterpret_cast<POINT*>(&position), 2);
    }
    const DescriptionFeuille& feuille = m_feuille->description();
    switch (identifiant) {
    case DISPID_Name:
        texte(valeur, feuille.nomControle);
        return S_OK;
    case DISPID_Object:
        if (m_feuille->controle() == nullptr)
            return E_UNEXPECTED;
        valeur.vt = VT_DISPATCH;
        return m_feuille->controle()->QueryInterface(IID_IDispatch,
                                                     reinterpret_cast<void**>(&valeur.pdispVal));
    case DISPID_Parent:
    case MembreExtenseur::Conteneur:
        objet(valeur, static_cast<IDispatch*>(m_feuille));
        return S_OK;
    case MembreExtenseur::Gauche:
        entier(valeur,
               m_fenetre != nullptr ? twips(m_fenetre, position.left, LOGPIXELSX) : feuille.gaucheTwips);
        return S_OK;
    case MembreExtenseur::Haut:
        entier(valeur, m_fenetre != nullptr ? twips(m_fenetre, position.top, LOGPIXELSY) : feuille.hautTwips);
        return S_OK;
    case MembreExtenseur::Largeur:
        entier(valeur, twips(m_fenetre, position.right - position.left, LOGPIXELSX));
        return S_OK;
    case MembreExtenseur::Hauteur:
        entier(valeur, twips(m_fenetre, position.bottom - position.top, LOGPIXELSY));
        return S_OK;
    case MembreExtenseur::Visible:
        // The form's design value: a control invisible at run time is still Visible to its form.
        booleen(valeur, true);
        return S_OK;
    case MembreExtenseur::Tag:
        texte(valeur, m_tag);
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT ExtenseurOle::ecrire(DISPID identifiant, const VARIANT& valeur)
{
    // Name, Parent, Object, Container and Visible are read-only at run time.
    const bool ecrivable = identifiant == MembreExtenseur::Tag || identifiant == MembreExtenseur::Gauche ||
                           identifiant == MembreExtenseur::Haut || identifiant == MembreExtenseur::Largeur ||
                           identifiant == MembreExtenseur::Hauteur;
    if (!ecrivable)
        return DISP_E_MEMBERNOTFOUND;
    VariantCom converti;
    const VARTYPE type = identifiant == MembreExtenseur::Tag ? VT_BSTR : VT_I4;
    if (FAILED(VariantChangeType(&converti.valeur(), const_cast<VARIANT*>(&valeur), 0, type)))
        return DISP_E_TYPEMISMATCH;
    if (identifiant == MembreExtenseur::Tag) {
        m_tag = texteDepuisBstr(converti.valeur().bstrVal);
        return S_OK;
    }
    if (m_fenetre == nullptr)
        return S_OK;
    RECT position{};
    GetWindowRect(m_fenetre, &position);
    MapWindowPoints(nullptr, GetParent(m_fenetre), reinterpret_cast<POINT*>(&position), 2);
    int x = position.left, y = position.top;
    int l = position.right - position.left, h = position.bottom - position.top;
    const LONG n = converti.valeur().lVal;
    switch (identifiant) {
    case MembreExtenseur::Gauche:
        x = pixels(m_fenetre, n, LOGPIXELSX);
        break;
    case MembreExtenseur::Haut:
        y = pixels(m_fenetre, n, LOGPIXELSY);
        break;
    case MembreExtenseur::Largeur:
        l = pixels(m_fenetre, n, LOGPIXELSX);
        break;
    default:
        h = pixels(m_fenetre, n, LOGPIXELSY);
        break;
    }
    SetWindowPos(m_fenetre, nullptr, x, y, l, h, SWP_NOZORDER | SWP_NOACTIVATE);
    return S_OK;
}
