#include "evenementsole_win.h"

#include "lecturevariant_win.h"
#include "ressourcescom_win.h"
#include "tablemembres.h"

#include <QStringList>
#include <olectl.h>

using Microsoft::WRL::ComPtr;

namespace {

template<typename Interface> HRESULT donner(Interface* pointeur, void** objet)
{
    *objet = pointeur;
    pointeur->AddRef();
    return S_OK;
}

QString hexa(DISPID identifiant)
{
    return QStringLiteral("0x") + QString::number(static_cast<quint32>(identifiant), 16).toUpper();
}

// The member's name and its parameters' names, as the type information gives them; empty when it has none.
QStringList nomsDansTypes(ITypeInfo* info, DISPID identifiant, UINT nombreArguments)
{
    if (info == nullptr)
        return {};
    std::vector<BSTR> noms(nombreArguments + 1, nullptr);
    UINT trouves = 0;
    if (FAILED(info->GetNames(identifiant, noms.data(), static_cast<UINT>(noms.size()), &trouves)))
        return {};
    QStringList resultat;
    for (UINT i = 0; i < trouves; ++i) {
        resultat.append(texteDepuisBstr(noms[i]));
        SysFreeString(noms[i]);
    }
    return resultat;
}

QString nomTypeInfo(ITypeInfo* info)
{
    BstrCom nom;
    if (info == nullptr ||
        FAILED(info->GetDocumentation(MEMBERID_NIL, nom.adresse(), nullptr, nullptr, nullptr)))
        return {};
    return nom.texte();
}

GUID guidDe(ITypeInfo* info)
{
    TYPEATTR* attributs = nullptr;
    if (FAILED(info->GetTypeAttr(&attributs)))
        return GUID_NULL;
    const GUID guid = attributs->guid;
    info->ReleaseTypeAttr(attributs);
    return guid;
}

// The coclass's interface marked [default, source].
ComPtr<ITypeInfo> sourceParDefaut(ITypeInfo* coclasse)
{
    TYPEATTR* attributs = nullptr;
    if (coclasse == nullptr || FAILED(coclasse->GetTypeAttr(&attributs)))
        return nullptr;
    const bool estCoclasse = attributs->typekind == TKIND_COCLASS;
    const UINT nombre = attributs->cImplTypes;
    coclasse->ReleaseTypeAttr(attributs);
    if (!estCoclasse)
        return nullptr;
    for (UINT i = 0; i < nombre; ++i) {
        INT drapeaux = 0;
        HREFTYPE reference = 0;
        ComPtr<ITypeInfo> implementee;
        if (SUCCEEDED(coclasse->GetImplTypeFlags(i, &drapeaux)) &&
            (drapeaux & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) ==
                (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE) &&
            SUCCEEDED(coclasse->GetRefTypeOfImplType(i, &reference)) &&
            SUCCEEDED(coclasse->GetRefTypeInfo(reference, &implementee)))
            return implementee;
    }
    return nullptr;
}

// The registry's type library of the class, as CLSID\{...}\TypeLib and Version name it.
ComPtr<ITypeLib> bibliothequeInscrite(const CLSID& classe)
{
    wchar_t texteClasse[64];
    if (StringFromGUID2(classe, texteClasse, 64) == 0)
        return nullptr;
    const std::wstring cle = std::wstring(L"CLSID\\") + texteClasse;
    wchar_t libid[64] = {};
    wchar_t version[32] = {};
    LONG taille = sizeof libid;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, (cle + L"\\TypeLib").c_str(), libid, &taille) != ERROR_SUCCESS)
        return nullptr;
    taille = sizeof version;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, (cle + L"\\Version").c_str(), version, &taille) != ERROR_SUCCESS)
        wcscpy(version, L"1.0");
    GUID guid{};
    if (FAILED(CLSIDFromString(libid, &guid)))
        return nullptr;
    unsigned majeure = 1, mineure = 0;
    swscanf(version, L"%x.%x", &majeure, &mineure);
    ComPtr<ITypeLib> bibliotheque;
    if (FAILED(
            LoadRegTypeLib(guid, static_cast<WORD>(majeure), static_cast<WORD>(mineure), 0, &bibliotheque)))
        return nullptr;
    return bibliotheque;
}

