#include "objetdispatch.h"

#include "compteurmodule.h"
#include "controledispatch.h"
#include "conversionsvariant.h"
#include "echec.h"
#include "identiteserveur.h"
#include "tablemembres.h"
#include "typesctltarvo.h"

#include <new>
#include <olectl.h>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

// COM objects are released through Release(), never deleted through an interface: no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// The events' connection point, one for each client that asks; the sinks live in the object itself.
class PointConnexion final : public IConnectionPoint
{
public:
    explicit PointConnexion(ObjetDispatch* objet)
        : m_objet(objet)
    {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (objet == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
            *objet = static_cast<IConnectionPoint*>(this);
            AddRef();
            return S_OK;
        }
        *objet = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG restant = --m_references;
        if (restant == 0)
            delete this;
        return restant;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override
    {
        if (iid == nullptr)
            return E_POINTER;
        *iid = IidEvenementsCtlTarvo;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** conteneur) override
    {
        if (conteneur == nullptr)
            return E_POINTER;
        return m_objet->QueryInterface(IID_PPV_ARGS(conteneur));
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* puits, DWORD* cookie) override
    {
        return m_objet->abonner(puits, cookie);
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override { return m_objet->desabonner(cookie); }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** enumeration) override
    {
        if (enumeration != nullptr)
            *enumeration = nullptr;
        return E_NOTIMPL;
    }

private:
    ~PointConnexion() = default;

    std::atomic<ULONG> m_references{1};
    ComPtr<ObjetDispatch> m_objet; // keeps the object alive as long as a client holds its point
};
#pragma GCC diagnostic pop

// Called from a catch block only: the exception in flight, as the client must see it.
HRESULT exceptionEnCours(EXCEPINFO* exception) noexcept
{
    try {
        throw;
    } catch (const Echec& echec) {
        return exceptionDispatch(exception, echec.numero(), echec.description());
    } catch (const std::bad_alloc&) {
        return exceptionDispatch(exception, Echec::MemoireInsuffisante,
                                 QStringLiteral("Mémoire insuffisante"));
    } catch (const std::exception& erreur) {
        // The project's exceptions, the store's included, carry UTF-8 messages.
        try {
            return exceptionDispatch(
                exception, Echec::ErreurInterne,
                QStringLiteral("Erreur interne du contrôle : %1").arg(QString::fromUtf8(erreur.what())));
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    } catch (...) {
        return exceptionDispatch(exception, Echec::ErreurInterne,
                                 QStringLiteral("Erreur interne du contrôle"));
    }
}

} // namespace

HRESULT exceptionDispatch(EXCEPINFO* exception, int numero, const QString& description) noexcept
{
    if (exception != nullptr) {
        *exception = EXCEPINFO{};
        exception->wCode = 0;
        exception->scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, numero & 0xFFFF);
        // Short of memory, the client still gets the failure and its number, without the texts.
        try {
            exception->bstrSource = bstrDepuisTexte(QString::fromWCharArray(ProgIdCtlTarvo)).detacher();
            exception->bstrDescription = bstrDepuisTexte(description).detacher();
        } catch (const std::bad_alloc&) {
        }
    }
    return DISP_E_EXCEPTION;
}

ObjetDispatch::ObjetDispatch(std::unique_ptr<ControleDispatch> controle) noexcept
    : m_controle(std::move(controle))
{
    moduleRetenir();
    m_controle->observerEvenements([this](const EvenementControle& evenement) { relayer(evenement); });
}

ObjetDispatch::~ObjetDispatch()
{
    m_controle->observerEvenements({});
    m_controle.reset();
    m_puits.clear();
    m_types.Reset();
    moduleRelacher();
}

HRESULT ObjetDispatch::creer(std::unique_ptr<ControleDispatch> controle, REFIID iid, void** objet) noexcept
{
    if (objet == nullptr)
        return E_POINTER;
    *objet = nullptr;
    if (!controle)
        return E_INVALIDARG;
    auto* nouveau = new (std::nothrow) ObjetDispatch(std::move(controle));
    if (nouveau == nullptr)
        return E_OUTOFMEMORY;
    // The creation reference is dropped once the client holds its own (or the object goes at once).
    const HRESULT hr = nouveau->QueryInterface(iid, objet);
    nouveau->Release();
    return hr;
}

