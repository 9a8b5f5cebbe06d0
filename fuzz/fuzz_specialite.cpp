// The specialty text of txtSpecialite, in the C locale and in French: the code sent is the
// reference reading (QLocale::toDouble, then the C notation, rounded half to even), and a number
// beyond 32 bits is reported as an overflow, never wrapped.
#include "commun/exigence.h"
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

QString texteDepuis(const uint8_t* donnees, size_t taille, bool utf16)
{
    if (!utf16)
        return QString::fromUtf8(reinterpret_cast<const char*>(donnees), qsizetype(taille));
    QString texte(qsizetype(taille / 2), Qt::Uninitialized);
    std::memcpy(texte.data(), donnees, (taille / 2) * 2);
    return texte;
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
    const QString texte = texteDepuis(donnees + 1, taille - 1, (donnees[0] & 2) != 0);

    const Attendu attendu = reference(texte, QLocale());
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
