#include "evenementsjournal.h"

#include "echec.h"
#include "valeurautomation.h"
#include "vocabulairejournal.h"

#include <QVariant>

QJsonValue valeurJson(const QVariant& valeur)
{
    if (!valeur.isValid())
        return QJsonValue::Null;
    switch (valeur.typeId()) {
    case QMetaType::QString:
        return valeur.toString();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return valeur.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float:
        return valeur.toDouble();
    case QMetaType::Bool:
        return valeur.toBool();
    default:
        if (valeur.metaType() == QMetaType::fromType<ValeurNonScalaire>()) {
            const quint16 type = valeur.value<ValeurNonScalaire>().type;
            return QJsonObject{{Champ::vartype, type}, {Champ::type, nomTypeAutomation(type)}};
        }
        // Still shown, so that a control answering an unexpected kind leaves a readable trace.
        return QJsonObject{{Champ::type, QString::fromLatin1(valeur.typeName())},
                           {QStringLiteral("texte"), valeur.toString()}};
    }
}

QJsonObject echecJson(const std::exception_ptr& exception)
{
    const auto objet = [](int numero, const QString& description) {
        return QJsonObject{{Champ::numero, numero}, {Champ::description, description}};
    };
    try {
        std::rethrow_exception(exception);
    } catch (const Echec& echec) {
        return objet(echec.numero(), echec.description());
    } catch (const std::exception& autre) {
        return objet(Echec::ErreurInterne, QString::fromUtf8(autre.what()));
    } catch (...) {
        return objet(Echec::ErreurInterne, QStringLiteral("Erreur interne inconnue"));
    }
}
