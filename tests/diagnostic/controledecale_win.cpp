// An act-selection control rebuilt without binary compatibility, written the way controls of that era are:
// plain COM, no framework. Its members keep their names, but every method's identifier has moved by 0x100,
// so a client calling by the original identifiers reaches nothing; properties kept theirs.
// clang-format off
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>
// clang-format on
#include <cwchar>
#include <iterator>

namespace {

// {6E1B5C2A-3F0D-4C8B-9A47-2D5E8F1C0B93}
const CLSID ClsidDecale = {0x6e1b5c2a, 0x3f0d, 0x4c8b, {0x9a, 0x47, 0x2d, 0x5e, 0x8f, 0x1c, 0x0b, 0x93}};
const wchar_t TexteClsid[] = L"{6E1B5C2A-3F0D-4C8B-9A47-2D5E8F1C0B93}";
const wchar_t ProgId[] = L"BancTest.ctlDecale";

HMODULE g_module = nullptr;
LONG g_vivants = 0;

struct Membre
{
    const wchar_t* nom;
    DISPID identifiant;
    bool methode;
};

const Membre membres[] = {
    {L"CheminConfig", 0x4003001C, false},
    {L"SRTSeulement", 0x4003001D, false},
    {L"CodeSpecialite", 0x4003001E, false},
    {L"CodeActe", 0x4003001F, false},
    {L"LibelleLongActe", 0x40030020, false},
    {L"LibelleCourtActe", 0x40030021, false},
    {L"DateReference", 0x40030022, false},
    {L"Modificateurs", 0x40030023, false},
    {L"ModificateursActivite1", 0x40030024, false},
    {L"ModificateursActivite4", 0x40030025, false},
    {L"ModificateursActivite5", 0x40030026, false},
    {L"PrixActe", 0x40030027, false},
    {L"CodeRegroupement", 0x40030028, false},
    {L"GrilleTarifaire", 0x40030029, false},
    {L"SelectionActe", 0x60030108, true},
    {L"LireLibelle", 0x60030109, true},
    {L"LirePrix", 0x6003010A, true},
    {L"LireModificateurs", 0x6003010B, true},
    {L"LireModificateursActe", 0x6003010C, true},
    {L"LireRegroupements", 0x6003010D, true},
    {L"LireLibelleLong", 0x6003010E, true},
    {L"LireActesCompatibles", 0x6003010F, true},
};

const Membre* membre(DISPID identifiant)
{
    for (const Membre& m : membres)
        if (m.identifiant == identifiant)
            return &m;
    return nullptr;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

class ControleDecale final : public IDispatch
{
public:
    ControleDecale() { InterlockedIncrement(&g_vivants); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (objet == nullptr)
            return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_IDispatch) {
            *objet = nullptr;
            return E_NOINTERFACE;
        }
        *objet = static_cast<IDispatch*>(this);
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
            delete this;
            InterlockedDecrement(&g_vivants);
        }
        return static_cast<ULONG>(restant);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* nombre) override
    {
        if (nombre == nullptr)
            return E_POINTER;
        *nombre = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info != nullptr)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* noms, UINT nombre, LCID,
                                            DISPID* identifiants) override
    {
        if (noms == nullptr || identifiants == nullptr)
            return E_POINTER;
        HRESULT resultat = S_OK;
        for (UINT i = 0; i < nombre; ++i) {
            identifiants[i] = DISPID_UNKNOWN;
            for (const Membre& m : membres)
                if (_wcsicmp(m.nom, noms[i]) == 0)
                    identifiants[i] = m.identifiant;
            if (identifiants[i] == DISPID_UNKNOWN)
                resultat = DISP_E_UNKNOWNNAME;
        }
        return resultat;
    }
    // Properties take any value and read as an empty text; methods answer an empty text.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID identifiant, REFIID, LCID, WORD drapeaux, DISPPARAMS*,
                                     VARIANT* resultat, EXCEPINFO*, UINT*) override
    {
        const Membre* m = membre(identifiant);
        if (m == nullptr)
            return DISP_E_MEMBERNOTFOUND;
        if ((drapeaux & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0)
            return m->methode ? DISP_E_MEMBERNOTFOUND : S_OK;
        if (resultat != nullptr) {
            VariantInit(resultat);
            resultat->vt = VT_BSTR;
            resultat->bstrVal = SysAllocString(L"");
        }
        return S_OK;
    }

private:
    LONG m_references = 1;
};

class FabriqueDecale final : public IClassFactory
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (objet == nullptr)
            return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            *objet = nullptr;
            return E_NOINTERFACE;
        }
        *objet = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // One static factory for the module's life.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* externe, REFIID iid, void** objet) override
    {
        if (objet == nullptr)
            return E_POINTER;
        *objet = nullptr;
        if (externe != nullptr)
            return CLASS_E_NOAGGREGATION;
        ControleDecale* controle = new (std::nothrow) ControleDecale;
        if (controle == nullptr)
            return E_OUTOFMEMORY;
        const HRESULT hr = controle->QueryInterface(iid, objet);
        controle->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL verrouiller) override
    {
        if (verrouiller)
            InterlockedIncrement(&g_vivants);
        else
            InterlockedDecrement(&g_vivants);
        return S_OK;
    }
};

#pragma GCC diagnostic pop

FabriqueDecale g_fabrique;

bool ecrireCle(const wchar_t* cle, const wchar_t* nom, const wchar_t* valeur)
{
    HKEY ouverte = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, cle, 0, nullptr, 0, KEY_WRITE, nullptr, &ouverte, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LSTATUS ecrit = RegSetValueExW(ouverte, nom, 0, REG_SZ, reinterpret_cast<const BYTE*>(valeur),
                                         static_cast<DWORD>((std::wcslen(valeur) + 1) * sizeof(wchar_t)));
    RegCloseKey(ouverte);
    return ecrit == ERROR_SUCCESS;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD raison, LPVOID)
{
    if (raison == DLL_PROCESS_ATTACH)
        g_module = module;
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classe, REFIID iid, void** objet)
{
    if (objet == nullptr)
        return E_POINTER;
    *objet = nullptr;
    if (classe != ClsidDecale)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_fabrique.QueryInterface(iid, objet);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return g_vivants == 0 ? S_OK : S_FALSE;
}

// For the machine, as an elevated regsvr32 does.
extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    wchar_t fichier[MAX_PATH];
    const DWORD longueur = GetModuleFileNameW(g_module, fichier, MAX_PATH);
    if (longueur == 0 || longueur >= MAX_PATH)
        return SELFREG_E_CLASS;
    wchar_t cleProgId[128];
    wchar_t cleServeur[128];
    std::swprintf(cleProgId, std::size(cleProgId), L"Software\\Classes\\%ls\\CLSID", ProgId);
    std::swprintf(cleServeur, std::size(cleServeur), L"Software\\Classes\\CLSID\\%ls\\InprocServer32",
                  TexteClsid);
    const bool inscrit = ecrireCle(cleProgId, nullptr, TexteClsid) &&
                         ecrireCle(cleServeur, nullptr, fichier) &&
                         ecrireCle(cleServeur, L"ThreadingModel", L"Apartment");
    return inscrit ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    wchar_t cle[128];
    std::swprintf(cle, std::size(cle), L"Software\\Classes\\%ls", ProgId);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, cle);
    std::swprintf(cle, std::size(cle), L"Software\\Classes\\CLSID\\%ls", TexteClsid);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, cle);
    return S_OK;
}