HRESULT ObjetDispatch::QueryInterface(REFIID iid, void** objet)
{
    if (objet == nullptr)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch)
        *objet = static_cast<IDispatch*>(this);
    else if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2)
        *objet = static_cast<IProvideClassInfo2*>(this);
    else if (iid == IID_IConnectionPointContainer)
        *objet = static_cast<IConnectionPointContainer*>(this);
    else {
        *objet = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG ObjetDispatch::AddRef()
{
    return ++m_references;
}

ULONG ObjetDispatch::Release()
{
    const ULONG restant = --m_references;
    if (restant == 0)
        delete this;
    return restant;
}

ITypeLib* ObjetDispatch::types()
{
    if (!m_typesCherches) {
        m_typesCherches = true;
        try {
            m_types = bibliothequeTypesCtlTarvo();
        } catch (...) {
            m_types.Reset();
        }
    }
    return m_types.Get();
}

HRESULT ObjetDispatch::GetTypeInfoCount(UINT* nombre)
{
    if (nombre == nullptr)
        return E_INVALIDARG;
    // Without its type library (a system that cannot build one) clients bind by name, through GetIDsOfNames.
    *nombre = types() != nullptr ? 1 : 0;
    return S_OK;
}

HRESULT ObjetDispatch::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (info == nullptr)
        return E_POINTER;
    *info = nullptr;
    if (index != 0 || types() == nullptr)
        return DISP_E_BADINDEX;
    return types()->GetTypeInfoOfGuid(IidCtlTarvo, info);
}

HRESULT ObjetDispatch::GetClassInfo(ITypeInfo** info)
{
    if (info == nullptr)
        return E_POINTER;
    *info = nullptr;
    if (types() == nullptr)
        return E_UNEXPECTED;
    return types()->GetTypeInfoOfGuid(ClsidCtlTarvo, info);
}

