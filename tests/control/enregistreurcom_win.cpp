#include "enregistreurcom_win.h"

#include "ressourcescom_win.h"

#include <wrl/client.h>

// clang-format off
#include <windows.h>
#include <oleidl.h>
#include <olectl.h>
// clang-format on

using Microsoft::WRL::ComPtr;

namespace EnregistreurCom {

namespace {

// {6B1F6A52-2C1E-4D59-9F3B-3A1C0E5D7B21}
const CLSID classeEnregistreur = {
    0x6b1f6a52, 0x2c1e, 0x4d59, {0x9f, 0x3b, 0x3a, 0x1c, 0x0e, 0x5d, 0x7b, 0x21}};

ComPtr<IOleClientSite>& siteRecu()
{
    static ComPtr<IOleClientSite> s;
    return s;
}

QString hexa(DISPID id)
{
    return QStringLiteral("0x%1")
        .arg(static_cast<quint32>(id), 8, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QStringLiteral("0X"), QStringLiteral("0x"));
}

QString drapeaux(WORD d)
{
    QStringList noms;
    if (d & DISPATCH_METHOD)
        noms.append(QStringLiteral("METHOD"));
    if (d & DISPATCH_PROPERTYGET)
        noms.append(QStringLiteral("GET"));
    if (d & DISPATCH_PROPERTYPUT)
        noms.append(QStringLiteral("PUT"));
    if (d & DISPATCH_PROPERTYPUTREF)
        noms.append(QStringLiteral("PUTREF"));
    return noms.join(QLatin1Char('|'));
}

QString decrire(const VARIANT& v)
{
    switch (v.vt) {
    case VT_I4:
        return QStringLiteral("VT_I4 %1").arg(v.lVal);
    case VT_BSTR:
        return QStringLiteral("VT_BSTR \"%1\"").arg(texteDepuisBstr(v.bstrVal));
    case VT_BYREF | VT_I4:
        return QStringLiteral("VT_BYREF|VT_I4 %1").arg(*v.plVal);
    case VT_BYREF | VT_BSTR:
        return QStringLiteral("VT_BYREF|VT_BSTR \"%1\"").arg(texteDepuisBstr(*v.pbstrVal));
    default:
        return QStringLiteral("vt=%1").arg(v.vt);
    }
}

void versVariant(const QVariant& valeur, VARIANT* resultat)
{
    VariantInit(resultat);
    switch (valeur.typeId()) {
    case QMetaType::QString:
        resultat->bstrVal = bstrDepuisTexte(valeur.toString()).detacher();
        resultat->vt = VT_BSTR;
        break;
    case QMetaType::Int:
        resultat->vt = VT_I4;
        resultat->lVal = valeur.toInt();
        break;
    case QMetaType::Double:
        resultat->vt = VT_R8;
        resultat->dblVal = valeur.toDouble();
        break;
    case QMetaType::Float:
        resultat->vt = VT_R4;
        resultat->fltVal = valeur.toFloat();
        break;
    case QMetaType::Bool:
        resultat->vt = VT_BOOL;
        resultat->boolVal = valeur.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case QMetaType::Nullptr:
        resultat->vt = VT_NULL;
        break;
    default:
        break;
    }
}

// COM interfaces are released through Release(), never deleted through a base pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

class Objet final : public IDispatch, public IOleObject
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch)
            *objet = static_cast<IDispatch*>(this);
        else if (iid == IID_IOleObject)
            *objet = static_cast<IOleObject*>(this);
        else {
            *objet = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG restant = --m_references;
        if (restant == 0)
            delete this;
        return static_cast<ULONG>(restant);
    }

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
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD d, DISPPARAMS* p, VARIANT* resultat,
                                     EXCEPINFO* exception, UINT*) override
    {
        QString ligne = drapeaux(d) + QLatin1Char(' ') + hexa(id);
        for (UINT i = 0; i < p->cNamedArgs; ++i)
            ligne += p->rgdispidNamedArgs[i] == DISPID_PROPERTYPUT
                         ? QStringLiteral(" [PROPERTYPUT]")
                         : QStringLiteral(" [%1]").arg(p->rgdispidNamedArgs[i]);
        for (UINT i = 0; i < p->cArgs; ++i)
            ligne += QLatin1Char(' ') + decrire(p->rgvarg[i]);
        journal().append(ligne);

        if (reponses().parReference.contains(id) && p->cArgs == 1) {
            VARIANT& argument = p->rgvarg[0];
            const QVariant nouveau = reponses().parReference.value(id);
            if (argument.vt == (VT_BYREF | VT_I4))
                *argument.plVal = nouveau.toInt();
            else if (argument.vt == (VT_BYREF | VT_BSTR)) {
                BSTR remplacant = bstrDepuisTexte(nouveau.toString()).detacher();
                SysFreeString(*argument.pbstrVal);
                *argument.pbstrVal = remplacant;
            }
        }
        if (reponses().echecs.contains(id)) {
            const Reponses::Exception e = reponses().echecs.value(id);
            if (e.resultat == DISP_E_EXCEPTION && exception != nullptr) {
                *exception = EXCEPINFO{};
                exception->wCode = e.wCode;
                exception->scode = e.scode;
                exception->bstrSource = SysAllocString(L"BancTest.Enregistreur");
                exception->bstrDescription = bstrDepuisTexte(e.description).detacher();
            }
            return e.resultat;
        }
        if (resultat != nullptr && (d & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)))
            versVariant(reponses().valeurs.value(id), resultat);
        return S_OK;
    }

    // IOleObject: what a container does with a control it sites.
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override
    {
        journal().append(site != nullptr ? QStringLiteral("SetClientSite")
                                         : QStringLiteral("SetClientSite(null)"));
        siteRecu() = site;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override
    {
        *site = siteRecu().Get();
        if (*site != nullptr)
            (*site)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override
    {
        journal().append(QStringLiteral("Close"));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verbe, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override
    {
        journal().append(QStringLiteral("DoVerb(%1)").arg(verbe));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* classe) override
    {
        *classe = classeEnregistreur;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* statut) override
    {
        *statut = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INVISIBLEATRUNTIME;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

private:
    ~Objet() = default;
    LONG m_references = 1;
};

class Fabrique final : public IClassFactory
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *objet = static_cast<IClassFactory*>(this);
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
        auto* nouveau = new Objet;
        const HRESULT hr = nouveau->QueryInterface(iid, objet);
        nouveau->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

#pragma GCC diagnostic pop

Fabrique fabrique;

std::wstring cleProgId(const QString& progId)
{
    return (QStringLiteral("Software\\Classes\\") + progId + QStringLiteral("\\CLSID")).toStdWString();
}

} // namespace

QStringList& journal()
{
    static QStringList j;
    return j;
}

Reponses& reponses()
{
    static Reponses r;
    return r;
}

IOleClientSite* site()
{
    return siteRecu().Get();
}

Inscription::Inscription(const QString& progId)
    : m_com(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))
    , m_progId(progId)
{
    wchar_t texteClasse[64];
    StringFromGUID2(classeEnregistreur, texteClasse, 64);
    // The machine's classes: Wine looks a ProgID up there only (it runs programs elevated).
    const std::wstring cle = cleProgId(progId);
    const bool cleEcrite =
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, cle.c_str(), nullptr, REG_SZ, texteClasse,
                        static_cast<DWORD>((wcslen(texteClasse) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    m_reussie =
        cleEcrite && SUCCEEDED(CoRegisterClassObject(classeEnregistreur, &fabrique, CLSCTX_INPROC_SERVER,
                                                     REGCLS_MULTIPLEUSE, &m_cookie));
}

Inscription::~Inscription()
{
    if (m_cookie != 0)
        CoRevokeClassObject(m_cookie);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                   (QStringLiteral("Software\\Classes\\") + m_progId).toStdWString().c_str());
    siteRecu().Reset();
    if (SUCCEEDED(m_com))
        CoUninitialize();
}

} // namespace EnregistreurCom
