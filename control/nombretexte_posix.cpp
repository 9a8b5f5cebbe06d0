#include "nombretexte.h"

#include <QLocale>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// Digits enough to see whether the value lies exactly halfway between two values of 15 (or 7) digits: a
// double differs from any such halfway point by more than 1E-32 of itself unless it is that point.
constexpr int ChiffresExacts = 45;

// The runtime's rule (nombretexte.h), written out rather than left to printf: the result must not depend on
// the process's C locale (which Qt sets from the environment), and a value exactly halfway is rounded away
// from zero, as the runtime does ("654322.3" for the float 654322.25), where std::to_chars rounds it to even.
QString regle(double valeur, int chiffres, const QLocale& locale)
{
    if (std::isnan(valeur))
        return QStringLiteral("1") + locale.decimalPoint() + QStringLiteral("#QNAN");
    if (std::isinf(valeur))
        return (valeur < 0 ? QStringLiteral("-1") : QStringLiteral("1")) + locale.decimalPoint() +
               QStringLiteral("#INF");
    if (valeur == 0)
        return QStringLiteral("0"); // a negative zero has no sign

    std::array<char, 96> tampon{};
    const auto [fin, erreur] = std::to_chars(tampon.data(), tampon.data() + tampon.size(), std::fabs(valeur),
                                             std::chars_format::scientific, ChiffresExacts - 1);
    if (erreur != std::errc())
        return {};
    // "d.ddd...e+XX": the digits without the point, then the exponent.
    const std::string_view ecrit(tampon.data(), static_cast<std::size_t>(fin - tampon.data()));
    const std::size_t positionE = ecrit.find('e');
    std::string sigles;
    sigles += ecrit[0];
    sigles += ecrit.substr(2, positionE - 2);
    int exposant = std::atoi(ecrit.data() + positionE + 1);

    // Rounded to the runtime's number of significant digits, halves away from zero.
    const bool arrondiHaut = sigles[static_cast<std::size_t>(chiffres)] >= '5';
    sigles.resize(static_cast<std::size_t>(chiffres));
    if (arrondiHaut) {
        int i = chiffres - 1;
        while (i >= 0 && sigles[static_cast<std::size_t>(i)] == '9')
            sigles[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++sigles[static_cast<std::size_t>(i)];
        } else {
            sigles.insert(sigles.begin(), '1');
            sigles.pop_back();
            ++exposant;
        }
    }
    while (sigles.size() > 1 && sigles.back() == '0')
        sigles.pop_back();

    const QString virgule = locale.decimalPoint();
    QString texte = valeur < 0 ? QStringLiteral("-") : QString();
    const auto nombreSigles = static_cast<int>(sigles.size());
    if (exposant < -4 || exposant >= chiffres) {
        texte += QLatin1Char(sigles[0]);
        if (nombreSigles > 1)
            texte += virgule + QString::fromLatin1(sigles.data() + 1, nombreSigles - 1);
        texte += QLatin1Char('E');
        texte += QLatin1Char(exposant < 0 ? '-' : '+');
        texte += QStringLiteral("%1").arg(std::abs(exposant), 2, 10, QLatin1Char('0'));
    } else if (exposant >= 0) {
        const int entiers = exposant + 1;
        texte += QString::fromLatin1(sigles.data(), std::min(entiers, nombreSigles));
        if (nombreSigles < entiers)
            texte += QString(entiers - nombreSigles, QLatin1Char('0'));
        else if (nombreSigles > entiers)
            texte += virgule + QString::fromLatin1(sigles.data() + entiers, nombreSigles - entiers);
    } else {
        texte += QLatin1Char('0') + virgule + QString(-exposant - 1, QLatin1Char('0')) +
                 QString::fromLatin1(sigles.data(), nombreSigles);
    }
    return texte;
}

} // namespace

QString texteDepuisR8(double valeur, const QLocale& locale)
{
    return regle(valeur, 15, locale);
}

QString texteDepuisR4(float valeur, const QLocale& locale)
{
    // Widening a float to a double is exact: the 7 digits are those of the float itself.
    return regle(static_cast<double>(valeur), 7, locale);
}
