#include "conversions.h"
#include "echec.h"
#include "lignesenregistrements.h"
#include "listepipe.h"

#include <QDate>
#include <QTest>

namespace {

QStringList champsDe(QStringView texte)
{
    QStringList champs;
    ListePipe liste(texte);
    for (QStringView champ; liste.suivant(champ);)
        champs.append(champ.toString());
    return champs;
}

QString S(const char* texte)
{
    return QString::fromUtf8(texte);
}

} // namespace

class TestTextes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decoupage_data();
    void decoupage();
    void rienAuDelaDuDernierChamp();
    void rognageDesEspacesSeulement_data();
    void rognageDesEspacesSeulement();
    void lignes_data();
    void lignes();
    void entreesModificateurs_data();
    void entreesModificateurs();
    void codeSpecialite_data();
    void codeSpecialite();
    void dateReference();
};

void TestTextes::decoupage_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QStringList>("champs");

    QTest::newRow("vide: aucun champ") << QString() << QStringList{};
    QTest::newRow("un champ sans separateur") << S("AAFA001") << QStringList{S("AAFA001")};
    QTest::newRow("separateur seul") << S("|") << QStringList{S(""), S("")};
    QTest::newRow("separateurs adjacents") << S("a||b") << QStringList{S("a"), S(""), S("b")};
    QTest::newRow("separateur en tete et en fin") << S("|a|") << QStringList{S(""), S("a"), S("")};
    QTest::newRow("espaces et tabulations gardes") << S(" a\t| b ") << QStringList{S(" a\t"), S(" b ")};
    QTest::newRow("seul le caractere | coupe") << S("a¦b!c") << QStringList{S("a¦b!c")};
    QTest::newRow("caracteres portant l'octet de |")
        << S("żx|簼|籼") << QStringList{S("żx"), S("簼"), S("籼")};
}

void TestTextes::decoupage()
{
    QFETCH(QString, texte);
    QFETCH(QStringList, champs);
    QCOMPARE(champsDe(texte), champs);
}

void TestTextes::rienAuDelaDuDernierChamp()
{
    // The view ends before the text does: what follows it must never show up as a field.
    const QString texte = S("a|b|c");
    ListePipe liste(QStringView(texte).first(3));
    QStringView champ;
    QVERIFY(liste.suivant(champ));
    QVERIFY(liste.suivant(champ));
    QCOMPARE(champ.toString(), S("b"));
    QVERIFY(!liste.suivant(champ));
    QVERIFY(!liste.suivant(champ));
    QCOMPARE(champ.toString(), S("b"));
}

void TestTextes::rognageDesEspacesSeulement_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("rogne");

    QTest::newRow("espaces autour") << S("  AAFA001 ") << S("AAFA001");
    QTest::newRow("espaces interieurs gardes") << S(" Label A ") << S("Label A");
    QTest::newRow("tabulations gardees") << S("\t a \t") << S("\t a \t");
    QTest::newRow("espace insecable garde") << S("\u00a0a") << S("\u00a0a");
    QTest::newRow("seulement des espaces") << S("   ") << S("");
}

void TestTextes::rognageDesEspacesSeulement()
{
    QFETCH(QString, texte);
    QFETCH(QString, rogne);
    QCOMPARE(rognerEspaces(texte).toString(), rogne);
}

void TestTextes::lignes_data()
{
    QTest::addColumn<QString>("reponse");
    QTest::addColumn<bool>("modificateurs"); // records of four fields, else of two
    QTest::addColumn<QStringList>("lignes");

    QTest::newRow("paires: vide") << QString() << false << QStringList{};
    QTest::newRow("paires: deux champs") << S("A|x") << false << QStringList{S("A\tx")};
    QTest::newRow("paires: exemple de deux enregistrements")
        << S("AAFA001|Label A|AAFA002 | Label B") << false
        << QStringList{S("AAFA001\tLabel A"), S("AAFA002\tLabel B")};
    QTest::newRow("paires: six champs dans l'ordre")
        << S("1|a|2|b|3|c") << false << QStringList{S("1\ta"), S("2\tb"), S("3\tc")};
    QTest::newRow("paires: champ d'espaces devient vide")
        << S("   |b|c|  ") << false << QStringList{S("\tb"), S("c\t")};
    QTest::newRow("paires: tabulations gardees") << S("\ta |\tb\t") << false << QStringList{S("\ta\t\tb\t")};
    QTest::newRow("paires: champ vide entre deux separateurs")
        << S("a||b|c") << false << QStringList{S("a\t"), S("b\tc")};
    QTest::newRow("paires: dernier enregistrement incomplet laisse")
        << S("a|b|c") << false << QStringList{S("a\tb")};
    QTest::newRow("paires: separateur final") << S("a|b|") << false << QStringList{S("a\tb")};
    QTest::newRow("paires: un champ seul") << S("a") << false << QStringList{};
    QTest::newRow("modificateurs: deux enregistrements")
        << S("A|1|2|3|B|4|5|6") << true << QStringList{S("A\t1\t2\t3"), S("B\t4\t5\t6")};
    QTest::newRow("modificateurs: seuls les deux premiers rognes")
        << S(" A | x | y | z ") << true << QStringList{S("A\tx\t y \t z ")};
    QTest::newRow("modificateurs: cinq champs") << S("A|1|2|3|B") << true << QStringList{S("A\t1\t2\t3")};
    QTest::newRow("modificateurs: huit champs et separateur final")
        << S("A|1|2|3|B|4|5|6|") << true << QStringList{S("A\t1\t2\t3"), S("B\t4\t5\t6")};
}

