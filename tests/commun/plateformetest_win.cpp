#include "plateformetest.h"

#include <QDir>
#include <QFile>
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

bool ecrireBibliothequeAutreLargeur(const QString& chemin)
{
    // A DLL of the other width with headers only: DOS stub header, PE signature, file header, optional
    // header. A 32-bit process gets a PE32+ file for x86-64, a 64-bit process a PE32 file for x86.
    constexpr bool autre64 = sizeof(void*) == 4;
    QByteArray image(0x200, '\0');
    auto mettre16 = [&image](int position, quint16 valeur) {
        image[position] = static_cast<char>(valeur & 0xFF);
        image[position + 1] = static_cast<char>(valeur >> 8);
    };
    auto mettre32 = [&](int position, quint32 valeur) {
        mettre16(position, static_cast<quint16>(valeur & 0xFFFF));
        mettre16(position + 2, static_cast<quint16>(valeur >> 16));
    };
    mettre16(0, 0x5A4D);    // "MZ"
    mettre32(0x3C, 0x40);   // e_lfanew
    mettre32(0x40, 0x4550); // "PE\0\0"
    const int fichier = 0x44;
    mettre16(fichier, autre64 ? 0x8664 : 0x014C);      // IMAGE_FILE_MACHINE_AMD64 or _I386
    mettre16(fichier + 16, autre64 ? 0xF0 : 0xE0);     // SizeOfOptionalHeader
    mettre16(fichier + 18, autre64 ? 0x2022 : 0x2102); // executable, DLL, large addresses or 32-bit words
    const int optionnel = fichier + 20;
    mettre16(optionnel, autre64 ? 0x20B : 0x10B); // PE32+ or PE32
    // Code and an entry point: a 32-bit image without code is mapped into a 64-bit process by Wine's
    // loader (as a resource-only DLL), while one with code is refused, as Windows refuses it.
    mettre32(optionnel + 4, 0x200);   // SizeOfCode
    mettre32(optionnel + 16, 0x1000); // AddressOfEntryPoint
    if (autre64) {                    // ImageBase 0x180000000, 8 bytes
        mettre32(optionnel + 24, 0x80000000u);
        mettre32(optionnel + 28, 0x1);
    } else { // ImageBase 0x10000000, 4 bytes after BaseOfData
        mettre32(optionnel + 28, 0x10000000);
    }
    mettre32(optionnel + 32, 0x1000);               // SectionAlignment
    mettre32(optionnel + 36, 0x200);                // FileAlignment
    mettre16(optionnel + 40, 6);                    // OS version
    mettre16(optionnel + 48, 6);                    // subsystem version
    mettre32(optionnel + 56, 0x1000);               // SizeOfImage
    mettre32(optionnel + 60, 0x200);                // SizeOfHeaders
    mettre16(optionnel + 68, 2);                    // IMAGE_SUBSYSTEM_WINDOWS_GUI
    mettre32(optionnel + (autre64 ? 108 : 92), 16); // NumberOfRvaAndSizes
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(image) == image.size();
}

} // namespace PlateformeTest
