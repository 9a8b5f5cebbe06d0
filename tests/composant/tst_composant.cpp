// The component's members through the dispatch interface, answered from the sample database.
#include "contexteproprietes.h"
#include "ctltarvo.h"
#include "echec.h"
#include "fabriquectltarvo.h"
#include "tablemembres.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

QString lireTexte(ControleDispatch& ctl, qint32 dispId)
{
    const QVariant valeur = ctl.lire(dispId);
    // Every read is text, so the host never depends on a conversion of ours.
    if (valeur.typeId() != QMetaType::QString)
        qWarning("read of %s is not text", qPrintable(nomMembre(dispId)));
    return valeur.toString();
}

QString appelerTexte(ControleDispatch& ctl, qint32 dispId)
{
    return ctl.appeler(dispId).toString();
}

// Number of "|"-separated fields, an empty text having none.
qsizetype nombreChamps(const QString& liste)
{
    return liste.isEmpty() ? 0 : liste.count(QLatin1Char('|')) + 1;
}

const QList<qint32> membresDeLActe = {
    DispId::LibelleCourtActe,       DispId::LibelleLongActe,        DispId::PrixActe,
    DispId::CodeRegroupement,       DispId::Modificateurs,          DispId::ModificateursActivite1,
    DispId::ModificateursActivite4, DispId::ModificateursActivite5,
};
const QList<qint32> requetesDeLActe = {
    DispId::LireLibelle,           DispId::LireLibelleLong,   DispId::LirePrix,
    DispId::LireModificateursActe, DispId::LireRegroupements, DispId::LireActesCompatibles,
};

} // namespace

class TestComposant : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void contexte_data();
    void contexte();
    void contexteInvalide_data();
    void contexteInvalide();

    void proprietesEcritesGardees();
    void membresInconnus_data();
    void membresInconnus();

    void reponsesActe_data();
    void reponsesActe();
    void prixSelonContexte_data();
    void prixSelonContexte();
    void codesSansActe_data();
    void codesSansActe();
    void listesEnPaires_data();
    void listesEnPaires();
    void modificateursEnEnregistrementsDeQuatre();
    void contexteInvalideSignaleParLaRequete();

    void barreVerticaleDansUnLibelle();
    void baseIntrouvable();

private:
    std::unique_ptr<ControleDispatch> m_ctl;
};

void TestComposant::initTestCase()
{
    if (!QFile::exists(QStringLiteral(BANC_CCAM_ECHANTILLON)))
        QSKIP("sample database not built");
    // The factory opens the store named by the environment, as the window's control does.
    qputenv("BANC_CCAM_BASE", BANC_CCAM_ECHANTILLON);
}

void TestComposant::init()
{
    m_ctl = creerCtlTarvo(nullptr);
    m_ctl->ecrire(DispId::DateReference, QStringLiteral("20250601"));
    m_ctl->ecrire(DispId::GrilleTarifaire, QStringLiteral("001"));
}

void TestComposant::cleanup()
{
    m_ctl.reset();
}

void TestComposant::contexte_data()
{
    QTest::addColumn<qint32>("dispId");
    QTest::addColumn<QVariant>("valeur");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("grille");
    QTest::addColumn<qint32>("specialite");
    QTest::addColumn<bool>("srt");

    const QString aujourdhui; // the store takes an empty date as today
    QTest::newRow("nothing written: today, grid 001, no restriction")
        << qint32(0) << QVariant() << aujourdhui << u"001"_s << 0 << false;
    QTest::newRow("date as text") << qint32(DispId::DateReference) << QVariant(u"20240229"_s) << u"20240229"_s
                                  << u"001"_s << 0 << false;
    QTest::newRow("date as integer") << qint32(DispId::DateReference) << QVariant(qint32(20250101))
                                     << u"20250101"_s << u"001"_s << 0 << false;
    QTest::newRow("grid as integer") << qint32(DispId::GrilleTarifaire) << QVariant(qint32(4)) << aujourdhui
                                     << u"004"_s << 0 << false;
    QTest::newRow("grid padded with spaces")
        << qint32(DispId::GrilleTarifaire) << QVariant(u" 016 "_s) << aujourdhui << u"016"_s << 0 << false;
    QTest::newRow("grid 000") << qint32(DispId::GrilleTarifaire) << QVariant(u"000"_s) << aujourdhui
                              << u"000"_s << 0 << false;
    QTest::newRow("specialty text with leading zero")
        << qint32(DispId::CodeSpecialite) << QVariant(u"06"_s) << aujourdhui << u"001"_s << 6 << false;
    QTest::newRow("specialty integer")
        << qint32(DispId::CodeSpecialite) << QVariant(qint32(21)) << aujourdhui << u"001"_s << 21 << false;
    QTest::newRow("SRT 1") << qint32(DispId::SRTSeulement) << QVariant(qint32(1)) << aujourdhui << u"001"_s
                           << 0 << true;
    QTest::newRow("SRT 0 as text") << qint32(DispId::SRTSeulement) << QVariant(u"0"_s) << aujourdhui
                                   << u"001"_s << 0 << false;
}

