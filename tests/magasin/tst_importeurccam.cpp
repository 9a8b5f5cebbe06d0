#include "importeurccam.h"
#include "magasinccam.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <zlib.h>

namespace {

QByteArray empreinte(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

bool copierRepertoire(const QString& source, const QString& cible)
{
    QDir().mkpath(cible);
    for (const QFileInfo& f : QDir(source).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString dest = QDir(cible).filePath(f.fileName());
        if (f.isDir() ? !copierRepertoire(f.filePath(), dest) : !QFile::copy(f.filePath(), dest))
            return false;
        QFile::setPermissions(dest, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return true;
}

// Replaces line numero (1 = header) of a file, or appends when numero is past the end.
bool remplacerLigne(const QString& chemin, int numero, const QByteArray& ligne)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QList<QByteArray> lignes = f.readAll().split('\n');
    f.close();
    if (!lignes.isEmpty() && lignes.back().isEmpty())
        lignes.removeLast();
    if (numero - 1 < lignes.size())
        lignes[numero - 1] = ligne;
    else
        lignes.append(ligne);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    f.write(lignes.join('\n') + '\n');
    return true;
}

// With tronquer, the gzip file loses its second half, as after an interrupted download.
bool gzipper(const QString& source, const QString& cible, bool tronquer = false)
{
    QFile f(source);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray contenu = f.readAll();
    gzFile gz = gzopen(QFile::encodeName(cible).constData(), "wb");
    if (!gz)
        return false;
    gzwrite(gz, contenu.constData(), static_cast<unsigned>(contenu.size()));
    gzclose(gz);
    if (tronquer)
        return QFile::resize(cible, QFileInfo(cible).size() / 2);
    return true;
}

const QString repertoireEchantillon = QStringLiteral(BANC_REPERTOIRE_ECHANTILLON);

} // namespace

class TestImporteurCcam : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_temp;
    QString m_donnees; // a private copy of the sample that each test may damage
    QString m_cible;

    BilanImport importer(bool ignorer = false)
    {
        OptionsImport o;
        o.repertoire = m_donnees;
        o.cible = m_cible;
        o.ignorerLignesInvalides = ignorer;
        return importerCcam(o);
    }
    QString fichier(const QString& nom) const { return QDir(m_donnees).filePath(nom); }
    QStringList restesTemporaires() const
    {
        return QDir(m_temp.path()).entryList({QStringLiteral("*.tmp*")}, QDir::Files);
    }

private Q_SLOTS:
    void init()
    {
        QDir(m_temp.path()).removeRecursively();
        QDir().mkpath(m_temp.path());
        m_donnees = m_temp.filePath(QStringLiteral("donnees"));
        m_cible = m_temp.filePath(QStringLiteral("ccam.sqlite"));
        QVERIFY(copierRepertoire(repertoireEchantillon, m_donnees));
    }

    void decoupage_data()
    {
        QTest::addColumn<QByteArray>("ligne");
        QTest::addColumn<QStringList>("champs"); // empty list: the line is refused
        QTest::newRow("champs simples") << QByteArray("a;b;c") << QStringList{u"a"_qs, u"b"_qs, u"c"_qs};
        QTest::newRow("champs vides") << QByteArray(";x;") << QStringList{QString(), u"x"_qs, QString()};
        QTest::newRow("ligne vide : un champ vide") << QByteArray("") << QStringList{QString()};
        QTest::newRow("séparateur entre guillemets")
            << QByteArray("\"a;b\";c") << QStringList{u"a;b"_qs, u"c"_qs};
        QTest::newRow("guillemets doublés")
            << QByteArray("\"dit \"\"oui\"\"\";z") << QStringList{u"dit \"oui\""_qs, u"z"_qs};
        QTest::newRow("champ entre guillemets vide")
            << QByteArray("\"\";") << QStringList{QString(), QString()};
        QTest::newRow("fin de ligne Windows") << QByteArray("a;b\r") << QStringList{u"a"_qs, u"b"_qs};
        QTest::newRow("UTF-8 gardé tel quel")
            << QByteArray("Échographie;d¿une") << QStringList{u"Échographie"_qs, u"d¿une"_qs};
        QTest::newRow("guillemet non refermé") << QByteArray("\"a;b") << QStringList{};
        QTest::newRow("texte après guillemet fermant") << QByteArray("\"a\"b;c") << QStringList{};
        QTest::newRow("guillemet au milieu d'un champ") << QByteArray("a\"b;c") << QStringList{};
    }
    void decoupage()
    {
        QFETCH(QByteArray, ligne);
        QFETCH(QStringList, champs);
        std::vector<std::string> lus{"reste d'une ligne précédente", "x", "y", "z", "w"};
        std::string erreur;
        const bool ok = decouperLigneCsv(std::string_view(ligne.constData(), ligne.size()), lus, erreur);
        QCOMPARE(ok, !champs.isEmpty());
        if (!ok) {
            QVERIFY(!erreur.empty());
            return;
        }
        QStringList obtenus;
        for (const std::string& c : lus)
            obtenus.append(QString::fromStdString(c));
        QCOMPARE(obtenus, champs);
    }

    void conversions_data()
    {
        QTest::addColumn<QString>("genre");
        QTest::addColumn<QByteArray>("texte");
        QTest::addColumn<QString>("attendu"); // empty: refused
        QTest::newRow("date") << u"date"_qs << QByteArray("2025-01-01") << u"20250101"_qs;
        QTest::newRow("29 février bissextile") << u"date"_qs << QByteArray("2024-02-29") << u"20240229"_qs;
        QTest::newRow("29 février ordinaire") << u"date"_qs << QByteArray("2023-02-29") << QString();
        QTest::newRow("mois 13") << u"date"_qs << QByteArray("2025-13-01") << QString();
        QTest::newRow("31 avril") << u"date"_qs << QByteArray("2025-04-31") << QString();
        QTest::newRow("date sans tirets") << u"date"_qs << QByteArray("20250101") << QString();
        QTest::newRow("date à l'envers") << u"date"_qs << QByteArray("01-01-2025") << QString();
        QTest::newRow("date avec lettres") << u"date"_qs << QByteArray("2025-0a-01") << QString();
        QTest::newRow("prix à deux décimales") << u"prix"_qs << QByteArray("25.27") << u"2527"_qs;
        QTest::newRow("prix à une décimale") << u"prix"_qs << QByteArray("367.4") << u"36740"_qs;
        QTest::newRow("prix entier") << u"prix"_qs << QByteArray("12") << u"1200"_qs;
        QTest::newRow("prix nul") << u"prix"_qs << QByteArray("0") << u"0"_qs;
        QTest::newRow("trois décimales") << u"prix"_qs << QByteArray("1.234") << QString();
        QTest::newRow("virgule décimale") << u"prix"_qs << QByteArray("1,50") << QString();
        QTest::newRow("prix négatif") << u"prix"_qs << QByteArray("-1.00") << QString();
        QTest::newRow("point final") << u"prix"_qs << QByteArray("5.") << QString();
        QTest::newRow("sans partie entière") << u"prix"_qs << QByteArray(".5") << QString();
        QTest::newRow("exposant") << u"prix"_qs << QByteArray("1e3") << QString();
        QTest::newRow("prix vide") << u"prix"_qs << QByteArray("") << QString();
        QTest::newRow("prix démesuré") << u"prix"_qs << QByteArray("99999999999999999999") << QString();
    }
    void conversions()
    {
        QFETCH(QString, genre);
        QFETCH(QByteArray, texte);
        QFETCH(QString, attendu);
        const std::string_view t(texte.constData(), texte.size());
        QString obtenu;
        if (genre == u"date"_qs) {
            std::string d;
            if (convertirDate(t, d))
                obtenu = QString::fromStdString(d);
        } else {
            qint64 c = 0;
            if (convertirPrix(t, c))
                obtenu = QString::number(c);
        }
        QCOMPARE(obtenu, attendu);
    }

    void ligneRejetee_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<int>("numero");
        QTest::addColumn<QByteArray>("ligne");
        QTest::addColumn<QString>("raison");
        QTest::newRow("date malformée")
            << u"ccam_actes.csv"_qs << 3 << QByteArray("AANL001;x;y;0;0;2005-02-30;")
            << u"date invalide « 2005-02-30 »"_qs;
        QTest::newRow("acte inconnu dans un prix")
            << u"ccam_tarifs.csv"_qs << 2 << QByteArray("ZZZZ999;1;0;2025-01-01;;;10.00")
            << u"acte inconnu « ZZZZ999 »"_qs;
        QTest::newRow("prix invalide dans une grille")
            << u"ccam_tarifs_grilles.csv"_qs << 4 << QByteArray("HFFC004;1;0;4;2013-07-01;;;4OO.00")
            << u"prix invalide « 4OO.00 »"_qs;
        QTest::newRow("colonne manquante") << u"ccam_regroupement.csv"_qs << 2 << QByteArray("AAFA001;1;ADC")
                                           << u"nombre de colonnes incorrect (4 attendues, 3 lues)"_qs;
        QTest::newRow("colonne en trop")
            << u"ccam_tarifs.csv"_qs << 2 << QByteArray("AAFA001;1;1;2025-01-01;;;1;2")
            << u"nombre de colonnes incorrect (7 attendues, 8 lues)"_qs;
        QTest::newRow("guillemet non refermé")
            << u"ccam_notes.csv"_qs << 2 << QByteArray("JLNL001;;02;x;\"Comprend")
            << u"guillemet non refermé"_qs;
        QTest::newRow("prix en double")
            << u"ccam_tarifs.csv"_qs << 999 << QByteArray("LHQK005;1;0;2017-04-28;;;1.00")
            << u"ligne en double"_qs;
        QTest::newRow("grille hors plage")
            << u"ccam_tarifs_grilles.csv"_qs << 2 << QByteArray("HFFC004;1;0;1;2013-07-01;;;480.00")
            << u"grille invalide « 1 » (3 à 19 attendue)"_qs;
        QTest::newRow("activité hors plage")
            << u"ccam_icr.csv"_qs << 2 << QByteArray("AAFA001;9;0;1;Y") << u"activité invalide « 9 »"_qs;
        QTest::newRow("acte en double")
            << u"ccam_actes.csv"_qs << 999 << QByteArray("HFFC004;a;b;0;0;2005-03-01;")
            << u"acte en double « HFFC004 »"_qs;
    }
    void ligneRejetee()
    {
        QFETCH(QString, nom);
        QFETCH(int, numero);
        QFETCH(QByteArray, ligne);
        QFETCH(QString, raison);
        QVERIFY(remplacerLigne(fichier(nom), numero, ligne));
        const BilanImport bilan = importer();
        QVERIFY(!bilan.reussi);
        QCOMPARE(bilan.rejets.size(), 1);
        QCOMPARE(bilan.rejets.front().fichier, nom);
        QCOMPARE(bilan.rejets.front().raison, raison);
        QVERIFY2(bilan.erreur.startsWith(nom + u':'), qPrintable(bilan.erreur));
        QVERIFY(!QFile::exists(m_cible));
        QVERIFY(restesTemporaires().isEmpty());

        // The same row, skipped on request: the import goes through and reports it.
        const BilanImport tolerant = importer(true);
        QVERIFY2(tolerant.reussi, qPrintable(tolerant.erreur));
        // An act refused is then unknown to the rows that name it: they go too.
        QVERIFY(!tolerant.rejets.isEmpty());
        QCOMPARE(tolerant.rejets.front().raison, raison);
        QCOMPARE(tolerant.rejets.front().ligne, bilan.rejets.front().ligne);
        QVERIFY(MagasinCcam(m_cible).acte(QStringLiteral("HFFC004")));
    }