HRESULT ObjetDispatch::GetGUID(DWORD genre, GUID* guid)
{
    if (guid == nullptr)
        return E_POINTER;
    *guid = GUID_NULL;
    if (genre != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
        return E_INVALIDARG;
    *guid = IidEvenementsCtlTarvo;
    return S_OK;
}

HRESULT ObjetDispatch::EnumConnectionPoints(IEnumConnectionPoints** enumeration)
{
    if (enumeration != nullptr)
        *enumeration = nullptr;
    return E_NOTIMPL;
}

HRESULT ObjetDispatch::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
    if (point == nullptr)
        return E_POINTER;
    *point = nullptr;
    if (iid != IidEvenementsCtlTarvo)
        return CONNECT_E_NOCONNECTION;
    *point = new (std::nothrow) PointConnexion(this);
    return *point != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT ObjetDispatch::abonner(IUnknown* puits, DWORD* cookie) noexcept
{
    if (puits == nullptr || cookie == nullptr)
        return E_POINTER;
    *cookie = 0;
    ComPtr<IDispatch> dispatch;
    if (FAILED(puits->QueryInterface(IidEvenementsCtlTarvo,
                                     reinterpret_cast<void**>(dispatch.GetAddressOf()))) &&
        FAILED(puits->QueryInterface(IID_PPV_ARGS(&dispatch))))
        return CONNECT_E_CANNOTCONNECT;
    try {
        m_puits.emplace(m_prochainCookie, dispatch);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    *cookie = m_prochainCookie++;
    return S_OK;
}

HRESULT ObjetDispatch::desabonner(DWORD cookie) noexcept
{
    return m_puits.erase(cookie) == 1 ? S_OK : CONNECT_E_NOCONNECTION;
}

// Each sink is called as a form's handler is: DISPATCH_METHOD, the arguments last first. What a sink
// answers changes nothing for the component.
void ObjetDispatch::relayer(const EvenementControle& evenement)
{
    if (m_puits.empty())
        return;
    std::vector<VariantCom> arguments(static_cast<std::size_t>(evenement.arguments.size()));
    for (qsizetype i = 0; i < evenement.arguments.size(); ++i)
        variantDepuisValeur(evenement.arguments.at(i).second,
                            arguments[arguments.size() - 1 - static_cast<std::size_t>(i)].valeur());
    std::vector<VARIANT> valeurs;
    for (VariantCom& argument : arguments)
        valeurs.push_back(argument.valeur());
    DISPPARAMS parametres{valeurs.data(), nullptr, static_cast<UINT>(valeurs.size()), 0};
    // A sink may disconnect itself from its handler: the list is copied first.
    const auto puits = m_puits;
    for (const auto& [cookie, dispatch] : puits)
        dispatch->Invoke(evenement.dispId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parametres,
                         nullptr, nullptr, nullptr);
}

HRESULT ObjetDispatch::GetIDsOfNames(REFIID iid, LPOLESTR* noms, UINT nombreNoms, LCID, DISPID* identifiants)
{
    if (iid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (noms == nullptr || identifiants == nullptr || nombreNoms == 0)
        return E_INVALIDARG;
    for (UINT i = 0; i < nombreNoms; ++i)
        identifiants[i] = DISPID_UNKNOWN;
    if (noms[0] == nullptr)
        return DISP_E_UNKNOWNNAME;
    const MembreCtlTarvo* membre = nullptr;
    try {
        membre = membreParNom(QStringView(reinterpret_cast<const char16_t*>(noms[0])));
    } catch (...) {
        // The names are built as texts: only memory can fail, and nothing may leave a COM method.
        return E_OUTOFMEMORY;
    }
    if (membre == nullptr)
        return DISP_E_UNKNOWNNAME;
    identifiants[0] = membre->dispId;
    // No member takes arguments, so no argument name is known.
    return nombreNoms == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT ObjetDispatch::Invoke(DISPID dispId, REFIID iid, LCID, WORD drapeaux, DISPPARAMS* parametres,
                              VARIANT* resultat, EXCEPINFO* exception, UINT* argumentFautif)
{
    if (iid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (resultat != nullptr)
        VariantInit(resultat);
    DISPPARAMS sansParametre{};
    if (parametres == nullptr)
        parametres = &sansParametre;
    if ((parametres->cArgs != 0 && parametres->rgvarg == nullptr) ||
        (parametres->cNamedArgs != 0 && parametres->rgdispidNamedArgs == nullptr))
        return E_INVALIDARG;
    if (membreParIdentifiant(dispId) == nullptr)
        return DISP_E_MEMBERNOTFOUND;
    try {
        if ((drapeaux & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0)
            return ecrire(dispId, *parametres, argumentFautif);
        if ((drapeaux & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) != 0)
            return lireOuAppeler(dispId, *parametres, resultat);
        return E_INVALIDARG;
    } catch (...) {
        if (resultat != nullptr)
            VariantClear(resultat);
        return exceptionEnCours(exception);
    }
}

HRESULT ObjetDispatch::ecrire(DISPID dispId, DISPPARAMS& parametres, UINT* argumentFautif)
{
    const MembreCtlTarvo& membre = *membreParIdentifiant(dispId);
    if (membre.methode)
        return DISP_E_MEMBERNOTFOUND;
    if (parametres.cArgs != 1)
        return DISP_E_BADPARAMCOUNT;
    if (parametres.cNamedArgs != 1 || parametres.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
        return DISP_E_PARAMNOTFOUND;

    VARIANT& argument = parametres.rgvarg[0];
    QVariant valeur;
    HRESULT hr = valeurDepuisVariant(argument, membre.valeur, valeur);
    if (FAILED(hr)) {
        if (argumentFautif != nullptr)
            *argumentFautif = 0;
        return hr;
    }
    if ((argument.vt & VT_BYREF) == 0) {
        m_controle->ecrire(dispId, valeur);
        return S_OK;
    }
    // By reference: the component gets the variable, and what it leaves there goes back to the client's.
    const QVariant avant = valeur;
    m_controle->ecrireParReference(dispId, valeur);
    if (valeur == avant)
        return S_OK;
    hr = ecrireDansReference(valeur, argument);
    if (FAILED(hr) && argumentFautif != nullptr)
        *argumentFautif = 0;
    return hr;
}

HRESULT ObjetDispatch::lireOuAppeler(DISPID dispId, const DISPPARAMS& parametres, VARIANT* resultat)
{
    if (parametres.cNamedArgs != 0)
        return DISP_E_NONAMEDARGS;
    if (parametres.cArgs != 0)
        return DISP_E_BADPARAMCOUNT;
    const MembreCtlTarvo& membre = *membreParIdentifiant(dispId);
    const QVariant reponse = membre.methode ? m_controle->appeler(dispId) : m_controle->lire(dispId);
    if (resultat != nullptr)
        variantDepuisValeur(reponse, *resultat);
    return S_OK;
}
