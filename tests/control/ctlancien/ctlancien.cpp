// A control written the way the controls of the act-selection tool's era are: plain C++ COM, no Qt, an
// in-process server with its own registration, activated in place by its container, with a native modal
// dialog of its own and its own message loop. It behaves as a control written elsewhere does:
// - its methods refuse to run (E_UNEXPECTED) until it is activated in place;
// - SelectionActe shows a dialog owned by no window, which closes itself after a moment;
// - LireLibelle is a function that assigned nothing (Empty), LirePrix answers a number (2590, a double),
//   LireModificateurs answers Null, LireRegroupements raises vbObjectError + 513;
// - it notes what its container does to it, for the tests to read (JournalCtlAncien).
// clang-format off
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <ocidl.h>
// clang-format on
#include <cwchar>
#include <map>
#include <string>

namespace {

// {6C1E32A0-5B7D-4F0E-9C43-2D8E1A7B5F61}
const CLSID ClasseCtlAncien = {0x6c1e32a0, 0x5b7d, 0x4f0e, {0x9c, 0x43, 0x2d, 0x8e, 0x1a, 0x7b, 0x5f, 0x61}};
const wchar_t ProgId[] = L"BancTest.CtlAncien";
const wchar_t Clsid[] = L"{6C1E32A0-5B7D-4F0E-9C43-2D8E1A7B5F61}";

constexpr DISPID CodeActe = 0x4003001F;
constexpr DISPID SelectionActe = 0x60030008;
constexpr DISPID LireLibelle = 0x60030009;
constexpr DISPID LirePrix = 0x6003000A;
constexpr DISPID LireModificateurs = 0x6003000B;
constexpr DISPID LireRegroupements = 0x6003000D;
constexpr DISPID LireLibelleLong = 0x6003000E;
constexpr HRESULT VbObjectError = static_cast<HRESULT>(0x80040000);

HMODULE module = nullptr;
LONG objetsVivants = 0;
std::wstring journal;
HWND racine = nullptr;

void noter(const std::wstring& ligne)
{
    journal += ligne;
    journal += L'\n';
}

std::wstring nombre(long valeur)
{
    wchar_t tampon[16];
    std::swprintf(tampon, 16, L"%ld", valeur);
    return tampon;
}

std::wstring hexa(DISPID id)
{
    wchar_t tampon[16];
    std::swprintf(tampon, 16, L"0x%08lX", static_cast<unsigned long>(id));
    return tampon;
}

// The ambient properties a control of that era reads when it is sited.
std::wstring ambiance(IOleClientSite* site)
{
    IDispatch* ambiant = nullptr;
    if (FAILED(site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambiant))))
        return L"ambiance absente";
    struct Propriete
    {
        DISPID id;
        const wchar_t* nom;
    };
    const Propriete proprietes[] = {
        {DISPID_AMBIENT_USERMODE, L"UserMode"},
        {DISPID_AMBIENT_UIDEAD, L"UIDead"},
        {DISPID_AMBIENT_DISPLAYNAME, L"DisplayName"},
        {DISPID_AMBIENT_MESSAGEREFLECT, L"MessageReflect"},
        {DISPID_AMBIENT_SHOWGRABHANDLES, L"ShowGrabHandles"},
        {DISPID_AMBIENT_SHOWHATCHING, L"ShowHatching"},
        {DISPID_AMBIENT_LOCALEID, L"LocaleID"},
    };
    std::wstring texte = L"ambiance";
    for (const Propriete& p : proprietes) {
        VARIANT valeur;
        VariantInit(&valeur);
        DISPPARAMS aucun{nullptr, nullptr, 0, 0};
        texte += L' ';
        texte += p.nom;
        texte += L'=';
        if (FAILED(ambiant->Invoke(p.id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &aucun, &valeur,
                                   nullptr, nullptr))) {
            texte += L"?";
        } else if (valeur.vt == VT_BOOL) {
            texte += valeur.boolVal ? L"vrai" : L"faux";
        } else if (valeur.vt == VT_BSTR) {
            texte += valeur.bstrVal != nullptr ? valeur.bstrVal : L"";
        } else if (valeur.vt == VT_I4) {
            texte +=
                valeur.lVal == static_cast<LONG>(GetUserDefaultLCID()) ? L"utilisateur" : nombre(valeur.lVal);
        }
        VariantClear(&valeur);
    }
    ambiant->Release();
    return texte;
}

