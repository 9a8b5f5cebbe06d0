#include "magasinccam.h"

#include <QTemporaryDir>
#include <QTest>

// Every case runs on the built-in sample, whose figures are written by hand in
// components/magasin/echantillon; the expected values below come from those files.
class TestMagasinCcam : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MagasinCcam> m_magasin;

    static ContexteRequete contexte(const QString& date = QStringLiteral("20250101"), qint32 specialite = 0,
                                    bool srt = false, const QString& grille = QStringLiteral("001"))
    {
        return {date, grille, specialite, srt};
    }
    static QStringList codes(const QList<Acte>& actes)
    {
        QStringList liste;
        for (const Acte& a : actes)
            liste.append(a.code);
        return liste;
    }
    static QStringList codes(const QList<CodeLibelle>& liens)
    {
        QStringList liste;
        for (const CodeLibelle& l : liens)
            liste.append(l.code);
        return liste;
    }

private Q_SLOTS:
    void initTestCase()
    {
        qunsetenv("BANC_CCAM_BASE");
        m_magasin = std::make_unique<MagasinCcam>(QStringLiteral(BANC_BASE_ECHANTILLON));
    }

    void ouvertureRefusee_data()
    {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QString>("extrait");
        QTest::newRow("fichier absent") << QByteArray() << QStringLiteral("introuvable");
        QTest::newRow("texte quelconque")
            << QByteArray("code;libelle\n") << QStringLiteral("n'est pas une base CCAM");
        QTest::newRow("en-tête SQLite abîmé")
            << QByteArray("sqlite") << QStringLiteral("n'est pas une base CCAM");
    }
    void ouvertureRefusee()
    {
        QFETCH(QByteArray, contenu);
        QFETCH(QString, extrait);
        QTemporaryDir dir;
        const QString chemin = dir.filePath(QStringLiteral("base.sqlite"));
        if (contenu == "sqlite") {
            // A store whose header was damaged after the import.
            QFile::copy(QStringLiteral(BANC_BASE_ECHANTILLON), chemin);
            QFile::setPermissions(chemin, QFile::ReadOwner | QFile::WriteOwner);
            QFile f(chemin);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(16); // the page size field: damage it so the header no longer reads
            f.write("\x00\x03", 2);
        } else if (!contenu.isEmpty()) {
            QFile f(chemin);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(contenu);
        }
        try {
            MagasinCcam m(chemin);
            QFAIL("the store opened");
        } catch (const ErreurMagasin& e) {
            const QString message = QString::fromStdString(e.what());
            QVERIFY2(message.contains(extrait), qPrintable(message));
            QVERIFY(message.contains(chemin));
        }
    }

    // An installed store lies wherever the user chose: spaces, apostrophe and accents in the folder's name.
    void ouvertureDossierAccentue()
    {
        QTemporaryDir racine;
        const QString dossier = racine.filePath(QStringLiteral("Outils d'essai/Banc CCAM été"));
        QVERIFY(QDir().mkpath(dossier));
        const QString chemin = QDir(dossier).filePath(MagasinCcam::nomEchantillon());
        QVERIFY(QFile::copy(QStringLiteral(BANC_BASE_ECHANTILLON), chemin));
        const MagasinCcam magasin(chemin);
        QVERIFY(magasin.acte(QStringLiteral("HFFC004")).has_value());
    }

    void cheminParDefaut()
    {
        QCOMPARE(MagasinCcam::cheminParDefaut(QStringLiteral("/opt/banc")),
                 QStringLiteral("/opt/banc/ccam-echantillon.sqlite"));
        QCOMPARE(MagasinCcam::cheminParDefaut(),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/ccam-echantillon.sqlite"));
        qputenv("BANC_CCAM_BASE", "/data/ccam.sqlite");
        const QString choisi = MagasinCcam::cheminParDefaut(QStringLiteral("/opt/banc"));
        qunsetenv("BANC_CCAM_BASE");
        QCOMPARE(choisi, QStringLiteral("/data/ccam.sqlite"));
    }

    // Where an installed program or library finds the sample: beside it first (a build folder), then in the
    // data folder of the install rules, seen from the programs' folder or from the libraries' one.
    void cheminParDefautInstalle_data()
    {
        QTest::addColumn<QStringList>("places");
        QTest::addColumn<QString>("attendu");
        const QString aCote = QStringLiteral(".");
        const QString programmes = QStringLiteral(BANC_ECHANTILLON_DEPUIS_PROGRAMMES);
        const QString bibliotheques = QStringLiteral(BANC_ECHANTILLON_DEPUIS_BIBLIOTHEQUES);
        QTest::newRow("à côté") << QStringList{aCote} << aCote;
        QTest::newRow("installé, vu des programmes") << QStringList{programmes} << programmes;
        QTest::newRow("installé, vu des bibliothèques") << QStringList{bibliotheques} << bibliotheques;
        QTest::newRow("à côté avant l'installé") << QStringList{programmes, aCote} << aCote;
        QTest::newRow("nulle part : le chemin à côté") << QStringList{} << aCote;
    }
    void cheminParDefautInstalle()
    {
        QFETCH(QStringList, places);
        QFETCH(QString, attendu);
        QTemporaryDir racine;
        // Deep enough for the relative paths to stay inside the temporary folder.
        const QDir depart(racine.filePath(QStringLiteral("a/b/c/d")));
        QVERIFY(depart.mkpath(QStringLiteral(".")));
        for (const QString& place : places) {
            const QString dossier = QDir::cleanPath(depart.filePath(place));
            QVERIFY(QDir().mkpath(dossier));
            QFile f(QDir(dossier).filePath(MagasinCcam::nomEchantillon()));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QCOMPARE(MagasinCcam::cheminParDefaut(depart.path()),
                 QDir(QDir::cleanPath(depart.filePath(attendu))).filePath(MagasinCcam::nomEchantillon()));
    }

    void acteParCode_data()
    {
        QTest::addColumn<QString>("saisie");
        QTest::addColumn<QString>("attendu");
        QTest::newRow("code exact") << QStringLiteral("HFFC004") << QStringLiteral("HFFC004");
        QTest::newRow("minuscules") << QStringLiteral("jlnl001") << QStringLiteral("JLNL001");
        QTest::newRow("entouré d'espaces") << QStringLiteral("  LHQK005 ") << QStringLiteral("LHQK005");
        QTest::newRow("inconnu") << QStringLiteral("ZZZZ999") << QString();
        QTest::newRow("vide") << QString() << QString();
        QTest::newRow("espaces seuls") << QStringLiteral("   ") << QString();
        QTest::newRow("préfixe seul") << QStringLiteral("HFFC") << QString();
    }
    void acteParCode()
    {
        QFETCH(QString, saisie);
        QFETCH(QString, attendu);
        const std::optional<Acte> a = m_magasin->acte(saisie);
        QCOMPARE(a.has_value(), !attendu.isEmpty());
        if (a)
            QCOMPARE(a->code, attendu);
    }

    void champsDeLActe()
    {
        const std::optional<Acte> a = m_magasin->acte(QStringLiteral("AANL001"));
        QVERIFY(a);
        QCOMPARE(a->libelleCourt, QStringLiteral("irrad. encéph. stéréotax. dose unique"));
        QCOMPARE(a->libelleLong,
                 QStringLiteral("Irradiation encéphalique en conditions stéréotaxiques, en dose unique"));
        QCOMPARE(a->typeActe, 0);
        QCOMPARE(a->dateDebut, QStringLiteral("20050301"));
        QCOMPARE(a->dateFin, QStringLiteral("20100501"));
        QCOMPARE(m_magasin->acte(QStringLiteral("ZZLP025"))->typeActe, 2);
    }

    void recherche_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QStringList>("attendus");
        QTest::newRow("sans accent trouve l'accentué")
            << QStringLiteral("echographie") << QStringLiteral("20250101")
            << QStringList{u"DZQM006"_qs, u"EBQM001"_qs, u"JQQM010"_qs, u"QEQM001"_qs};
        QTest::newRow("majuscules accentuées")
            << QStringLiteral("ÉCHOGRAPHIE SEIN") << QStringLiteral("20250101") << QStringList{u"QEQM001"_qs};
        QTest::newRow("plusieurs mots tous requis")
            << QStringLiteral("scano rachis") << QStringLiteral("20250101")
            << QStringList{u"LHQK001"_qs, u"LHQK005"_qs};
        QTest::newRow("début de mot")
            << QStringLiteral("appendic coelio") << QStringLiteral("20250101") << QStringList{u"HHFA011"_qs};
        QTest::newRow("ligature œ saisie oe") << QStringLiteral("oeil") << QStringLiteral("20250101")
                                              << QStringList{u"BFGA004"_qs, u"BZQK001"_qs};
        QTest::newRow("préfixe de code en minuscules") << QStringLiteral("hffc") << QStringLiteral("20250101")
                                                       << QStringList{u"HFFC004"_qs, u"HFFC018"_qs};
        QTest::newRow("code complet")
            << QStringLiteral("HFFC004") << QStringLiteral("20250101") << QStringList{u"HFFC004"_qs};
        QTest::newRow("code avant les libellés")
            << QStringLiteral("ecg") << QStringLiteral("20250101") << QStringList{u"DEQP003"_qs};
        QTest::newRow("acte échu exclu")
            << QStringLiteral("stereotax") << QStringLiteral("20250101") << QStringList{u"AANL004"_qs};
        QTest::newRow("acte pas encore créé exclu")
            << QStringLiteral("stereotax") << QStringLiteral("20090101") << QStringList{u"AANL001"_qs};
        QTest::newRow("veille de la fin")
            << QStringLiteral("stereotax") << QStringLiteral("20100430") << QStringList{u"AANL001"_qs};
        QTest::newRow("aucun mot") << QStringLiteral(" ;-' ") << QStringLiteral("20250101") << QStringList{};
        QTest::newRow("syntaxe plein texte neutralisée")
            << QStringLiteral("\"sein OR NEAR(") << QStringLiteral("20250101") << QStringList{};
        QTest::newRow("date invalide")
            << QStringLiteral("echographie") << QStringLiteral("20251301") << QStringList{};
    }
    void recherche()
    {
        QFETCH(QString, texte);
        QFETCH(QString, date);
        QFETCH(QStringList, attendus);
        QCOMPARE(codes(m_magasin->rechercher(texte, contexte(date))), attendus);
    }

    void rechercheLimitee()
    {
        const QList<Acte> tous = m_magasin->rechercher(QStringLiteral("e"), contexte());
        QVERIFY(tous.size() > 3);
        QCOMPARE(codes(m_magasin->rechercher(QStringLiteral("e"), contexte(), 3)), codes(tous.mid(0, 3)));
        QVERIFY(m_magasin->rechercher(QStringLiteral("e"), contexte(), 0).isEmpty());
    }

    void rechercheSelonContexte_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<qint32>("specialite");
        QTest::addColumn<bool>("srt");
        QTest::addColumn<QStringList>("attendus");
        QTest::newRow("radiologue : imagerie et échographie")
            << QStringLiteral("scano") << 6 << false
            << QStringList{u"ACQK001"_qs, u"LHQK001"_qs, u"LHQK005"_qs, u"YYYY026"_qs, u"ZZQK002"_qs};
        QTest::newRow("radiologue : pas de chirurgie")
            << QStringLiteral("gastrectomie") << 6 << false << QStringList{};
        QTest::newRow("anesthésiste : activité 4 des actes chirurgicaux")
            << QStringLiteral("gastrectomie") << 2 << false << QStringList{u"HFFC004"_qs, u"HFFC018"_qs};
        QTest::newRow("dentiste : actes dentaires seuls")
            << QStringLiteral("dent") << 19 << false << QStringList{u"HBGD035"_qs, u"HBMD038"_qs};
        QTest::newRow("chirurgien : pas d'acte dentaire")
            << QStringLiteral("dent") << 4 << false << QStringList{};
        QTest::newRow("spécialité sans règle")
            << QStringLiteral("dent") << 1 << false << QStringList{u"HBGD035"_qs, u"HBMD038"_qs};
        QTest::newRow("SRT : acte sans honoraire écarté")
            << QStringLiteral("surveillance") << 0 << true << QStringList{};
        QTest::newRow("sans SRT : acte sans honoraire gardé")
            << QStringLiteral("surveillance") << 0 << false << QStringList{u"YYYY041"_qs};
    }
    void rechercheSelonContexte()
    {
        QFETCH(QString, texte);
        QFETCH(qint32, specialite);
        QFETCH(bool, srt);
        QFETCH(QStringList, attendus);
        QCOMPARE(codes(m_magasin->rechercher(texte, contexte(QStringLiteral("20250101"), specialite, srt))),
                 attendus);
    }
    // Browsing the chapters keeps an act exactly when a search in the same context would.
    void retenuCommeLaRecherche_data() { rechercheSelonContexte_data(); }
    void retenuCommeLaRecherche()
    {
        QFETCH(QString, texte);
        QFETCH(qint32, specialite);
        QFETCH(bool, srt);
        QFETCH(QStringList, attendus);
        const ContexteRequete restreint = contexte(QStringLiteral("20250101"), specialite, srt);
        const QStringList candidats = codes(m_magasin->rechercher(texte, contexte()));
        QVERIFY(!candidats.isEmpty());
        for (const QString& code : candidats)
            QVERIFY2(m_magasin->retenu(code, restreint) == attendus.contains(code), qPrintable(code));
        QVERIFY(!m_magasin->retenu(QStringLiteral("ZZZZ999"), contexte()));
        QVERIFY(!m_magasin->retenu(QString(), contexte()));
    }

    // What the context hides from a search, by reason, and the reason each act gets.
    void masquesDeLaRecherche_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("date");
        QTest::addColumn<qint32>("specialite");
        QTest::addColumn<bool>("srt");
        QTest::addColumn<QList<qint64>>("masques"); // by date, by SRT, by specialty
        QTest::addColumn<QString>("exemple");       // an act hidden, with the reason below
        QTest::addColumn<int>("raison");            // MagasinCcam::Masque

        const int date = int(MagasinCcam::Masque::Date);
        const int srt = int(MagasinCcam::Masque::Srt);
        const int specialite = int(MagasinCcam::Masque::Specialite);
        QTest::newRow("radiologue : deux gastrectomies masquées")
            << u"gastrectomie"_qs << u"20250101"_qs << 6 << false << QList<qint64>{0, 0, 2} << u"HFFC004"_qs
            << specialite;
        QTest::newRow("anesthésiste : rien de masqué")
            << u"gastrectomie"_qs << u"20250101"_qs << 2 << false << QList<qint64>{0, 0, 0} << QString() << 0;
        QTest::newRow("SRT seulement : acte sans honoraire masqué")
            << u"surveillance"_qs << u"20250101"_qs << 0 << true << QList<qint64>{0, 1, 0} << u"YYYY041"_qs
            << srt;
        QTest::newRow("acte fermé en 2010")
            << u"irrad"_qs << u"20250101"_qs << 0 << false << QList<qint64>{1, 0, 0} << u"AANL001"_qs << date;
        QTest::newRow("acte pas encore créé, par son code")
            << u"AANL"_qs << u"20080101"_qs << 0 << false << QList<qint64>{1, 0, 0} << u"AANL004"_qs << date;
        // The date is checked first: an act out of date and outside the specialty counts once, for the date.
        QTest::newRow("date avant spécialité") << u"irrad"_qs << u"20250101"_qs << 19 << false
                                               << QList<qint64>{1, 0, 1} << u"AANL001"_qs << date;
        QTest::newRow("texte vide") << QString() << u"20250101"_qs << 6 << true << QList<qint64>{0, 0, 0}
                                    << QString() << 0;
    }
    void masquesDeLaRecherche()
    {
        QFETCH(QString, texte);
        QFETCH(QString, date);
        QFETCH(qint32, specialite);
        QFETCH(bool, srt);
        QFETCH(QList<qint64>, masques);
        QFETCH(QString, exemple);
        QFETCH(int, raison);
        const ContexteRequete restreint = contexte(date, specialite, srt);
        const ActesMasques compte = m_magasin->masquesRecherche(texte, restreint);
        QCOMPARE((QList<qint64>{compte.parDate, compte.parSrt, compte.parSpecialite}), masques);
        if (!exemple.isEmpty())
            QCOMPARE(int(m_magasin->masque(exemple, restreint)), raison);
        // What is shown and what is hidden add up to every act the text matches, whatever the date.
        const qint64 montres = m_magasin->rechercher(texte, restreint, 1000).size();
        const qint64 sansRestriction = m_magasin->rechercher(texte, contexte(date), 1000).size();
        QCOMPARE(montres + compte.parSrt + compte.parSpecialite, sansRestriction);
    }

    void prix_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("activite");
        QTest::addColumn<int>("phase");
        QTest::addColumn<QString>("grille");
        QTest::addColumn<QString>("date");
        QTest::addColumn<qint64>("centimes"); // -1: no price
        QTest::newRow("veille d'un changement de prix")
            << u"HFFC004"_qs << 1 << 0 << u"001"_qs << u"20241231"_qs << qint64(48000);
        QTest::newRow("jour du changement de prix")
            << u"HFFC004"_qs << 1 << 0 << u"001"_qs << u"20250101"_qs << qint64(61240);
        QTest::newRow("avant le premier prix")
            << u"HFFC004"_qs << 1 << 0 << u"001"_qs << u"20070911"_qs << qint64(-1);
        QTest::newRow("grille 000 : prix de base")
            << u"HFFC004"_qs << 1 << 0 << u"000"_qs << u"20250101"_qs << qint64(61240);
        QTest::newRow("grille 002 : prix de base")
            << u"HFFC004"_qs << 1 << 0 << u"002"_qs << u"20250101"_qs << qint64(61240);
        QTest::newRow("grille 004 : son propre prix")
            << u"HFFC004"_qs << 1 << 0 << u"004"_qs << u"20250101"_qs << qint64(49500);
        QTest::newRow("grille 004 avant son changement")
            << u"HFFC004"_qs << 1 << 0 << u"004"_qs << u"20241231"_qs << qint64(40000);
        QTest::newRow("grille sans ligne : prix de base")
            << u"HFFC004"_qs << 1 << 0 << u"015"_qs << u"20250101"_qs << qint64(61240);
        QTest::newRow("grille 017 pas encore ouverte")
            << u"HFFC004"_qs << 4 << 0 << u"017"_qs << u"20221231"_qs << qint64(23000);
        QTest::newRow("grille 017 ouverte")
            << u"HFFC004"_qs << 4 << 0 << u"017"_qs << u"20230101"_qs << qint64(24800);
        QTest::newRow("phase 2") << u"AAFA001"_qs << 1 << 2 << u"001"_qs << u"20250101"_qs << qint64(20500);
        QTest::newRow("phase absente")
            << u"AAFA001"_qs << 1 << 0 << u"001"_qs << u"20250101"_qs << qint64(-1);
        QTest::newRow("activité absente")
            << u"LHQK005"_qs << 4 << 0 << u"001"_qs << u"20250101"_qs << qint64(-1);
        QTest::newRow("prix nul réel") << u"YYYY041"_qs << 1 << 0 << u"001"_qs << u"20250101"_qs << qint64(0);
        QTest::newRow("code en minuscules")
            << u"lhqk005"_qs << 1 << 0 << u"003"_qs << u"20250101"_qs << qint64(2590);
        QTest::newRow("date avec tirets")
            << u"LHQK005"_qs << 1 << 0 << u"001"_qs << u"2010-01-01"_qs << qint64(2400);
        QTest::newRow("grille hors plage")
            << u"LHQK005"_qs << 1 << 0 << u"020"_qs << u"20250101"_qs << qint64(-1);
        QTest::newRow("grille non numérique")
            << u"LHQK005"_qs << 1 << 0 << u"abc"_qs << u"20250101"_qs << qint64(-1);
        QTest::newRow("date invalide")
            << u"LHQK005"_qs << 1 << 0 << u"001"_qs << u"20250230"_qs << qint64(-1);
        QTest::newRow("acte inconnu") << u"ZZZZ999"_qs << 1 << 0 << u"001"_qs << u"20250101"_qs << qint64(-1);
    }
    void prix()
    {
        QFETCH(QString, code);
        QFETCH(int, activite);
        QFETCH(int, phase);
        QFETCH(QString, grille);
        QFETCH(QString, date);
        QFETCH(qint64, centimes);
        const std::optional<qint64> p = m_magasin->prix(code, activite, phase, grille, date);
        QCOMPARE(p.value_or(-1), centimes);
    }

    void activitesEtRegroupements()
    {
        const QList<Activite> a = m_magasin->activites(QStringLiteral("AAFA001"));
        QCOMPARE(a.size(), 2);
        QCOMPARE(a[0].code, 1);
        QCOMPARE(a[0].regroupement, QStringLiteral("ADC"));
        QCOMPARE(a[0].libelle, QStringLiteral("Activité principale"));
        QCOMPARE(a[0].phases.size(), 2);
        QCOMPARE(a[0].phases[1].code, 2);
        QCOMPARE(a[1].code, 4);
        QCOMPARE(a[1].regroupement, QStringLiteral("ADA"));
        // A price without relative cost index still lists its activity.
        QCOMPARE(m_magasin->activites(QStringLiteral("YYYY041")).size(), 1);
        QVERIFY(!m_magasin->activites(QStringLiteral("YYYY041"))[0].phases[0].icr);
        QVERIFY(m_magasin->activites(QStringLiteral("ZZZZ999")).isEmpty());

        QCOMPARE(m_magasin->regroupement(QStringLiteral("LHQK005"), 1),
                 std::optional<Regroupement>(Regroupement{u"ADI"_qs, u"Acte d'imagerie"_qs}));
        QVERIFY(!m_magasin->regroupement(QStringLiteral("LHQK005"), 4));
    }

    void modificateursAutorises_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("activite");
        QTest::addColumn<QString>("attendus");
        QTest::newRow("imagerie") << u"LHQK005"_qs << 1 << u"B C E F U Y Z"_qs;
        QTest::newRow("chirurgie") << u"HFFC004"_qs << 1 << u"F J K L P S U"_qs;
        QTest::newRow("anesthésie") << u"HFFC004"_qs << 4 << u"4 5 7 A F S U"_qs;
        QTest::newRow("échographie") << u"QEQM001"_qs << 1 << u"F M P U"_qs;
        QTest::newRow("obstétrique") << u"JQGD010"_qs << 1 << u"F K P S U"_qs;
        QTest::newRow("dentaire") << u"HBMD038"_qs << 1 << u"9 F N U"_qs;
        QTest::newRow("activité absente") << u"LHQK005"_qs << 4 << QString();
        QTest::newRow("acte inconnu") << u"ZZZZ999"_qs << 1 << QString();
    }
    void modificateursAutorises()
    {
        QFETCH(QString, code);
        QFETCH(int, activite);
        QFETCH(QString, attendus);
        QCOMPARE(codes(m_magasin->modificateursAutorises(code, activite)).join(QLatin1Char(' ')), attendus);
    }

    void listeDesModificateurs()
    {
        const QList<Modificateur> m = m_magasin->modificateurs();
        QCOMPARE(m.size(), 19);
        QCOMPARE(m.front(),
                 (Modificateur{u"4"_qs, u"Majoration pour analgésie postopératoire sans cathéter"_qs}));
    }

    void actesLies()
    {
        QCOMPARE(codes(m_magasin->actesIncompatibles(QStringLiteral("JLNL001"))),
                 (QStringList{u"ACQK001"_qs, u"JLNL002"_qs}));
        QCOMPARE(m_magasin->actesIncompatibles(QStringLiteral("JLNL001")).front().libelle,
                 QStringLiteral("scano crâne sans PDC"));
        // The excluded code was written with a space after the parenthesis.
        QCOMPARE(codes(m_magasin->actesIncompatibles(QStringLiteral("LHQK005"))), QStringList{u"LHQK001"_qs});
        QVERIFY(m_magasin->actesIncompatibles(QStringLiteral("ZZZZ999")).isEmpty());

        // Same-regrouping complementary act, plus the act its notes suggest coding; never LHQK001.
        QCOMPARE(codes(m_magasin->actesCompatibles(QStringLiteral("LHQK005"), 1)),
                 (QStringList{u"YYYY026"_qs, u"ZZQK002"_qs}));
        QCOMPARE(codes(m_magasin->actesCompatibles(QStringLiteral("HFFC004"), 4)),
                 QStringList{u"ZZLP025"_qs});
        QVERIFY(m_magasin->actesCompatibles(QStringLiteral("LHQK005"), 4).isEmpty());
        QVERIFY(
            m_magasin->actesCompatibles(QStringLiteral("LHQK005"), 1, QStringLiteral("20000101")).isEmpty());
    }

    void priseEnCharge_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("attendu"); // code, reimbursement code, conditions
        QTest::newRow("acte tarifé") << u"JLNL001"_qs << u"20080101"_qs << u"1|1|"_qs;
        QTest::newRow("conditions de prise en charge")
            << u"HFFC004"_qs << u"20250101"_qs << u"3|3|Indication specifique ; Formation specifique"_qs;
        QTest::newRow("pas encore de prix") << u"HFFC004"_qs << u"20070101"_qs << u"4|2|"_qs;
        QTest::newRow("sans honoraire") << u"YYYY041"_qs << u"20250101"_qs << u"2|2|"_qs;
        QTest::newRow("acte échu") << u"AANL001"_qs << u"20250101"_qs << u"4|2|"_qs;
        QTest::newRow("acte inconnu") << u"ZZZZ999"_qs << u"20250101"_qs << QString();
    }
    void priseEnCharge()
    {
        QFETCH(QString, code);
        QFETCH(QString, date);
        QFETCH(QString, attendu);
        const std::optional<PriseEnCharge> p = m_magasin->priseEnCharge(code, date);
        QCOMPARE(p.has_value(), !attendu.isEmpty());
        if (p) {
            QCOMPARE(p->code + u'|' + p->codeRemboursement + u'|' + p->conditions, attendu);
            QVERIFY(!p->libelle.isEmpty() && !p->libelleRemboursement.isEmpty());
        }
    }

    void chapitres()
    {
        const QList<NoeudChapitre> racine = m_magasin->enfants(MagasinCcam::racineChapitres());
        QCOMPARE(racine.size(), 13);
        QCOMPARE(racine.front().libelle, QStringLiteral("SYSTÈME NERVEUX"));
        QCOMPARE(racine.front().niveau, 1);
        QCOMPARE(codes(m_magasin->actesDuNoeud(QStringLiteral("000004"))),
                 (QStringList{u"AAFA001"_qs, u"AANL001"_qs, u"AANL004"_qs}));
        QCOMPARE(codes(m_magasin->actesDuNoeud(QStringLiteral("000004"), QStringLiteral("20250101"))),
                 (QStringList{u"AAFA001"_qs, u"AANL004"_qs}));
        const QList<NoeudChapitre> chemin = m_magasin->cheminChapitres(QStringLiteral("LHQK005"));
        QCOMPARE(chemin.size(), 3);
        QCOMPARE(chemin.front().strate, QStringLiteral("12.01.01.00"));
        QCOMPARE(chemin.back().strate, QStringLiteral("12.00.00.00"));
    }

    void libellesEtMeta()
    {
        QCOMPARE(m_magasin->libelleSpecialite(6), QStringLiteral("Radiologie et imagerie médicale"));
        QVERIFY(m_magasin->libelleSpecialite(99).isEmpty());
        QCOMPARE(m_magasin->grilles().front().code, QStringLiteral("000"));
        QCOMPARE(m_magasin->specialites().front().code, QStringLiteral("01"));
        QCOMPARE(m_magasin->metaDonnees().versionDonnees, QStringLiteral("echantillon-banc"));
        QVERIFY(!m_magasin->metaDonnees().dateImport.isEmpty());
        QVERIFY(m_magasin->estSrt(QStringLiteral("LHQK005"), contexte()));
        QVERIFY(!m_magasin->estSrt(QStringLiteral("YYYY041"), contexte()));
    }
};

QTEST_GUILESS_MAIN(TestMagasinCcam)
#include "tst_magasinccam.moc"
