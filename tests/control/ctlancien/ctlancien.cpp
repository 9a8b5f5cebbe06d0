// A control written the way the controls of the act-selection tool's era are: plain C++ COM, no Qt, an
// in-process server with its own registration and a type library of its own (built in memory), activated in
// place by its container, with a native modal dialog of its own and its own message loop. It behaves as a
// control written elsewhere does:
// - its methods refuse to run (E_UNEXPECTED) until it is activated in place; a read or a call comes with
//   DISPATCH_METHOD and DISPATCH_PROPERTYGET alike, and it tells a property from a method itself;
// - once sited it reads its Extender's Name and Parent, the ambient Font and its container's controls;
// - SelectionActe shows a dialog owned by no window, which closes itself after a moment, between the
//   frame's EnableModeless(FALSE) and EnableModeless(TRUE), then says CodeActe changed (IPropertyNotifySink);
// - LireLibelle is a function that assigned nothing (Empty) and fires LectureCommencee(Code) and
//   LectureTerminee(Code, Numero) on its default source interface; LirePrix answers a number (2590, a
//   double), LireModificateurs answers Null, LireRegroupements raises vbObjectError + 513,
//   LireModificateursActe fails with its description in the thread's error object (IErrorInfo) only;
// - SRTSeulement refuses a text, naming its argument (puArgErr);
// - it notes what its container does to it, for the tests to read (JournalCtlAncien);
// - it misbehaves on chosen acts, as a broken release does (CTLANCIEN_PANNES, below).
// clang-format off
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <ocidl.h>
// clang-format on
#include <cwchar>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// {6C1E32A0-5B7D-4F0E-9C43-2D8E1A7B5F61}
const CLSID ClasseCtlAncien = {0x6c1e32a0, 0x5b7d, 0x4f0e, {0x9c, 0x43, 0x2d, 0x8e, 0x1a, 0x7b, 0x5f, 0x61}};
const wchar_t ProgId[] = L"BancTest.CtlAncien";
const wchar_t Clsid[] = L"{6C1E32A0-5B7D-4F0E-9C43-2D8E1A7B5F61}";
// Its type library, its dispatch interface and its events' interface.
const GUID LibidCtlAncien = {0x434b966c, 0x1380, 0x4b20, {0xab, 0x2c, 0x46, 0x41, 0xf7, 0x19, 0xcb, 0x32}};
const IID IidCtlAncien = {0xf14ca35d, 0x6da9, 0x4314, {0xb0, 0x48, 0xda, 0x8e, 0x5d, 0xb3, 0x72, 0xa8}};
const IID IidEvenementsCtlAncien = {
    0x4a143b68, 0x2586, 0x49fc, {0xa9, 0x8d, 0x82, 0xbf, 0xf0, 0x0d, 0xb5, 0x1d}};
