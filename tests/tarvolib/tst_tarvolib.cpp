#include "magasinccam.h"
#include "tarvolib.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <type_traits>

namespace {

using Appel = std::function<int32_t(TableauAuto**)>;
using Lignes = QList<QStringList>;

const char* const jlnl001 = "JLNL001";
const char* const date2025 = "20250615";

QString texte(TexteAuto handle)
{
    return QString::fromUtf16(handle, texteAutoLongueur(handle));
}

// Every record of the array as its texts, the number of texts per record taken from the element size.
Lignes lignes(const TableauAuto* tableau)
{
    Lignes resultat;
    const auto champs = tableau->tailleElement / sizeof(TexteAuto);
    const auto* textes = static_cast<const TexteAuto*>(tableau->donnees);
    for (uint32_t i = 0; i < tableau->bornes[0].nombre; ++i) {
        QStringList ligne;
        for (std::size_t k = 0; k < champs; ++k)
            ligne.append(texte(textes[i * champs + k]));
        resultat.append(ligne);
    }
    return resultat;
}

Lignes commeLignes(const QList<CodeLibelle>& elements)
{
    Lignes resultat;
    for (const CodeLibelle& e : elements)
        resultat.append({e.code, e.libelle, QString()});
    return resultat;
}

Lignes commeLignes(const QList<Acte>& actes)
{
    Lignes resultat;
    for (const Acte& a : actes)
        resultat.append({a.code, a.libelleCourt, a.libelleLong});
    return resultat;
}

QString chaineCourante()
{
    QByteArray tampon(GetLenString_Tarvo() + 1, '\0');
    GetString_Tarvo(tampon.data(), static_cast<int32_t>(tampon.size()));
    return QString::fromLocal8Bit(tampon.constData());
}

TableauAuto* unEnregistrementVide(uint32_t champs)
{
    return tableauAutoCreer(champs * static_cast<uint32_t>(sizeof(TexteAuto)), 0, 1);
}

// Every entry point that needs the store, with ordinary arguments.
QList<std::pair<const char*, Appel>> requetes()
{
    return {
        {"Version_Tarvo",
         [](TableauAuto**) {
             return Version_Tarvo();
         }},
        {"Libelle_Tarvo",
         [](TableauAuto**) {
             return Libelle_Tarvo(jlnl001);
         }},
        {"LibelleLong_Tarvo",
         [](TableauAuto**) {
             return LibelleLong_Tarvo(jlnl001);
         }},
        {"Type_Tarvo",
         [](TableauAuto**) {
             return Type_Tarvo(jlnl001);
         }},
        {"IsSRT_Tarvo",
         [](TableauAuto**) {
             return IsSRT_Tarvo(jlnl001, "001", date2025);
         }},
        {"Activite_Tarvo",
         [](TableauAuto** t) {
             return Activite_Tarvo(jlnl001, t);
         }},
        {"Phase_Tarvo",
         [](TableauAuto** t) {
             return Phase_Tarvo(jlnl001, 1, t);
         }},
        {"LibelleActivite_Tarvo",
         [](TableauAuto**) {
             return LibelleActivite_Tarvo(jlnl001, 1);
         }},
        {"GetCodeRegroupement_Tarvo",
         [](TableauAuto**) {
             return GetCodeRegroupement_Tarvo(jlnl001, 1);
         }},
        {"GetPrixUnitaireActeSupplement_Tarvo",
         [](TableauAuto** t) {
             return GetPrixUnitaireActeSupplement_Tarvo(jlnl001, 1, 0, date2025, "001", t);
         }},
        {"GetPriseEnCharge_Tarvo",
         [](TableauAuto** t) {
             return GetPriseEnCharge_Tarvo(jlnl001, "20080101", t);
         }},
        {"ListeModificateurs_Tarvo",
         [](TableauAuto** t) {
             return ListeModificateurs_Tarvo(t);
         }},
        {"GetModificateurActe_Tarvo",
         [](TableauAuto** t) {
             return GetModificateurActe_Tarvo(jlnl001, 1, t);
         }},
        {"GetModificateurActeDate_Tarvo",
         [](TableauAuto** t) {
             return GetModificateurActeDate_Tarvo(jlnl001, 1, date2025, t);
         }},
        {"ListeCodeIncompatibilitesActe_Tarvo",
         [](TableauAuto** t) {
             return ListeCodeIncompatibilitesActe_Tarvo(jlnl001, t);
         }},
        {"ListeCodeAssociationActe_Tarvo",
         [](TableauAuto** t) {
             return ListeCodeAssociationActe_Tarvo("LHQK005", 1, t);
         }},
        {"ListeCodeAssociationActeDate_Tarvo",
         [](TableauAuto** t) {
             return ListeCodeAssociationActeDate_Tarvo("LHQK005", 1, date2025, t);
         }},
        {"RechercheCodeLexico_Tarvo",
         [](TableauAuto** t) {
             return RechercheCodeLexico_Tarvo("scano", date2025, t);
         }},
        {"RechercheParCode_Tarvo",
         [](TableauAuto** t) {
             return RechercheParCode_Tarvo("JLNL", date2025, t);
         }},
        {"RechercheCodeParPas_Tarvo",
         [](TableauAuto** t) {
             return RechercheCodeParPas_Tarvo("scano", 0, 2, t);
         }},
        {"LibelleSpecialite_Tarvo",
         [](TableauAuto**) {
             return LibelleSpecialite_Tarvo(6);
         }},
        {"TestCodeSpecialite_Tarvo",
         [](TableauAuto**) {
             return TestCodeSpecialite_Tarvo(6);
         }},
        {"ArbreNoeudCode_Tarvo",
         [](TableauAuto** t) {
             return ArbreNoeudCode_Tarvo("", t);
         }},
        {"NoeudCode_Tarvo",
         [](TableauAuto** t) {
             return NoeudCode_Tarvo("000041", date2025, t);
         }},
        {"ArborescenceCode_Tarvo",
         [](TableauAuto** t) {
             return ArborescenceCode_Tarvo(jlnl001, t);
         }},
    };
}

// What a 32-bit stdcall caller pushes for one argument, which the decorated name counts: a pointer's 4 bytes,
// anything else its size rounded up to 4.
template<typename T> constexpr int octetsArgument32()
{
    return std::is_pointer_v<T> ? 4 : (static_cast<int>(sizeof(T)) + 3) / 4 * 4;
}

template<typename... Parametres> constexpr int octetsPile32(void (*)(Parametres...))
{
    return (0 + ... + octetsArgument32<Parametres>());
}

// The list of tarvolib.h as a 32-bit module definition names its exports: "Connection_Tarvo@16".
QStringList exportsDeLaListe()
{
#define TARVO_DECORER(nom, parametres)                                                                       \
    QStringLiteral(#nom "@%1").arg(octetsPile32(static_cast<void(*) parametres>(nullptr))),
    return {TARVOLIB_POINTS_ENTREE_C(TARVO_DECORER)};
#undef TARVO_DECORER
}

} // namespace

Q_DECLARE_METATYPE(Appel)
Q_DECLARE_METATYPE(Lignes)

class TestTarvoLib : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MagasinCcam> m_magasin;
    TableauAuto* m_tableau = nullptr;
    QByteArray m_baseEnvironnement;

private Q_SLOTS:
    void initTestCase()
    {
        // The library's default database, the sample beside it, whatever the machine's setting says.
        m_baseEnvironnement = qgetenv("BANC_CCAM_BASE");
        qunsetenv("BANC_CCAM_BASE");
        m_magasin = std::make_unique<MagasinCcam>(
            QDir(QCoreApplication::applicationDirPath()).filePath(MagasinCcam::nomEchantillon()));
    }
    void cleanupTestCase()
    {
        m_magasin.reset();
        if (!m_baseEnvironnement.isEmpty())
            qputenv("BANC_CCAM_BASE", m_baseEnvironnement);
    }
    void init() { QCOMPARE(Connection_Tarvo(0, 1, 0, "C:\\ProgramData\\santesocial\\fsv\\1.40.9\\conf"), 1); }
    void cleanup()
    {
        DeConnection_Tarvo();
        QCOMPARE(tableauAutoDetruire(m_tableau), int32_t{AutoReussi});
        m_tableau = nullptr;
    }

