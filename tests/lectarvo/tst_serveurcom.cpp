// LecTarvo.ocx as clients reach it: created by its ProgID through the system's COM (registered by the
// lectarvo_enregistre fixture), every member by its identifier, answering as our component does from the
// same store, its failures raised as automation exceptions.
#include "appelsdispatch.h"
#include "controledispatch.h"
#include "conversionsvariant.h"
#include "ctltarvo.h"
#include "identiteserveur.h"
#include "tablemembres.h"

#include <QCoreApplication>
#include <QTest>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;
using namespace Qt::StringLiterals;

namespace {

// The context every command writes, with both kinds of value a client sends.
void ecrireContexte(IDispatch* objet, ControleDispatch& temoin, const QString& code)
{
    const std::pair<qint32, QVariant> contexte[] = {
        {DispId::SRTSeulement, qint32(0)},
        {DispId::GrilleTarifaire, u"001"_s},
        {DispId::DateReference, u"20250601"_s},
        {DispId::CheminConfig, u"C:\\ProgramData\\santesocial"_s},
        {DispId::CodeActe, code},
    };
    for (const auto& [dispId, valeur] : contexte) {
        VariantCom v = valeur.typeId() == QMetaType::Int ? variantEntier(valeur.toInt())
                                                         : variantTexte(valeur.toString());
        QCOMPARE(ecrire(objet, dispId, v.valeur()).hr, S_OK);
        temoin.ecrire(dispId, valeur);
    }
}

} // namespace