// The control's coclass: from the control itself, else from the type library its IDispatch belongs to, else
// from the one its registration names.
ComPtr<ITypeInfo> coclasseDu(IUnknown* controle, const CLSID& classe)
{
    ComPtr<ITypeInfo> coclasse;
    ComPtr<IProvideClassInfo> infoClasse;
    if (SUCCEEDED(controle->QueryInterface(IID_PPV_ARGS(&infoClasse))) &&
        SUCCEEDED(infoClasse->GetClassInfo(&coclasse)) && coclasse)
        return coclasse;
    ComPtr<IDispatch> dispatch;
    UINT nombre = 0;
    ComPtr<ITypeInfo> info;
    ComPtr<ITypeLib> bibliotheque;
    UINT index = 0;
    if (SUCCEEDED(controle->QueryInterface(IID_PPV_ARGS(&dispatch))) &&
        SUCCEEDED(dispatch->GetTypeInfoCount(&nombre)) && nombre > 0 &&
        SUCCEEDED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) && info &&
        SUCCEEDED(info->GetContainingTypeLib(&bibliotheque, &index)) &&
        SUCCEEDED(bibliotheque->GetTypeInfoOfGuid(classe, &coclasse)))
        return coclasse;
    bibliotheque = bibliothequeInscrite(classe);
    if (bibliotheque && SUCCEEDED(bibliotheque->GetTypeInfoOfGuid(classe, &coclasse)))
        return coclasse;
    return nullptr;
}

// Nothing may leave a COM method: a failure of the journal is the journal's, not the control's.
void transmettre(const ConnexionsEvenements::Rappel& rappel, const EvenementControle& evenement) noexcept
{
    try {
        if (rappel)
            rappel(evenement);
    } catch (...) {
    }
}

} // namespace

// COM interfaces are released through Release(), never deleted through a base pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// A form's handler for every event of the source interface: none has code, each is reported.
class PuitsEvenements final : public IDispatch
{
public:
    PuitsEvenements(REFIID interfaceSource, ComPtr<ITypeInfo> info, ConnexionsEvenements::Rappel rappel)
        : m_interface(interfaceSource)
        , m_info(std::move(info))
        , m_rappel(std::move(rappel))
    {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (objet == nullptr)
            return E_POINTER;
        *objet = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == m_interface)
            return donner(static_cast<IDispatch*>(this), objet);
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
    HRESULT STDMETHODCALLTYPE Invoke(DISPID identifiant, REFIID, LCID, WORD, DISPPARAMS* parametres,
                                     VARIANT* resultat, EXCEPINFO*, UINT*) override
    {
        if (resultat != nullptr)
            VariantInit(resultat);
        if (!m_rappel)
            return S_OK;
        try {
            const UINT nombre = parametres != nullptr ? parametres->cArgs : 0;
            const QStringList noms = nomsDansTypes(m_info.Get(), identifiant, nombre);
            EvenementControle evenement;
            evenement.dispId = identifiant;
            evenement.nom = noms.isEmpty() ? hexa(identifiant) : noms.first();
            // The arguments come last first.
            for (UINT i = 0; i < nombre; ++i)
                evenement.arguments.append({i + 1 < UINT(noms.size()) ? noms.at(int(i) + 1) : QString(),
                                            valeurLue(parametres->rgvarg[nombre - 1 - i])});
            transmettre(m_rappel, evenement);
        } catch (...) {
        }
        return S_OK;
    }

    void desarmer() { m_rappel = nullptr; }

private:
    ~PuitsEvenements() = default;

    LONG m_references = 1;
    IID m_interface;
    ComPtr<ITypeInfo> m_info;
    ConnexionsEvenements::Rappel m_rappel;
};