    // TarvoLib.def, the copy of the list the Windows linker needs, names the same entry points in the same
    // order, each with the bytes its parameters take on the 32-bit stack.
    void definitionDeModuleSelonLaListe()
    {
        QFile definition(QStringLiteral(DEFINITION_TARVOLIB));
        QVERIFY2(definition.open(QIODevice::ReadOnly | QIODevice::Text), DEFINITION_TARVOLIB);
        QStringList exports;
        bool dansExports = false;
        while (!definition.atEnd()) {
            const QString ligne = QString::fromLatin1(definition.readLine()).trimmed();
            if (ligne.isEmpty() || ligne.startsWith(u';'))
                continue;
            if (dansExports)
                exports.append(ligne);
            dansExports = dansExports || ligne == u"EXPORTS";
        }
        QCOMPARE(exports, exportsDeLaListe());
    }

    void sansConnexionRienNiPlantage_data()
    {
        QTest::addColumn<Appel>("appel");
        for (const auto& [nom, appel] : requetes())
            QTest::newRow(nom) << appel;
    }
    void sansConnexionRienNiPlantage()
    {
        QFETCH(Appel, appel);
        QCOMPARE(DeConnection_Tarvo(), 0);
        m_tableau = unEnregistrementVide(3);
        TableauAuto* avant = m_tableau;
        QCOMPARE(appel(&m_tableau), TARVO_NON_CONNECTE);
        QCOMPARE(GetLastError_Tarvo(), TARVO_NON_CONNECTE);
        QCOMPARE(m_tableau, avant);
        QCOMPARE(m_tableau->bornes[0].nombre, 1u);
    }

