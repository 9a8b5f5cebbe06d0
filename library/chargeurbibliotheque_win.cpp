#include "chargeurbibliotheque.h"
#include "chargeursysteme.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <array>
#include <iterator>
#include <string>
#include <windows.h>

namespace {

// The system's text for `code` with every %1 (and any further insert) filled with `argument`: "%1 n'est pas
// une application Win32 valide." names the file.
QString texteSysteme(DWORD code, const QString& argument)
{
    const std::wstring insert = argument.toStdWString();
    std::array<DWORD_PTR, 9> inserts;
    inserts.fill(reinterpret_cast<DWORD_PTR>(insert.c_str()));
    wchar_t* texte = nullptr;
    const DWORD longueur = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&texte), 0, reinterpret_cast<va_list*>(inserts.data()));
    QString raison = longueur != 0 ? QString::fromWCharArray(texte, static_cast<int>(longueur)).trimmed()
                                   : QStringLiteral("erreur %1").arg(code);
    LocalFree(texte);
    return raison;
}

QString repertoireSysteme(UINT(WINAPI* lire)(wchar_t*, UINT))
{
    wchar_t chemin[MAX_PATH];
    const UINT longueur = lire(chemin, MAX_PATH);
    return longueur == 0 || longueur >= MAX_PATH
               ? QString()
               : QString::fromWCharArray(chemin, static_cast<int>(longueur));
}

QString repertoireProgramme()
{
    wchar_t chemin[MAX_PATH * 4];
    const DWORD longueur = GetModuleFileNameW(nullptr, chemin, static_cast<DWORD>(std::size(chemin)));
    if (longueur == 0 || longueur >= std::size(chemin))
        return {};
    return QFileInfo(QString::fromWCharArray(chemin, static_cast<int>(longueur))).absolutePath();
}

QString fichierModule(HMODULE module)
{
    wchar_t chemin[MAX_PATH * 4];
    const DWORD longueur = GetModuleFileNameW(module, chemin, static_cast<DWORD>(std::size(chemin)));
    if (module == nullptr || longueur == 0 || longueur >= std::size(chemin))
        return {};
    return QString::fromWCharArray(chemin, static_cast<int>(longueur));
}

} // namespace

namespace ChargeurSysteme {

// An empty DLL directory takes the current directory out of the search and leaves the rest as the system has
// it, PATH included, for the library and for the DLLs it needs in turn.
void exclureRepertoireCourant()
{
    SetDllDirectoryW(L"");
}

// The folders LoadLibraryW looks in once the current directory is taken out, in its order, walked by the
// search itself: Wine keeps the current directory in the system's search despite the empty DLL directory, and
// a library planted there must not even be loaded.
QStringList dossiersRecherche()
{
    QStringList lieux;
    for (const QString& lieu : {repertoireProgramme(), repertoireSysteme(&GetSystemDirectoryW),
                                repertoireSysteme(&GetWindowsDirectoryW)})
        if (!lieu.isEmpty())
            lieux.append(QDir::toNativeSeparators(lieu));
    // PATH as the loader reads it, from the process environment rather than the C runtime's copy.
    const DWORD taille = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (taille > 1) {
        std::wstring path(taille, L'\0');
        const DWORD lus = GetEnvironmentVariableW(L"PATH", path.data(), taille);
        path.resize(lus < taille ? lus : 0);
        for (const QString& lieu : QString::fromStdWString(path).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            lieux.append(QDir::toNativeSeparators(lieu.trimmed()));
    }
    return lieux;
}

// Its own DLLs are looked for beside it first, then in the same folders.
void* charger(const QString& fichier, QString& raison)
{
    HMODULE module = LoadLibraryExW(reinterpret_cast<const wchar_t*>(fichier.utf16()), nullptr,
                                    LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr)
        raison = texteSysteme(GetLastError(), fichier);
    return module;
}

// Nothing beyond the folders walked, which are the system's own.
RechercheParNom chargerParNom(const QString&)
{
    RechercheParNom resultat;
    resultat.absente = true;
    return resultat;
}

} // namespace ChargeurSysteme

namespace ChargeurBibliotheque {

QString nomFichier(const QString& nom)
{
    return nom + QStringLiteral(".dll");
}

QString cheminComplet(void* poignee)
{
    return fichierModule(static_cast<HMODULE>(poignee));
}

Fonction symbole(void* poignee, const char* nom, QString& raison)
{
    FARPROC adresse = GetProcAddress(static_cast<HMODULE>(poignee), nom);
    if (adresse == nullptr) {
        raison = texteSysteme(GetLastError(), QString::fromLatin1(nom));
        return nullptr;
    }
    return reinterpret_cast<Fonction>(adresse);
}

void fermer(void* poignee)
{
    if (poignee != nullptr)
        FreeLibrary(static_cast<HMODULE>(poignee));
}

} // namespace ChargeurBibliotheque