const GUID LibidStdOle = {0x00020430, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr DISPID SRTSeulement = 0x4003001D;
constexpr DISPID CodeActe = 0x4003001F;
constexpr DISPID SelectionActe = 0x60030008;
constexpr DISPID LireLibelle = 0x60030009;
constexpr DISPID LirePrix = 0x6003000A;
constexpr DISPID LireModificateurs = 0x6003000B;
constexpr DISPID LireModificateursActe = 0x6003000C;
constexpr DISPID LireRegroupements = 0x6003000D;
constexpr DISPID LireLibelleLong = 0x6003000E;
constexpr DISPID LireActesCompatibles = 0x6003000F;
constexpr DISPID LectureCommencee = 1;
constexpr DISPID LectureTerminee = 2;
constexpr HRESULT VbObjectError = static_cast<HRESULT>(0x80040000);

HMODULE module = nullptr;
LONG objetsVivants = 0;
std::wstring journal;
HWND racine = nullptr;
LONG lectures = 0; // LireLibelle calls since the module loaded: LectureTerminee's Numero

bool estPropriete(DISPID id)
{
    return (static_cast<unsigned long>(id) & 0xFFFF0000ul) == 0x40030000ul;
}

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

// The names CTLANCIEN_PANNES gives its methods by.
const wchar_t* nomMethode(DISPID id)
{
    struct Nom
    {
        DISPID id;
        const wchar_t* nom;
    };
    static const Nom noms[] = {{SelectionActe, L"SelectionActe"},
                               {LireLibelle, L"LireLibelle"},
                               {LirePrix, L"LirePrix"},
                               {LireModificateurs, L"LireModificateurs"},
                               {LireModificateursActe, L"LireModificateursActe"},
                               {LireRegroupements, L"LireRegroupements"},
                               {LireLibelleLong, L"LireLibelleLong"},
                               {LireActesCompatibles, L"LireActesCompatibles"}};
    for (const Nom& n : noms)
        if (n.id == id)
            return n.nom;
    return L"";
}

// CTLANCIEN_PANNES="LHQK005:plantage,ACQK001:LirePrix:blocage,HFFC004:LireLibelle:boite": the fault of a
// method called while CodeActe holds that act (any method when none is named): "plantage", "blocage",
// "boite" (a system box owned by no window), "boite_cadre" (owned by the container's frame) or "fenetre"
// (an error form of its own); empty for none.
std::wstring panneChoisie(const std::wstring& acte, DISPID id)
{
    wchar_t tampon[4096];
    const DWORD longueur = GetEnvironmentVariableW(L"CTLANCIEN_PANNES", tampon, 4096);
    if (longueur == 0 || longueur >= 4096)
        return {};
    const std::wstring pannes(tampon, longueur);
    std::size_t debut = 0;
    while (debut <= pannes.size()) {
        std::size_t fin = pannes.find(L',', debut);
        if (fin == std::wstring::npos)
            fin = pannes.size();
        std::vector<std::wstring> parties;
        std::size_t partie = debut;
        for (std::size_t i = debut; i <= fin; ++i) {
            if (i == fin || pannes[i] == L':') {
                parties.push_back(pannes.substr(partie, i - partie));
                partie = i + 1;
            }
        }
        if ((parties.size() == 2 || (parties.size() == 3 && parties[1] == nomMethode(id))) &&
            parties[0] == acte)
            return parties.back();
        debut = fin + 1;
    }
    return {};
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

// One property of a dispatch object, by name, as a control binding late reads it; "?" when it fails.
std::wstring lireParNom(IDispatch* objet, const wchar_t* nom, VARIANT* valeurObjet = nullptr)
{
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR noms[] = {const_cast<LPOLESTR>(nom)};
    VARIANT valeur;
    VariantInit(&valeur);
    DISPPARAMS aucun{nullptr, nullptr, 0, 0};
    if (objet == nullptr || FAILED(objet->GetIDsOfNames(IID_NULL, noms, 1, LOCALE_USER_DEFAULT, &id)) ||
        FAILED(objet->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &aucun, &valeur,
                             nullptr, nullptr)))
        return L"?";
    std::wstring texte;
    if (valeur.vt == VT_DISPATCH && valeurObjet != nullptr) {
        *valeurObjet = valeur;
        return L"objet";
    }
    if (SUCCEEDED(VariantChangeType(&valeur, &valeur, 0, VT_BSTR)))
        texte = valeur.bstrVal != nullptr ? valeur.bstrVal : L"";
    else
        texte = L"?";
    VariantClear(&valeur);
    return texte;
}

// What a control of that era reads of its form once sited: its extender's Name, Left and Top, its Parent's
// Name, the ambient Font, how many controls its container holds, the ambient ScaleUnits and what
// TransformCoords makes of one inch.
std::wstring forme(IOleClientSite* site)
{
    std::wstring texte = L"forme";
    IOleControlSite* controle = nullptr;
    IDispatch* extension = nullptr;
    if (SUCCEEDED(site->QueryInterface(IID_IOleControlSite, reinterpret_cast<void**>(&controle))) &&
        SUCCEEDED(controle->GetExtendedControl(&extension)) && extension != nullptr) {
        VARIANT parent;
        VariantInit(&parent);
        texte += L" Name=" + lireParNom(extension, L"Name") + L" Left=" + lireParNom(extension, L"Left") +
                 L" Top=" + lireParNom(extension, L"Top");
        lireParNom(extension, L"Parent", &parent);
        texte += L" Parent=" + lireParNom(parent.vt == VT_DISPATCH ? parent.pdispVal : nullptr, L"Name");
        VariantClear(&parent);
        extension->Release();
    } else {
        texte += L" extension=absente";
    }
    IDispatch* ambiant = nullptr;
    VARIANT police;
    VariantInit(&police);
    DISPPARAMS aucun{nullptr, nullptr, 0, 0};
    IFont* font = nullptr;
    BSTR nom = nullptr;
    CY taille{};
    if (SUCCEEDED(site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambiant))) &&
        SUCCEEDED(ambiant->Invoke(DISPID_AMBIENT_FONT, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                  &aucun, &police, nullptr, nullptr)) &&
        police.vt == VT_DISPATCH &&
        SUCCEEDED(police.pdispVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font))) &&
        SUCCEEDED(font->get_Name(&nom)) && SUCCEEDED(font->get_Size(&taille))) {
        texte += std::wstring(L" police=") + nom + L' ' + nombre(static_cast<long>(taille.int64 / 10000));
    } else {
        texte += L" police=absente";
    }
    SysFreeString(nom);
    if (font != nullptr)
        font->Release();
    VariantClear(&police);
    VARIANT unites;
    VariantInit(&unites);
    texte += L" echelle=";
    if (ambiant != nullptr &&
        SUCCEEDED(ambiant->Invoke(DISPID_AMBIENT_SCALEUNITS, IID_NULL, LOCALE_USER_DEFAULT,
                                  DISPATCH_PROPERTYGET, &aucun, &unites, nullptr, nullptr)) &&
        unites.vt == VT_BSTR && unites.bstrVal != nullptr)
        texte += unites.bstrVal;
    else
        texte += L"?";
    VariantClear(&unites);
    if (ambiant != nullptr)
        ambiant->Release();
    IOleContainer* conteneur = nullptr;
    IEnumUnknown* enumeration = nullptr;
    ULONG compte = 0;
    if (SUCCEEDED(site->GetContainer(&conteneur)) && conteneur != nullptr &&
        SUCCEEDED(conteneur->EnumObjects(OLECONTF_EMBEDDINGS, &enumeration))) {
        IUnknown* element = nullptr;
        while (enumeration->Next(1, &element, nullptr) == S_OK) {
            ++compte;
            element->Release();
        }
        enumeration->Release();
    }
    if (conteneur != nullptr)
        conteneur->Release();
    texte += L" conteneur=" + nombre(static_cast<long>(compte));
    POINTL pouce{2540, 2540};
    POINTF converti{};
    if (controle != nullptr && SUCCEEDED(controle->TransformCoords(
                                   &pouce, &converti, XFORMCOORDS_HIMETRICTOCONTAINER | XFORMCOORDS_SIZE)))
        texte += L" pouce=" + nombre(static_cast<long>(converti.x + 0.5f));
    if (controle != nullptr)
        controle->Release();
    return texte;
}

