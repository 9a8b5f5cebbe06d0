// The IDispatch face of the server over a control of the test's own: what reaches the component for each
// kind of client value, what goes back to the client's variables, and how every failure is reported.
#include "appelsdispatch.h"
#include "controledispatch.h"
#include "conversionsvariant.h"
#include "echec.h"
#include "identiteserveur.h"
#include "objetdispatch.h"
#include "tablemembres.h"

#include <QStringList>
#include <QTest>
#include <functional>
#include <olectl.h>
#include <stdexcept>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;
using namespace Qt::StringLiterals;

namespace {

struct Acces
{
    QString genre; // ecrire, reference, lire, appeler
    qint32 dispId;
    QVariant valeur;
};

// What the control saw, and what it is told to do; the test keeps it, the COM object owns the control.
struct EtatControle
{
    QList<Acces> acces;
    std::function<void(QVariant&)> modifierReference;
    std::function<void()> echouer;
    QVariant reponse = u"réponse"_s;
    bool detruit = false;
};

class ControleTemoin final : public ControleDispatch
{
public:
    explicit ControleTemoin(EtatControle& etat)
        : m_etat(etat)
    {}
    ~ControleTemoin() override { m_etat.detruit = true; }

    void ecrire(qint32 dispId, const QVariant& valeur) override { noter(u"ecrire"_s, dispId, valeur); }
    void ecrireParReference(qint32 dispId, QVariant& valeur) override
    {
        noter(u"reference"_s, dispId, valeur);
        if (m_etat.modifierReference)
            m_etat.modifierReference(valeur);
    }
    QVariant lire(qint32 dispId) override
    {
        noter(u"lire"_s, dispId, {});
        return m_etat.reponse;
    }
    QVariant appeler(qint32 dispId) override
    {
        noter(u"appeler"_s, dispId, {});
        if (dispId != DispId::SelectionActe)
            return m_etat.reponse;
        if (m_observateur)
            m_observateur({u"SelectionTerminee"_s,
                           DispIdEvenement::SelectionTerminee,
                           {{u"CodeActe"_s, u"LHQK005"_s}, {u"Annulee"_s, false}},
                           {}});
        return {};
    }
    void observerEvenements(ObservateurEvenements observateur) override
    {
        m_observateur = std::move(observateur);
    }

private:
    void noter(const QString& genre, qint32 dispId, const QVariant& valeur)
    {
        m_etat.acces.append({genre, dispId, valeur});
        if (m_etat.echouer)
            m_etat.echouer();
    }

    EtatControle& m_etat;
    ObservateurEvenements m_observateur;
};

// COM interfaces are released through Release(), never deleted through a base pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// A client's handler of the events' interface: what each Invoke brought, "1 VT_BSTR:LHQK005 VT_BOOL:0".
class PuitsTemoin final : public IDispatch
{
public:
    QStringList recus;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objet) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IidEvenementsCtlTarvo) {
            *objet = static_cast<IDispatch*>(this);
            return S_OK;
        }
        *objet = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override
    {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD drapeaux, DISPPARAMS* p, VARIANT*,
                                     EXCEPINFO*, UINT*) override
    {
        QString ligne = QString::number(id) + (drapeaux == DISPATCH_METHOD ? u""_s : u" ?"_s);
        for (UINT i = p->cArgs; i-- > 0;) {
            const VARIANT& v = p->rgvarg[i];
            ligne += v.vt == VT_BSTR   ? u" VT_BSTR:"_s + texteDepuisBstr(v.bstrVal)
                     : v.vt == VT_BOOL ? u" VT_BOOL:"_s + QString::number(v.boolVal != VARIANT_FALSE)
                                       : u" vt="_s + QString::number(v.vt);
        }
        recus.append(ligne);
        return S_OK;
    }
};
#pragma GCC diagnostic pop

