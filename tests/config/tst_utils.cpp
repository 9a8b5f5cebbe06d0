#include "sondesysteme.h"
#include "utils.h"

#include <QTest>
#include <cstring>

namespace {

// A system of our own making, answering as the Windows calls do.
class SondeFactice : public SondeSysteme
{
public:
    QByteArray valeur;
    bool definie = false;
    VersionOs version;
    bool versionRefusee = false;
    mutable int appelsVersion = 0;
    mutable int appelsVariable = 0;

    quint32 variableEnvironnement(const char*, char* tampon, quint32 taille) const override
    {
        ++appelsVariable;
        if (!definie || valeur.isEmpty())
            return 0;
        const auto longueur = static_cast<quint32>(valeur.size());
        if (longueur >= taille)
            return longueur + 1;
        std::memcpy(tampon, valeur.constData(), longueur + 1);
        return longueur;
    }

    VersionOs versionSysteme() const override
    {
        ++appelsVersion;
        return versionRefusee ? VersionOs{} : version;
    }
};

const QString Fin = QStringLiteral("\\santesocial\\fsv\\1.40.12\\conf\\SESAM.ini");

} // namespace

class TestUtils : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableDeDecision_data();
    void tableDeDecision();
    void variableAbsenteOuVide_data();
    void variableAbsenteOuVide();
    void valeursLongues_data();
    void valeursLongues();
    void repertoireSansNomDeFichier();
    void versionRefuseeLaisseLeTypeDeProduit();
    void chaqueAppelInterrogeLeSysteme();
    void sondePlateformeDonneLeCheminDesSystemesRecents();
};

void TestUtils::tableDeDecision_data()
{
    QTest::addColumn<quint32>("majeure");
    QTest::addColumn<quint32>("mineure");
    QTest::addColumn<int>("typeProduit");
    QTest::addColumn<bool>("version60");
    QTest::addColumn<bool>("serveur60");
    QTest::addColumn<QString>("chemin");

    const QString recent = QStringLiteral("C:\\ProgramData") + Fin;
    const QString ancien = QStringLiteral("C:\\ProgramData\\Application Data") + Fin;
    QTest::newRow("6.0 poste de travail") << 6u << 0u << 1 << true << false << recent;
    QTest::newRow("6.0 sans type") << 6u << 0u << 0 << true << true << recent;
    QTest::newRow("6.0 controleur de domaine") << 6u << 0u << 2 << true << true << recent;
    QTest::newRow("6.0 serveur") << 6u << 0u << 3 << true << true << recent;
    QTest::newRow("6.1 poste de travail") << 6u << 1u << 1 << false << true << recent;
    QTest::newRow("6.2 serveur") << 6u << 2u << 3 << false << true << recent;
    QTest::newRow("10.0") << 10u << 0u << 1 << false << true << recent;
    QTest::newRow("5.9") << 5u << 9u << 3 << false << false << ancien;
    QTest::newRow("5.1") << 5u << 1u << 1 << false << false << ancien;
    QTest::newRow("5.0 serveur") << 5u << 0u << 3 << false << false << ancien;
    QTest::newRow("sonde en echec") << 0u << 0u << 0 << false << false << ancien;
    QTest::newRow("majeure qui deborde") << 0xFFFFFFFFu << 0u << 1 << false << false << ancien;
}

void TestUtils::tableDeDecision()
{
    QFETCH(quint32, majeure);
    QFETCH(quint32, mineure);
    QFETCH(int, typeProduit);
    QFETCH(bool, version60);
    QFETCH(bool, serveur60);
    QFETCH(QString, chemin);

    SondeFactice sonde;
    sonde.definie = true;
    sonde.valeur = "C:\\ProgramData";
    sonde.version = {majeure, mineure, static_cast<quint8>(typeProduit)};

    QCOMPARE(Utils::EstVersion60(sonde), version60);
    QCOMPARE(Utils::EstServeur60OuPlus(sonde), serveur60);
    QCOMPARE(Utils::CheminSesamIni(sonde), chemin);
}

void TestUtils::variableAbsenteOuVide_data()
{
    QTest::addColumn<bool>("definie");
    QTest::addColumn<quint32>("majeure");
    QTest::addColumn<QString>("chemin");

    QTest::newRow("absente, 6.1") << false << 6u << Fin;
    QTest::newRow("vide, 6.1") << true << 6u << Fin;
    QTest::newRow("absente, 5.1") << false << 5u << QStringLiteral("\\Application Data") + Fin;
}