    void referenceDeTableauNulle_data()
    {
        QTest::addColumn<Appel>("appel");
        for (const auto& [nom, appel] : requetes())
            QTest::newRow(nom) << appel;
    }
    void referenceDeTableauNulle()
    {
        QFETCH(Appel, appel);
        const int32_t resultat = appel(nullptr);
        // Entry points without an array answer as usual; the others refuse the null reference.
        QVERIFY2(resultat == TARVO_ARGUMENT_INVALIDE || resultat >= 0, qPrintable(QString::number(resultat)));
    }

    void textesNulsNeDonnentRien_data()
    {
        QTest::addColumn<Appel>("appel");
        QTest::addColumn<int>("attendu");
        QTest::newRow("Libelle_Tarvo") << Appel([](TableauAuto**) { return Libelle_Tarvo(nullptr); }) << 0;
        QTest::newRow("Type_Tarvo") << Appel([](TableauAuto**) { return Type_Tarvo(nullptr); })
                                    << TARVO_CODE_INCONNU;
        QTest::newRow("IsSRT_Tarvo") << Appel([](TableauAuto**) {
            return IsSRT_Tarvo(nullptr, nullptr, nullptr);
        }) << 0;
        QTest::newRow("Activite_Tarvo")
            << Appel([](TableauAuto** t) { return Activite_Tarvo(nullptr, t); }) << 0;
        QTest::newRow("GetPrixUnitaireActeSupplement_Tarvo") << Appel([](TableauAuto** t) {
            return GetPrixUnitaireActeSupplement_Tarvo(nullptr, 1, 0, nullptr, nullptr, t);
        }) << 0;
        QTest::newRow("GetPriseEnCharge_Tarvo")
            << Appel([](TableauAuto** t) { return GetPriseEnCharge_Tarvo(nullptr, nullptr, t); }) << 0;
        QTest::newRow("ListeCodeAssociationActeDate_Tarvo") << Appel([](TableauAuto** t) {
            return ListeCodeAssociationActeDate_Tarvo(nullptr, 1, nullptr, t);
        }) << 0;
        QTest::newRow("RechercheParCode_Tarvo")
            << Appel([](TableauAuto** t) { return RechercheParCode_Tarvo(nullptr, nullptr, t); }) << 0;
        QTest::newRow("RechercheCodeParPas_Tarvo page négative")
            << Appel([](TableauAuto** t) { return RechercheCodeParPas_Tarvo("scano", -1, 5, t); })
            << TARVO_ARGUMENT_INVALIDE;
        QTest::newRow("RechercheCodeParPas_Tarvo page trop grande")
            << Appel([](TableauAuto** t) { return RechercheCodeParPas_Tarvo("scano", 0, 501, t); })
            << TARVO_ARGUMENT_INVALIDE;
        QTest::newRow("NoeudCode_Tarvo")
            << Appel([](TableauAuto** t) { return NoeudCode_Tarvo(nullptr, nullptr, t); }) << 0;
        QTest::newRow("ArborescenceCode_Tarvo")
            << Appel([](TableauAuto** t) { return ArborescenceCode_Tarvo(nullptr, t); }) << 0;
        QTest::newRow("SetString_Tarvo")
            << Appel([](TableauAuto**) { return SetString_Tarvo(nullptr); }) << 0;
        QTest::newRow("GetString_Tarvo")
            << Appel([](TableauAuto**) { return GetString_Tarvo(nullptr, 10); }) << TARVO_ARGUMENT_INVALIDE;
    }
    void textesNulsNeDonnentRien()
    {
        QFETCH(Appel, appel);
        QFETCH(int, attendu);
        QCOMPARE(appel(&m_tableau), attendu);
    }

