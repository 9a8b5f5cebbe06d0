#include "servicemessagesconsole.h"

#include "sortieconsole.h"

namespace {

// No icon, no name in the line.
QString nomIcone(IconeMessage icone)
{
    return icone == IconeMessage::Aucune ? QString() : nomIconeMessage(icone);
}

} // namespace

ServiceMessagesConsole::ServiceMessagesConsole(std::FILE* sortie)
    : m_sortie(sortie)
{}

void ServiceMessagesConsole::afficherMessage(const QString& texte, const QString& titre, IconeMessage icone)
{
    SortieConsole::ecrireLigne(m_sortie, ligneMessage(texte, titre, icone));
    std::fflush(m_sortie);
}

QString ServiceMessagesConsole::saisirTexte(const QString&, const QString&, const QString&)
{
    return {};
}

QString ligneMessage(const QString& texte, const QString& titre, IconeMessage icone)
{
    QString ligne = QLatin1Char('[') + titre + QLatin1Char(']');
    const QString nom = nomIcone(icone);
    if (!nom.isEmpty())
        ligne += QStringLiteral(" (") + nom + QLatin1Char(')');
    // A text spanning lines stays one line per box, so scripts can count boxes.
    QString plat = texte;
    plat.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    plat.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return ligne + QLatin1Char(' ') + plat;
}
