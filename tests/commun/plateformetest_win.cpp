#include "plateformetest.h"

#include <QDir>
#include <atomic>
#include <windows.h>

namespace {

// The loader's own notification, the counterpart of the load counter other systems keep.
struct NotificationChargement
{
    ULONG raison;
    const void* donnees;
};
using FonctionRappel = void(CALLBACK*)(ULONG raison, const NotificationChargement* donnees, void* contexte);
using FonctionInscription = LONG(NTAPI*)(ULONG drapeaux, FonctionRappel rappel, void* contexte,
                                         void** cookie);
constexpr ULONG ChargementFait = 1; // LDR_DLL_NOTIFICATION_REASON_LOADED

std::atomic<unsigned long long> chargements{0};

void CALLBACK surChargement(ULONG raison, const NotificationChargement*, void*)
{
    if (raison == ChargementFait)
        ++chargements;
}

bool inscrire()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto inscription = reinterpret_cast<FonctionInscription>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "LdrRegisterDllNotification")));
    void* cookie = nullptr;
    return inscription != nullptr && inscription(0, &surChargement, nullptr, &cookie) == 0;
}

} // namespace

namespace PlateformeTest {

bool sousWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

unsigned long long nombreDeChargements()
{
    static const bool inscrit = inscrire();
    return inscrit ? chargements.load() : ~0ULL;
}

bool bibliothequeChargee(const QString& fichier)
{
    HMODULE module = nullptr;
    const std::wstring chemin = QDir::toNativeSeparators(fichier).toStdWString();
    return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, chemin.c_str(), &module) &&
           module != nullptr;
}

} // namespace PlateformeTest