// The frame the container gave at activation: the dialog asks it to disable the form around itself.
IOleInPlaceFrame* cadreActif = nullptr;

LRESULT CALLBACK procedureDialogue(HWND fenetre, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_TIMER) {
        KillTimer(fenetre, w);
        // As the runtime does when it unloads a modal form: the frame enabled again first, so the system
        // can give activation back to it once the dialog is gone.
        if (cadreActif != nullptr)
            cadreActif->EnableModeless(TRUE);
        noter(std::wstring(L"fermeture fenetre=") +
              (racine != nullptr && !IsWindowEnabled(racine) ? L"desactivee" : L"active"));
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
    if (cadreActif != nullptr)
        cadreActif->EnableModeless(FALSE);
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

// An error form of the control's own (no system dialog): its text, OK and Annuler, run by its own loop until
// a button is pressed; the button's identifier.
LRESULT CALLBACK procedureErreur(HWND fenetre, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_COMMAND && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) {
        DestroyWindow(fenetre);
        return 0;
    }
    return DefWindowProcW(fenetre, message, w, l);
}

int fenetreErreur()
{
    WNDCLASSW classe{};
    classe.lpfnWndProc = procedureErreur;
    classe.hInstance = module;
    classe.lpszClassName = L"CtlAncienErreur";
    RegisterClassW(&classe);
    HWND fenetre = CreateWindowExW(WS_EX_DLGMODALFRAME, L"CtlAncienErreur", L"CtlAncien",
                                   WS_POPUP | WS_CAPTION | WS_VISIBLE, 120, 120, 260, 120, nullptr, nullptr,
                                   module, nullptr);
    if (fenetre == nullptr)
        return 0;
    const auto enfant = [&](const wchar_t* classeEnfant, const wchar_t* texte, LONG style, int id, int x,
                            int y) {
        CreateWindowExW(0, classeEnfant, texte, WS_CHILD | WS_VISIBLE | style, x, y, 100, 24, fenetre,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, nullptr);
    };
    enfant(L"STATIC", L"Base introuvable", SS_LEFT, 0xFFFF, 10, 10);
    enfant(L"BUTTON", L"OK", BS_DEFPUSHBUTTON, IDOK, 10, 50);
    enfant(L"BUTTON", L"&Annuler", BS_PUSHBUTTON, IDCANCEL, 120, 50);
    int reponse = 0;
    MSG message;
    while (IsWindow(fenetre) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == fenetre && message.message == WM_COMMAND)
            reponse = LOWORD(message.wParam);
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return reponse;
}