void TestTextes::lignes()
{
    QFETCH(QString, reponse);
    QFETCH(bool, modificateurs);
    QFETCH(QStringList, lignes);
    QCOMPARE(lignesEnregistrements(reponse, modificateurs ? FormatModificateurs : FormatPaire), lignes);
}

void TestTextes::entreesModificateurs_data()
{
    QTest::addColumn<QString>("liste");
    QTest::addColumn<QStringList>("entrees");

    QTest::newRow("quatre champs") << S("p|q|r|s") << QStringList{S("p - q"), S("r - s")};
    QTest::newRow("separateur en tete") << S("|q") << QStringList{S(" - q")};
    QTest::newRow("vide") << QString() << QStringList{};
    QTest::newRow("nombre impair: dernier champ sans entree") << S("p|q|r") << QStringList{S("p - q")};
    QTest::newRow("un champ seul") << S("p") << QStringList{};
    QTest::newRow("rien n'est rogne") << S(" p | q ") << QStringList{S(" p  -  q ")};
}

void TestTextes::entreesModificateurs()
{
    QFETCH(QString, liste);
    QFETCH(QStringList, entrees);
    QCOMPARE(::entreesModificateurs(liste), entrees);
}

void TestTextes::codeSpecialite_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("code"); // -1 with `deborde`
    QTest::addColumn<bool>("deborde");

    const QLocale fr(QLocale::French, QLocale::France);
    const QLocale c = QLocale::c();
    QTest::newRow("06") << S("06") << fr << 6 << false;
    QTest::newRow("vide") << QString() << fr << 0 << false;
    QTest::newRow("lettres") << S("ab") << fr << 0 << false;
    QTest::newRow("inf et nan sont des mots") << S("nan") << c << 0 << false;
    QTest::newRow("espaces autour") << S(" 12 ") << c << 12 << false;
    QTest::newRow("6,5 en francais: 6") << S("6,5") << fr << 6 << false;
    QTest::newRow("6.5 en francais: notation C, 6") << S("6.5") << fr << 6 << false;
    QTest::newRow("6.5 en C: 6") << S("6.5") << c << 6 << false;
    QTest::newRow("6,5 en C: pas un nombre, 0") << S("6,5") << c << 0 << false;
    QTest::newRow("2.5 au pair inferieur") << S("2.5") << c << 2 << false;
    QTest::newRow("3.5 au pair superieur") << S("3.5") << c << 4 << false;
    QTest::newRow("-2.5 au pair") << S("-2.5") << c << -2 << false;
    QTest::newRow("2.51 au plus proche") << S("2.51") << c << 3 << false;
    QTest::newRow("limite haute") << S("2147483647") << c << 2147483647 << false;
    QTest::newRow("limite basse") << S("-2147483648") << c << int(-2147483648LL) << false;
    QTest::newRow("au-dela de 32 bits") << S("2147483648") << c << -1 << true;
    QTest::newRow("en deca de 32 bits") << S("-2147483649") << c << -1 << true;
    QTest::newRow("arrondi au-dela") << S("2147483647.5") << c << -1 << true;
    QTest::newRow("au-dela du double") << S("1e400") << fr << -1 << true;
}

void TestTextes::codeSpecialite()
{
    QFETCH(QString, texte);
    QFETCH(QLocale, locale);
    QFETCH(int, code);
    QFETCH(bool, deborde);
    if (!deborde) {
        QCOMPARE(::codeSpecialite(texte, locale), code);
        return;
    }
    try {
        ::codeSpecialite(texte, locale);
        QFAIL("pas de dépassement de capacité");
    } catch (const Echec& echec) {
        QCOMPARE(echec.numero(), int(Echec::Debordement));
        QVERIFY(echec.description().startsWith(S("Dépassement de capacité")));
    }
}

void TestTextes::dateReference()
{
    QCOMPARE(::dateReference(QDate(2024, 3, 7)), S("20240307"));
    QCOMPARE(::dateReference(QDate(1999, 12, 31)), S("19991231"));
    QVERIFY_THROWS_EXCEPTION(Echec, ::dateReference(QDate()));
}

QTEST_GUILESS_MAIN(TestTextes)
#include "tst_textes.moc"
