#include "magasinccam.h"
#include "sequencetarvo.h"
#include "servicemessagesscripte.h"
#include "tarvo.h"

#include <QDir>
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
        executerSequenceTarvo(messages, m_source);
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
        // A second click connects and disconnects again, with the same answers.
        QCOMPARE(executer(), attendu);
    }

    void compagnon_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("statut");
        QTest::addColumn<QString>("sortie");
        QTest::addColumn<QString>("erreurs");
        QTest::newRow("notre bibliothèque, trouvée à côté")
            << QStringList{QStringLiteral("--tous"), QStringLiteral("--date"), QStringLiteral("20250615")}
            << 0
            << QStringLiteral("Étape 7 : DeConnection_Tarvo = 0\nÉtape 8 : tableaux libérés\nLes 39 points "
                              "d'entrée sont présents.\n")
            << QString();
        QTest::newRow("bibliothèque absente")
            << QStringList{QStringLiteral("--bibliotheque"), QStringLiteral("/nulle/part/" FICHIER_TARVOLIB)}
            << 2 << QString() << QStringLiteral("Erreur 48 : Impossible de charger la bibliothèque TarvoLib");
        QTest::newRow("point d'entrée absent")
            << QStringList{QStringLiteral("--bibliotheque"), QStringLiteral(CHEMIN_TARVO_INCOMPLET)} << 2
            << QStringLiteral("Étape 3 : GetPrixUnitaireActeSupplement_Tarvo = 1\n")
            << QStringLiteral("Erreur 453 : Point d'entrée GetPriseEnCharge_Tarvo introuvable");
        QTest::newRow("chemin relatif refusé")
            << QStringList{QStringLiteral("--bibliotheque"), QStringLiteral(FICHIER_TARVOLIB)} << 1
            << QString() << QStringLiteral("absolu");
        QTest::newRow("date mal formée")
            << QStringList{QStringLiteral("--date"), QStringLiteral("2025-06-15")} << 1 << QString()
            << QStringLiteral("Date invalide");
    }
    void compagnon()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, statut);
        QFETCH(QString, sortie);
        QFETCH(QString, erreurs);
        QProcess processus;
        processus.start(QStringLiteral(CHEMIN_TARVO_VERIFIER), arguments);
        QVERIFY(processus.waitForFinished(60000));
        // UTF-8 once redirected; lines end in CR LF on Windows.
        const QString sortieLue = QString::fromUtf8(processus.readAllStandardOutput())
                                      .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        const QString erreursLues = QString::fromUtf8(processus.readAllStandardError())
                                        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCOMPARE(processus.exitStatus(), QProcess::NormalExit);
        QVERIFY2(sortieLue.contains(sortie), qPrintable(sortieLue));
        QVERIFY2(erreursLues.contains(erreurs), qPrintable(erreursLues));
        QCOMPARE(processus.exitCode(), statut);
        if (statut == 0)
            QVERIFY(sortieLue.startsWith(QStringLiteral("Bibliothèque : ")));
    }
};

QTEST_GUILESS_MAIN(TestSequenceReelle)
#include "tst_sequencereelle.moc"
