#include "chargeurbibliotheque.h"

#include <QDir>
#include <iterator>
#include <windows.h>

namespace {

QString erreurSysteme()
{
    const DWORD code = GetLastError();
    wchar_t* texte = nullptr;
    const DWORD longueur = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, code, 0, reinterpret_cast<wchar_t*>(&texte), 0, nullptr);
    QString raison = longueur != 0 ? QString::fromWCharArray(texte, static_cast<int>(longueur)).trimmed()
                                   : QStringLiteral("erreur %1").arg(code);
    LocalFree(texte);
    return raison;
}

// The file the system really mapped, so that the operator sees which copy answered.
QString fichierModule(HMODULE module, const QString& parDefaut)
{
    wchar_t chemin[MAX_PATH * 4];
    const DWORD longueur = GetModuleFileNameW(module, chemin, static_cast<DWORD>(std::size(chemin)));
    if (longueur == 0 || longueur >= std::size(chemin))
        return parDefaut;
    return QDir::fromNativeSeparators(QString::fromWCharArray(chemin, static_cast<int>(longueur)));
}

} // namespace

namespace ChargeurBibliotheque {

Ouverture ouvrir(const QString& nom, const QString& chemin)
{
    Ouverture resultat;
    if (!chemin.isEmpty() && QDir::isRelativePath(chemin)) {
        resultat.fichier = chemin;
        resultat.raison = QStringLiteral("le chemin n'est pas absolu");
        return resultat;
    }
    resultat.fichier = chemin.isEmpty() ? nom + QStringLiteral(".dll") : QDir::toNativeSeparators(chemin);
    // The application's directory and System32 only: neither the current directory nor PATH.
    const DWORD recherche = chemin.isEmpty()
                                ? LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                                : LOAD_WITH_ALTERED_SEARCH_PATH;
    HMODULE module =
        LoadLibraryExW(reinterpret_cast<const wchar_t*>(resultat.fichier.utf16()), nullptr, recherche);
    if (module == nullptr) {
        resultat.raison = erreurSysteme();
        return resultat;
    }
    resultat.poignee = module;
    resultat.fichier = fichierModule(module, resultat.fichier);
    return resultat;
}

QString cheminComplet(void* poignee)
{
    // Long paths are rare for a library; a truncated answer is refused rather than shown cut.
    wchar_t chemin[MAX_PATH * 4];
    const DWORD longueur = GetModuleFileNameW(static_cast<HMODULE>(poignee), chemin, MAX_PATH * 4);
    if (poignee == nullptr || longueur == 0 || longueur >= MAX_PATH * 4)
        return {};
    return QString::fromWCharArray(chemin, static_cast<int>(longueur));
}

Fonction symbole(void* poignee, const char* nom, QString& raison)
{
    FARPROC adresse = GetProcAddress(static_cast<HMODULE>(poignee), nom);
    if (adresse == nullptr) {
        raison = erreurSysteme();
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
