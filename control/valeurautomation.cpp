#include "valeurautomation.h"

namespace {

struct NomType
{
    quint16 type;
    const char16_t* seul;
    const char16_t* tableau; // "tableau de ..." for an array of it
};

const NomType noms[] = {
    {TypeAutomation::Entier, u"entier", u"tableau d'entiers"},
    {TypeAutomation::EntierLong, u"entier long", u"tableau d'entiers longs"},
    {TypeAutomation::ReelSimple, u"réel simple", u"tableau de réels simples"},
    {TypeAutomation::ReelDouble, u"réel double", u"tableau de réels doubles"},
    {TypeAutomation::Monetaire, u"monétaire", u"tableau de monétaires"},
    {TypeAutomation::Date, u"date", u"tableau de dates"},
    {TypeAutomation::Texte, u"chaîne", u"tableau de chaînes"},
    {TypeAutomation::Objet, u"objet", u"tableau d'objets"},
    {TypeAutomation::Erreur, u"erreur", u"tableau d'erreurs"},
    {TypeAutomation::Booleen, u"booléen", u"tableau de booléens"},
    {TypeAutomation::Variant, u"variant", u"tableau de variants"},
    {TypeAutomation::Inconnu, u"objet", u"tableau d'objets"},
    {TypeAutomation::Decimal, u"décimal", u"tableau de décimaux"},
    {TypeAutomation::Octet, u"octet", u"tableau d'octets"},
    {TypeAutomation::Enregistrement, u"enregistrement", u"tableau d'enregistrements"},
};

} // namespace

QString nomTypeAutomation(quint16 type)
{
    const bool tableau = (type & TypeAutomation::Tableau) != 0;
    const quint16 element = type & ~(TypeAutomation::Tableau | TypeAutomation::ParReference);
    for (const NomType& nom : noms) {
        if (nom.type == element)
            return QString::fromUtf16(tableau ? nom.tableau : nom.seul);
    }
    return QStringLiteral("type 0x") +
           QString::number(type, 16).rightJustified(4, QLatin1Char('0')).toUpper();
}
