#include "servicemessages.h"

QString nomIconeMessage(IconeMessage icone)
{
    switch (icone) {
    case IconeMessage::Aucune:
        break;
    case IconeMessage::Information:
        return QStringLiteral("information");
    case IconeMessage::Avertissement:
        return QStringLiteral("avertissement");
    case IconeMessage::Critique:
        return QStringLiteral("critique");
    case IconeMessage::Question:
        return QStringLiteral("question");
    }
    return QStringLiteral("aucune");
}
