// The specialty text of txtSpecialite, in the C locale and in French: the code sent is the
// reference reading (QLocale::toDouble, then the C notation, rounded half to even), and a number
// beyond 32 bits is reported as an overflow, never wrapped.
#include "commun/exigence.h"
#include "commun/texte.h"
#include "conversions.h"
#include "echec.h"

#include <QLocale>
#include <QString>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>

namespace {

enum class Issue
{
    Valeur,
    Debordement
};

struct Attendu
{
    Issue issue;
    qint32 valeur = 0;
};

// A reading of one notation: the number, or "overflow", or nothing when the text is no number.
std::optional<double> lireReference(const QString& texte, const QLocale& locale, bool& deborde)
{
    bool ok = false;
    const double valeur = locale.toDouble(texte, &ok);
    deborde = !ok && std::isinf(valeur);
    if (!ok || !std::isfinite(valeur))
        return std::nullopt;
    return valeur;
}

Attendu reference(const QString& texte, const QLocale& locale)
{
    if (texte.isEmpty())
        return {Issue::Valeur, 0};
    bool deborde = false;
    std::optional<double> lu = lireReference(texte, locale, deborde);
    if (!lu && !deborde && locale != QLocale::c())
        lu = lireReference(texte, QLocale::c(), deborde);
    if (deborde)
        return {Issue::Debordement};
    if (!lu)
        return {Issue::Valeur, 0};
    // The floating-point unit's own rounding, to nearest with ties to even, as the second opinion.
    std::fesetround(FE_TONEAREST);
    const double arrondi = std::nearbyint(*lu);
    if (arrondi < -2147483648.0 || arrondi > 2147483647.0)
        return {Issue::Debordement};
    return {Issue::Valeur, static_cast<qint32>(arrondi)};
}

// A whole number in plain ASCII digits, of any length: its range is known without floating point,
// an opinion independent of Qt's reading. nullopt for any other text.
std::optional<Attendu> entierSimple(const QString& texte)
{
    QStringView chiffres = texte;
    const bool negatif = chiffres.startsWith(u'-');
    if (negatif)
        chiffres = chiffres.sliced(1);
    if (chiffres.isEmpty())
        return std::nullopt;
    for (const QChar c : chiffres)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    while (chiffres.size() > 1 && chiffres.front() == u'0')
        chiffres = chiffres.sliced(1);
    if (chiffres.size() > 10)
        return Attendu{Issue::Debordement};
    const qint64 valeur = (negatif ? -1 : 1) * chiffres.toLongLong();
    if (valeur < std::numeric_limits<qint32>::min() || valeur > std::numeric_limits<qint32>::max())
        return Attendu{Issue::Debordement};
    return Attendu{Issue::Valeur, static_cast<qint32>(valeur)};
}

// The characters numbers are written with, in either notation: random bytes seldom spell
// "2147483647,5" or "-1e10", one byte per character here often does.
QString texteNumerique(const uint8_t* donnees, size_t taille)
{
    static const char16_t alphabet[] = u"0123456789012345678999.,-+eE \u00a0\u202f'0";
    QString texte;
    for (size_t i = 0; i < taille; ++i)
        texte.append(QChar(alphabet[donnees[i] % (std::size(alphabet) - 1)]));
    return texte;
}

QString texteDepuis(const uint8_t* donnees, size_t taille, uint8_t reglage)
{
    if ((reglage & 4) != 0)
        return texteNumerique(donnees, taille);
    return texteDepuisOctets(donnees, taille, (reglage & 2) != 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    if (taille < 1)
        return 0;
    static const QLocale francais(QLocale::French, QLocale::France);
    const bool enFrancais = (donnees[0] & 1) != 0;
    // The command converts under the default locale: set it, as the operator's system would.
    QLocale::setDefault(enFrancais ? francais : QLocale::c());
    const QString texte = texteDepuis(donnees + 1, taille - 1, donnees[0]);

    const Attendu attendu = reference(texte, QLocale());
    if (const std::optional<Attendu> entier = entierSimple(texte))
        exiger(entier->issue == attendu.issue && entier->valeur == attendu.valeur,
               "un entier en chiffres simples se lit tel quel, ou déborde");
    try {
        const qint32 code = codeSpecialite(texte);
        exiger(attendu.issue == Issue::Valeur, "un nombre hors des 32 bits est signalé, jamais replié");
        exiger(code == attendu.valeur, "le code égale la lecture de référence arrondie au pair");
    } catch (const Echec& echec) {
        exiger(attendu.issue == Issue::Debordement, "seul un débordement échoue");
        exiger(echec.numero() == Echec::Debordement, "un débordement porte le numéro de débordement");
        exiger(echec.description().contains(texte), "la description cite le texte converti");
    }
    return 0;
}