void TestComposant::contexte()
{
    QFETCH(qint32, dispId);
    QFETCH(QVariant, valeur);
    ProprietesEcrites proprietes;
    if (dispId != 0)
        proprietes.insert(dispId, valeur);
    const ContexteRequete c = contexteDepuisProprietes(proprietes);
    QTEST(c.dateReference, "date");
    QTEST(c.grille, "grille");
    QTEST(c.specialite, "specialite");
    QTEST(c.srtSeulement, "srt");
}

void TestComposant::contexteInvalide_data()
{
    QTest::addColumn<qint32>("dispId");
    QTest::addColumn<QVariant>("valeur");

    QTest::newRow("date with dashes") << qint32(DispId::DateReference) << QVariant(u"2025-06-01"_s);
    QTest::newRow("date 30 February") << qint32(DispId::DateReference) << QVariant(u"20250230"_s);
    QTest::newRow("date too short") << qint32(DispId::DateReference) << QVariant(u"2025061"_s);
    QTest::newRow("date with sign") << qint32(DispId::DateReference) << QVariant(u"+2025061"_s);
    QTest::newRow("grid 20") << qint32(DispId::GrilleTarifaire) << QVariant(u"020"_s);
    QTest::newRow("grid negative") << qint32(DispId::GrilleTarifaire) << QVariant(qint32(-1));
    QTest::newRow("grid letters") << qint32(DispId::GrilleTarifaire) << QVariant(u"abc"_s);
    QTest::newRow("grid 4 digits") << qint32(DispId::GrilleTarifaire) << QVariant(u"0001"_s);
    QTest::newRow("specialty with decimals") << qint32(DispId::CodeSpecialite) << QVariant(u"6,5"_s);
    QTest::newRow("specialty negative") << qint32(DispId::CodeSpecialite) << QVariant(qint32(-6));
    QTest::newRow("SRT word") << qint32(DispId::SRTSeulement) << QVariant(u"oui"_s);
}

void TestComposant::contexteInvalide()
{
    QFETCH(qint32, dispId);
    QFETCH(QVariant, valeur);
    ProprietesEcrites proprietes;
    proprietes.insert(dispId, valeur);
    try {
        contexteDepuisProprietes(proprietes);
        QFAIL("malformed value accepted");
    } catch (const Echec& echec) {
        QCOMPARE(echec.numero(), int(Echec::EchecComposant));
        QVERIFY2(echec.description().contains(nomMembre(dispId)), qPrintable(echec.description()));
    }
}