class TestServeurCom : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        CLSID clsid{};
        QCOMPARE(CLSIDFromProgID(L"LectTarvo.ctlTarvo", &clsid), S_OK);
        QVERIFY(IsEqualCLSID(clsid, ClsidCtlTarvo));
    }
    void cleanupTestCase() { CoUninitialize(); }

    void init()
    {
        CLSID clsid{};
        QCOMPARE(CLSIDFromProgID(L"LectTarvo.ctlTarvo", &clsid), S_OK);
        QCOMPARE(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&m_objet)), S_OK);
        // The same component linked here, on the same store, is what every answer must match.
        m_temoin = std::make_unique<CtlTarvo>(nullptr, QStringLiteral(BANC_CCAM_ECHANTILLON));
    }
    void cleanup()
    {
        m_objet.Reset();
        m_temoin.reset();
    }

    void nomsParLeSysteme_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<qint32>("attendu");
        QTest::newRow("CheminConfig") << u"CheminConfig"_s << qint32(0x4003001C);
        QTest::newRow("GrilleTarifaire") << u"GrilleTarifaire"_s << qint32(0x40030029);
        QTest::newRow("SelectionActe") << u"SelectionActe"_s << qint32(0x60030008);
        QTest::newRow("LireActesCompatibles") << u"LireActesCompatibles"_s << qint32(0x6003000F);
        QTest::newRow("as a script writes it") << u"lireprix"_s << qint32(0x6003000A);
        QTest::newRow("unknown") << u"Quitter"_s << qint32(DISPID_UNKNOWN);
    }
    void nomsParLeSysteme()
    {
        QFETCH(QString, nom);
        QFETCH(qint32, attendu);
        const auto [hr, identifiant] = identifiantDe(m_objet.Get(), nom);
        QCOMPARE(identifiant, DISPID(attendu));
        QCOMPARE(hr, attendu == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK);
    }

    void chaqueMembre_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<qint32>("dispId");
        const qint32 lus[] = {
            0x4003001C, 0x4003001D, 0x4003001F, 0x40030020, 0x40030021, 0x40030022, 0x40030023,
            0x40030024, 0x40030025, 0x40030026, 0x40030027, 0x40030028, 0x40030029, 0x60030009,
            0x6003000A, 0x6003000B, 0x6003000C, 0x6003000D, 0x6003000E, 0x6003000F,
        };
        for (const QString& code : {u"JLNL001"_s, u"LHQK005"_s, u"HFFC004"_s}) {
            for (qint32 dispId : lus)
                QTest::addRow("%s %s", qPrintable(code), qPrintable(nomMembre(dispId))) << code << dispId;
        }
    }
    void chaqueMembre()
    {
        QFETCH(QString, code);
        QFETCH(qint32, dispId);
        ecrireContexte(m_objet.Get(), *m_temoin, code);
        const bool methode = (dispId & 0x60000000) == 0x60000000;
        const ReponseDispatch reponse =
            methode ? appeler(m_objet.Get(), dispId) : lire(m_objet.Get(), dispId);
        QCOMPARE(reponse.hr, S_OK);
        QCOMPARE(reponse.type, VARTYPE(VT_BSTR));
        const QVariant attendu = methode ? m_temoin->appeler(dispId) : m_temoin->lire(dispId);
        QCOMPARE(reponse.texte, attendu.toString());
    }

    void reponsesConnues()
    {
        // A few answers pinned, so a server answering from no store (every text empty) cannot pass.
        ecrireContexte(m_objet.Get(), *m_temoin, u"LHQK005"_s);
        QCOMPARE(appeler(m_objet.Get(), 0x6003000A).texte, u"2590"_s);
        QCOMPARE(lire(m_objet.Get(), 0x40030028).texte, u"ADI"_s);
        QCOMPARE(appeler(m_objet.Get(), 0x6003000F).texte,
                 u"YYYY026|suppl. injection PDC scano|ZZQK002|guidage scanographique"_s);
        QCOMPARE(lire(m_objet.Get(), 0x40030021).texte, u"scano plusieurs segments rachis"_s);
    }

    void specialiteParReference()
    {
        LONG specialite = 6;
        VariantCom reference;
        reference.valeur().vt = VT_BYREF | VT_I4;
        reference.valeur().plVal = &specialite;
        QCOMPARE(ecrire(m_objet.Get(), 0x4003001E, reference.valeur(), DISPATCH_PROPERTYPUTREF).hr, S_OK);
        QCOMPARE(specialite, LONG(6));
        QCOMPARE(lire(m_objet.Get(), 0x4003001E).texte, u"6"_s);
    }

    void echecsLevesParLeServeur_data()
    {
        QTest::addColumn<qint32>("ecrit");
        QTest::addColumn<QString>("valeur");
        QTest::addColumn<qint32>("interroge");
        QTest::addColumn<QString>("description");

        QTest::newRow("malformed date, then a query")
            << qint32(DispId::DateReference) << u"2025-06-01"_s << qint32(DispId::LirePrix)
            << u"Valeur invalide pour DateReference : « 2025-06-01 » (date AAAAMMJJ attendu)"_s;
        QTest::newRow("grid out of range, then a property")
            << qint32(DispId::GrilleTarifaire) << u"020"_s << qint32(DispId::PrixActe)
            << u"Valeur invalide pour GrilleTarifaire : « 020 » (grille 000 à 019 attendu)"_s;
        QTest::newRow("write of a result") << qint32(DispId::PrixActe) << u"1"_s << qint32(0)
                                           << u"La propriété PrixActe est en lecture seule"_s;
    }
    void echecsLevesParLeServeur()
    {
        QFETCH(qint32, ecrit);
        QFETCH(QString, valeur);
        QFETCH(qint32, interroge);
        QFETCH(QString, description);
        VariantCom code = variantTexte(u"HFFC004"_s);
        QCOMPARE(ecrire(m_objet.Get(), DispId::CodeActe, code.valeur()).hr, S_OK);
        VariantCom v = variantTexte(valeur);
        ReponseDispatch reponse = ecrire(m_objet.Get(), ecrit, v.valeur());
        if (interroge != 0) {
            QCOMPARE(reponse.hr, S_OK);
            reponse = (interroge & 0x60000000) == 0x60000000 ? appeler(m_objet.Get(), interroge)
                                                             : lire(m_objet.Get(), interroge);
        }
        QCOMPARE(reponse.hr, DISP_E_EXCEPTION);
        QCOMPARE(quint32(reponse.scode), 0x800A01B8u); // 440, a member of a component that fails
        QCOMPARE(reponse.wCode, WORD(0));
        QCOMPARE(reponse.source, u"LectTarvo.ctlTarvo"_s);
        QCOMPARE(reponse.description, description);
    }

    void selectionSansApplicationGraphique()
    {
        // This client runs a Qt application without widgets: the server must refuse the dialog, not make a
        // second application nor crash.
        QVERIFY(QCoreApplication::instance() != nullptr);
        const ReponseDispatch reponse = appeler(m_objet.Get(), DispId::SelectionActe);
        QCOMPARE(reponse.hr, DISP_E_EXCEPTION);
        QCOMPARE(quint32(reponse.scode), 0x800A01B8u);
        QVERIFY2(reponse.description.contains(u"application graphique"_s), qPrintable(reponse.description));
    }

private:
    ComPtr<IDispatch> m_objet;
    std::unique_ptr<CtlTarvo> m_temoin;
};

QTEST_GUILESS_MAIN(TestServeurCom)
#include "tst_serveurcom.moc"