// One dispatch member of the type library: a function of `parametres` (names and types) or a property.
struct MembreTypes
{
    const wchar_t* nom;
    DISPID id;
    bool propriete;
    VARTYPE type;
    std::vector<std::pair<const wchar_t*, VARTYPE>> parametres;
};

ICreateTypeInfo* interfaceDispatch(ICreateTypeLib2* bibliotheque, const wchar_t* nom, REFIID iid,
                                   ITypeInfo* idispatch, const std::vector<MembreTypes>& membres)
{
    ICreateTypeInfo* info = nullptr;
    HREFTYPE reference = 0;
    if (FAILED(bibliotheque->CreateTypeInfo(const_cast<LPOLESTR>(nom), TKIND_DISPATCH, &info)))
        return nullptr;
    bool reussi = SUCCEEDED(info->SetGuid(iid)) && SUCCEEDED(info->AddRefTypeInfo(idispatch, &reference)) &&
                  SUCCEEDED(info->AddImplType(0, reference));
    UINT fonctions = 0, variables = 0;
    for (const MembreTypes& membre : membres) {
        if (!reussi)
            break;
        if (membre.propriete) {
            VARDESC variable{};
            variable.memid = membre.id;
            variable.varkind = VAR_DISPATCH;
            variable.elemdescVar.tdesc.vt = membre.type;
            reussi = SUCCEEDED(info->AddVarDesc(variables, &variable)) &&
                     SUCCEEDED(info->SetVarName(variables, const_cast<LPOLESTR>(membre.nom)));
            ++variables;
            continue;
        }
        std::vector<ELEMDESC> parametres(membre.parametres.size());
        std::vector<LPOLESTR> noms{const_cast<LPOLESTR>(membre.nom)};
        for (std::size_t i = 0; i < membre.parametres.size(); ++i) {
            parametres[i].tdesc.vt = membre.parametres[i].second;
            parametres[i].paramdesc.wParamFlags = PARAMFLAG_FIN;
            noms.push_back(const_cast<LPOLESTR>(membre.parametres[i].first));
        }
        FUNCDESC fonction{};
        fonction.memid = membre.id;
        fonction.funckind = FUNC_DISPATCH;
        fonction.invkind = INVOKE_FUNC;
        fonction.callconv = CC_STDCALL;
        fonction.cParams = static_cast<SHORT>(parametres.size());
        fonction.lprgelemdescParam = parametres.data();
        fonction.elemdescFunc.tdesc.vt = membre.type;
        reussi =
            SUCCEEDED(info->AddFuncDesc(fonctions, &fonction)) &&
            SUCCEEDED(info->SetFuncAndParamNames(fonctions, noms.data(), static_cast<UINT>(noms.size())));
        ++fonctions;
    }
    if (!reussi || FAILED(info->LayOut())) {
        info->Release();
        return nullptr;
    }
    return info;
}