    void fichierRefuse_data()
    {
        QTest::addColumn<QString>("defaut");
        QTest::addColumn<QString>("extrait");
        QTest::newRow("fichier manquant") << u"manquant"_qs << u"ccam_notes.csv : fichier introuvable"_qs;
        QTest::newRow("liste codée manquante") << u"liste"_qs << u"XC_CGE_V.csv : fichier introuvable"_qs;
        QTest::newRow("gzip tronqué") << u"tronque"_qs << u"ccam_tarifs.csv.gz : lecture impossible"_qs;
        QTest::newRow("en-tête inattendu")
            << u"entete"_qs << u"ccam_regroupement.csv:1 : en-tête inattendu"_qs;
        QTest::newRow("répertoire absent") << u"repertoire"_qs << u"répertoire introuvable"_qs;
    }
    void fichierRefuse()
    {
        QFETCH(QString, defaut);
        QFETCH(QString, extrait);
        if (defaut == u"manquant"_qs)
            QFile::remove(fichier(u"ccam_notes.csv"_qs));
        else if (defaut == u"liste"_qs)
            QFile::remove(fichier(u"listes/XC_CGE_V.csv"_qs));
        else if (defaut == u"tronque"_qs) {
            QVERIFY(gzipper(fichier(u"ccam_tarifs.csv"_qs), fichier(u"ccam_tarifs.csv.gz"_qs), true));
            QFile::remove(fichier(u"ccam_tarifs.csv"_qs));
        } else if (defaut == u"entete"_qs)
            remplacerLigne(fichier(u"ccam_regroupement.csv"_qs), 1, "code;activite;regroupement");
        else
            m_donnees = m_temp.filePath(u"nulle-part"_qs);
        const BilanImport bilan = importer(true);
        QVERIFY(!bilan.reussi);
        QVERIFY2(bilan.erreur.contains(extrait), qPrintable(bilan.erreur));
        QVERIFY(!QFile::exists(m_cible));
        QVERIFY(restesTemporaires().isEmpty());
    }

