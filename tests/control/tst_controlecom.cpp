// The window's control reached through COM: created by ProgID, sited, and called by IDispatch::Invoke.
// Against a recording COM object of the tests' own, each command makes exactly the Invoke calls its accesses
// mean, values come back as the automation runtime writes them, and every failure reaches the operator with
// its number.
#include "controlecom.h"
#include "controleenregistreur.h"
#include "echec.h"
#include "enregistreurcom_win.h"
#include "frminit.h"
#include "journaltest.h"
#include "membresctltarvo.h"
#include "sequencetarvo.h"
#include "servicemessagesscripte.h"
#include "sondefixe.h"
#include "tablemembres.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <olectl.h>

namespace {

QString S(const char* texte)
{
    return QString::fromUtf8(texte);
}

const QString progIdEnregistreur = S("BancTest.Enregistreur");

QString hexa(qint32 id)
{
    return QStringLiteral("0x%1")
        .arg(static_cast<quint32>(id), 8, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QStringLiteral("0X"), QStringLiteral("0x"));
}

// The Invoke an access of the in-process recording control stands for: a write is a property put with the
// DISPID_PROPERTYPUT named argument (a text as VT_BSTR, an integer as VT_I4, by reference as VT_BYREF), a
// read and a call of an argument-less member both flags at once, as the runtime's compiled calls pass them.
QString invokeAttendu(const QString& acces)
{
    static const QRegularExpression ecriture(S(R"(^(\w+) <-(&?) (.*)$)"));
    static const QRegularExpression lecture(S(R"(^(\w+) ->$)"));
    static const QRegularExpression appel(S(R"(^(\w+)\(\)$)"));
    const auto identifiant = [](const QString& nom) {
        const MembreCtlTarvo* membre = membreParNom(nom);
        return membre ? hexa(membre->dispId) : S("?");
    };
    if (const auto m = ecriture.match(acces); m.hasMatch()) {
        const bool texte = m.captured(3).startsWith(QLatin1Char('"'));
        return S("PUT %1 [PROPERTYPUT] %2%3 %4")
            .arg(identifiant(m.captured(1)), m.captured(2).isEmpty() ? QString() : S("VT_BYREF|"),
                 texte ? S("VT_BSTR") : S("VT_I4"), m.captured(3));
    }
    if (const auto m = lecture.match(acces); m.hasMatch())
        return S("METHOD|GET ") + identifiant(m.captured(1));
    if (const auto m = appel.match(acces); m.hasMatch())
        return S("METHOD|GET ") + identifiant(m.captured(1));
    return acces; // a box: not a control access
}

const QHash<qint32, QString>& reponsesTextes()
{
    static const QHash<qint32, QString> r{
        {DispId::CodeActe, S("LHQK005")},
        {DispId::LibelleCourtActe, S("court")},
        {DispId::LibelleLongActe, S("long libellé")},
        {DispId::Modificateurs, S("A|Anesthésie|B|Bilatéral")},
        {DispId::ModificateursActivite1, S("A|Anesthésie")},
        {DispId::ModificateursActivite4, S("")},
        {DispId::ModificateursActivite5, S("Z|Zeta")},
        {DispId::PrixActe, S("2590")},
        {DispId::CodeRegroupement, S("ADI")},
        {DispId::LireLibelle, S("libellé")},
        {DispId::LirePrix, S("2590")},
        {DispId::LireModificateurs, S("A|Anesthésie|1|")},
        {DispId::LireModificateursActe, S("A|Anesthésie")},
        {DispId::LireRegroupements, S("ADI|Actes")},
        {DispId::LireLibelleLong, S("long libellé")},
        {DispId::LireActesCompatibles, S("LHQK001|scano")},
    };
    return r;
}

struct Session
{
    JournalTest journal;
    ServiceMessagesScripte messages{&journal};
    SondeFixe sonde;
    std::unique_ptr<FrmInit> fenetre;

    explicit Session(const FabriqueControle& fabrique)
        : fenetre(std::make_unique<FrmInit>(messages, fabrique, sonde, commandesFrmInit(appelsTarvo())))
    {
        fenetre->charger();
        fenetre->controles().txtCodeCCAM->setText(S(" LHQK005"));
    }

    void cliquer(const QString& bouton)
    {
        auto* b = fenetre->findChild<QPushButton*>(bouton);
        QVERIFY2(b, qPrintable(bouton));
        messages.setProchaineSaisie(S("HFFC004"));
        b->click();
    }
};

} // namespace

