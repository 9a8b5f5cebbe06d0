#include "texteansi.h"

#include <cstring>
#include <limits>
#include <new>
// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on

namespace TexteAnsi {

QByteArray versAnsi(const QString& texte)
{
    if (texte.isEmpty() || texte.size() > std::numeric_limits<int>::max())
        return {};
    const auto* source = reinterpret_cast<const wchar_t*>(texte.utf16());
    const int taille = static_cast<int>(texte.size());
    const int requis = WideCharToMultiByte(CP_ACP, 0, source, taille, nullptr, 0, nullptr, nullptr);
    if (requis <= 0)
        return {};
    QByteArray resultat(requis, Qt::Uninitialized);
    WideCharToMultiByte(CP_ACP, 0, source, taille, resultat.data(), requis, nullptr, nullptr);
    return resultat;
}

QString depuisAnsi(const char* octets, qsizetype longueur)
{
    if (octets == nullptr)
        return {};
    if (longueur < 0)
        longueur = static_cast<qsizetype>(std::strlen(octets));
    if (longueur == 0 || longueur > std::numeric_limits<int>::max())
        return {};
    const int taille = static_cast<int>(longueur);
    const int requis = MultiByteToWideChar(CP_ACP, 0, octets, taille, nullptr, 0);
    if (requis <= 0)
        return {};
    QString resultat(requis, Qt::Uninitialized);
    MultiByteToWideChar(CP_ACP, 0, octets, taille, reinterpret_cast<wchar_t*>(resultat.data()), requis);
    return resultat;
}

ArgumentAnsi::ArgumentAnsi(const QString& texte)
{
    const QByteArray ansi = versAnsi(texte);
    // The runtime adds the terminating zero after the bytes it copies.
    m_octets =
        reinterpret_cast<char*>(SysAllocStringByteLen(ansi.constData(), static_cast<UINT>(ansi.size())));
    if (m_octets == nullptr)
        throw std::bad_alloc();
}

ArgumentAnsi::~ArgumentAnsi()
{
    SysFreeString(reinterpret_cast<BSTR>(m_octets));
}

} // namespace TexteAnsi