void TestUtils::variableAbsenteOuVide()
{
    QFETCH(bool, definie);
    QFETCH(quint32, majeure);
    QFETCH(QString, chemin);

    SondeFactice sonde;
    sonde.definie = definie;
    sonde.version = {majeure, 1, 1};
    QCOMPARE(Utils::LireVariableEnvironnement(QStringLiteral("ALLUSERSPROFILE"), sonde), QString());
    QCOMPARE(Utils::CheminSesamIni(sonde), chemin);
    if (majeure == 6) {
        QCOMPARE(Utils::CheminSesamIni(sonde).size(), 39);
        QCOMPARE(Utils::repertoireConfiguration(sonde), QStringLiteral("\\santesocial\\fsv\\1.40.12\\conf"));
        QCOMPARE(Utils::repertoireConfiguration(sonde).size(), 29);
    }
}

void TestUtils::valeursLongues_data()
{
    QTest::addColumn<int>("longueur");
    QTest::newRow("1 caractere") << 1;
    QTest::newRow("254 caracteres, le plus long qui tient") << 254;
    QTest::newRow("255 caracteres, le premier qui ne tient pas") << 255;
    QTest::newRow("300 caracteres") << 300;
    QTest::newRow("70000 caracteres") << 70000;
}

void TestUtils::valeursLongues()
{
    QFETCH(int, longueur);

    SondeFactice sonde;
    sonde.definie = true;
    sonde.valeur = QByteArray(longueur - 1, 'a') + 'z';
    QCOMPARE(Utils::LireVariableEnvironnement(QStringLiteral("ALLUSERSPROFILE"), sonde),
             QString::fromLatin1(sonde.valeur));
}

void TestUtils::repertoireSansNomDeFichier()
{
    SondeFactice sonde;
    sonde.definie = true;
    sonde.valeur = "C:\\ProgramData";
    sonde.version = {6, 1, 1};
    QCOMPARE(Utils::repertoireConfiguration(sonde),
             QStringLiteral("C:\\ProgramData\\santesocial\\fsv\\1.40.12\\conf"));
}

void TestUtils::versionRefuseeLaisseLeTypeDeProduit()
{
    SondeFactice sonde;
    sonde.versionRefusee = true;
    qint32 typeProduit = 7;
    QCOMPARE(Utils::VersionSysteme(typeProduit, sonde), 0);
    QCOMPARE(typeProduit, 0); // the record keeps its zeros

    sonde.versionRefusee = false;
    sonde.version = {0xFFFFFFFFu, 0, 3};
    typeProduit = 7;
    QCOMPARE(Utils::VersionSysteme(typeProduit, sonde), 0);
    QCOMPARE(typeProduit, 7); // an overflow ends the routine before the product type is stored
}

void TestUtils::chaqueAppelInterrogeLeSysteme()
{
    SondeFactice sonde;
    sonde.version = {6, 1, 1};
    Utils::CheminSesamIni(sonde);
    QCOMPARE(sonde.appelsVariable, 1);
    QCOMPARE(sonde.appelsVersion, 2); // both probes ask the system, whatever the first said

    sonde.version = {5, 1, 1};
    QVERIFY(Utils::CheminSesamIni(sonde).contains(QStringLiteral("Application Data")));
}

void TestUtils::sondePlateformeDonneLeCheminDesSystemesRecents()
{
    qputenv("ALLUSERSPROFILE", "/srv/partage");
    QCOMPARE(Utils::CheminSesamIni(sondePlateforme()), QStringLiteral("/srv/partage") + Fin);
    qputenv("ALLUSERSPROFILE", QByteArray(300, 'b'));
    QCOMPARE(Utils::repertoireConfiguration(sondePlateforme()),
             QString(300, u'b') + QStringLiteral("\\santesocial\\fsv\\1.40.12\\conf"));
    qunsetenv("ALLUSERSPROFILE");
    QCOMPARE(Utils::CheminSesamIni(sondePlateforme()), Fin);
}

QTEST_GUILESS_MAIN(TestUtils)
#include "tst_utils.moc"