class TestControleCom : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_inscription = std::make_unique<EnregistreurCom::Inscription>(progIdEnregistreur);
        QVERIFY(m_inscription->reussie());
    }
    void cleanupTestCase() { m_inscription.reset(); }
    void init()
    {
        EnregistreurCom::journal().clear();
        EnregistreurCom::reponses() = {};
        for (auto it = reponsesTextes().cbegin(); it != reponsesTextes().cend(); ++it)
            EnregistreurCom::reponses().valeurs.insert(it.key(), it.value());
    }

    void creationParProgIdInconnu()
    {
        try {
            creerControleCom(S("BancTest.Absent"), nullptr);
            QFAIL("objet créé");
        } catch (const Echec& echec) {
            QCOMPARE(echec.numero(), int{Echec::CreationImpossible});
            QVERIFY2(echec.description().contains(S("aucun contrôle n'est inscrit sous « BancTest.Absent »")),
                     qPrintable(echec.description()));
        }
    }

    // Sited on the window for exactly its life: the site gives the ambient user mode, and the control is
    // closed and unsited when the window goes.
    void siteDuControle()
    {
        {
            Session session([](QWidget* f) { return creerControleCom(progIdEnregistreur, f); });
            QCOMPARE(EnregistreurCom::journal(), (QStringList{S("SetClientSite"), S("DoVerb(-5)")}));
            IOleClientSite* site = EnregistreurCom::site();
            QVERIFY(site != nullptr);
            IDispatch* ambiance = nullptr;
            QCOMPARE(site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambiance)), S_OK);
            VARIANT modeUtilisateur;
            VariantInit(&modeUtilisateur);
            DISPPARAMS aucun{nullptr, nullptr, 0, 0};
            QCOMPARE(ambiance->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, LOCALE_USER_DEFAULT,
                                      DISPATCH_PROPERTYGET, &aucun, &modeUtilisateur, nullptr, nullptr),
                     S_OK);
            QCOMPARE(modeUtilisateur.vt, VARTYPE{VT_BOOL});
            QCOMPARE(modeUtilisateur.boolVal, VARIANT_TRUE);
            ambiance->Release();
        }
        QCOMPARE(EnregistreurCom::journal(),
                 (QStringList{S("SetClientSite"), S("DoVerb(-5)"), S("Close"), S("SetClientSite(null)")}));
    }

    void appelsDesCommandes_data()
    {
        QTest::addColumn<QString>("bouton");
        QTest::addColumn<bool>("srt");
        for (const char* bouton :
             {"cmdSelectActeCCAM", "Command1", "Command2", "Command4", "Command5", "Command6", "Command7"}) {
            QTest::addRow("%s", bouton) << S(bouton) << false;
            QTest::addRow("%s, SRT seulement", bouton) << S(bouton) << true;
        }
    }
    void appelsDesCommandes()
    {
        QFETCH(QString, bouton);
        QFETCH(bool, srt);

        // The accesses of the command against the in-process recording control...
        JournalTest acces;
        Session directe([&acces](QWidget*) {
            auto enregistreur = std::make_unique<ControleEnregistreur>(&acces);
            for (auto it = reponsesTextes().cbegin(); it != reponsesTextes().cend(); ++it)
                enregistreur->reponses.insert(it.key(), it.value());
            return enregistreur;
        });
        directe.fenetre->controles().chkSRT->setCheckState(srt ? Qt::Checked : Qt::Unchecked);
        directe.cliquer(bouton);
        QVERIFY(!acces.entrees.isEmpty());

        // ...are exactly the Invoke calls the COM object receives, and the window ends the same.
        Session com([](QWidget* f) { return creerControleCom(progIdEnregistreur, f); });
        com.fenetre->controles().chkSRT->setCheckState(srt ? Qt::Checked : Qt::Unchecked);
        EnregistreurCom::journal().clear();
        com.cliquer(bouton);
        QStringList attendu;
        for (const QString& a : acces.entrees)
            attendu.append(invokeAttendu(a));
        QCOMPARE(EnregistreurCom::journal(), attendu);
        QCOMPARE(com.messages.messages.size(), directe.messages.messages.size());
        for (int i = 0; i < com.messages.messages.size(); ++i)
            QCOMPARE(com.messages.messages.at(i).texte, directe.messages.messages.at(i).texte);
        QCOMPARE(com.fenetre->controles().TxtPrix->text(), directe.fenetre->controles().TxtPrix->text());
        QCOMPARE(com.fenetre->controles().cboMod->count(), directe.fenetre->controles().cboMod->count());
    }

    // What the control writes back into a by-reference argument lands in the caller's variable.
    void ecritureParReference()
    {
        auto controle = creerControleCom(progIdEnregistreur, nullptr);
        EnregistreurCom::journal().clear();
        EnregistreurCom::reponses().parReference.insert(DispId::CodeSpecialite, 19);
        EnregistreurCom::reponses().parReference.insert(DispId::CodeActe, S("HFFC004"));
        QVariant specialite = qint32{6};
        controle->ecrireParReference(DispId::CodeSpecialite, specialite);
        QCOMPARE(specialite, QVariant(qint32{19}));
        QVariant code = S("LHQK005");
        controle->ecrireParReference(DispId::CodeActe, code);
        QCOMPARE(code, QVariant(S("HFFC004")));
        QCOMPARE(EnregistreurCom::journal(),
                 (QStringList{S("PUT 0x4003001E [PROPERTYPUT] VT_BYREF|VT_I4 6"),
                              S("PUT 0x4003001F [PROPERTYPUT] VT_BYREF|VT_BSTR \"LHQK005\"")}));
    }

    // A control may answer a number, a boolean or nothing: taken as text the way the runtime converts it.
    void valeursLuesCommeTexte_data()
    {
        wchar_t separateur[8] = {};
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separateur, 8);
        const QString virgule = QString::fromWCharArray(separateur);
        QTest::addColumn<QVariant>("valeur");
        QTest::addColumn<QString>("texte");
        QTest::newRow("texte") << QVariant(S("2590")) << S("2590");
        QTest::newRow("entier") << QVariant(42) << S("42");
        QTest::newRow("double entier, sans exposant") << QVariant(100000.0) << S("100000");
        QTest::newRow("double grand") << QVariant(1e20) << S("1E+20");
        QTest::newRow("double négatif") << QVariant(-0.5) << S("-0") + virgule + S("5");
        QTest::newRow("simple 0,1, sans ses décimales binaires")
            << QVariant(0.1f) << S("0") + virgule + S("1");
        const bool francais = PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())) == LANG_FRENCH;
        QTest::newRow("booléen, dans la langue de l'utilisateur")
            << QVariant(true) << (francais ? S("Vrai") : S("True"));
    }
    void valeursLuesCommeTexte()
    {
        QFETCH(QVariant, valeur);
        QFETCH(QString, texte);
        EnregistreurCom::reponses().valeurs.insert(DispId::PrixActe, valeur);
        EnregistreurCom::reponses().valeurs.insert(DispId::LirePrix, valeur);
        auto controle = creerControleCom(progIdEnregistreur, nullptr);
        QCOMPARE(controle->lire(DispId::PrixActe), QVariant(texte));
        MembresCtlTarvo membres(*controle);
        QCOMPARE(membres.LirePrix(), texte);
    }

    // Empty, from a property or from a function that assigned nothing, is handed on as nothing and reads as
    // the empty text.
    void reponseVide()
    {
        EnregistreurCom::reponses().valeurs.insert(DispId::PrixActe, QVariant());
        EnregistreurCom::reponses().valeurs.insert(DispId::LirePrix, QVariant());
        auto controle = creerControleCom(progIdEnregistreur, nullptr);
        QCOMPARE(controle->lire(DispId::PrixActe), QVariant());
        QCOMPARE(controle->appeler(DispId::SelectionActe), QVariant());
        MembresCtlTarvo membres(*controle);
        QCOMPARE(membres.PrixActe(), QString());
        QCOMPARE(membres.LirePrix(), QString());
    }

    void valeurNulleIncompatible()
    {
        EnregistreurCom::reponses().valeurs.insert(DispId::PrixActe, QVariant::fromValue(nullptr));
        auto controle = creerControleCom(progIdEnregistreur, nullptr);
        MembresCtlTarvo membres(*controle);
        try {
            membres.PrixActe();
            QFAIL("valeur nulle lue");
        } catch (const Echec& echec) {
            QCOMPARE(echec.numero(), int(Echec::UtilisationIncorrecteDeNull));
            QCOMPARE(echec.description(), S("Utilisation incorrecte de Null"));
        }
    }

    void echecs_data()
    {
        QTest::addColumn<int>("resultat");
        QTest::addColumn<int>("scode");
        QTest::addColumn<int>("wCode");
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("numero");
        QTest::addColumn<QString>("texte"); // empty: the system's own text, whatever it is
        const int exception = DISP_E_EXCEPTION;
        QTest::newRow("exception du contrôle, numéro de contrôle")
            << exception << int(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 31001)) << 0
            << S("Base CCAM inutilisable") << 31001 << S("Base CCAM inutilisable");
        QTest::newRow("exception du contrôle, wCode")
            << exception << 0 << 1001 << S("Acte inconnu") << 1001 << S("Acte inconnu");
        QTest::newRow("exception portant une erreur système")
            << exception << int(E_OUTOFMEMORY) << 0 << S("plus de mémoire") << 7 << S("plus de mémoire");
        // The codes the runtime numbers, each with the runtime's own text, whatever the system says of it.
        const auto runtime = [](const char* nom, HRESULT code, int numeroRuntime, const char* texteRuntime) {
            QTest::newRow(nom) << int(code) << 0 << 0 << QString() << numeroRuntime << S(texteRuntime);
        };
        runtime("membre absent", DISP_E_MEMBERNOTFOUND, 438, "Propriété ou méthode non gérée par cet objet");
        runtime("nom inconnu", DISP_E_UNKNOWNNAME, 438, "Propriété ou méthode non gérée par cet objet");
        runtime("incompatibilité de type", DISP_E_TYPEMISMATCH, 13, "Incompatibilité de type");
        runtime("type non géré", DISP_E_BADVARTYPE, 458,
                "Cette variable utilise un type Automation non géré");
        runtime("argument nommé introuvable", DISP_E_PARAMNOTFOUND, 448, "Argument nommé introuvable");
        runtime("pas d'arguments nommés", DISP_E_NONAMEDARGS, 446,
                "Cet objet ne gère pas les arguments nommés");
        runtime("indice hors limites", DISP_E_BADINDEX, 9, "L'indice n'appartient pas à la sélection");
        runtime("mémoire", E_OUTOFMEMORY, 7, "Mémoire insuffisante");
        runtime("nombre d'arguments", DISP_E_BADPARAMCOUNT, 450,
                "Nombre d'arguments incorrect ou affectation de propriété incorrecte");
        runtime("argument non facultatif", DISP_E_PARAMNOTOPTIONAL, 449, "Argument non facultatif");
        runtime("argument incorrect", E_INVALIDARG, 5, "Argument ou appel de procédure incorrect");
        runtime("dépassement", DISP_E_OVERFLOW, 6, "Dépassement de capacité");
        runtime("pas d'interface", E_NOINTERFACE, 430,
                "Cette classe ne gère pas Automation ou l'interface attendue");
        runtime("code du contrôle 438 sans description", MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 438),
                438, "Propriété ou méthode non gérée par cet objet");
        QTest::newRow("vbObjectError + 513, décrit par le contrôle")
            << exception << int(0x80040201) << 0 << S("Acte introuvable") << -2147220991
            << S("Acte introuvable");
        QTest::newRow("exception sans description, numéro de contrôle")
            << exception << int(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 31002)) << 0 << QString()
            << 31002 << S("Erreur définie par l'application ou par l'objet");
        QTest::newRow("E_UNEXPECTED, valeur signée")
            << int(E_UNEXPECTED) << 0 << 0 << QString() << -2147418113 << QString();
        QTest::newRow("E_FAIL, valeur signée")
            << int(E_FAIL) << 0 << 0 << QString() << -2147467259 << QString();
        QTest::newRow("code du contrôle hors exception")
            << int(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 380)) << 0 << 0 << QString() << 380
            << QString();
    }
    void echecs()
    {
        QFETCH(int, resultat);
        QFETCH(int, scode);
        QFETCH(int, wCode);
        QFETCH(QString, description);
        QFETCH(int, numero);
        QFETCH(QString, texte);
        EnregistreurCom::reponses().echecs.insert(
            DispId::LireLibelle, {HRESULT(resultat), SCODE(scode), WORD(wCode), description});

        // Through the window: the command stops and the general error report shows the number.
        Session session([](QWidget* f) { return creerControleCom(progIdEnregistreur, f); });
        session.cliquer(S("Command6"));
        QCOMPARE(session.messages.messages.size(), 1);
        const QString boite = session.messages.messages.first().texte;
        QVERIFY2(boite.startsWith(S("Erreur %1 : ").arg(numero)), qPrintable(boite));
        if (!texte.isEmpty())
            QCOMPARE(boite, S("Erreur %1 : %2").arg(numero).arg(texte));
        else
            QVERIFY2(boite.size() > S("Erreur %1 : ").arg(numero).size(), qPrintable(boite));
        // A code the runtime has no number of its own for is an automation error, with the system's word on
        // it.
        if (numero < 0 && description.isEmpty())
            QVERIFY2(boite.startsWith(S("Erreur %1 : Erreur Automation : ").arg(numero)), qPrintable(boite));
    }

private:
    std::unique_ptr<EnregistreurCom::Inscription> m_inscription;
};

QTEST_MAIN(TestControleCom)
#include "tst_controlecom.moc"