// A member's names (itself, then its parameters) in a type information.
QStringList noms(ITypeInfo* info, MEMBERID id)
{
    BSTR lus[4] = {};
    UINT nombre = 0;
    if (FAILED(info->GetNames(id, lus, 4, &nombre)))
        return {};
    QStringList resultat;
    for (UINT i = 0; i < nombre; ++i) {
        resultat.append(texteDepuisBstr(lus[i]));
        SysFreeString(lus[i]);
    }
    return resultat;
}

VariantCom variantDe(VARTYPE type, double nombre)
{
    VariantCom v;
    v.valeur().vt = VT_R8;
    v.valeur().dblVal = nombre;
    if (type != VT_R8)
        VariantChangeType(&v.valeur(), &v.valeur(), 0, type);
    return v;
}

} // namespace

// The test's descriptions of client values, turned into VARIANTs when the row runs.
using FabriqueValeur = std::function<VariantCom()>;
Q_DECLARE_METATYPE(FabriqueValeur)
using Echouer = std::function<void()>;
Q_DECLARE_METATYPE(Echouer)

class TestObjetDispatch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_etat = EtatControle{};
        // Not ComPtr::Attach: mingw-w64's adds a reference of its own.
        QCOMPARE(ObjetDispatch::creer(std::make_unique<ControleTemoin>(m_etat), IID_IDispatch,
                                      reinterpret_cast<void**>(m_objet.ReleaseAndGetAddressOf())),
                 S_OK);
    }
    void cleanup() { m_objet.Reset(); }

    void nomsDesMembres_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<qint32>("attendu");
        const std::pair<const char*, quint32> membres[] = {
            {"CheminConfig", 0x4003001C},
            {"SRTSeulement", 0x4003001D},
            {"CodeSpecialite", 0x4003001E},
            {"CodeActe", 0x4003001F},
            {"LibelleLongActe", 0x40030020},
            {"LibelleCourtActe", 0x40030021},
            {"DateReference", 0x40030022},
            {"Modificateurs", 0x40030023},
            {"ModificateursActivite1", 0x40030024},
            {"ModificateursActivite4", 0x40030025},
            {"ModificateursActivite5", 0x40030026},
            {"PrixActe", 0x40030027},
            {"CodeRegroupement", 0x40030028},
            {"GrilleTarifaire", 0x40030029},
            {"SelectionActe", 0x60030008},
            {"LireLibelle", 0x60030009},
            {"LirePrix", 0x6003000A},
            {"LireModificateurs", 0x6003000B},
            {"LireModificateursActe", 0x6003000C},
            {"LireRegroupements", 0x6003000D},
            {"LireLibelleLong", 0x6003000E},
            {"LireActesCompatibles", 0x6003000F},
        };
        for (const auto& [nom, identifiant] : membres)
            QTest::newRow(nom) << QString::fromLatin1(nom) << qint32(identifiant);
        QTest::newRow("lower case") << u"codeacte"_s << qint32(0x4003001F);
        QTest::newRow("upper case") << u"LIREACTESCOMPATIBLES"_s << qint32(0x6003000F);
        QTest::newRow("unknown") << u"Prix"_s << qint32(DISPID_UNKNOWN);
        QTest::newRow("name with a space") << u"CodeActe "_s << qint32(DISPID_UNKNOWN);
        QTest::newRow("empty") << QString() << qint32(DISPID_UNKNOWN);
    }
    void nomsDesMembres()
    {
        QFETCH(QString, nom);
        QFETCH(qint32, attendu);
        const auto [hr, identifiant] = identifiantDe(m_objet.Get(), nom);
        QCOMPARE(identifiant, DISPID(attendu));
        QCOMPARE(hr, attendu == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK);
    }

    void nomsDArguments()
    {
        // No member has arguments: the member is named, its arguments are not.
        wchar_t membre[] = L"LirePrix";
        wchar_t argument[] = L"Code";
        LPOLESTR noms[] = {membre, argument};
        DISPID identifiants[] = {0, 0};
        QCOMPARE(m_objet->GetIDsOfNames(IID_NULL, noms, 2, LOCALE_USER_DEFAULT, identifiants),
                 DISP_E_UNKNOWNNAME);
        QCOMPARE(identifiants[0], DISPID(0x6003000A));
        QCOMPARE(identifiants[1], DISPID(DISPID_UNKNOWN));
        QCOMPARE(m_objet->GetIDsOfNames(IID_IDispatch, noms, 1, LOCALE_USER_DEFAULT, identifiants),
                 DISP_E_UNKNOWNINTERFACE);
    }

    void valeursEcrites_data()
    {
        QTest::addColumn<qint32>("dispId");
        QTest::addColumn<FabriqueValeur>("valeur");
        QTest::addColumn<QString>("genre");
        QTest::addColumn<QVariant>("recue");

        QTest::newRow("text as it is")
            << qint32(DispId::CodeActe) << FabriqueValeur([] { return variantTexte(u" lhqk005 "_s); })
            << u"ecrire"_s << QVariant(u" lhqk005 "_s);
        QTest::newRow("integer to a text member stays an integer")
            << qint32(DispId::GrilleTarifaire) << FabriqueValeur([] { return variantEntier(4); })
            << u"ecrire"_s << QVariant(qint32(4));
        QTest::newRow("text to an integer member stays text")
            << qint32(DispId::SRTSeulement) << FabriqueValeur([] { return variantTexte(u"oui"_s); })
            << u"ecrire"_s << QVariant(u"oui"_s);
        QTest::newRow("16-bit integer to an integer member")
            << qint32(DispId::SRTSeulement) << FabriqueValeur([] { return variantDe(VT_I2, 1); })
            << u"ecrire"_s << QVariant(qint32(1));
        QTest::newRow("double to a text member")
            << qint32(DispId::DateReference) << FabriqueValeur([] { return variantDe(VT_R8, 20250601); })
            << u"ecrire"_s << QVariant(u"20250601"_s);
        QTest::newRow("byte to a text member")
            << qint32(DispId::GrilleTarifaire) << FabriqueValeur([] { return variantDe(VT_UI1, 2); })
            << u"ecrire"_s << QVariant(u"2"_s);
        QTest::newRow("nothing to a text member")
            << qint32(DispId::CheminConfig) << FabriqueValeur([] { return VariantCom(); }) << u"ecrire"_s
            << QVariant(QString());
        QTest::newRow("double rounded for an integer member")
            << qint32(DispId::CodeSpecialite) << FabriqueValeur([] { return variantDe(VT_R8, 6.4); })
            << u"ecrire"_s << QVariant(qint32(6));
    }
    void valeursEcrites()
    {
        QFETCH(qint32, dispId);
        QFETCH(FabriqueValeur, valeur);
        VariantCom v = valeur();
        const ReponseDispatch reponse = ecrire(m_objet.Get(), dispId, v.valeur());
        QCOMPARE(reponse.hr, S_OK);
        QCOMPARE(m_etat.acces.size(), qsizetype(1));
        QCOMPARE(m_etat.acces[0].dispId, dispId);
        QTEST(m_etat.acces[0].genre, "genre");
        QTEST(m_etat.acces[0].valeur, "recue");
    }

    void valeursRefusees_data()
    {
        QTest::addColumn<qint32>("dispId");
        QTest::addColumn<FabriqueValeur>("valeur");

        QTest::newRow("null") << qint32(DispId::CodeActe) << FabriqueValeur([] {
            VariantCom v;
            v.valeur().vt = VT_NULL;
            return v;
        });
        QTest::newRow("integer member overflowed")
            << qint32(DispId::SRTSeulement) << FabriqueValeur([] { return variantDe(VT_R8, 1e12); });
        QTest::newRow("object") << qint32(DispId::CodeActe) << FabriqueValeur([] {
            VariantCom v;
            v.valeur().vt = VT_DISPATCH;
            v.valeur().pdispVal = nullptr;
            return v;
        });
    }
    void valeursRefusees()
    {
        QFETCH(qint32, dispId);
        QFETCH(FabriqueValeur, valeur);
        VariantCom v = valeur();
        const ReponseDispatch reponse = ecrire(m_objet.Get(), dispId, v.valeur());
        QCOMPARE(reponse.hr, DISP_E_TYPEMISMATCH);
        QCOMPARE(reponse.argumentFautif, 0u);
        QVERIFY(m_etat.acces.isEmpty());
    }

    void appelsMalFormes_data()
    {
        QTest::addColumn<qint32>("dispId");
        QTest::addColumn<int>("drapeaux");
        QTest::addColumn<int>("arguments");
        QTest::addColumn<int>("nommes");
        QTest::addColumn<HRESULT>("attendu");

        const int put = DISPATCH_PROPERTYPUT;
        const int get = DISPATCH_PROPERTYGET;
        const int methode = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
        QTest::newRow("put without a value")
            << qint32(DispId::CodeActe) << put << 0 << 0 << DISP_E_BADPARAMCOUNT;
        QTest::newRow("put of two values")
            << qint32(DispId::CodeActe) << put << 2 << 1 << DISP_E_BADPARAMCOUNT;
        QTest::newRow("put without its named argument")
            << qint32(DispId::CodeActe) << put << 1 << 0 << DISP_E_PARAMNOTFOUND;
        QTest::newRow("get with an argument")
            << qint32(DispId::PrixActe) << get << 1 << 0 << DISP_E_BADPARAMCOUNT;
        QTest::newRow("call with an argument")
            << qint32(DispId::LirePrix) << methode << 1 << 0 << DISP_E_BADPARAMCOUNT;
        QTest::newRow("call with a named argument")
            << qint32(DispId::LirePrix) << methode << 1 << 1 << DISP_E_NONAMEDARGS;
        QTest::newRow("put on a method")
            << qint32(DispId::LirePrix) << put << 1 << 1 << DISP_E_MEMBERNOTFOUND;
        QTest::newRow("unknown identifier") << qint32(0x40030099) << get << 0 << 0 << DISP_E_MEMBERNOTFOUND;
        QTest::newRow("default member") << qint32(DISPID_VALUE) << get << 0 << 0 << DISP_E_MEMBERNOTFOUND;
        QTest::newRow("put on an unknown identifier")
            << qint32(0x6003FFFF) << put << 1 << 1 << DISP_E_MEMBERNOTFOUND;
    }
    void appelsMalFormes()
    {
        QFETCH(qint32, dispId);
        QFETCH(int, drapeaux);
        QFETCH(int, arguments);
        QFETCH(int, nommes);
        VariantCom valeurs[2] = {variantTexte(u"a"_s), variantTexte(u"b"_s)};
        VARIANT brutes[2] = {valeurs[0].valeur(), valeurs[1].valeur()};
        DISPID noms[] = {DISPID_PROPERTYPUT};
        DISPPARAMS parametres{brutes, noms, UINT(arguments), UINT(nommes)};
        const ReponseDispatch reponse = invoquer(m_objet.Get(), dispId, WORD(drapeaux), parametres);
        QTEST(reponse.hr, "attendu");
        QCOMPARE(reponse.type, VARTYPE(VT_EMPTY));
        QVERIFY(m_etat.acces.isEmpty());
    }

    void interfaceInconnueRefusee()
    {
        DISPPARAMS parametres{};
        QCOMPARE(
            invoquer(m_objet.Get(), DispId::PrixActe, DISPATCH_PROPERTYGET, parametres, IID_IDispatch).hr,
            DISP_E_UNKNOWNINTERFACE);
        QVERIFY(m_etat.acces.isEmpty());
    }

    void reponses()
    {
        const ReponseDispatch propriete = lire(m_objet.Get(), DispId::PrixActe);
        QCOMPARE(propriete.hr, S_OK);
        QCOMPARE(propriete.type, VARTYPE(VT_BSTR));
        QCOMPARE(propriete.texte, u"réponse"_s);
        // Script hosts read an argument-less method as a property and call a property as a method.
        QCOMPARE(appeler(m_objet.Get(), DispId::LirePrix).texte, u"réponse"_s);
        QCOMPARE(lire(m_objet.Get(), DispId::LireLibelle).texte, u"réponse"_s);
        DISPPARAMS aucun{};
        QCOMPARE(invoquer(m_objet.Get(), DispId::CodeActe, DISPATCH_METHOD, aucun).texte, u"réponse"_s);
        QCOMPARE(appeler(m_objet.Get(), DispId::SelectionActe).type, VARTYPE(VT_EMPTY));
        QCOMPARE(m_objet->Invoke(DispId::LirePrix, IID_NULL, 0, DISPATCH_METHOD, &aucun, nullptr, nullptr,
                                 nullptr),
                 S_OK);

        // A method is called and a property read, whichever of the two flags the client gave.
        const QStringList genres = {u"lire"_s, u"appeler"_s, u"appeler"_s,
                                    u"lire"_s, u"appeler"_s, u"appeler"_s};
        QCOMPARE(m_etat.acces.size(), genres.size());
        for (qsizetype i = 0; i < genres.size(); ++i)
            QCOMPARE(m_etat.acces[i].genre, genres[i]);
    }

    void ecritureParReference()
    {
        // The component changes the variable: the client's own variable receives it, in its own type.
        m_etat.modifierReference = [](QVariant& valeur) {
            valeur = valeur.typeId() == QMetaType::Int ? QVariant(valeur.toInt() * 2)
                                                       : QVariant(valeur.toString() + u'!');
        };
        LONG entier = 6;
        VariantCom refEntier;
        refEntier.valeur().vt = VT_BYREF | VT_I4;
        refEntier.valeur().plVal = &entier;
        QCOMPARE(
            ecrire(m_objet.Get(), DispId::CodeSpecialite, refEntier.valeur(), DISPATCH_PROPERTYPUTREF).hr,
            S_OK);
        QCOMPARE(entier, LONG(12));

        BstrCom texte(SysAllocString(L"jlnl001"));
        BSTR variable = texte.detacher();
        VariantCom refTexte;
        refTexte.valeur().vt = VT_BYREF | VT_BSTR;
        refTexte.valeur().pbstrVal = &variable;
        QCOMPARE(ecrire(m_objet.Get(), DispId::CodeActe, refTexte.valeur()).hr, S_OK);
        BstrCom ecrit(variable);
        QCOMPARE(texteDepuisBstr(ecrit.get()), u"jlnl001!"_s);

        // A script's variable: a VARIANT passed by reference takes what the component left.
        VariantCom variante = variantDe(VT_I2, 6);
        VariantCom refVariante;
        refVariante.valeur().vt = VT_BYREF | VT_VARIANT;
        refVariante.valeur().pvarVal = &variante.valeur();
        QCOMPARE(ecrire(m_objet.Get(), DispId::CodeSpecialite, refVariante.valeur()).hr, S_OK);
        QCOMPARE(variante.valeur().vt, VARTYPE(VT_I4));
        QCOMPARE(variante.valeur().lVal, LONG(12));

        QCOMPARE(m_etat.acces.size(), qsizetype(3));
        for (const Acces& acces : m_etat.acces)
            QCOMPARE(acces.genre, u"reference"_s);
        QCOMPARE(m_etat.acces[0].valeur, QVariant(qint32(6)));
    }

    void referenceLaisseeIntacte()
    {
        // Unchanged by the component, the variable keeps its own value, not the converted one.
        double nombre = 6.4;
        VariantCom reference;
        reference.valeur().vt = VT_BYREF | VT_R8;
        reference.valeur().pdblVal = &nombre;
        QCOMPARE(ecrire(m_objet.Get(), DispId::CodeSpecialite, reference.valeur()).hr, S_OK);
        QCOMPARE(nombre, 6.4);
        QCOMPARE(m_etat.acces.value(0).valeur, QVariant(qint32(6)));

        // What cannot go back into the variable's type leaves it as it was.
        m_etat.modifierReference = [](QVariant& valeur) {
            valeur = u"six"_s;
        };
        short court = 6;
        reference.valeur().vt = VT_BYREF | VT_I2;
        reference.valeur().piVal = &court;
        const ReponseDispatch reponse = ecrire(m_objet.Get(), DispId::CodeSpecialite, reference.valeur());
        QCOMPARE(reponse.hr, DISP_E_TYPEMISMATCH);
        QCOMPARE(reponse.argumentFautif, 0u);
        QCOMPARE(court, short(6));

        // A reference to a type that could never be written back is refused before the component sees it.
        DATE date = 45000;
        reference.valeur().vt = VT_BYREF | VT_DATE;
        reference.valeur().pdate = &date;
        QCOMPARE(ecrire(m_objet.Get(), DispId::DateReference, reference.valeur()).hr, DISP_E_TYPEMISMATCH);
        QCOMPARE(m_etat.acces.size(), qsizetype(2));
        reference.valeur().vt = VT_EMPTY;
    }

    void echecsDuComposant_data()
    {
        QTest::addColumn<Echouer>("echec");
        QTest::addColumn<int>("numero");
        QTest::addColumn<QString>("description");

        QTest::newRow("component failure")
            << Echouer([] { throw Echec(440, u"Valeur invalide pour DateReference : « x »"_s); }) << 440
            << u"Valeur invalide pour DateReference : « x »"_s;
        QTest::newRow("other number")
            << Echouer([] { throw Echec(13, u"Incompatibilité"_s); }) << 13 << u"Incompatibilité"_s;
        QTest::newRow("standard exception") << Echouer([] { throw std::runtime_error("base fermée"); }) << 51
                                            << u"Erreur interne du contrôle : base fermée"_s;
        QTest::newRow("memory") << Echouer([] { throw std::bad_alloc(); }) << 7 << u"Mémoire insuffisante"_s;
        QTest::newRow("anything else") << Echouer([] { throw 42; }) << 51 << u"Erreur interne du contrôle"_s;
    }
    void echecsDuComposant()
    {
        QFETCH(Echouer, echec);
        QFETCH(int, numero);
        QFETCH(QString, description);
        m_etat.echouer = echec;
        VariantCom valeur = variantTexte(u"x"_s);
        const ReponseDispatch reponses[] = {
            lire(m_objet.Get(), DispId::PrixActe),
            appeler(m_objet.Get(), DispId::LirePrix),
            ecrire(m_objet.Get(), DispId::DateReference, valeur.valeur()),
        };
        for (const ReponseDispatch& reponse : reponses) {
            QCOMPARE(reponse.hr, DISP_E_EXCEPTION);
            QCOMPARE(quint32(reponse.scode), 0x800A0000u | quint32(numero));
            QCOMPARE(reponse.wCode, WORD(0));
            QCOMPARE(reponse.source, u"LectTarvo.ctlTarvo"_s);
            QCOMPARE(reponse.description, description);
            QCOMPARE(reponse.type, VARTYPE(VT_EMPTY));
        }
        // A client that asks for no exception information still gets the failure.
        DISPPARAMS aucun{};
        QCOMPARE(m_objet->Invoke(DispId::LirePrix, IID_NULL, 0, DISPATCH_METHOD, &aucun, nullptr, nullptr,
                                 nullptr),
                 DISP_E_EXCEPTION);
    }

    // The type library: the 22 members by name at their identifiers, the coclass our class identifier with
    // its default source interface, the one the object announces.
    void bibliothequeDeTypes()
    {
        ComPtr<ITypeInfo> membres;
        QCOMPARE(m_objet->GetTypeInfo(0, 0, &membres), S_OK);
        for (const MembreCtlTarvo& membre : membresCtlTarvo()) {
            std::wstring nom(membre.nom.begin(), membre.nom.end());
            LPOLESTR noms[] = {nom.data()};
            MEMBERID trouve = MEMBERID_NIL;
            QCOMPARE(membres->GetIDsOfNames(noms, 1, &trouve), S_OK);
            QCOMPARE(qint32(trouve), membre.dispId);
        }
        ComPtr<IProvideClassInfo2> info;
        QCOMPARE(m_objet.As(&info), S_OK);
        GUID source{};
        QCOMPARE(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
        QVERIFY(IsEqualGUID(source, IidEvenementsCtlTarvo));
        ComPtr<ITypeInfo> coclasse;
        QCOMPARE(info->GetClassInfo(&coclasse), S_OK);
        TYPEATTR* attributs = nullptr;
        QCOMPARE(coclasse->GetTypeAttr(&attributs), S_OK);
        const bool classe = IsEqualGUID(attributs->guid, ClsidCtlTarvo) && attributs->cImplTypes == 2;
        coclasse->ReleaseTypeAttr(attributs);
        QVERIFY(classe);
        INT drapeaux = 0;
        HREFTYPE reference = 0;
        ComPtr<ITypeInfo> evenements;
        QCOMPARE(coclasse->GetImplTypeFlags(1, &drapeaux), S_OK);
        QCOMPARE(drapeaux, INT(IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE));
        QCOMPARE(coclasse->GetRefTypeOfImplType(1, &reference), S_OK);
        QCOMPARE(coclasse->GetRefTypeInfo(reference, &evenements), S_OK);
        QCOMPARE(noms(evenements.Get(), DispIdEvenement::SelectionTerminee),
                 (QStringList{u"SelectionTerminee"_s, u"CodeActe"_s, u"Annulee"_s}));
    }

    // What the component fires reaches each connected sink, as a form's handler is called; a sink
    // disconnected gets nothing more.
    void evenementsAuxClients()
    {
        ComPtr<IConnectionPointContainer> points;
        QCOMPARE(m_objet.As(&points), S_OK);
        ComPtr<IConnectionPoint> point;
        QCOMPARE(points->FindConnectionPoint(IID_IPropertyNotifySink, &point), CONNECT_E_NOCONNECTION);
        QCOMPARE(points->FindConnectionPoint(IidEvenementsCtlTarvo, &point), S_OK);
        PuitsTemoin puits;
        DWORD cookie = 0;
        QCOMPARE(point->Advise(&puits, &cookie), S_OK);
        QCOMPARE(appeler(m_objet.Get(), DispId::SelectionActe).hr, S_OK);
        QCOMPARE(puits.recus, QStringList{u"1 VT_BSTR:LHQK005 VT_BOOL:0"_s});
        QCOMPARE(point->Unadvise(cookie), S_OK);
        QCOMPARE(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
        QCOMPARE(appeler(m_objet.Get(), DispId::SelectionActe).hr, S_OK);
        QCOMPARE(puits.recus.size(), 1);
    }

    void identiteEtDuree()
    {
        ComPtr<IUnknown> inconnu;
        QCOMPARE(m_objet.As(&inconnu), S_OK);
        ComPtr<IDispatch> dispatch;
        QCOMPARE(inconnu.As(&dispatch), S_OK);
        QCOMPARE(static_cast<void*>(dispatch.Get()), static_cast<void*>(m_objet.Get()));
        ComPtr<IClassFactory> autre;
        QCOMPARE(m_objet.As(&autre), E_NOINTERFACE);
        UINT nombre = 99;
        QCOMPARE(m_objet->GetTypeInfoCount(&nombre), S_OK);
        QCOMPARE(nombre, 1u);

        // The component goes with the last reference, not before.
        inconnu.Reset();
        dispatch.Reset();
        QVERIFY(!m_etat.detruit);
        m_objet.Reset();
        QVERIFY(m_etat.detruit);
    }

private:
    EtatControle m_etat;
    ComPtr<IDispatch> m_objet;
};

QTEST_GUILESS_MAIN(TestObjetDispatch)
#include "tst_objetdispatch.moc"
