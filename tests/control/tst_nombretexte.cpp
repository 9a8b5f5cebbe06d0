#include "nombretexte.h"
#include "plateformetest.h"

#include <QLocale>
#include <QTest>
#include <limits>

// The table the platform implementations answer alike: on Windows the runtime itself, elsewhere its rule.
class TestNombreTexte : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void doubles_data();
    void doubles();
    void simples_data();
    void simples();
};

namespace {

// Wine's automation runtime writes the exponent form with "." whatever the locale's separator; Windows does
// not.
void attendreEcartDeWine(const QString& texte)
{
    if (PlateformeTest::sousWine() && texte.contains(QLatin1Char('E')) && texte.contains(QLatin1Char(',')))
        QEXPECT_FAIL("", "Wine écrit « . » dans la forme à exposant", Continue);
}

const QLocale Fr(QLocale::French, QLocale::France);
const QLocale C = QLocale::c();

} // namespace

void TestNombreTexte::doubles_data()
{
    QTest::addColumn<double>("valeur");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("texte");

    const auto ligne = [](const char* nom, double valeur, const QLocale& locale, const char* texte) {
        QTest::newRow(nom) << valeur << locale << QString::fromLatin1(texte);
    };
    ligne("entier rond, pas de notation exponentielle", 100000, C, "100000");
    ligne("un dixième", 0.1, C, "0.1");
    ligne("un dixième en français", 0.1, Fr, "0,1");
    ligne("pas de séparateur de milliers", 1234567.25, Fr, "1234567,25");
    ligne("négatif", -12.5, C, "-12.5");
    ligne("négatif en français", -0.5, Fr, "-0,5");
    ligne("zéro", 0.0, C, "0");
    ligne("zéro négatif", -0.0, Fr, "0");
    ligne("un tiers, 15 chiffres", 1.0 / 3, C, "0.333333333333333");
    ligne("deux tiers, arrondi", 2.0 / 3, Fr, "0,666666666666667");
    ligne("0,1 + 0,2 sans sa queue binaire", 0.1 + 0.2, C, "0.3");
    ligne("15 chiffres entiers", 123456789012345.0, C, "123456789012345");
    ligne("plus grand en notation ordinaire", 999999999999999.0, C, "999999999999999");
    ligne("arrondi jusqu'à 1E+15", 999999999999999.5, C, "1E+15");
    ligne("1E+15", 1e15, C, "1E+15");
    ligne("16 chiffres, arrondi à 15", 1234567890123456.0, Fr, "1,23456789012346E+15");
    ligne("grand négatif", -1e15, C, "-1E+15");
    ligne("exposant à trois chiffres", 1e100, C, "1E+100");
    ligne("plus grand double", std::numeric_limits<double>::max(), C, "1.79769313486232E+308");
    ligne("1E-04 encore ordinaire", 0.0001, C, "0.0001");
    ligne("sous 1E-04", 0.00009, C, "9E-05");
    ligne("1E-05", 0.00001, C, "1E-05");
    ligne("petit en français", 0.000015, Fr, "1,5E-05");
    ligne("petit négatif", -0.000015, C, "-1.5E-05");
    ligne("très petit", 1e-300, C, "1E-300");
    ligne("plus petit dénormal", std::numeric_limits<double>::denorm_min(), C, "4.94065645841247E-324");
    // 123456789012344.5 exactly: the halfway 16th digit is rounded away from zero, not to even.
    ligne("moitié exacte arrondie loin de zéro", 123456789012344.5, C, "123456789012345");
    ligne("moitié exacte négative", -123456789012344.5, Fr, "-123456789012345");
}

void TestNombreTexte::doubles()
{
    QFETCH(double, valeur);
    QFETCH(QLocale, locale);
    QFETCH(QString, texte);
    attendreEcartDeWine(texte);
    QCOMPARE(texteDepuisR8(valeur, locale), texte);
}

void TestNombreTexte::simples_data()
{
    QTest::addColumn<float>("valeur");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("texte");

    const auto ligne = [](const char* nom, float valeur, const QLocale& locale, const char* texte) {
        QTest::newRow(nom) << valeur << locale << QString::fromLatin1(texte);
    };
    // 0.1f is 0.100000001490116...: seven digits are all a float holds.
    ligne("un dixième", 0.1f, C, "0.1");
    ligne("un dixième en français", 0.1f, Fr, "0,1");
    ligne("un tiers, 7 chiffres", 1.0f / 3, C, "0.3333333");
    ligne("entier rond", 100000.0f, C, "100000");
    ligne("7 chiffres entiers", 9999999.0f, C, "9999999");
    ligne("1E+07", 1e7f, C, "1E+07");
    ligne("8 chiffres, arrondi à 7", 16777216.0f, Fr, "1,677722E+07");
    // 654322.25 exactly: the halfway digit is rounded away from zero.
    ligne("moitié exacte arrondie loin de zéro", 654322.23456f, C, "654322.3");
    ligne("négatif", -2.5f, Fr, "-2,5");
    ligne("zéro négatif", -0.0f, C, "0");
    ligne("1E-04 encore ordinaire", 0.0001f, C, "0.0001");
    ligne("1E-05", 0.00001f, C, "1E-05");
    ligne("plus grand float", std::numeric_limits<float>::max(), C, "3.402823E+38");
}

void TestNombreTexte::simples()
{
    QFETCH(float, valeur);
    QFETCH(QLocale, locale);
    QFETCH(QString, texte);
    attendreEcartDeWine(texte);
    QCOMPARE(texteDepuisR4(valeur, locale), texte);
}

QTEST_GUILESS_MAIN(TestNombreTexte)
#include "tst_nombretexte.moc"
