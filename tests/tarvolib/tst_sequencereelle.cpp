#include "magasinccam.h"
#include "plateformetest.h"
#include "sequencetarvo.h"
#include "servicemessagesscripte.h"
#include "tarvo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

// The sequence against our own library, found by name beside the executable as the tool finds it, and the
// companion that integrators run from a script.
class TestSequenceReelle : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MagasinCcam> m_magasin;
    QByteArray m_baseEnvironnement;
    SourceContexteSequence m_source;

    QStringList attendues() const
    {
        const MagasinCcam& m = *m_magasin;
        const QString titre = titreApplication();
        const QString sep = QStringLiteral(" / ");
        QStringList boites;
        const auto modificateurs = m.modificateurs();
        boites.append(titre + QStringLiteral("|Aucune|") + modificateurs[0].code + QLatin1Char(' ') +
                      modificateurs[0].libelle);
        const auto prix =
            m.prix(QStringLiteral("JLNL001"), 1, 0, QStringLiteral("001"), QStringLiteral("20250615"));
        boites.append(titre + QStringLiteral("|Aucune|") + QString::number(*prix) + sep +
                      QStringLiteral("001"));
        const auto pec = m.priseEnCharge(QStringLiteral("JLNL001"), QStringLiteral("20080101"));
        boites.append(titre + QStringLiteral("|Aucune|") + pec->code + sep + pec->codeRemboursement + sep +
                      pec->libelleRemboursement + sep + pec->conditions + sep + pec->libelle);
        const auto incompatibles = m.actesIncompatibles(QStringLiteral("JLNL001"));
        for (const auto& acte : incompatibles)
            boites.append(QStringLiteral("%1 Résultat(s)|Information|").arg(incompatibles.size()) +
                          acte.code + sep + acte.libelle);
        const auto associes = m.actesCompatibles(QStringLiteral("LHQK005"), 1);
        for (int i = 0; i < associes.size(); ++i)
            boites.append(
                QStringLiteral("Association %1 sur %2|Information|").arg(i + 1).arg(associes.size()) +
                associes[i].code + sep + associes[i].libelle);
        return boites;
    }

    QStringList executer()
    {
        ServiceMessagesScripte messages;
        executerSequenceTarvo(messages, m_source, appelsTarvo());
        QStringList boites;
        for (const auto& m : messages.messages)
            boites.append(m.titre + QLatin1Char('|') + nomIcone(m.icone) + QLatin1Char('|') + m.texte);
        return boites;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_baseEnvironnement = qgetenv("BANC_CCAM_BASE");
        qunsetenv("BANC_CCAM_BASE");
        m_magasin = std::make_unique<MagasinCcam>(
            QDir(QCoreApplication::applicationDirPath()).filePath(MagasinCcam::nomEchantillon()));
        m_source.dateReference = [] {
            return QStringLiteral("20250615");
        };
        m_source.grilleTarifaire = [] {
            return QStringLiteral("001");
        };
    }
    void cleanupTestCase()
    {
        if (!m_baseEnvironnement.isEmpty())
            qputenv("BANC_CCAM_BASE", m_baseEnvironnement);
    }

    void sequenceParLeNomDeLaBibliotheque()
    {
        const QStringList attendu = attendues();
        // Every step has something to show with the sample, so each kind of box is checked.
        QVERIFY(attendu.size() >= 5);
        QCOMPARE(executer(), attendu);
        QCOMPARE(QFileInfo(tarvo::fichierCharge()).absoluteFilePath(),
                 QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(FICHIER_TARVOLIB)));
        const auto chargements = PlateformeTest::nombreDeChargements();
        // A second click connects and disconnects again, with the same answers, on the library already
        // loaded: nothing is loaded anew (a library closed and opened again would count as a new load).
        QCOMPARE(executer(), attendu);
        QCOMPARE(PlateformeTest::nombreDeChargements(), chargements);
        QVERIFY(PlateformeTest::bibliothequeChargee(tarvo::fichierCharge()));
    }

    void compagnon_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("base"); // BANC_CCAM_BASE for the run; empty: the sample beside the library
        QTest::addColumn<int>("statut");
        QTest::addColumn<QStringList>("sortie");
        QTest::addColumn<QString>("erreurs");
        const QString fin = QStringLiteral("Étape 7 : DeConnection_Tarvo = 0\nÉtape 8 : tableaux libérés\n");
        QTest::newRow("notre bibliothèque, trouvée à côté")
            << QStringList{QStringLiteral("--tous"), QStringLiteral("--date"), QStringLiteral("20250615")}
            << QString() << 0
            << QStringList{QStringLiteral("Étape 1 : Connection_Tarvo = 1\n"),
                           QStringLiteral("Valeurs testées : actes JLNL001 (étapes 3 à 5) et LHQK005 (étape "
                                          "6), date de référence 20250615 et grille 001 (étape 3), date de "
                                          "prise en charge 20080101 (étape 4)\n"),
                           fin + QStringLiteral(
                                     "Les 39 points d'entrée sont présents.\nVérification réussie.\n")}
            << QString();
        // The sequence runs to its end all the same, every query answering "not connected".
        QTest::newRow("base introuvable : la vérification échoue")
            << QStringList{QStringLiteral("--grille"), QStringLiteral("002")}
            << QStringLiteral("/nulle/part/ccam.sqlite") << 1
            << QStringList{QStringLiteral("Étape 1 : Connection_Tarvo = -5 (TARVO_BASE_INTROUVABLE : "),
                           QStringLiteral("Raison donnée par la bibliothèque : "),
                           QStringLiteral("Étape 2 : ListeModificateurs_Tarvo = -1 (TARVO_NON_CONNECTE : "),
                           QStringLiteral("grille 002"), QStringLiteral("Étape 8 : tableaux libérés\n")}
            << QStringLiteral("Vérification échouée : la connexion a répondu -5 (TARVO_BASE_INTROUVABLE");
        QTest::newRow("bibliothèque absente")
            << QStringList{QStringLiteral("--bibliotheque"), QStringLiteral("/nulle/part/" FICHIER_TARVOLIB)}
            << QString() << 2 << QStringList()
            << QStringLiteral("erreur 53 : Fichier introuvable : ") +
                   QDir::toNativeSeparators(
                       QFileInfo(QStringLiteral("/nulle/part/" FICHIER_TARVOLIB)).absoluteFilePath());
        QTest::newRow("point d'entrée absent")
            << QStringList{QStringLiteral("--bibliotheque"), QStringLiteral(CHEMIN_TARVO_INCOMPLET)}
            << QString() << 2
            << QStringList{QStringLiteral("Étape 3 : GetPrixUnitaireActeSupplement_Tarvo = 1\n")}
            << QStringLiteral("erreur 453 : Point d'entrée GetPriseEnCharge_Tarvo introuvable");
        QTest::newRow("chemin relatif, pris dans le répertoire courant et montré en entier")
            << QStringList{QStringLiteral("--bibliotheque"), QStringLiteral("nulle-part/" FICHIER_TARVOLIB)}
            << QString() << 2 << QStringList()
            << QStringLiteral("Fichier introuvable : ") +
                   QDir::toNativeSeparators(
                       QDir::current().absoluteFilePath(QStringLiteral("nulle-part/" FICHIER_TARVOLIB)));
        // A refused command line calls nothing: no library line is printed.
        QTest::newRow("date mal formée")
            << QStringList{QStringLiteral("--date"), QStringLiteral("2025-06-15")} << QString() << 2
            << QStringList() << QStringLiteral("Date invalide : 2025-06-15");
        QTest::newRow("date hors calendrier")
            << QStringList{QStringLiteral("--date"), QStringLiteral("20250230")} << QString() << 2
            << QStringList() << QStringLiteral("Date invalide : 20250230");
        QTest::newRow("grille inconnue")
            << QStringList{QStringLiteral("--grille"), QStringLiteral("003")} << QString() << 2
            << QStringList() << QStringLiteral("Grille tarifaire invalide : 003");
        QTest::newRow("grille vide") << QStringList{QStringLiteral("--grille="), QStringLiteral("--tous")}
                                     << QString() << 2 << QStringList()
                                     << QStringLiteral("Grille tarifaire invalide");
        QTest::newRow("option inconnue")
            << QStringList{QStringLiteral("--grile"), QStringLiteral("001")} << QString() << 2
            << QStringList() << QStringLiteral("Ligne de commande refusée");
    }
    void compagnon()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, base);
        QFETCH(int, statut);
        QFETCH(QStringList, sortie);
        QFETCH(QString, erreurs);
        QProcess processus;
        QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
        environnement.remove(QStringLiteral("BANC_CCAM_BASE"));
        if (!base.isEmpty())
            environnement.insert(QStringLiteral("BANC_CCAM_BASE"), base);
        processus.setProcessEnvironment(environnement);
        processus.start(QStringLiteral(CHEMIN_TARVO_VERIFIER), arguments);
        QVERIFY(processus.waitForFinished(60000));
        // UTF-8 once redirected; lines end in CR LF on Windows.
        const QString sortieLue = QString::fromUtf8(processus.readAllStandardOutput())
                                      .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        const QString erreursLues = QString::fromUtf8(processus.readAllStandardError())
                                        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCOMPARE(processus.exitStatus(), QProcess::NormalExit);
        for (const QString& attendu : sortie)
            QVERIFY2(sortieLue.contains(attendu), qPrintable(sortieLue));
        QVERIFY2(erreursLues.contains(erreurs), qPrintable(erreursLues));
        QCOMPARE(processus.exitCode(), statut);
        if (sortie.isEmpty() && statut == 2)
            QVERIFY2(!sortieLue.contains(QStringLiteral("Bibliothèque")), qPrintable(sortieLue));
        if (statut != 2) {
            // The full path of the file the system loaded, not a bare name.
            const QString premiere = sortieLue.section(QLatin1Char('\n'), 0, 0);
            QCOMPARE(premiere, QStringLiteral("Bibliothèque : ") +
                                   QDir::toNativeSeparators(QDir(QCoreApplication::applicationDirPath())
                                                                .filePath(QStringLiteral(FICHIER_TARVOLIB))));
        }
    }

    void aideEnFrancais()
    {
        QProcess processus;
        processus.start(QStringLiteral(CHEMIN_TARVO_VERIFIER), {QStringLiteral("--help")});
        QVERIFY(processus.waitForFinished(60000));
        const QString aide = QString::fromLocal8Bit(processus.readAllStandardOutput());
        QCOMPARE(processus.exitCode(), 0);
        QVERIFY2(aide.contains(QStringLiteral("Affiche cette aide.")), qPrintable(aide));
        QVERIFY2(aide.contains(QStringLiteral("Statut de sortie")), qPrintable(aide));
        // Qt's own headings come from its French catalogue (installed with the tool's packages).
        QVERIFY2(!aide.contains(QStringLiteral("Usage:")) && !aide.contains(QStringLiteral("Options:")),
                 qPrintable(aide));
    }
};

QTEST_GUILESS_MAIN(TestSequenceReelle)
#include "tst_sequencereelle.moc"