    // The records carry the store's answers, field by field, in the documented order.
    void enregistrementsDuMagasin_data()
    {
        QTest::addColumn<Appel>("appel");
        QTest::addColumn<Lignes>("attendu");
        const MagasinCcam& m = *m_magasin;
        QTest::newRow("ListeModificateurs_Tarvo")
            << Appel([](TableauAuto** t) { return ListeModificateurs_Tarvo(t); })
            << commeLignes(m.modificateurs());
        QTest::newRow("ListeCodeIncompatibilitesActe_Tarvo")
            << Appel([](TableauAuto** t) { return ListeCodeIncompatibilitesActe_Tarvo(jlnl001, t); })
            << commeLignes(m.actesIncompatibles(QStringLiteral("JLNL001")));
        QTest::newRow("ListeCodeAssociationActe_Tarvo")
            << Appel([](TableauAuto** t) { return ListeCodeAssociationActe_Tarvo("LHQK005", 1, t); })
            << commeLignes(m.actesCompatibles(QStringLiteral("LHQK005"), 1));
        QTest::newRow("GetModificateurActe_Tarvo")
            << Appel([](TableauAuto** t) { return GetModificateurActe_Tarvo(jlnl001, 1, t); })
            << commeLignes(m.modificateursAutorises(QStringLiteral("JLNL001"), 1));
        QTest::newRow("GetModificateurActeDate_Tarvo avant l'acte")
            << Appel([](TableauAuto** t) { return GetModificateurActeDate_Tarvo(jlnl001, 1, "20000101", t); })
            << Lignes{};
        ContexteRequete contexte;
        contexte.dateReference = QString::fromLatin1(date2025);
        QTest::newRow("RechercheParCode_Tarvo")
            << Appel([](TableauAuto** t) { return RechercheParCode_Tarvo("jlnl", date2025, t); })
            << commeLignes(m.rechercher(QStringLiteral("JLNL"), contexte));
        QTest::newRow("RechercheCodeParPas_Tarvo deuxième page")
            << Appel([](TableauAuto** t) { return RechercheCodeParPas_Tarvo("scano", 1, 1, t); })
            << commeLignes(m.rechercher(QStringLiteral("scano"), ContexteRequete{}).mid(1, 1));
        QTest::newRow("GetPrixUnitaireActeSupplement_Tarvo")
            << Appel([](TableauAuto** t) {
                   return GetPrixUnitaireActeSupplement_Tarvo(jlnl001, 1, 0, date2025, "001", t);
               })
            << Lignes{{QString::number(*m.prix(QStringLiteral("JLNL001"), 1, 0, QStringLiteral("001"),
                                               QString::fromLatin1(date2025))),
                       QStringLiteral("001")}};
        QTest::newRow("GetPrixUnitaireActeSupplement_Tarvo sans prix") << Appel([](TableauAuto** t) {
            return GetPrixUnitaireActeSupplement_Tarvo("ZZZZ999", 1, 0, date2025, "001", t);
        }) << Lignes{};
        const auto pec = m.priseEnCharge(QStringLiteral("JLNL001"), QStringLiteral("20080101"));
        QVERIFY(pec.has_value());
        QTest::newRow("GetPriseEnCharge_Tarvo")
            << Appel([](TableauAuto** t) { return GetPriseEnCharge_Tarvo(jlnl001, "20080101", t); })
            << Lignes{{pec->code, pec->libelle, pec->codeRemboursement, pec->libelleRemboursement,
                       pec->conditions}};
    }
    void enregistrementsDuMagasin()
    {
        QFETCH(Appel, appel);
        QFETCH(Lignes, attendu);
        m_tableau = unEnregistrementVide(3);
        QCOMPARE(appel(&m_tableau), static_cast<int32_t>(attendu.size()));
        QCOMPARE(m_tableau->bornes[0].borneInferieure, 0);
        QCOMPARE(lignes(m_tableau), attendu);
    }

    void tableauRecuPuisRemplace()
    {
        // A null variable gets an array; one of another record type is replaced; a locked one is refused.
        QVERIFY(ListeModificateurs_Tarvo(&m_tableau) > 0);
        QCOMPARE(m_tableau->tailleElement, uint32_t{sizeof(EnregistrementListe)});
        QVERIFY(GetPrixUnitaireActeSupplement_Tarvo(jlnl001, 1, 0, date2025, "001", &m_tableau) == 1);
        QCOMPARE(m_tableau->tailleElement, uint32_t{sizeof(EnregistrementPrix)});
        tableauAutoVerrouiller(m_tableau);
        TableauAuto* verrouille = m_tableau;
        QCOMPARE(ListeModificateurs_Tarvo(&m_tableau), TARVO_ARGUMENT_INVALIDE);
        QCOMPARE(m_tableau, verrouille);
        QCOMPARE(lignes(m_tableau).size(), 1);
        tableauAutoDeverrouiller(m_tableau);
    }