LRESULT CALLBACK procedureDialogue(HWND fenetre, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_TIMER) {
        KillTimer(fenetre, w);
        DestroyWindow(fenetre);
        return 0;
    }
    return DefWindowProcW(fenetre, message, w, l);
}

// How the system scales what the thread shows now: "systeme" when it bitmap-scales it, as for a program that
// knows nothing of screen scaling.
std::wstring echelle()
{
    using Lire = DPI_AWARENESS_CONTEXT(WINAPI*)();
    using Comparer = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto lire = reinterpret_cast<Lire>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    const auto comparer = reinterpret_cast<Comparer>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "AreDpiAwarenessContextsEqual")));
    if (lire == nullptr || comparer == nullptr)
        return L"inconnue";
    return comparer(lire(), DPI_AWARENESS_CONTEXT_UNAWARE) ? L"systeme" : L"programme";
}

// The selection dialog: a top-level window owned by nothing, run by its own loop until it closes itself.
void dialogue()
{
    WNDCLASSW classe{};
    classe.lpfnWndProc = procedureDialogue;
    classe.hInstance = module;
    classe.lpszClassName = L"CtlAncienDialogue";
    RegisterClassW(&classe);
    HWND fenetre = CreateWindowExW(WS_EX_DLGMODALFRAME, L"CtlAncienDialogue", L"Sélection d'un acte",
                                   WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                                   module, nullptr);
    if (fenetre == nullptr) {
        noter(L"dialogue impossible");
        return;
    }
    noter(std::wstring(L"dialogue proprietaire=") +
          (GetWindow(fenetre, GW_OWNER) == nullptr ? L"aucun" : L"fenetre") + L" fenetre=" +
          (racine != nullptr && !IsWindowEnabled(racine) ? L"desactivee" : L"active") + L" echelle=" +
          echelle());
    SetTimer(fenetre, 1, 500, nullptr);
    MSG message;
    while (IsWindow(fenetre) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

class CtlAncien final : public IDispatch,
                        public IOleObject,
                        public IOleInPlaceObject,
                        public IPersistStreamInit
{
public:
    CtlAncien() { InterlockedIncrement(&objetsVivants); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (objet == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch)
            *objet = static_cast<IDispatch*>(this);
        else if (iid == IID_IOleObject)
            *objet = static_cast<IOleObject*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
            *objet = static_cast<IOleInPlaceObject*>(this);
        else if (iid == IID_IPersistStreamInit)
            *objet = static_cast<IPersistStreamInit*>(this);
        else {
            *objet = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return static_cast<ULONG>(InterlockedIncrement(&m_references));
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG restant = InterlockedDecrement(&m_references);
        if (restant == 0) {
            noter(L"libere");
            delete this;
        }
        return static_cast<ULONG>(restant);
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override
    {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD drapeaux, DISPPARAMS* parametres,
                                     VARIANT* resultat, EXCEPINFO* exception, UINT*) override
    {
        if (drapeaux & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (parametres->cArgs != 1)
                return DISP_E_BADPARAMCOUNT;
            VariantCopyInd(&m_proprietes[id], &parametres->rgvarg[0]);
            return S_OK;
        }
        if (drapeaux & DISPATCH_METHOD) {
            noter(L"appel " + hexa(id));
            // Until it is active in place, the control has no window and no data: its methods fail.
            if (m_fenetre == nullptr)
                return E_UNEXPECTED;
            return appeler(id, resultat, exception);
        }
        if (resultat != nullptr) {
            auto trouve = m_proprietes.find(id);
            if (trouve != m_proprietes.end())
                return VariantCopy(resultat, &trouve->second);
        }
        return S_OK;
    }

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override
    {
        if (m_site != nullptr)
            m_site->Release();
        m_site = site;
        if (site == nullptr) {
            noter(L"SetClientSite(null)");
            return S_OK;
        }
        site->AddRef();
        noter(L"SetClientSite");
        noter(ambiance(site));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override
    {
        *site = m_site;
        if (m_site != nullptr)
            m_site->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD option) override
    {
        noter(L"Close(" + nombre(static_cast<long>(option)) + L")");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verbe, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                     LPCRECT position) override
    {
        noter(L"DoVerb(" + nombre(verbe) + L")");
        if (verbe != OLEIVERB_INPLACEACTIVATE || site == nullptr || parent == nullptr)
            return E_NOTIMPL;
        IOleInPlaceSite* surPlace = nullptr;
        if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&surPlace))))
            return E_NOINTERFACE;
        HRESULT hr = surPlace->CanInPlaceActivate();
        if (hr == S_OK)
            hr = surPlace->OnInPlaceActivate();
        IOleInPlaceFrame* cadre = nullptr;
        IOleInPlaceUIWindow* document = nullptr;
        RECT pos{}, decoupe{};
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof info;
        if (SUCCEEDED(hr))
            hr = surPlace->GetWindowContext(&cadre, &document, &pos, &decoupe, &info);
        if (SUCCEEDED(hr) && cadre != nullptr) {
            cadre->GetWindow(&racine);
            RECT ici{};
            GetWindowRect(parent, &ici);
            MapWindowPoints(nullptr, GetParent(parent), reinterpret_cast<POINT*>(&ici), 2);
            noter(L"actif x=" + nombre(ici.left) + L" y=" + nombre(ici.top) + L" visible=" +
                  (IsWindowVisible(parent) ? L"oui" : L"non") + L" cadre=" +
                  (info.hwndFrame == racine && GetAncestor(parent, GA_ROOT) == racine ? L"racine" : L"?"));
            m_fenetre = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, position->left, position->top,
                                        position->right - position->left, position->bottom - position->top,
                                        parent, nullptr, module, nullptr);
            m_surPlace = surPlace;
            surPlace = nullptr;
        }
        if (cadre != nullptr)
            cadre->Release();
        if (document != nullptr)
            document->Release();
        if (surPlace != nullptr)
            surPlace->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* classe) override
    {
        *classe = ClasseCtlAncien;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return OLE_S_USEREG; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL* etendue) override
    {
        etendue->cx = 847; // 32 pixels at 96 dpi, in HIMETRIC
        etendue->cy = 847;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* statut) override
    {
        noter(L"GetMiscStatus");
        *statut = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INVISIBLEATRUNTIME | OLEMISC_ACTIVATEWHENVISIBLE |
                  OLEMISC_RECOMPOSEONRESIZE | OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* fenetre) override
    {
        *fenetre = m_fenetre;
        return m_fenetre != nullptr ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override
    {
        noter(L"InPlaceDeactivate");
        if (m_fenetre != nullptr)
            DestroyWindow(m_fenetre);
        m_fenetre = nullptr;
        if (m_surPlace != nullptr) {
            m_surPlace->OnInPlaceDeactivate();
            m_surPlace->Release();
            m_surPlace = nullptr;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT, LPCRECT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

    // IPersist, IPersistStreamInit
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* classe) override
    {
        *classe = ClasseCtlAncien;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitNew() override
    {
        noter(L"InitNew");
        return S_OK;
    }

private:
    ~CtlAncien()
    {
        for (auto& [id, valeur] : m_proprietes)
            VariantClear(&valeur);
        if (m_surPlace != nullptr)
            m_surPlace->Release();
        if (m_site != nullptr)
            m_site->Release();
        InterlockedDecrement(&objetsVivants);
    }

    HRESULT appeler(DISPID id, VARIANT* resultat, EXCEPINFO* exception)
    {
        switch (id) {
        case SelectionActe: {
            dialogue();
            VARIANT code;
            code.vt = VT_BSTR;
            code.bstrVal = SysAllocString(L"LHQK005");
            VariantClear(&m_proprietes[CodeActe]);
            m_proprietes[CodeActe] = code;
            return S_OK;
        }
        case LireLibelle:
            return S_OK; // the function assigned nothing: Empty
        case LirePrix:
            if (resultat != nullptr) {
                resultat->vt = VT_R8;
                resultat->dblVal = 2590.0;
            }
            return S_OK;
        case LireModificateurs:
            if (resultat != nullptr)
                resultat->vt = VT_NULL;
            return S_OK;
        case LireRegroupements:
            if (exception != nullptr) {
                *exception = EXCEPINFO{};
                exception->scode = VbObjectError + 513;
                exception->bstrSource = SysAllocString(ProgId);
                exception->bstrDescription = SysAllocString(L"Regroupements indisponibles");
            }
            return DISP_E_EXCEPTION;
        case LireLibelleLong:
            if (resultat != nullptr) {
                resultat->vt = VT_BSTR;
                resultat->bstrVal = SysAllocString(L"libellé long");
            }
            return S_OK;
        default:
            if (resultat != nullptr) {
                resultat->vt = VT_BSTR;
                resultat->bstrVal = SysAllocString(L"");
            }
            return S_OK;
        }
    }

    LONG m_references = 1;
    IOleClientSite* m_site = nullptr;
    IOleInPlaceSite* m_surPlace = nullptr;
    HWND m_fenetre = nullptr;
    std::map<DISPID, VARIANT> m_proprietes;
};

class Fabrique final : public IClassFactory
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *objet = this;
            return S_OK;
        }
        *objet = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* agregat, REFIID iid, void** objet) override
    {
        if (agregat != nullptr)
            return CLASS_E_NOAGGREGATION;
        auto* controle = new CtlAncien;
        const HRESULT hr = controle->QueryInterface(iid, objet);
        controle->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

#pragma GCC diagnostic pop

Fabrique fabrique;

bool ecrireCle(const std::wstring& cle, const wchar_t* nom, const std::wstring& valeur)
{
    HKEY poignee = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, cle.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &poignee,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LONG resultat =
        RegSetValueExW(poignee, nom, 0, REG_SZ, reinterpret_cast<const BYTE*>(valeur.c_str()),
                       static_cast<DWORD>((valeur.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(poignee);
    return resultat == ERROR_SUCCESS;
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD raison, LPVOID)
{
    if (raison == DLL_PROCESS_ATTACH)
        module = instance;
    return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID classe, REFIID iid, void** objet)
{
    if (classe != ClasseCtlAncien)
        return CLASS_E_CLASSNOTAVAILABLE;
    return fabrique.QueryInterface(iid, objet);
}

HRESULT WINAPI DllCanUnloadNow()
{
    return objetsVivants == 0 ? S_OK : S_FALSE;
}

HRESULT WINAPI DllRegisterServer()
{
    wchar_t chemin[MAX_PATH];
    GetModuleFileNameW(module, chemin, MAX_PATH);
    const std::wstring classe = std::wstring(L"CLSID\\") + Clsid;
    const bool ecrit = ecrireCle(classe, nullptr, L"Contrôle d'essai à l'ancienne") &&
                       ecrireCle(classe + L"\\InprocServer32", nullptr, chemin) &&
                       ecrireCle(classe + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
                       ecrireCle(classe + L"\\ProgID", nullptr, ProgId) &&
                       ecrireCle(classe + L"\\Control", nullptr, L"") &&
                       ecrireCle(ProgId, nullptr, L"Contrôle d'essai à l'ancienne") &&
                       ecrireCle(std::wstring(ProgId) + L"\\CLSID", nullptr, Clsid);
    return ecrit ? S_OK : SELFREG_E_CLASS;
}

HRESULT WINAPI DllUnregisterServer()
{
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + Clsid).c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, ProgId);
    return S_OK;
}

// What the container did to the control, a line each, for the tests; and the frame it was given.
const wchar_t* WINAPI JournalCtlAncien()
{
    return journal.c_str();
}

void WINAPI ViderJournalCtlAncien()
{
    journal.clear();
}

HWND WINAPI RacineCtlAncien()
{
    return racine;
}
}
