#include "echec.h"
#include "nombretexte.h"
#include "ressourcescom_win.h"

#include <QLocale>
#include <string>

namespace {

// The operator's locale is the user's own, settings included; any other is looked up by name, and C is the
// invariant locale (a point, no grouping).
LCID lcidDe(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return LOCALE_INVARIANT;
    if (locale == QLocale::system())
        return LOCALE_USER_DEFAULT;
    const std::wstring nom = locale.bcp47Name().toStdWString();
    const LCID lcid = LocaleNameToLCID(nom.c_str(), 0);
    return lcid != 0 ? lcid : LOCALE_USER_DEFAULT;
}

QString verifie(HRESULT resultat, const BstrCom& texte, const char* conversion)
{
    if (FAILED(resultat))
        throw Echec(Echec::EchecComposant,
                    QStringLiteral("Conversion d'un nombre en texte impossible (%1 : 0x%2)")
                        .arg(QString::fromLatin1(conversion))
                        .arg(static_cast<quint32>(resultat), 8, 16, QLatin1Char('0')));
    return texte.texte();
}

} // namespace

QString texteDepuisR8(double valeur, const QLocale& locale)
{
    BstrCom texte;
    return verifie(VarBstrFromR8(valeur, lcidDe(locale), 0, texte.adresse()), texte, "VarBstrFromR8");
}

QString texteDepuisR4(float valeur, const QLocale& locale)
{
    BstrCom texte;
    return verifie(VarBstrFromR4(valeur, lcidDe(locale), 0, texte.adresse()), texte, "VarBstrFromR4");
}