void TestComposant::proprietesEcritesGardees()
{
    m_ctl->ecrire(DispId::CheminConfig, QStringLiteral("C:\\ProgramData\\santesocial\\"));
    QVariant specialite(qint32(6));
    m_ctl->ecrireParReference(DispId::CodeSpecialite, specialite);
    m_ctl->ecrire(DispId::SRTSeulement, qint32(0));
    m_ctl->ecrire(DispId::SRTSeulement, qint32(1));
    m_ctl->ecrire(DispId::CodeActe, QStringLiteral(" jlnl001 "));

    // Queries in between change nothing that was written.
    QVERIFY(!appelerTexte(*m_ctl, DispId::LireLibelle).isEmpty());
    QVERIFY(!lireTexte(*m_ctl, DispId::Modificateurs).isEmpty());

    QCOMPARE(lireTexte(*m_ctl, DispId::CheminConfig), u"C:\\ProgramData\\santesocial\\"_s);
    QCOMPARE(lireTexte(*m_ctl, DispId::CodeSpecialite), u"6"_s);
    QCOMPARE(specialite, QVariant(qint32(6)));
    QCOMPARE(lireTexte(*m_ctl, DispId::SRTSeulement), u"1"_s);
    QCOMPARE(lireTexte(*m_ctl, DispId::CodeActe), u" jlnl001 "_s);
    QCOMPARE(lireTexte(*m_ctl, DispId::DateReference), u"20250601"_s);
    QCOMPARE(lireTexte(*m_ctl, DispId::GrilleTarifaire), u"001"_s);

    m_ctl->ecrire(DispId::CodeActe, QString());
    QCOMPARE(lireTexte(*m_ctl, DispId::CodeActe), QString());
}

void TestComposant::membresInconnus_data()
{
    QTest::addColumn<QString>("acces");
    QTest::addColumn<qint32>("dispId");
    QTest::addColumn<QString>("attendu");

    QTest::newRow("read of an unknown identifier") << u"lire"_s << qint32(0x40030099) << u"Membre inconnu"_s;
    QTest::newRow("call of an unknown identifier")
        << u"appeler"_s << qint32(0x60030099) << u"Membre inconnu"_s;
    QTest::newRow("write of an unknown identifier")
        << u"ecrire"_s << qint32(0x12345678) << u"Membre inconnu"_s;
    QTest::newRow("call of a property") << u"appeler"_s << qint32(DispId::CodeActe) << u"Membre inconnu"_s;
    QTest::newRow("read of a method") << u"lire"_s << qint32(DispId::SelectionActe) << u"Membre inconnu"_s;
    QTest::newRow("write of a method") << u"ecrire"_s << qint32(DispId::LirePrix) << u"Membre inconnu"_s;
    QTest::newRow("write of a result") << u"ecrire"_s << qint32(DispId::PrixActe) << u"lecture seule"_s;
}

void TestComposant::membresInconnus()
{
    QFETCH(QString, acces);
    QFETCH(qint32, dispId);
    QFETCH(QString, attendu);
    try {
        if (acces == u"lire")
            m_ctl->lire(dispId);
        else if (acces == u"appeler")
            m_ctl->appeler(dispId);
        else
            m_ctl->ecrire(dispId, QStringLiteral("x"));
        QFAIL("no failure raised");
    } catch (const Echec& echec) {
        QCOMPARE(echec.numero(), int(Echec::EchecComposant));
        QVERIFY2(echec.description().contains(attendu), qPrintable(echec.description()));
    }
}

void TestComposant::reponsesActe_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<qint32>("dispId");
    QTest::addColumn<QString>("attendu");

    QTest::newRow("JLNL001 short label")
        << u"JLNL001"_s << qint32(DispId::LireLibelle) << u"curiethérapie vaginale bas débit"_s;
    QTest::newRow("JLNL001 short label property")
        << u"JLNL001"_s << qint32(DispId::LibelleCourtActe) << u"curiethérapie vaginale bas débit"_s;
    QTest::newRow("JLNL001 base price") << u"JLNL001"_s << qint32(DispId::LirePrix) << u"36050"_s;
    QTest::newRow("JLNL001 price property") << u"JLNL001"_s << qint32(DispId::PrixActe) << u"36050"_s;
    QTest::newRow("JLNL001 regrouping of activity 1")
        << u"JLNL001"_s << qint32(DispId::CodeRegroupement) << u"ATM"_s;
    QTest::newRow("JLNL001 one record per regrouping code")
        << u"JLNL001"_s << qint32(DispId::LireRegroupements)
        << u"ATM|Acte technique médical|ADA|Acte d'anesthésie"_s;
    QTest::newRow("JLNL001 no activity 5")
        << u"JLNL001"_s << qint32(DispId::ModificateursActivite5) << QString();
    QTest::newRow("LHQK005 price") << u"LHQK005"_s << qint32(DispId::LirePrix) << u"2590"_s;
    QTest::newRow("LHQK005 regrouping") << u"LHQK005"_s << qint32(DispId::CodeRegroupement) << u"ADI"_s;
    QTest::newRow("LHQK005 no activity 4")
        << u"LHQK005"_s << qint32(DispId::ModificateursActivite4) << QString();
    QTest::newRow("HFFC004 price") << u"HFFC004"_s << qint32(DispId::LirePrix) << u"61240"_s;
    QTest::newRow("HFFC004 regrouping") << u"HFFC004"_s << qint32(DispId::CodeRegroupement) << u"ADC"_s;
    QTest::newRow("lower case padded code")
        << u"  hffc004 "_s << qint32(DispId::CodeRegroupement) << u"ADC"_s;
}

