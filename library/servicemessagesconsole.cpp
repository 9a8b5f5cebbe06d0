#include "servicemessagesconsole.h"

#include "sortieconsole.h"

namespace {

QString nomIcone(IconeMessage icone)
{
    switch (icone) {
    case IconeMessage::Aucune:
        return {};
    case IconeMessage::Information:
        return QStringLiteral("information");
    case IconeMessage::Avertissement:
        return QStringLiteral("avertissement");
    case IconeMessage::Critique:
        return QStringLiteral("critique");
    case IconeMessage::Question:
        return QStringLiteral("question");
    }
    return {};
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
