#include "controlecom.h"
#include "echeccom_win.h"
#include "membresctltarvo.h"
#include "tablemembres.h"
#include "variantcom_win.h"

#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <string>
#include <wrl/client.h>

// clang-format off
#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>
#include <olectl.h>
// clang-format on

using Microsoft::WRL::ComPtr;

namespace {

// COM on the window's thread, apartment-threaded as an in-process control expects, for as long as the
// control lives. The platform may have initialised it already: each success is balanced.
class InitialisationCom
{
public:
    InitialisationCom()
        : m_resultat(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))
    {}
    ~InitialisationCom()
    {
        if (SUCCEEDED(m_resultat))
            CoUninitialize();
    }
    InitialisationCom(const InitialisationCom&) = delete;
    InitialisationCom& operator=(const InitialisationCom&) = delete;
    HRESULT resultat() const { return m_resultat; }

private:
    HRESULT m_resultat;
};

// COM interfaces are released through Release(), never deleted through a base pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Where the control sits on frmInit: a client site with no in-place activation (the control has no size and
// shows nothing on the window), the window's handle for the dialogs it owns, and the ambient properties a
// control asks its container for (it runs in user mode, in the user's locale).
class SiteControle final : public IOleClientSite, public IOleWindow, public IDispatch
{
public:
    explicit SiteControle(QWidget* fenetre)
        : m_fenetre(fenetre)
    {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (objet == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *objet = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow)
            *objet = static_cast<IOleWindow*>(this);
        else if (iid == IID_IDispatch)
            *objet = static_cast<IDispatch*>(this);
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
        if (restant == 0)
            delete this;
        return static_cast<ULONG>(restant);
    }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override
    {
        if (moniker != nullptr)
            *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** conteneur) override
    {
        if (conteneur != nullptr)
            *conteneur = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* poignee) override
    {
        if (poignee == nullptr)
            return E_POINTER;
        *poignee = nullptr;
        // Only the Windows platform gives native windows; offscreen, the control owns its dialogs alone.
        if (!m_fenetre || QGuiApplication::platformName() != QLatin1String("windows"))
            return E_FAIL;
        *poignee = reinterpret_cast<HWND>(m_fenetre->window()->winId());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IDispatch: the ambient properties.
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
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT nombre, LCID,
                                            DISPID* identifiants) override
    {
        for (UINT i = 0; identifiants != nullptr && i < nombre; ++i)
            identifiants[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID identifiant, REFIID, LCID, WORD drapeaux, DISPPARAMS*,
                                     VARIANT* resultat, EXCEPINFO*, UINT*) override
    {
        if ((drapeaux & DISPATCH_PROPERTYGET) == 0 || resultat == nullptr)
            return DISP_E_MEMBERNOTFOUND;
        VariantInit(resultat);
        switch (identifiant) {
        case DISPID_AMBIENT_USERMODE:
            resultat->vt = VT_BOOL;
            resultat->boolVal = VARIANT_TRUE;
            return S_OK;
        case DISPID_AMBIENT_UIDEAD:
            resultat->vt = VT_BOOL;
            resultat->boolVal = VARIANT_FALSE;
            return S_OK;
        case DISPID_AMBIENT_LOCALEID:
            resultat->vt = VT_I4;
            resultat->lVal = static_cast<LONG>(GetUserDefaultLCID());
            return S_OK;
        case DISPID_AMBIENT_DISPLAYNAME:
            resultat->vt = VT_BSTR;
            resultat->bstrVal = SysAllocString(L"ctlTarvo1");
            return resultat->bstrVal != nullptr ? S_OK : E_OUTOFMEMORY;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    ~SiteControle() = default;

    LONG m_references = 1;
    QPointer<QWidget> m_fenetre;
};

#pragma GCC diagnostic pop

// The strings an Invoke may have put in its EXCEPINFO, freed once read.
struct ExceptionCom
{
    EXCEPINFO info{};
    ~ExceptionCom()
    {
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
};

class ControleCom final : public ControleDispatch
{
public:
    ControleCom(const QString& progId, QWidget* fenetre)
        : m_progId(progId)
    {
        if (FAILED(m_com.resultat()))
            throw echecCreation(m_com.resultat(), progId);
        CLSID classe{};
        HRESULT hr = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(progId.utf16()), &classe);
        if (FAILED(hr))
            throw echecCreation(hr, progId);
        ComPtr<IUnknown> objet;
        hr = CoCreateInstance(classe, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&objet));
        if (FAILED(hr))
            throw echecCreation(hr, progId);
        // An ActiveX control wants its site before its initialisation; a plain automation object has neither.
        if (SUCCEEDED(objet.As(&m_objetOle))) {
            // mingw-w64's ComPtr::Attach adds a reference: the site's own first one is handed over instead.
            *m_site.ReleaseAndGetAddressOf() = new SiteControle(fenetre);
            m_objetOle->SetClientSite(m_site.Get());
            ComPtr<IPersistStreamInit> persistance;
            if (SUCCEEDED(objet.As(&persistance)))
                persistance->InitNew();
        }
        hr = objet.As(&m_dispatch);
        if (FAILED(hr)) {
            fermer();
            throw echecCreation(hr, progId);
        }
    }

    ~ControleCom() override { fermer(); }

    void ecrire(qint32 dispId, const QVariant& valeur) override
    {
        VariantCom argument;
        if (valeur.typeId() == QMetaType::QString) {
            const QString texte = valeur.toString();
            argument.valeur().vt = VT_BSTR;
            argument.valeur().bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(texte.utf16()),
                                                          static_cast<UINT>(texte.size()));
            if (argument.valeur().bstrVal == nullptr && !texte.isEmpty())
                throw Echec(Echec::MemoireInsuffisante, QStringLiteral("Mémoire insuffisante"));
        } else if (valeur.typeId() == QMetaType::Int) {
            argument.valeur().vt = VT_I4;
            argument.valeur().lVal = valeur.toInt();
        } else {
            throw Echec(Echec::IncompatibiliteDeType,
                        QStringLiteral("Incompatibilité de type : %1").arg(nomMembre(dispId)));
        }
        mettre(dispId, argument.valeur());
    }

    void ecrireParReference(qint32 dispId, QVariant& valeur) override
    {
        VARIANT argument;
        VariantInit(&argument);
        if (valeur.typeId() == QMetaType::QString) {
            BstrCom texte(valeur.toString());
            argument.vt = VT_BYREF | VT_BSTR;
            argument.pbstrVal = texte.adresse();
            mettre(dispId, argument);
            valeur = texte.texte();
        } else if (valeur.typeId() == QMetaType::Int) {
            LONG entier = valeur.toInt();
            argument.vt = VT_BYREF | VT_I4;
            argument.plVal = &entier;
            mettre(dispId, argument);
            valeur = static_cast<qint32>(entier);
        } else {
            throw Echec(Echec::IncompatibiliteDeType,
                        QStringLiteral("Incompatibilité de type : %1").arg(nomMembre(dispId)));
        }
    }

    QVariant lire(qint32 dispId) override
    {
        VariantCom resultat;
        DISPPARAMS aucun{nullptr, nullptr, 0, 0};
        invoquer(dispId, DISPATCH_PROPERTYGET, aucun, &resultat.valeur());
        return texte(resultat.valeur(), dispId);
    }

    QVariant appeler(qint32 dispId) override
    {
        VariantCom resultat;
        DISPPARAMS aucun{nullptr, nullptr, 0, 0};
        invoquer(dispId, DISPATCH_METHOD, aucun, &resultat.valeur());
        // A method that answers nothing (VT_EMPTY) returns nothing, as our component does in process: the
        // journal and the reading rules of the members then see the same on every system.
        if (resultat.valeur().vt == VT_EMPTY)
            return {};
        return texte(resultat.valeur(), dispId);
    }

    std::optional<qint32> identifiantParNom(const QString& nom) override
    {
        std::wstring large = nom.toStdWString();
        LPOLESTR noms[] = {large.data()};
        DISPID identifiant = DISPID_UNKNOWN;
        if (FAILED(m_dispatch->GetIDsOfNames(IID_NULL, noms, 1, LOCALE_USER_DEFAULT, &identifiant)))
            return std::nullopt;
        return static_cast<qint32>(identifiant);
    }

private:
    void mettre(qint32 dispId, VARIANT& argument)
    {
        DISPID nomme = DISPID_PROPERTYPUT;
        DISPPARAMS parametres{&argument, &nomme, 1, 1};
        invoquer(dispId, DISPATCH_PROPERTYPUT, parametres, nullptr);
    }

    void invoquer(qint32 dispId, WORD drapeaux, DISPPARAMS& parametres, VARIANT* resultat)
    {
        ExceptionCom exception;
        UINT argumentFautif = 0;
        const HRESULT hr = m_dispatch->Invoke(dispId, IID_NULL, LOCALE_USER_DEFAULT, drapeaux, &parametres,
                                              resultat, &exception.info, &argumentFautif);
        if (FAILED(hr))
            throw echecDepuisHresult(hr, &exception.info, nomMembre(dispId));
    }

    // As the automation runtime takes any value for a text: numbers, dates and booleans in the user's locale.
    static QString texte(const VARIANT& valeur, qint32 dispId)
    {
        VariantCom converti;
        const HRESULT hr = VariantChangeTypeEx(&converti.valeur(), const_cast<VARIANT*>(&valeur),
                                               LOCALE_USER_DEFAULT, 0, VT_BSTR);
        if (FAILED(hr))
            throw Echec(Echec::IncompatibiliteDeType,
                        QStringLiteral("Incompatibilité de type : la valeur de %1 (type %2) "
                                       "ne se lit pas comme un texte")
                            .arg(nomMembre(dispId))
                            .arg(valeur.vt));
        const BSTR bstr = converti.valeur().bstrVal;
        return bstr == nullptr ? QString()
                               : QString::fromWCharArray(bstr, static_cast<int>(SysStringLen(bstr)));
    }

    void fermer()
    {
        m_dispatch.Reset();
        if (m_objetOle) {
            m_objetOle->Close(OLECLOSE_NOSAVE);
            m_objetOle->SetClientSite(nullptr);
            m_objetOle.Reset();
        }
        m_site.Reset();
    }

    InitialisationCom m_com; // first in, last out: every interface is released before COM ends
    QString m_progId;
    ComPtr<SiteControle> m_site;
    ComPtr<IOleObject> m_objetOle;
    ComPtr<IDispatch> m_dispatch;
};

} // namespace

std::unique_ptr<ControleDispatch> creerControleCom(const QString& progId, QWidget* fenetre)
{
    return std::make_unique<ControleCom>(progId, fenetre);
}
