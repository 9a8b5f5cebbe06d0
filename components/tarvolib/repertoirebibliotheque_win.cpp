#include "repertoirebibliotheque.h"

#include <QDir>
#include <QFileInfo>
#include <windows.h>

namespace {
const char repere = 0;
} // namespace

QString repertoireBibliotheque()
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&repere), &module))
        return {};
    wchar_t chemin[MAX_PATH * 4];
    const DWORD longueur = GetModuleFileNameW(module, chemin, static_cast<DWORD>(std::size(chemin)));
    if (longueur == 0 || longueur >= std::size(chemin))
        return {};
    return QFileInfo(QDir::fromNativeSeparators(QString::fromWCharArray(chemin, static_cast<int>(longueur))))
        .absolutePath();
}
