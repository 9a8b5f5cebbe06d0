#include "enregistrementserveur.h"

#include "identiteserveur.h"

#include <utility>

namespace {

constexpr wchar_t nomLisible[] = L"Contrôle de sélection d'actes CCAM";

class CleRegistre
{
public:
    CleRegistre() = default;
    ~CleRegistre()
    {
        if (m_cle != nullptr)
            RegCloseKey(m_cle);
    }
    CleRegistre(const CleRegistre&) = delete;
    CleRegistre& operator=(const CleRegistre&) = delete;

    HKEY get() const noexcept { return m_cle; }
    HKEY* adresse() noexcept { return &m_cle; }

private:
    HKEY m_cle = nullptr;
};

class JetonProcessus
{
public:
    JetonProcessus() = default;
    ~JetonProcessus()
    {
        if (m_jeton != nullptr)
            CloseHandle(m_jeton);
    }
    JetonProcessus(const JetonProcessus&) = delete;
    JetonProcessus& operator=(const JetonProcessus&) = delete;

    HANDLE get() const noexcept { return m_jeton; }
    HANDLE* adresse() noexcept { return &m_jeton; }

private:
    HANDLE m_jeton = nullptr;
};

std::wstring cleClasse()
{
    return std::wstring(L"CLSID\\") + TexteClsidCtlTarvo;
}

LSTATUS ecrireTexte(HKEY cle, const wchar_t* nom, const std::wstring& texte)
{
    return RegSetValueExW(cle, nom, 0, REG_SZ, reinterpret_cast<const BYTE*>(texte.c_str()),
                          static_cast<DWORD>((texte.size() + 1) * sizeof(wchar_t)));
}

// Creates (or opens) `chemin` below `parent` and gives it its default value and, when named, one more.
LSTATUS creerCle(HKEY parent, const std::wstring& chemin, const std::wstring& defaut,
                 const wchar_t* autreNom = nullptr, const std::wstring& autreValeur = {})
{
    CleRegistre cle;
    LSTATUS etat = RegCreateKeyExW(parent, chemin.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                   nullptr, cle.adresse(), nullptr);
    if (etat != ERROR_SUCCESS)
        return etat;
    etat = ecrireTexte(cle.get(), nullptr, defaut);
    if (etat == ERROR_SUCCESS && autreNom != nullptr)
        etat = ecrireTexte(cle.get(), autreNom, autreValeur);
    return etat;
}

bool cleExiste(HKEY parent, const std::wstring& chemin)
{
    CleRegistre cle;
    return RegOpenKeyExW(parent, chemin.c_str(), 0, KEY_READ, cle.adresse()) == ERROR_SUCCESS;
}

// The class the ProgID's key names, empty when it names none.
std::wstring classeDuProgId(HKEY classes)
{
    wchar_t texte[64] = {};
    DWORD taille = sizeof(texte) - sizeof(wchar_t);
    const std::wstring chemin = std::wstring(ProgIdCtlTarvo) + L"\\CLSID";
    if (RegGetValueW(classes, chemin.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, texte, &taille) !=
        ERROR_SUCCESS)
        return {};
    return texte;
}

LSTATUS supprimerArbre(HKEY parent, const std::wstring& chemin)
{
    const LSTATUS etat = RegDeleteTreeW(parent, chemin.c_str());
    return etat == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : etat;
}

} // namespace

CleClasses cleClasses(bool processusEleve)
{
    return {processusEleve ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, L"Software\\Classes"};
}

bool processusEleve()
{
    JetonProcessus jeton;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, jeton.adresse()))
        return false;
    TOKEN_ELEVATION elevation{};
    DWORD taille = 0;
    if (!GetTokenInformation(jeton.get(), TokenElevation, &elevation, sizeof(elevation), &taille))
        return false;
    return elevation.TokenIsElevated != 0;
}

HRESULT enregistrerServeur(const CleClasses& cle, const std::wstring& cheminModule)
{
    if (cheminModule.empty())
        return E_INVALIDARG;
    CleRegistre classes;
    LSTATUS etat = RegCreateKeyExW(cle.racine, cle.chemin.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_READ | KEY_WRITE, nullptr, classes.adresse(), nullptr);
    if (etat != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(etat);

    const std::wstring classe = cleClasse();
    const std::wstring progId = ProgIdCtlTarvo;
    const bool progIdExistait = cleExiste(classes.get(), progId);
    // The ProgID's key is written last and its CLSID first: a client never finds the name before the
    // class it leads to, and a key that cannot be made fails before any value of the ProgID changes.
    etat = creerCle(classes.get(), classe, nomLisible);
    if (etat == ERROR_SUCCESS)
        etat = creerCle(classes.get(), classe + L"\\InprocServer32", cheminModule, L"ThreadingModel",
                        L"Apartment");
    if (etat == ERROR_SUCCESS)
        etat = creerCle(classes.get(), classe + L"\\ProgID", progId);
    if (etat == ERROR_SUCCESS)
        etat = creerCle(classes.get(), progId + L"\\CLSID", TexteClsidCtlTarvo);
    if (etat == ERROR_SUCCESS)
        etat = creerCle(classes.get(), progId, nomLisible);
    if (etat == ERROR_SUCCESS)
        return S_OK;

    supprimerArbre(classes.get(), classe);
    if (!progIdExistait)
        supprimerArbre(classes.get(), progId);
    return HRESULT_FROM_WIN32(etat);
}

HRESULT desenregistrerServeur(const CleClasses& cle)
{
    CleRegistre classes;
    LSTATUS etat =
        RegOpenKeyExW(cle.racine, cle.chemin.c_str(), 0, KEY_READ | KEY_WRITE | DELETE, classes.adresse());
    if (etat == ERROR_FILE_NOT_FOUND)
        return S_OK;
    if (etat != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(etat);
    etat = supprimerArbre(classes.get(), cleClasse());
    if (etat != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(etat);
    // Another server registered under the same name since keeps it.
    if (_wcsicmp(classeDuProgId(classes.get()).c_str(), TexteClsidCtlTarvo) == 0) {
        etat = supprimerArbre(classes.get(), ProgIdCtlTarvo);
        if (etat != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(etat);
    }
    return S_OK;
}
