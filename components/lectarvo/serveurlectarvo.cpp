// The entry points of LecTarvo.ocx, the four any in-process COM server exports (see LecTarvo.def).
#include "applicationgraphique.h"
#include "compteurmodule.h"
#include "ctltarvoheberge.h"
#include "enregistrementserveur.h"
#include "identiteserveur.h"
#include "objetdispatch.h"

#include <iterator>
#include <new>

// clang-format off
#include <windows.h>
#include <olectl.h>
// clang-format on

namespace {

// COM objects are released through Release(), never deleted through an interface: no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// One factory for the module's life; its references are the module's (COM keeps it while it holds one).
class FabriqueCtlTarvo final : public IClassFactory
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (objet == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *objet = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *objet = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        moduleRetenir();
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        moduleRelacher();
        return 1;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* exterieur, REFIID iid, void** objet) override
    {
        if (objet == nullptr)
            return E_POINTER;
        *objet = nullptr;
        if (exterieur != nullptr)
            return CLASS_E_NOAGGREGATION;
        try {
            return ObjetDispatch::creer(std::make_unique<CtlTarvoHeberge>(), iid, objet);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL verrouiller) override
    {
        if (verrouiller)
            moduleRetenir();
        else
            moduleRelacher();
        return S_OK;
    }
};
#pragma GCC diagnostic pop

FabriqueCtlTarvo fabrique;
const char repere = 0;

// This file's full path, as registered: empty when the system cannot tell.
std::wstring cheminModule()
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&repere), &module))
        return {};
    wchar_t chemin[MAX_PATH * 4];
    const DWORD longueur = GetModuleFileNameW(module, chemin, static_cast<DWORD>(std::size(chemin)));
    if (longueur == 0 || longueur >= std::size(chemin))
        return {};
    return std::wstring(chemin, longueur);
}

} // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** objet)
{
    if (objet == nullptr)
        return E_POINTER;
    *objet = nullptr;
    if (clsid != ClsidCtlTarvo)
        return CLASS_E_CLASSNOTAVAILABLE;
    return fabrique.QueryInterface(iid, objet);
}

STDAPI DllCanUnloadNow()
{
    return moduleInutilise() && !applicationCreeeParLeServeur() ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer()
{
    const std::wstring chemin = cheminModule();
    if (chemin.empty())
        return SELFREG_E_CLASS;
    try {
        return enregistrerServeur(cleClasses(processusEleve()), chemin);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDAPI DllUnregisterServer()
{
    try {
        return desenregistrerServeur(cleClasses(processusEleve()));
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}
