#include "sortieconsole.h"

#include <unistd.h>

namespace SortieConsole {

void ecrire(std::FILE* flux, const QString& texte)
{
    const QByteArray octets = texte.toLocal8Bit();
    std::fwrite(octets.constData(), 1, static_cast<std::size_t>(octets.size()), flux);
    std::fflush(flux);
}

void ecrireLigne(std::FILE* flux, const QString& texte)
{
    ecrire(flux, texte + QLatin1Char('\n'));
}

bool estTerminal(std::FILE* flux)
{
    return isatty(fileno(flux)) != 0;
}

} // namespace SortieConsole
