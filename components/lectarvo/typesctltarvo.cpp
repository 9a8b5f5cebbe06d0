#include "typesctltarvo.h"

#include "identiteserveur.h"
#include "tablemembres.h"

#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

// {00020430-0000-0000-C000-000000000046}, the system's standard types, where IDispatch is described.
constexpr GUID LibidStdOle = {0x00020430, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

std::wstring large(std::string_view nom)
{
    return std::wstring(nom.begin(), nom.end());
}

VARTYPE typeVariant(GenreValeur genre)
{
    return genre == GenreValeur::Entier ? VT_I4 : VT_BSTR;
}

VARTYPE typeVariant(GenreArgument genre)
{
    return genre == GenreArgument::Booleen ? VT_BOOL : VT_BSTR;
}

// A dispatch interface deriving from IDispatch, as every dispinterface does.
ComPtr<ICreateTypeInfo> interfaceDispatch(ICreateTypeLib2* bibliotheque, const wchar_t* nom, REFIID iid,
                                          ITypeInfo* idispatch, UINT drapeaux)
{
    ComPtr<ICreateTypeInfo> info;
    HREFTYPE reference = 0;
    if (FAILED(bibliotheque->CreateTypeInfo(const_cast<LPOLESTR>(nom), TKIND_DISPATCH, &info)) ||
        FAILED(info->SetGuid(iid)) || FAILED(info->SetTypeFlags(drapeaux)) ||
        FAILED(info->AddRefTypeInfo(idispatch, &reference)) || FAILED(info->AddImplType(0, reference)))
        return nullptr;
    return info;
}

bool decrireMembres(ICreateTypeInfo* info)
{
    UINT indexFonction = 0;
    UINT indexVariable = 0;
    for (const MembreCtlTarvo& membre : membresCtlTarvo()) {
        std::wstring nom = large(membre.nom);
        LPOLESTR noms[] = {nom.data()};
        if (membre.methode) {
            FUNCDESC fonction{};
            fonction.memid = membre.dispId;
            fonction.funckind = FUNC_DISPATCH;
            fonction.invkind = INVOKE_FUNC;
            fonction.callconv = CC_STDCALL;
            fonction.elemdescFunc.tdesc.vt = membre.dispId == DispId::SelectionActe ? VT_VOID : VT_BSTR;
            if (FAILED(info->AddFuncDesc(indexFonction, &fonction)) ||
                FAILED(info->SetFuncAndParamNames(indexFonction, noms, 1)))
                return false;
            ++indexFonction;
        } else {
            VARDESC variable{};
            variable.memid = membre.dispId;
            variable.varkind = VAR_DISPATCH;
            variable.elemdescVar.tdesc.vt = typeVariant(membre.valeur);
            if (FAILED(info->AddVarDesc(indexVariable, &variable)) ||
                FAILED(info->SetVarName(indexVariable, nom.data())))
                return false;
            ++indexVariable;
        }
    }
    return true;
}

bool decrireEvenements(ICreateTypeInfo* info)
{
    UINT index = 0;
    for (const EvenementCtlTarvo& evenement : evenementsCtlTarvo()) {
        std::vector<ELEMDESC> parametres(evenement.arguments.size());
        std::vector<std::wstring> textes{large(evenement.nom)};
        for (std::size_t i = 0; i < evenement.arguments.size(); ++i) {
            parametres[i].tdesc.vt = typeVariant(evenement.arguments[i].genre);
            parametres[i].paramdesc.wParamFlags = PARAMFLAG_FIN;
            textes.push_back(large(evenement.arguments[i].nom));
        }
        FUNCDESC fonction{};
        fonction.memid = evenement.dispId;
        fonction.funckind = FUNC_DISPATCH;
        fonction.invkind = INVOKE_FUNC;
        fonction.callconv = CC_STDCALL;
        fonction.cParams = static_cast<SHORT>(parametres.size());
        fonction.lprgelemdescParam = parametres.data();
        fonction.elemdescFunc.tdesc.vt = VT_VOID;
        std::vector<LPOLESTR> noms;
        for (std::wstring& texte : textes)
            noms.push_back(texte.data());
        if (FAILED(info->AddFuncDesc(index, &fonction)) ||
            FAILED(info->SetFuncAndParamNames(index, noms.data(), static_cast<UINT>(noms.size()))))
            return false;
        ++index;
    }
    return true;
}

// One interface of the coclass, with its flags.
bool implementer(ICreateTypeInfo* coclasse, UINT index, ICreateTypeInfo* interfaceCreee, INT drapeaux)
{
    ComPtr<ITypeInfo> interfaceLue;
    HREFTYPE reference = 0;
    return SUCCEEDED(interfaceCreee->QueryInterface(IID_PPV_ARGS(&interfaceLue))) &&
           SUCCEEDED(coclasse->AddRefTypeInfo(interfaceLue.Get(), &reference)) &&
           SUCCEEDED(coclasse->AddImplType(index, reference)) &&
           SUCCEEDED(coclasse->SetImplTypeFlags(index, drapeaux));
}

} // namespace

ComPtr<ITypeLib> bibliothequeTypesCtlTarvo()
{
    ComPtr<ITypeLib> standard;
    ComPtr<ITypeInfo> idispatch;
    if (FAILED(LoadRegTypeLib(LibidStdOle, 2, 0, LOCALE_NEUTRAL, &standard)) ||
        FAILED(standard->GetTypeInfoOfGuid(IID_IDispatch, &idispatch)))
        return nullptr;

    ComPtr<ICreateTypeLib2> bibliotheque;
    const SYSKIND systeme = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
    if (FAILED(CreateTypeLib2(systeme, const_cast<LPOLESTR>(L"LecTarvo.tlb"), &bibliotheque)) ||
        FAILED(bibliotheque->SetGuid(LibidLectTarvo)) ||
        FAILED(bibliotheque->SetName(const_cast<LPOLESTR>(L"LectTarvo"))) ||
        FAILED(bibliotheque->SetVersion(1, 0)) || FAILED(bibliotheque->SetLcid(LOCALE_NEUTRAL)))
        return nullptr;

    const ComPtr<ICreateTypeInfo> membres =
        interfaceDispatch(bibliotheque.Get(), L"_ctlTarvo", IidCtlTarvo, idispatch.Get(),
                          TYPEFLAG_FDISPATCHABLE | TYPEFLAG_FHIDDEN);
    const ComPtr<ICreateTypeInfo> evenements = interfaceDispatch(
        bibliotheque.Get(), L"__ctlTarvo", IidEvenementsCtlTarvo, idispatch.Get(), TYPEFLAG_FHIDDEN);
    ComPtr<ICreateTypeInfo> coclasse;
    if (!membres || !evenements || !decrireMembres(membres.Get()) || !decrireEvenements(evenements.Get()) ||
        FAILED(bibliotheque->CreateTypeInfo(const_cast<LPOLESTR>(L"ctlTarvo"), TKIND_COCLASS, &coclasse)) ||
        FAILED(coclasse->SetGuid(ClsidCtlTarvo)) ||
        FAILED(coclasse->SetTypeFlags(TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL)) ||
        !implementer(coclasse.Get(), 0, membres.Get(), IMPLTYPEFLAG_FDEFAULT) ||
        !implementer(coclasse.Get(), 1, evenements.Get(), IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE))
        return nullptr;
    for (ICreateTypeInfo* info : {membres.Get(), evenements.Get(), coclasse.Get()}) {
        if (FAILED(info->LayOut()))
            return nullptr;
    }
    ComPtr<ITypeLib> lue;
    if (FAILED(bibliotheque.As(&lue)))
        return nullptr;
    return lue;
}