void TestComposant::reponsesActe()
{
    QFETCH(QString, code);
    QFETCH(qint32, dispId);
    m_ctl->ecrire(DispId::CodeActe, code);
    const QString reponse =
        (dispId & 0x60000000) == 0x60000000 ? appelerTexte(*m_ctl, dispId) : lireTexte(*m_ctl, dispId);
    QTEST(reponse, "attendu");
}

void TestComposant::prixSelonContexte_data()
{
    QTest::addColumn<QVariant>("date");
    QTest::addColumn<QVariant>("grille");
    QTest::addColumn<QString>("prix");

    // HFFC004 has base prices from 2007, 2013 and 2025, and its own rows in grids 3 and 4.
    QTest::newRow("base price of 2007") << QVariant(u"20100101"_s) << QVariant(u"001"_s) << u"45000"_s;
    QTest::newRow("base price of 2013") << QVariant(u"20200101"_s) << QVariant(u"001"_s) << u"48000"_s;
    QTest::newRow("first day of the 2025 price")
        << QVariant(u"20250101"_s) << QVariant(u"001"_s) << u"61240"_s;
    QTest::newRow("grid 004 own price") << QVariant(u"20250601"_s) << QVariant(u"004"_s) << u"49500"_s;
    QTest::newRow("grid as integer 4") << QVariant(u"20250601"_s) << QVariant(qint32(4)) << u"49500"_s;
    QTest::newRow("date as integer") << QVariant(qint32(20200101)) << QVariant(u"001"_s) << u"48000"_s;
    QTest::newRow("before any price") << QVariant(u"20000101"_s) << QVariant(u"001"_s) << QString();
    QTest::newRow("date never written: today's price") << QVariant() << QVariant(u"001"_s) << u"61240"_s;
}

void TestComposant::prixSelonContexte()
{
    QFETCH(QVariant, date);
    QFETCH(QVariant, grille);
    if (!date.isValid())
        m_ctl = creerCtlTarvo(nullptr); // a client that writes no date at all
    m_ctl->ecrire(DispId::CodeActe, QStringLiteral("HFFC004"));
    if (date.isValid())
        m_ctl->ecrire(DispId::DateReference, date);
    m_ctl->ecrire(DispId::GrilleTarifaire, grille);
    QTEST(appelerTexte(*m_ctl, DispId::LirePrix), "prix");
    QTEST(lireTexte(*m_ctl, DispId::PrixActe), "prix");
}

void TestComposant::codesSansActe_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("never written") << QString();
    QTest::newRow("empty") << u""_s;
    QTest::newRow("spaces only") << u"   "_s;
    QTest::newRow("unknown") << u"ZZZZ999"_s;
    QTest::newRow("pipe list shaped") << u"JLNL001|X"_s;
}

void TestComposant::codesSansActe()
{
    QFETCH(QString, code);
    if (!code.isNull())
        m_ctl->ecrire(DispId::CodeActe, code);
    for (qint32 membre : membresDeLActe)
        QVERIFY2(lireTexte(*m_ctl, membre).isEmpty(), qPrintable(nomMembre(membre)));
    for (qint32 membre : requetesDeLActe)
        QVERIFY2(appelerTexte(*m_ctl, membre).isEmpty(), qPrintable(nomMembre(membre)));
    // A cancelled or never made selection leaves CodeActe exactly as written.
    QCOMPARE(lireTexte(*m_ctl, DispId::CodeActe), code.isNull() ? QString() : code);
}