// The type library a control of that era carries, written in memory: its coclass, its dispatch interface
// (the members it has) and its default source interface. The control hands out only its interface's type
// information: its container finds the coclass through the library that holds it.
ITypeLib* creerTypes()
{
    ITypeLib* standard = nullptr;
    ITypeInfo* idispatch = nullptr;
    if (FAILED(LoadRegTypeLib(LibidStdOle, 2, 0, LOCALE_NEUTRAL, &standard)))
        return nullptr;
    const HRESULT trouve = standard->GetTypeInfoOfGuid(IID_IDispatch, &idispatch);
    standard->Release();
    if (FAILED(trouve))
        return nullptr;
    ICreateTypeLib2* bibliotheque = nullptr;
    ITypeLib* resultat = nullptr;
    if (SUCCEEDED(CreateTypeLib2(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32,
                                 const_cast<LPOLESTR>(L"CtlAncien.tlb"), &bibliotheque)) &&
        SUCCEEDED(bibliotheque->SetGuid(LibidCtlAncien)) &&
        SUCCEEDED(bibliotheque->SetName(const_cast<LPOLESTR>(L"CtlAncienLib")))) {
        ICreateTypeInfo* membres = interfaceDispatch(bibliotheque, L"_DCtlAncien", IidCtlAncien, idispatch,
                                                     {{L"SRTSeulement", SRTSeulement, true, VT_I4, {}},
                                                      {L"CodeActe", CodeActe, true, VT_BSTR, {}},
                                                      {L"SelectionActe", SelectionActe, false, VT_VOID, {}},
                                                      {L"LireLibelle", LireLibelle, false, VT_VARIANT, {}},
                                                      {L"LirePrix", LirePrix, false, VT_VARIANT, {}}});
        ICreateTypeInfo* evenements =
            interfaceDispatch(bibliotheque, L"_DCtlAncienEvents", IidEvenementsCtlAncien, idispatch,
                              {{L"LectureCommencee", LectureCommencee, false, VT_VOID, {{L"Code", VT_BSTR}}},
                               {L"LectureTerminee",
                                LectureTerminee,
                                false,
                                VT_VOID,
                                {{L"Code", VT_BSTR}, {L"Numero", VT_I4}}}});
        ICreateTypeInfo* coclasse = nullptr;
        ITypeInfo* lueMembres = nullptr;
        ITypeInfo* lueEvenements = nullptr;
        HREFTYPE refMembres = 0, refEvenements = 0;
        if (membres != nullptr && evenements != nullptr &&
            SUCCEEDED(membres->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&lueMembres))) &&
            SUCCEEDED(evenements->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&lueEvenements))) &&
            SUCCEEDED(
                bibliotheque->CreateTypeInfo(const_cast<LPOLESTR>(L"CtlAncien"), TKIND_COCLASS, &coclasse)) &&
            SUCCEEDED(coclasse->SetGuid(ClasseCtlAncien)) &&
            SUCCEEDED(coclasse->AddRefTypeInfo(lueMembres, &refMembres)) &&
            SUCCEEDED(coclasse->AddImplType(0, refMembres)) &&
            SUCCEEDED(coclasse->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT)) &&
            SUCCEEDED(coclasse->AddRefTypeInfo(lueEvenements, &refEvenements)) &&
            SUCCEEDED(coclasse->AddImplType(1, refEvenements)) &&
            SUCCEEDED(coclasse->SetImplTypeFlags(1, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) &&
            SUCCEEDED(coclasse->LayOut()))
            bibliotheque->QueryInterface(IID_ITypeLib, reinterpret_cast<void**>(&resultat));
        for (IUnknown* objet :
             std::initializer_list<IUnknown*>{membres, evenements, coclasse, lueMembres, lueEvenements})
            if (objet != nullptr)
                objet->Release();
    }
    if (bibliotheque != nullptr)
        bibliotheque->Release();
    idispatch->Release();
    return resultat;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

class CtlAncien;