    void gzipEntierLuCommeLeTexte()
    {
        QVERIFY(gzipper(fichier(u"ccam_tarifs_grilles.csv"_qs), fichier(u"ccam_tarifs_grilles.csv.gz"_qs)));
        QFile::remove(fichier(u"ccam_tarifs_grilles.csv"_qs));
        const BilanImport bilan = importer();
        QVERIFY2(bilan.reussi, qPrintable(bilan.erreur));
        QCOMPARE(MagasinCcam(m_cible).prix(u"HFFC004"_qs, 1, 0, u"004"_qs, u"20250101"_qs),
                 std::optional<qint64>(49500));
    }

    void echecLaisseLaBasePrecedente_data()
    {
        QTest::addColumn<bool>("interrompre");
        QTest::newRow("ligne invalide dans le dernier fichier") << false;
        QTest::newRow("interruption") << true;
    }
    void echecLaisseLaBasePrecedente()
    {
        QFETCH(bool, interrompre);
        QVERIFY(importer().reussi);
        const QByteArray avant = empreinte(m_cible);
        QVERIFY(!avant.isEmpty());

        std::atomic<bool> arret{false};
        OptionsImport o;
        o.repertoire = m_donnees;
        o.cible = m_cible;
        if (interrompre) {
            // Stop once the acts are in and the prices are being read.
            o.interruption = &arret;
            o.progression = [&arret](const QString& f, qint64) {
                if (f.startsWith(u"ccam_tarifs"_qs))
                    arret = true;
            };
        } else {
            QVERIFY(remplacerLigne(fichier(u"listes/XC_REM_V.csv"_qs), 99, "1;déjà vu"));
        }
        const BilanImport bilan = importerCcam(o);
        QVERIFY(!bilan.reussi);
        QCOMPARE(empreinte(m_cible), avant);
        QVERIFY(restesTemporaires().isEmpty());
        QVERIFY(MagasinCcam(m_cible).acte(u"LHQK005"_qs));
    }

