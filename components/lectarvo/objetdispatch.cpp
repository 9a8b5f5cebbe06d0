#include "objetdispatch.h"

#include "compteurmodule.h"
#include "controledispatch.h"
#include "conversionsvariant.h"
#include "echec.h"
#include "identiteserveur.h"
#include "tablemembres.h"

#include <new>

namespace {

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
}

ObjetDispatch::~ObjetDispatch()
{
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
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *objet = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *objet = nullptr;
    return E_NOINTERFACE;
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

HRESULT ObjetDispatch::GetTypeInfoCount(UINT* nombre)
{
    if (nombre == nullptr)
        return E_INVALIDARG;
    // No type library: clients bind by name, through GetIDsOfNames.
    *nombre = 0;
    return S_OK;
}

HRESULT ObjetDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != nullptr)
        *info = nullptr;
    return DISP_E_BADINDEX;
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