// One connection point of the control: its sinks, by cookie. It lives inside the control, whose references
// it shares.
class PointCtlAncien final : public IConnectionPoint
{
public:
    PointCtlAncien(IConnectionPointContainer* conteneur, REFIID iid)
        : m_conteneur(conteneur)
        , m_iid(iid)
    {}
    ~PointCtlAncien()
    {
        for (auto& [cookie, puits] : m_puits)
            puits->Release();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
            *objet = static_cast<IConnectionPoint*>(this);
            AddRef();
            return S_OK;
        }
        *objet = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return m_conteneur->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_conteneur->Release(); }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override
    {
        *iid = m_iid;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** conteneur) override
    {
        *conteneur = m_conteneur;
        m_conteneur->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* puits, DWORD* cookie) override
    {
        IUnknown* interfacePuits = nullptr;
        if (puits == nullptr ||
            FAILED(puits->QueryInterface(m_iid, reinterpret_cast<void**>(&interfacePuits))))
            return CONNECT_E_CANNOTCONNECT;
        *cookie = m_prochain++;
        m_puits[*cookie] = interfacePuits;
        noter(std::wstring(L"Advise ") +
              (m_iid == IID_IPropertyNotifySink ? L"IPropertyNotifySink" : L"evenements"));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override
    {
        auto trouve = m_puits.find(cookie);
        if (trouve == m_puits.end())
            return CONNECT_E_NOCONNECTION;
        trouve->second->Release();
        m_puits.erase(trouve);
        noter(std::wstring(L"Unadvise ") +
              (m_iid == IID_IPropertyNotifySink ? L"IPropertyNotifySink" : L"evenements"));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    // An event to every dispatch sink, the arguments last first, as the runtime raises them.
    void declencher(DISPID id, std::vector<VARIANT> arguments)
    {
        DISPPARAMS parametres{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
        for (auto& [cookie, puits] : m_puits)
            static_cast<IDispatch*>(puits)->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                                   &parametres, nullptr, nullptr, nullptr);
    }
    void proprieteChangee(DISPID id)
    {
        for (auto& [cookie, puits] : m_puits)
            static_cast<IPropertyNotifySink*>(puits)->OnChanged(id);
    }

private:
    IConnectionPointContainer* m_conteneur;
    IID m_iid;
    std::map<DWORD, IUnknown*> m_puits;
    DWORD m_prochain = 1;
};

class CtlAncien final : public IDispatch,
                        public IOleObject,
                        public IOleInPlaceObject,
                        public IPersistStreamInit,
                        public IConnectionPointContainer,
                        public ISupportErrorInfo
{
public:
    CtlAncien()
        : m_evenements(this, IidEvenementsCtlAncien)
        , m_proprietesChangees(this, IID_IPropertyNotifySink)
    {
        InterlockedIncrement(&objetsVivants);
    }

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
        else if (iid == IID_IConnectionPointContainer)
            *objet = static_cast<IConnectionPointContainer*>(this);
        else if (iid == IID_ISupportErrorInfo)
            *objet = static_cast<ISupportErrorInfo*>(this);
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

    // IDispatch: its interface's type information, whose library holds its coclass.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override
    {
        *n = types() != nullptr ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override
    {
        *info = nullptr;
        if (index != 0 || types() == nullptr)
            return DISP_E_BADINDEX;
        return types()->GetTypeInfoOfGuid(IidCtlAncien, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD drapeaux, DISPPARAMS* parametres,
                                     VARIANT* resultat, EXCEPINFO* exception, UINT* argumentFautif) override
    {
        if (drapeaux & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (parametres->cArgs != 1)
                return DISP_E_BADPARAMCOUNT;
            VARIANT valeur;
            VariantInit(&valeur);
            VariantCopyInd(&valeur, &parametres->rgvarg[0]);
            // A number or a boolean only: the argument it could not take is named.
            if (id == SRTSeulement && FAILED(VariantChangeType(&valeur, &valeur, 0, VT_I4))) {
                VariantClear(&valeur);
                if (argumentFautif != nullptr)
                    *argumentFautif = 0;
                return DISP_E_TYPEMISMATCH;
            }
            VariantClear(&m_proprietes[id]);
            m_proprietes[id] = valeur;
            return S_OK;
        }
        // A property read through either flag; a method called through either.
        if (estPropriete(id) && (drapeaux & DISPATCH_PROPERTYGET)) {
            if (resultat != nullptr) {
                auto trouve = m_proprietes.find(id);
                if (trouve != m_proprietes.end())
                    return VariantCopy(resultat, &trouve->second);
            }
            return S_OK;
        }
        if (drapeaux & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) {
            noter(L"appel " + hexa(id));
            // Until it is active in place, the control has no window and no data: its methods fail.
            if (m_fenetre == nullptr)
                return E_UNEXPECTED;
            return appeler(id, resultat, exception);
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override
    {
        *point = nullptr;
        if (iid == IidEvenementsCtlAncien)
            *point = &m_evenements;
        else if (iid == IID_IPropertyNotifySink)
            *point = &m_proprietesChangees;
        else
            return CONNECT_E_NOCONNECTION;
        (*point)->AddRef();
        return S_OK;
    }

    // ISupportErrorInfo: its failures are described in the thread's error object.
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override
    {
        return iid == IID_IDispatch ? S_OK : S_FALSE;
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
        noter(forme(site));
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
        if (cadreActif != nullptr)
            cadreActif->Release();
        cadreActif = cadre;
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
        if (cadreActif != nullptr)
            cadreActif->Release();
        cadreActif = nullptr;
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
        if (m_types != nullptr)
            m_types->Release();
        if (m_surPlace != nullptr)
            m_surPlace->Release();
        if (m_site != nullptr)
            m_site->Release();
        InterlockedDecrement(&objetsVivants);
    }

    ITypeLib* types()
    {
        if (m_types == nullptr)
            m_types = creerTypes();
        return m_types;
    }

    // The act code as the events carry it.
    VARIANT codeActe()
    {
        VARIANT code;
        VariantInit(&code);
        auto trouve = m_proprietes.find(CodeActe);
        if (trouve == m_proprietes.end() || FAILED(VariantChangeType(&code, &trouve->second, 0, VT_BSTR))) {
            code.vt = VT_BSTR;
            code.bstrVal = SysAllocString(L"");
        }
        return code;
    }

    // What a broken release does on the acts CTLANCIEN_PANNES names; a box's answer is taken, and the call
    // goes on as usual after it.
    void deraillerSiChoisi(DISPID id)
    {
        VARIANT code = codeActe();
        std::wstring acte = code.bstrVal != nullptr ? code.bstrVal : L"";
        VariantClear(&code);
        while (!acte.empty() && acte.back() == L' ')
            acte.pop_back();
        while (!acte.empty() && acte.front() == L' ')
            acte.erase(0, 1);
        const std::wstring panne = panneChoisie(acte, id);
        if (panne == L"plantage")
            *static_cast<volatile int*>(nullptr) = 0;
        if (panne == L"blocage")
            for (;;)
                Sleep(1000);
        if (panne == L"boite" || panne == L"boite_cadre") {
            const int reponse = MessageBoxW(panne == L"boite" ? nullptr : racine, L"Base introuvable",
                                            L"CtlAncien", MB_OKCANCEL | MB_ICONERROR);
            noter(L"boite reponse=" + nombre(reponse));
        }
        if (panne == L"fenetre")
            noter(L"fenetre reponse=" + nombre(fenetreErreur()));
    }

    HRESULT appeler(DISPID id, VARIANT* resultat, EXCEPINFO* exception)
    {
        deraillerSiChoisi(id);
        switch (id) {
        case SelectionActe: {
            dialogue();
            VARIANT code;
            code.vt = VT_BSTR;
            code.bstrVal = SysAllocString(L"LHQK005");
            VariantClear(&m_proprietes[CodeActe]);
            m_proprietes[CodeActe] = code;
            m_proprietesChangees.proprieteChangee(CodeActe);
            return S_OK;
        }
        case LireLibelle: {
            VARIANT code = codeActe();
            m_evenements.declencher(LectureCommencee, {code});
            VARIANT numero;
            numero.vt = VT_I4;
            numero.lVal = InterlockedIncrement(&lectures);
            // Last first: Numero, then Code.
            m_evenements.declencher(LectureTerminee, {numero, code});
            VariantClear(&code);
            return S_OK; // the function assigned nothing: Empty
        }
        case LireModificateursActe: {
            // Described in the thread's error object only, as a component that reports through IErrorInfo.
            ICreateErrorInfo* creation = nullptr;
            if (SUCCEEDED(CreateErrorInfo(&creation))) {
                creation->SetSource(const_cast<LPOLESTR>(ProgId));
                creation->SetDescription(const_cast<LPOLESTR>(L"Modificateurs indisponibles"));
                IErrorInfo* info = nullptr;
                if (SUCCEEDED(creation->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
                    SetErrorInfo(0, info);
                    info->Release();
                }
                creation->Release();
            }
            return E_FAIL;
        }
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
    ITypeLib* m_types = nullptr;
    PointCtlAncien m_evenements;
    PointCtlAncien m_proprietesChangees;
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
