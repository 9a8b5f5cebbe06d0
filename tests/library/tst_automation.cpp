#include "automation.h"
#include "enregistrements.h"

#include <QTest>
#include <cstddef>
#include <cstring>
#include <limits>

namespace {

TexteAuto allouer(const QString& texte)
{
    return texteAutoAllouer(reinterpret_cast<const CaractereAuto*>(texte.utf16()),
                            static_cast<uint32_t>(texte.size()));
}

QString lire(TexteAuto texte)
{
    return QString::fromUtf16(texte, texteAutoLongueur(texte));
}

TexteAuto* textes(const TableauAuto* tableau)
{
    return static_cast<TexteAuto*>(tableau->donnees);
}

// Three-text records "r<i>.<k>".
TableauAuto* tableauRempli(uint32_t nombre)
{
    TableauAuto* tableau = tableauAutoCreer(sizeof(EnregistrementListe), 0, nombre);
    for (uint32_t i = 0; i < nombre; ++i)
        for (uint32_t k = 0; k < 3; ++k)
            textes(tableau)[i * 3 + k] = allouer(QStringLiteral("r%1.%2").arg(i).arg(k + 1));
    return tableau;
}

} // namespace

class TestAutomation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texteGardeSesCaracteresEtSonPrefixe_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::newRow("vide") << QString();
        QTest::newRow("ascii") << QStringLiteral("JLNL001");
        QTest::newRow("accents") << QStringLiteral("Curiethérapie séléctionné");
        QTest::newRow("zéro au milieu") << QString::fromUtf16(u"a\0b", 3);
        QTest::newRow("hors du plan de base") << QString::fromUtf16(u"\U0001F489 piqûre");
    }
    void texteGardeSesCaracteresEtSonPrefixe()
    {
        QFETCH(QString, texte);
        TexteAuto handle = allouer(texte);
        QVERIFY(handle != nullptr);
        QCOMPARE(texteAutoLongueur(handle), static_cast<uint32_t>(texte.size()));
        QCOMPARE(lire(handle), texte);
        uint32_t prefixe = 0;
        std::memcpy(&prefixe, reinterpret_cast<const char*>(handle) - 4, 4);
        QCOMPARE(prefixe, static_cast<uint32_t>(texte.size() * 2));
        QCOMPARE(handle[texte.size()], u'\0');
        texteAutoLiberer(handle);
    }

    void texteNulEstLeTexteVide()
    {
        QCOMPARE(texteAutoLongueur(nullptr), 0u);
        texteAutoLiberer(nullptr);
        TexteAuto zeros = texteAutoAllouer(nullptr, 3);
        QCOMPARE(texteAutoLongueur(zeros), 3u);
        QCOMPARE(lire(zeros), QString(3, QChar(0)));
        texteAutoLiberer(zeros);
    }

    void texteTropLongPourLePrefixeEstRefuse()
    {
        QCOMPARE(texteAutoAllouer(nullptr, std::numeric_limits<uint32_t>::max()), nullptr);
        QCOMPARE(texteAutoAllouer(nullptr, 0x80000000u), nullptr);
    }

    // The descriptor must match the system's, which a closed library reads field by field.
    void dispositionDuDescripteur()
    {
        QCOMPARE(offsetof(TableauAuto, nombreDimensions), std::size_t{0});
        QCOMPARE(offsetof(TableauAuto, tailleElement), std::size_t{4});
        QCOMPARE(offsetof(TableauAuto, verrous), std::size_t{8});
        QCOMPARE(offsetof(TableauAuto, donnees), sizeof(void*) == 8 ? std::size_t{16} : std::size_t{12});
        QCOMPARE(offsetof(TableauAuto, bornes), sizeof(void*) == 8 ? std::size_t{24} : std::size_t{16});
        QCOMPARE(offsetof(EnregistrementPriseEnCharge, texte5), 4 * sizeof(TexteAuto));
    }

    void creationRefusee_data()
    {
        QTest::addColumn<uint>("tailleElement");
        QTest::addColumn<int>("borneInferieure");
        QTest::addColumn<uint>("nombre");
        QTest::newRow("taille nulle") << 0u << 0 << 1u;
        QTest::newRow("taille qui n'est pas faite de textes") << uint(sizeof(TexteAuto) + 1) << 0 << 1u;
        QTest::newRow("dernier indice au-delà de 32 bits")
            << uint(sizeof(TexteAuto)) << std::numeric_limits<int>::max() << 2u;
    }
    void creationRefusee()
    {
        QFETCH(uint, tailleElement);
        QFETCH(int, borneInferieure);
        QFETCH(uint, nombre);
        QCOMPARE(tableauAutoCreer(tailleElement, borneInferieure, nombre), nullptr);
    }

    void creationDonneDesTextesNuls()
    {
        TableauAuto* tableau = tableauAutoCreer(sizeof(EnregistrementPrix), -2, 4);
        QVERIFY(tableau != nullptr);
        QCOMPARE(tableau->nombreDimensions, uint16_t{1});
        QCOMPARE(tableau->bornes[0].nombre, 4u);
        QCOMPARE(tableau->bornes[0].borneInferieure, -2);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(textes(tableau)[i], nullptr);
        QCOMPARE(tableauAutoDetruire(tableau), int32_t{AutoReussi});
    }

    // The dropped records' texts are freed by the resize (the leak checker sees any that is not).
    void redimensionnementGardeLesPremiersEnregistrements_data()
    {
        QTest::addColumn<uint>("avant");
        QTest::addColumn<int>("borne");
        QTest::addColumn<uint>("apres");
        QTest::newRow("agrandir") << 2u << 0 << 5u;
        QTest::newRow("réduire") << 4u << 0 << 1u;
        QTest::newRow("vider") << 3u << 0 << 0u;
        QTest::newRow("remplir un tableau vide") << 0u << 0 << 2u;
        QTest::newRow("même taille, autre borne") << 2u << 1 << 2u;
    }
    void redimensionnementGardeLesPremiersEnregistrements()
    {
        QFETCH(uint, avant);
        QFETCH(int, borne);
        QFETCH(uint, apres);
        TableauAuto* tableau = tableauRempli(avant);
        QCOMPARE(tableauAutoRedimensionner(tableau, borne, apres), int32_t{AutoReussi});
        QCOMPARE(tableau->bornes[0].nombre, apres);
        QCOMPARE(tableau->bornes[0].borneInferieure, borne);
        for (uint i = 0; i < apres; ++i)
            for (uint k = 0; k < 3; ++k) {
                TexteAuto texte = textes(tableau)[i * 3 + k];
                if (i < avant)
                    QCOMPARE(lire(texte), QStringLiteral("r%1.%2").arg(i).arg(k + 1));
                else
                    QCOMPARE(texte, nullptr);
            }
        QCOMPARE(tableauAutoDetruire(tableau), int32_t{AutoReussi});
    }

    void tableauVerrouilleNiRedimensionneNiDetruit()
    {
        TableauAuto* tableau = tableauRempli(2);
        QCOMPARE(tableauAutoVerrouiller(tableau), int32_t{AutoReussi});
        QCOMPARE(tableauAutoRedimensionner(tableau, 0, 0), int32_t{AutoTableauVerrouille});
        QCOMPARE(tableauAutoDetruire(tableau), int32_t{AutoTableauVerrouille});
        QCOMPARE(tableau->bornes[0].nombre, 2u);
        QCOMPARE(lire(textes(tableau)[5]), QStringLiteral("r1.3"));
        QCOMPARE(tableauAutoDeverrouiller(tableau), int32_t{AutoReussi});
        QCOMPARE(tableauAutoDeverrouiller(tableau), int32_t{AutoArgumentInvalide});
        QCOMPARE(tableauAutoDetruire(tableau), int32_t{AutoReussi});
    }

    void argumentsNulsRefusesSansPlanter()
    {
        QCOMPARE(tableauAutoDetruire(nullptr), int32_t{AutoReussi});
        QCOMPARE(tableauAutoRedimensionner(nullptr, 0, 1), int32_t{AutoArgumentInvalide});
        QCOMPARE(tableauAutoVerrouiller(nullptr), int32_t{AutoArgumentInvalide});
        QCOMPARE(tableauAutoDeverrouiller(nullptr), int32_t{AutoArgumentInvalide});
        TableauAuto* tableau = tableauRempli(1);
        QCOMPARE(tableauAutoRedimensionner(tableau, std::numeric_limits<int32_t>::max(), 2),
                 int32_t{AutoArgumentInvalide});
        QCOMPARE(lire(textes(tableau)[0]), QStringLiteral("r0.1"));
        QCOMPARE(tableauAutoDetruire(tableau), int32_t{AutoReussi});
    }
};

QTEST_GUILESS_MAIN(TestAutomation)
#include "tst_automation.moc"
