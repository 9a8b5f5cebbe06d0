// A control whose identifiers moved, registered in the tests' prefix: the tool says so at every start and in
// its diagnostic, and its calls still go by the original identifiers.
#include "commandesfenetre.h"
#include "controlecom.h"
#include "demarrage.h"
#include "journalappels.h"
#include "sequencetarvo.h"
#include "servicemessagesscripte.h"
#include "sondefixe.h"
#include "verificationidentifiants.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <windows.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString progId = u"BancTest.ctlDecale"_s;

// The eight methods moved by 0x100; the properties kept theirs.
const QStringList lignesAttendues{u"SelectionActe\t0x60030008\t0x60030108"_s,
                                  u"LireLibelle\t0x60030009\t0x60030109"_s,
                                  u"LirePrix\t0x6003000A\t0x6003010A"_s,
                                  u"LireModificateurs\t0x6003000B\t0x6003010B"_s,
                                  u"LireModificateursActe\t0x6003000C\t0x6003010C"_s,
                                  u"LireRegroupements\t0x6003000D\t0x6003010D"_s,
                                  u"LireLibelleLong\t0x6003000E\t0x6003010E"_s,
                                  u"LireActesCompatibles\t0x6003000F\t0x6003010F"_s};

using FonctionInscription = HRESULT(STDAPICALLTYPE*)();

HRESULT appelerServeur(const char* fonction)
{
    HMODULE module = LoadLibraryW(reinterpret_cast<const wchar_t*>(
        QDir::toNativeSeparators(QStringLiteral(CHEMIN_CONTROLE_DECALE)).utf16()));
    if (module == nullptr)
        return HRESULT_FROM_WIN32(GetLastError());
    const auto inscrire =
        reinterpret_cast<FonctionInscription>(reinterpret_cast<void*>(GetProcAddress(module, fonction)));
    const HRESULT hr = inscrire != nullptr ? inscrire() : E_NOINTERFACE;
    FreeLibrary(module);
    return hr;
}

QList<QJsonObject> evenements(const QString& chemin, const QString& genre)
{
    QList<QJsonObject> trouves;
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return trouves;
    while (!f.atEnd()) {
        const QJsonObject e = QJsonDocument::fromJson(f.readLine()).object();
        if (e.value(u"genre").toString() == genre)
            trouves.append(e);
    }
    return trouves;
}

} // namespace

class TestControleDecale : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QCOMPARE(appelerServeur("DllRegisterServer"), S_OK); }
    void cleanupTestCase() { appelerServeur("DllUnregisterServer"); }

    void diagnosticNommeLesMembresDeplaces()
    {
        QProcess banc;
        banc.start(QStringLiteral(CHEMIN_BANC_DECALE), {u"--diagnostic"_s});
        QVERIFY(banc.waitForFinished(120000));
        const QString rapport = QString::fromUtf8(banc.readAllStandardOutput()).replace(u"\r\n"_s, u"\n"_s);
        QCOMPARE(banc.exitCode(), 1);
        const QStringList lignes = rapport.split(u'\n');
        for (const QString& attendue : lignesAttendues)
            QVERIFY2(lignes.contains(attendue), qPrintable(rapport));
        QVERIFY2(rapport.contains(u"Identifiants : 8 membre(s) sur 22 diffèrent"_s), qPrintable(rapport));
        QVERIFY2(rapport.contains(u"  Notre substitut : non\n"_s), qPrintable(rapport));
        QVERIFY2(rapport.contains(u"  Modèle de threads : Apartment\n"_s), qPrintable(rapport));
    }

    // The window: one warning box once it has opened, and one journal event per member.
    void avertissementEtJournalAuDemarrage()
    {
        QTemporaryDir dossier;
        QVERIFY(dossier.isValid());
        const QString cheminJournal = dossier.filePath(u"journal.jsonl"_s);
        {
            QString erreur;
            std::unique_ptr<JournalAppels> journal = JournalAppels::ouvrir(cheminJournal, erreur);
            QVERIFY2(journal, qPrintable(erreur));
            VerificationIdentifiants verification(journal.get());
            const FabriqueControle fabrique =
                verification.envelopper([](QWidget* fenetre) { return creerControleCom(progId, fenetre); });
            ServiceMessagesScripte messages;
            SondeFixe sonde;
            const std::unique_ptr<FrmInit> fenetre =
                demarrerFrmInit(messages, fabrique, sonde, commandesFrmInit(appelsTarvo()));
            QVERIFY(fenetre);
            QVERIFY(messages.messages.isEmpty());
            verification.avertirApresOuverture(*fenetre, messages, progId);
            QTRY_COMPARE(messages.messages.size(), 1);
            const ServiceMessagesScripte::Message& boite = messages.messages.constFirst();
            QCOMPARE(boite.icone, IconeMessage::Avertissement);
            for (const QString& membre : {u"SelectionActe"_s, u"LireActesCompatibles"_s})
                QVERIFY2(boite.texte.contains(membre), qPrintable(boite.texte));
            QVERIFY2(!boite.texte.contains(u"CodeActe"_s), qPrintable(boite.texte));
        }
        const QList<QJsonObject> ecarts = evenements(cheminJournal, u"identifiants"_s);
        QCOMPARE(ecarts.size(), 8);
        QCOMPARE(ecarts.constFirst().value(u"membre").toString(), u"SelectionActe"_s);
        QCOMPARE(ecarts.constFirst().value(u"attendu").toString(), u"0x60030008"_s);
        QCOMPARE(ecarts.constFirst().value(u"trouve").toString(), u"0x60030108"_s);
    }

    // A scenario shows no window: the journal says which control answered and what moved, the standard
    // error says it too, and the calls still go by the original identifiers.
    void scenarioJournaliseLesEcarts()
    {
        QTemporaryDir dossier;
        QVERIFY(dossier.isValid());
        const QString scenario = dossier.filePath(u"s.jsonl"_s);
        const QString journal = dossier.filePath(u"j.jsonl"_s);
        QFile f(scenario);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(R"({"remplir": "txtCodeCCAM", "texte": "LHQK005"})"
                "\n"
                R"({"cliquer": "Command6"})"
                "\n");
        f.close();
        QProcess banc;
        banc.start(QStringLiteral(CHEMIN_BANC_DECALE), {u"--scenario"_s, scenario, u"--journal"_s, journal});
        QVERIFY(banc.waitForFinished(120000));
        const QString erreurs = QString::fromUtf8(banc.readAllStandardError());
        QVERIFY2(erreurs.contains(u"LireLibelle"_s), qPrintable(erreurs));

        const QJsonObject controle = evenements(journal, u"debut"_s).value(0).value(u"controle").toObject();
        QCOMPARE(controle.value(u"clsid").toString(), u"{6E1B5C2A-3F0D-4C8B-9A47-2D5E8F1C0B93}"_s);
        QVERIFY2(
            controle.value(u"serveur").toString().endsWith(u"\\ControleDecale.dll"_s, Qt::CaseInsensitive),
            qPrintable(controle.value(u"serveur").toString()));
        QCOMPARE(evenements(journal, u"identifiants"_s).size(), 8);
        // Command6 calls LireLibelle by its original identifier, which this control no longer has.
        const QList<QJsonObject> appels = evenements(journal, u"controle"_s);
        bool echec438 = false;
        for (const QJsonObject& e : appels)
            if (e.value(u"membre").toString() == u"LireLibelle"_s)
                echec438 = e.value(u"echec").toObject().value(u"numero").toInt() == 438;
        QVERIFY(echec438);
    }
};

QTEST_MAIN(TestControleDecale)
#include "tst_controledecale.moc"
