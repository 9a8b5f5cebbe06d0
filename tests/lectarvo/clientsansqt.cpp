// A client with no Qt of its own, as a plain C++ program using the control would be: it creates the control
// by name, asks for the selection dialog and, once the dialog shows, presses Enter in it. The dialog opens
// on the act written (" lhqk005 "), so choosing it gives the act's code as the control writes it.
// Exit status: 0 when the dialog was shown and the act chosen, else the number of the step that failed.
// No Qt here on purpose: this file reaches the control through COM only.
// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on
#include <cwchar>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace {

constexpr UINT delaiMaximal = 60000; // ms before the client gives up waiting for the dialog
DWORD debut = 0;

BOOL CALLBACK chercherFenetre(HWND fenetre, LPARAM trouvee)
{
    DWORD processus = 0;
    GetWindowThreadProcessId(fenetre, &processus);
    if (processus != GetCurrentProcessId() || !IsWindowVisible(fenetre))
        return TRUE;
    *reinterpret_cast<HWND*>(trouvee) = fenetre;
    return FALSE;
}

// Runs inside the dialog's own event loop, which dispatches this thread's messages.
void CALLBACK surveiller(HWND, UINT, UINT_PTR minuterie, DWORD)
{
    HWND dialogue = nullptr;
    EnumWindows(chercherFenetre, reinterpret_cast<LPARAM>(&dialogue));
    if (dialogue != nullptr) {
        KillTimer(nullptr, minuterie);
        PostMessageW(dialogue, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageW(dialogue, WM_KEYUP, VK_RETURN, 0xC01C0001);
        return;
    }
    if (GetTickCount() - debut > delaiMaximal)
        ExitProcess(9);
}

DISPID identifiant(IDispatch* objet, const wchar_t* nom)
{
    LPOLESTR noms[] = {const_cast<LPOLESTR>(nom)};
    DISPID id = DISPID_UNKNOWN;
    objet->GetIDsOfNames(IID_NULL, noms, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

HRESULT ecrireTexte(IDispatch* objet, const wchar_t* nom, const wchar_t* texte)
{
    VARIANT valeur;
    VariantInit(&valeur);
    valeur.vt = VT_BSTR;
    valeur.bstrVal = SysAllocString(texte);
    DISPID nomme = DISPID_PROPERTYPUT;
    DISPPARAMS parametres{&valeur, &nomme, 1, 1};
    const HRESULT hr = objet->Invoke(identifiant(objet, nom), IID_NULL, LOCALE_USER_DEFAULT,
                                     DISPATCH_PROPERTYPUT, &parametres, nullptr, nullptr, nullptr);
    VariantClear(&valeur);
    return hr;
}

// The text a member answers; false when it fails or answers anything but text.
bool lireTexte(IDispatch* objet, const wchar_t* nom, WORD drapeaux, const wchar_t* attendu)
{
    VARIANT resultat;
    VariantInit(&resultat);
    DISPPARAMS aucun{};
    const HRESULT hr = objet->Invoke(identifiant(objet, nom), IID_NULL, LOCALE_USER_DEFAULT, drapeaux, &aucun,
                                     &resultat, nullptr, nullptr);
    const bool egal = SUCCEEDED(hr) && resultat.vt == VT_BSTR && resultat.bstrVal != nullptr &&
                      std::wcscmp(resultat.bstrVal, attendu) == 0;
    VariantClear(&resultat);
    return egal;
}

int executer()
{
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(L"LectTarvo.ctlTarvo", &clsid)))
        return 1;
    ComPtr<IDispatch> ctl;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&ctl))))
        return 2;
    if (FAILED(ecrireTexte(ctl.Get(), L"DateReference", L"20250601")) ||
        FAILED(ecrireTexte(ctl.Get(), L"CodeActe", L" lhqk005 ")))
        return 3;

    debut = GetTickCount();
    if (SetTimer(nullptr, 0, 250, surveiller) == 0)
        return 4;
    VARIANT resultat;
    VariantInit(&resultat);
    DISPPARAMS aucun{};
    const HRESULT hr = ctl->Invoke(identifiant(ctl.Get(), L"SelectionActe"), IID_NULL, LOCALE_USER_DEFAULT,
                                   DISPATCH_METHOD, &aucun, &resultat, nullptr, nullptr);
    VariantClear(&resultat);
    if (FAILED(hr))
        return 5;
    // Chosen, not cancelled: the code as the dialog writes it, and the act's answers.
    if (!lireTexte(ctl.Get(), L"CodeActe", DISPATCH_PROPERTYGET, L"LHQK005"))
        return 6;
    if (!lireTexte(ctl.Get(), L"LirePrix", DISPATCH_METHOD | DISPATCH_PROPERTYGET, L"2590"))
        return 7;
    return 0;
}

} // namespace

int main()
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 8;
    const int statut = executer();
    CoUninitialize();
    return statut;
}