void TestComposant::listesEnPaires_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<qint32>("dispId");
    QTest::addColumn<QStringList>("codes");

    // Sample rules: ATM allows F M P S U, ADA (activity 4) 4 5 7 A F S U, ADI B C E F U Y Z.
    QTest::newRow("JLNL001 all activities")
        << u"JLNL001"_s << qint32(DispId::Modificateurs) << u"4 5 7 A F M P S U"_s.split(u' ');
    QTest::newRow("JLNL001 same list by query")
        << u"JLNL001"_s << qint32(DispId::LireModificateursActe) << u"4 5 7 A F M P S U"_s.split(u' ');
    QTest::newRow("JLNL001 activity 1")
        << u"JLNL001"_s << qint32(DispId::ModificateursActivite1) << u"F M P S U"_s.split(u' ');
    QTest::newRow("JLNL001 activity 4")
        << u"JLNL001"_s << qint32(DispId::ModificateursActivite4) << u"4 5 7 A F S U"_s.split(u' ');
    QTest::newRow("LHQK005 activity 1")
        << u"LHQK005"_s << qint32(DispId::ModificateursActivite1) << u"B C E F U Y Z"_s.split(u' ');
    // Complementary acts of the same regrouping code, for any activity of the act.
    QTest::newRow("HFFC004 compatible acts through activity 4")
        << u"HFFC004"_s << qint32(DispId::LireActesCompatibles) << QStringList{u"ZZLP025"_s};
    QTest::newRow("LHQK005 compatible acts")
        << u"LHQK005"_s << qint32(DispId::LireActesCompatibles) << QStringList{u"YYYY026"_s, u"ZZQK002"_s};
}

void TestComposant::listesEnPaires()
{
    QFETCH(QString, code);
    QFETCH(qint32, dispId);
    QFETCH(QStringList, codes);
    m_ctl->ecrire(DispId::CodeActe, code);
    const QString liste =
        (dispId & 0x60000000) == 0x60000000 ? appelerTexte(*m_ctl, dispId) : lireTexte(*m_ctl, dispId);
    const QStringList champs = liste.isEmpty() ? QStringList() : liste.split(QLatin1Char('|'));
    QCOMPARE(champs.size(), codes.size() * 2);
    QStringList codesLus;
    for (qsizetype k = 0; k < champs.size(); k += 2) {
        codesLus << champs.at(k);
        QVERIFY2(!champs.at(k + 1).isEmpty(), "every code comes with its label");
    }
    QCOMPARE(codesLus, codes);
}

void TestComposant::modificateursEnEnregistrementsDeQuatre()
{
    // Without an act: every modifier of the store, nothing in the activity field.
    const QStringList sansActe = appelerTexte(*m_ctl, DispId::LireModificateurs).split(QLatin1Char('|'));
    QCOMPARE(sansActe.size() % 4, 0);
    QCOMPARE(sansActe.size() / 4, 19);
    for (qsizetype k = 0; k < sansActe.size(); k += 4) {
        QVERIFY(!sansActe.at(k).isEmpty());
        QVERIFY(!sansActe.at(k + 1).isEmpty());
        QCOMPARE(sansActe.at(k + 2), QString());
        QCOMPARE(sansActe.at(k + 3), QString());
    }

    // With JLNL001: F is allowed in both activities, M only in activity 1, B in none.
    m_ctl->ecrire(DispId::CodeActe, QStringLiteral("JLNL001"));
    const QStringList champs = appelerTexte(*m_ctl, DispId::LireModificateurs).split(QLatin1Char('|'));
    QHash<QString, QString> activites;
    for (qsizetype k = 0; k + 3 < champs.size(); k += 4)
        activites.insert(champs.at(k), champs.at(k + 2));
    QCOMPARE(activites.value(u"F"_s), u"1,4"_s);
    QCOMPARE(activites.value(u"M"_s), u"1"_s);
    QCOMPARE(activites.value(u"7"_s), u"4"_s);
    QCOMPARE(activites.value(u"B"_s), QString());
}

