#include "sondesysteme.h"

#include <cstring>
#include <windows.h>

namespace {

constexpr DWORD TailleVersion = 156; // OSVERSIONINFOEXA in its narrow form

class SondeWindows final : public SondeSysteme
{
public:
    quint32 variableEnvironnement(const char* nom, char* tampon, quint32 taille) const override
    {
        return GetEnvironmentVariableA(nom, tampon, taille);
    }

    VersionOs versionSysteme() const override
    {
        OSVERSIONINFOEXA info;
        std::memset(&info, 0, sizeof info);
        info.dwOSVersionInfoSize = TailleVersion;
        std::memset(info.szCSDVersion, ' ', sizeof info.szCSDVersion);
        // The call's own success flag is not looked at: a refused record keeps its zeros.
        GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
        return {info.dwMajorVersion, info.dwMinorVersion, info.wProductType};
    }
};

} // namespace

const SondeSysteme& sondePlateforme()
{
    static const SondeWindows sonde;
    return sonde;
}