// What the control says of its properties' changes: each noted, every edit allowed, as a form allows them.
class PuitsProprietes final : public IPropertyNotifySink
{
public:
    PuitsProprietes(ComPtr<ITypeInfo> info, ConnexionsEvenements::Rappel rappel)
        : m_info(std::move(info))
        , m_rappel(std::move(rappel))
    {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (objet == nullptr)
            return E_POINTER;
        *objet = nullptr;
        if (iid == IID_IUnknown || iid == IID_IPropertyNotifySink)
            return donner(static_cast<IPropertyNotifySink*>(this), objet);
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
    HRESULT STDMETHODCALLTYPE OnChanged(DISPID identifiant) override
    {
        noter(QStringLiteral("OnChanged"), identifiant);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID identifiant) override
    {
        noter(QStringLiteral("OnRequestEdit"), identifiant);
        return S_OK;
    }

    void desarmer() { m_rappel = nullptr; }

private:
    ~PuitsProprietes() = default;

    void noter(const QString& notification, DISPID identifiant) noexcept
    {
        if (!m_rappel)
            return;
        try {
            EvenementControle evenement;
            evenement.nom = notification;
            evenement.dispId = identifiant;
            const QStringList noms = nomsDansTypes(m_info.Get(), identifiant, 0);
            evenement.membre = noms.isEmpty() ? nomMembre(identifiant) : noms.first();
            transmettre(m_rappel, evenement);
        } catch (...) {
        }
    }

    LONG m_references = 1;
    ComPtr<ITypeInfo> m_info;
    ConnexionsEvenements::Rappel m_rappel;
};

#pragma GCC diagnostic pop

ConnexionsEvenements::ConnexionsEvenements(IUnknown* controle, const CLSID& classe, Rappel rappel)
{
    ComPtr<IConnectionPointContainer> points;
    if (controle == nullptr || FAILED(controle->QueryInterface(IID_PPV_ARGS(&points))))
        return;

    const ComPtr<ITypeInfo> coclasse = coclasseDu(controle, classe);
    ComPtr<ITypeInfo> source = sourceParDefaut(coclasse.Get());
    IID interfaceSource = source ? guidDe(source.Get()) : GUID_NULL;
    ComPtr<IProvideClassInfo2> infoClasse2;
    IID annonce = GUID_NULL;
    if (SUCCEEDED(controle->QueryInterface(IID_PPV_ARGS(&infoClasse2))) &&
        SUCCEEDED(infoClasse2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &annonce)) && annonce != GUID_NULL)
        interfaceSource = annonce;
    if (interfaceSource != GUID_NULL && SUCCEEDED(points->FindConnectionPoint(interfaceSource, &m_point))) {
        m_interfaceSource = nomTypeInfo(source.Get());
        *m_puits.ReleaseAndGetAddressOf() = new PuitsEvenements(interfaceSource, source, rappel);
        if (FAILED(m_point->Advise(static_cast<IDispatch*>(m_puits.Get()), &m_cookie))) {
            m_cookie = 0;
            m_point.Reset();
        }
    }

    // The names of the control's own members, for the properties it says changed.
    ComPtr<IDispatch> dispatch;
    ComPtr<ITypeInfo> membres;
    UINT nombre = 0;
    if (SUCCEEDED(controle->QueryInterface(IID_PPV_ARGS(&dispatch))) &&
        SUCCEEDED(dispatch->GetTypeInfoCount(&nombre)) && nombre > 0)
        dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, &membres);
    if (SUCCEEDED(points->FindConnectionPoint(IID_IPropertyNotifySink, &m_pointProprietes))) {
        *m_puitsProprietes.ReleaseAndGetAddressOf() = new PuitsProprietes(membres, rappel);
        if (FAILED(m_pointProprietes->Advise(m_puitsProprietes.Get(), &m_cookieProprietes))) {
            m_cookieProprietes = 0;
            m_pointProprietes.Reset();
        }
    }
}

ConnexionsEvenements::~ConnexionsEvenements()
{
    deconnecter();
}

void ConnexionsEvenements::deconnecter()
{
    if (m_puits)
        m_puits->desarmer();
    if (m_puitsProprietes)
        m_puitsProprietes->desarmer();
    if (m_point && m_cookie != 0)
        m_point->Unadvise(m_cookie);
    if (m_pointProprietes && m_cookieProprietes != 0)
        m_pointProprietes->Unadvise(m_cookieProprietes);
    m_cookie = 0;
    m_cookieProprietes = 0;
    m_point.Reset();
    m_pointProprietes.Reset();
}