    void ligneDeCommande_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("statut");
        QTest::newRow("arrêt sur erreur") << QStringList{} << 1;
        QTest::newRow("lignes écartées sur demande") << QStringList{u"--ignorer-erreurs"_qs} << 0;
    }
    void ligneDeCommande()
    {
        QFETCH(QStringList, options);
        QFETCH(int, statut);
        QVERIFY(remplacerLigne(fichier(u"ccam_tarifs.csv"_qs), 3, "LHQK005;1;0;2025-13-01;;;25.90"));
        QProcess p;
        p.start(QStringLiteral(BANC_CCAM_IMPORT), options + QStringList{m_donnees, m_cible});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), statut);
        const QString erreurs = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(erreurs.contains(u"ccam_tarifs.csv:3 : date invalide « 2025-13-01 »"_qs),
                 qPrintable(erreurs));
        QCOMPARE(QFile::exists(m_cible), statut == 0);
        if (statut == 0)
            QVERIFY(QString::fromLocal8Bit(p.readAllStandardOutput()).contains(u"1 lignes écartées"_qs));
    }

    // The help and a refused line in French, Qt's own headings included; nothing is written then.
    void aideEtRefusEnFrancais_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("statut");
        QTest::addColumn<QString>("attendu");
        QTest::addColumn<QString>("absent");
        QTest::newRow("aide") << QStringList{u"--help"_qs} << 0 << u"Affiche cette aide."_qs << u"Usage:"_qs;
        QTest::newRow("option inconnue")
            << QStringList{u"--ignorer"_qs, u"a"_qs, u"b"_qs} << 2
            << u"ccam-import : ligne de commande refusée : Option inconnue"_qs << u"Unknown"_qs;
    }
    void aideEtRefusEnFrancais()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, statut);
        QFETCH(QString, attendu);
        QFETCH(QString, absent);
        QProcess p;
        p.start(QStringLiteral(BANC_CCAM_IMPORT), arguments);
        QVERIFY(p.waitForFinished(60000));
        const QString sortie = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        QCOMPARE(p.exitCode(), statut);
        QVERIFY2(sortie.contains(attendu) && !sortie.contains(absent), qPrintable(sortie));
    }

    void pleineEchelle()
    {
        const QString source = QStringLiteral(BANC_CCAM_DONNEES);
        if (!QFileInfo::exists(QDir(source).filePath(u"ccam_actes.csv.gz"_qs)))
            QSKIP("Full CCAM data not found (BANC_CCAM_DONNEES)");
        OptionsImport o;
        o.repertoire = source;
        o.cible = m_cible;
        const BilanImport bilan = importerCcam(o);
        QVERIFY2(bilan.reussi, qPrintable(bilan.erreur));
        QVERIFY(bilan.rejets.isEmpty());
        QCOMPARE(bilan.lignesParTable.front(), (QPair<QString, qint64>(u"acte"_qs, 8593)));

        const MagasinCcam m(m_cible);
        QCOMPARE(m.prix(u"LHQK005"_qs, 1, 0, u"003"_qs, u"20250101"_qs), std::optional<qint64>(2527));
        QCOMPARE(m.prix(u"HFFC004"_qs, 1, 0, u"001"_qs, u"20241231"_qs), std::optional<qint64>(62534));
        QCOMPARE(m.prix(u"HFFC004"_qs, 1, 0, u"001"_qs, u"20250101"_qs), std::optional<qint64>(63857));
        QCOMPARE(m.prix(u"AAFA001"_qs, 1, 0, u"004"_qs, u"20250101"_qs), std::optional<qint64>(60284));
        QCOMPARE(m.prix(u"JLNL001"_qs, 4, 0, u"001"_qs, u"20080101"_qs), std::optional<qint64>(5364));
        QCOMPARE(m.regroupement(u"JLNL001"_qs, 4)->code, u"ADA"_qs);
        QCOMPARE(m.acte(u"AAFA001"_qs)->libelleLong,
                 u"Exérèse de tumeur intraparenchymateuse du cervelet, par craniotomie"_qs);
        QVERIFY(!m.valide(u"AANL001"_qs, u"20250101"_qs));
        QVERIFY(m.valide(u"AANL001"_qs, u"20100430"_qs));

        QStringList incompatibles;
        for (const ActeLie& a : m.actesIncompatibles(u"AAJA001"_qs))
            incompatibles.append(a.code);
        QCOMPARE(incompatibles, (QStringList{u"AAJA002"_qs, u"AAJA004"_qs, u"AAJA005"_qs}));

        const ContexteRequete contexte{u"20250101"_qs, u"001"_qs, 0, false};
        const QList<Acte> hffc = m.rechercher(u"hffc"_qs, contexte, 100);
        QVERIFY(std::any_of(hffc.begin(), hffc.end(), [](const Acte& a) { return a.code == u"HFFC004"_qs; }));
        const QList<Acte> echo = m.rechercher(u"echographie doppler"_qs, contexte, 20);
        QCOMPARE(echo.size(), 20);
        for (const Acte& a : echo)
            QVERIFY2(a.libelleLong.contains(u"chographie-doppler"_qs, Qt::CaseInsensitive) ||
                         a.libelleCourt.contains(u"doppler"_qs, Qt::CaseInsensitive),
                     qPrintable(a.code));
        QCOMPARE(m.enfants(MagasinCcam::racineChapitres()).size(), 19);
    }
};

QTEST_GUILESS_MAIN(TestImporteurCcam)
#include "tst_importeurccam.moc"