    void textesDansLaChaineCourante()
    {
        const auto acte = m_magasin->acte(QStringLiteral("JLNL001"));
        QCOMPARE(Libelle_Tarvo(jlnl001), static_cast<int32_t>(acte->libelleCourt.toLocal8Bit().size()));
        QCOMPARE(chaineCourante(), acte->libelleCourt);
        QVERIFY(LibelleLong_Tarvo(jlnl001) > 0);
        QCOMPARE(chaineCourante(), acte->libelleLong);
        QCOMPARE(Type_Tarvo(jlnl001), acte->typeActe);
        QVERIFY(LibelleSpecialite_Tarvo(6) > 0);
        QCOMPARE(chaineCourante(), m_magasin->libelleSpecialite(6));
        QCOMPARE(TestCodeSpecialite_Tarvo(6), 1);
        QCOMPARE(TestCodeSpecialite_Tarvo(999), 0);
        QVERIFY(Version_Tarvo() > 0);
        QCOMPARE(chaineCourante(), m_magasin->metaDonnees().versionDonnees);
        QCOMPARE(Libelle_Tarvo("ZZZZ999"), 0);
        QCOMPARE(chaineCourante(), QString());
    }

    void chaineCouranteCoupeeALaTaille()
    {
        QCOMPARE(SetString_Tarvo("abcdef"), 6);
        QCOMPARE(GetLenString_Tarvo(), 6);
        char tampon[4] = {'x', 'x', 'x', 'x'};
        QCOMPARE(GetString_Tarvo(tampon, 4), 3);
        QCOMPARE(QByteArray(tampon), QByteArray("abc"));
        QCOMPARE(GetString_Tarvo(tampon, 1), 0);
        QCOMPARE(tampon[0], '\0');
        QCOMPARE(GetString_Tarvo(tampon, 0), TARVO_ARGUMENT_INVALIDE);
        QCOMPARE(GetLastError_Tarvo(), TARVO_ARGUMENT_INVALIDE);
        QCOMPARE(GetLenString_Tarvo(), 6);
        QCOMPARE(GetLastError_Tarvo(), 0);
    }

    void nonDisponibles()
    {
        QCOMPARE(Note_Tarvo(jlnl001), TARVO_NON_DISPONIBLE);
        QCOMPARE(NoteNoeud_Tarvo(nullptr), TARVO_NON_DISPONIBLE);
        QCOMPARE(DicoTopographie_Tarvo(&m_tableau), TARVO_NON_DISPONIBLE);
        QCOMPARE(DicoModeAcces_Tarvo(nullptr), TARVO_NON_DISPONIBLE);
        QCOMPARE(DicoAction_Tarvo(&m_tableau), TARVO_NON_DISPONIBLE);
        QCOMPARE(ActionARendre_Tarvo(jlnl001), TARVO_NON_DISPONIBLE);
        QCOMPARE(ListeCodesParSpecialite_Tarvo(6, &m_tableau), TARVO_NON_DISPONIBLE);
        QCOMPARE(GetModificateurMontant_Tarvo("J", jlnl001, nullptr, "001"), TARVO_NON_DISPONIBLE);
        QCOMPARE(m_tableau, nullptr);
    }

    void connexionSelonLaBase()
    {
        QTemporaryDir repertoire;
        QVERIFY(QFile::copy(m_magasin->chemin(), repertoire.filePath(MagasinCcam::nomEchantillon())));
        QCOMPARE(Connection_Tarvo(0, 0, 0, QFile::encodeName(repertoire.path()).constData()), 1);
        QCOMPARE(Connection_Tarvo(0, 0, 0, nullptr), 1);

        const QString absente = repertoire.filePath(QStringLiteral("absente.sqlite"));
        qputenv("BANC_CCAM_BASE", QFile::encodeName(absente));
        const int32_t resultat = Connection_Tarvo(0, 1, 0, nullptr);
        qunsetenv("BANC_CCAM_BASE");
        QCOMPARE(resultat, TARVO_BASE_INTROUVABLE);
        QVERIFY2(chaineCourante().contains(absente), qPrintable(chaineCourante()));
        QCOMPARE(ListeModificateurs_Tarvo(&m_tableau), TARVO_NON_CONNECTE);
        QCOMPARE(DeConnection_Tarvo(), TARVO_NON_CONNECTE);
    }
};

QTEST_GUILESS_MAIN(TestTarvoLib)
#include "tst_tarvolib.moc"