void TestComposant::contexteInvalideSignaleParLaRequete()
{
    m_ctl->ecrire(DispId::CodeActe, QStringLiteral("JLNL001"));
    // The write itself succeeds and is kept: only the query that needs the value fails.
    m_ctl->ecrire(DispId::DateReference, QStringLiteral("01/06/2025"));
    QCOMPARE(lireTexte(*m_ctl, DispId::DateReference), u"01/06/2025"_s);
    QVERIFY_THROWS_EXCEPTION(Echec, m_ctl->appeler(DispId::LirePrix));
    QVERIFY_THROWS_EXCEPTION(Echec, m_ctl->lire(DispId::LibelleCourtActe));
    QVERIFY_THROWS_EXCEPTION(Echec, m_ctl->appeler(DispId::SelectionActe));
    m_ctl->ecrire(DispId::DateReference, QStringLiteral("20250601"));
    QCOMPARE(appelerTexte(*m_ctl, DispId::LirePrix), u"36050"_s);
}

void TestComposant::barreVerticaleDansUnLibelle()
{
    QTemporaryDir dossier;
    QVERIFY(dossier.isValid());
    const QString chemin = dossier.filePath(QStringLiteral("ccam.sqlite"));
    QVERIFY(QFile::copy(QStringLiteral(BANC_CCAM_ECHANTILLON), chemin));
    QFile::setPermissions(chemin, QFile::ReadOwner | QFile::WriteOwner);
    sqlite3* base = nullptr;
    QCOMPARE(sqlite3_open(chemin.toUtf8().constData(), &base), SQLITE_OK);
    const char* modifications = "UPDATE modificateur SET libelle = 'Urgence | dimanche' WHERE code = 'F';"
                                "UPDATE libelle_regroupement SET libelle = '|ATM|' WHERE code = 'ATM';"
                                "UPDATE acte SET libelle_court = 'guidage|scano' WHERE code = 'ZZQK002';";
    const int resultat = sqlite3_exec(base, modifications, nullptr, nullptr, nullptr);
    sqlite3_close(base);
    QCOMPARE(resultat, SQLITE_OK);

    CtlTarvo ctl(nullptr, chemin);
    ctl.ecrire(DispId::DateReference, QStringLiteral("20250601"));
    ctl.ecrire(DispId::CodeActe, QStringLiteral("JLNL001"));
    const QString modificateurs = ctl.lire(DispId::ModificateursActivite1).toString();
    QCOMPARE(nombreChamps(modificateurs), 2 * 5);
    QVERIFY2(modificateurs.contains(u"F|Urgence / dimanche|"_s), qPrintable(modificateurs));
    QCOMPARE(nombreChamps(ctl.appeler(DispId::LireModificateurs).toString()) % 4, 0);
    QCOMPARE(ctl.appeler(DispId::LireRegroupements).toString(), u"ATM|/ATM/|ADA|Acte d'anesthésie"_s);

    ctl.ecrire(DispId::CodeActe, QStringLiteral("LHQK005"));
    const QString compatibles = ctl.appeler(DispId::LireActesCompatibles).toString();
    QCOMPARE(nombreChamps(compatibles), 4);
    QVERIFY(compatibles.endsWith(u"ZZQK002|guidage/scano"_s));
}

void TestComposant::baseIntrouvable()
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("absente.sqlite"));
    CtlTarvo ctl(nullptr, chemin);
    ctl.ecrire(DispId::CodeActe, QString());
    // Nothing to look up: the store is not even opened.
    QCOMPARE(ctl.appeler(DispId::LireLibelle).toString(), QString());

    ctl.ecrire(DispId::CodeActe, QStringLiteral("JLNL001"));
    for (qint32 membre : {qint32(DispId::LireLibelle), qint32(DispId::SelectionActe)}) {
        try {
            ctl.appeler(membre);
            QFAIL("a missing store answered");
        } catch (const Echec& echec) {
            QCOMPARE(echec.numero(), int(Echec::EchecComposant));
            QVERIFY2(echec.description().contains(u"Base CCAM"_s), qPrintable(echec.description()));
        }
    }
    // The failure left what was written.
    QCOMPARE(ctl.lire(DispId::CodeActe).toString(), u"JLNL001"_s);
}

QTEST_GUILESS_MAIN(TestComposant)
#include "tst_composant.moc"
