// The journal of calls seen from the window: each command's events against the recording control and
// the scripted boxes, a failing command, the library sequence, and the writer itself.
#include "appelsjournalises.h"
#include "controleenregistreur.h"
#include "controlejournalise.h"
#include "echec.h"
#include "enregistrements.h"
#include "evenementsjournal.h"
#include "frminit.h"
#include "journalappels.h"
#include "journaltest.h"
#include "servicemessagesjournalise.h"
#include "servicemessagesscripte.h"
#include "sondefixe.h"
#include "suivicommandesjournal.h"
#include "tablemembres.h"
#include "vocabulairejournal.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

namespace {

QString S(const char* texte)
{
    return QString::fromUtf8(texte);
}

QList<QJsonObject> evenements(const QByteArray& contenu)
{
    QList<QJsonObject> liste;
    for (const QByteArray& ligne : contenu.split('\n')) {
        if (ligne.isEmpty())
            continue;
        const QJsonDocument document = QJsonDocument::fromJson(ligne);
        if (!document.isObject())
            return {};
        liste.append(document.object());
    }
    return liste;
}

QString valeurTexte(const QJsonValue& valeur)
{
    return valeur.isString() ? QLatin1Char('"') + valeur.toString() + QLatin1Char('"')
                             : QString::number(valeur.toInteger());
}

// An event in the notation of the recording control and the scripted boxes, so that the two traces
// can be compared line for line.
QString notation(const QJsonObject& e)
{
    const QString genre = e.value(u"genre").toString();
    if (genre == u"controle") {
        const QString membre = e.value(u"membre").toString();
        const QString acces = e.value(u"acces").toString();
        if (acces == u"ecriture")
            return membre + (e.value(u"par_reference").toBool() ? S(" <-& ") : S(" <- ")) +
                   valeurTexte(e.value(u"valeur"));
        return membre + (acces == u"lecture" ? S(" ->") : S("()"));
    }
    if (genre == u"message") {
        QString icone = e.value(u"icone").toString();
        icone[0] = icone[0].toUpper();
        return S("message[%1|%2] %3").arg(e.value(u"titre").toString(), icone, e.value(u"texte").toString());
    }
    if (genre == u"saisie") {
        const QString reponse = e.value(u"reponse").toString();
        return S("saisie[%1] %2 => %3")
            .arg(e.value(u"titre").toString(), e.value(u"texte").toString(),
                 reponse.isEmpty() ? S("<annuler>") : reponse);
    }
    if (genre == u"commande")
        return S("commande ") + e.value(u"bouton").toString();
    if (genre == u"fin_commande")
        return S("fin_commande %1 %2")
            .arg(e.value(u"bouton").toString(), e.value(u"aboutie").toBool() ? S("aboutie") : S("echouee"));
    return genre;
}

// The seven calls of the sequence answered from a script: each entry point's count and records.
class AppelsFactices final : public AppelsSequence
{
public:
    struct Reponse
    {
        qint32 nombre = 0;
        QList<QStringList> lignes;
    };
    QHash<QString, Reponse> reponses;
    QString enEchec; // entry point that throws as a missing one would

    qint32 Connection_Tarvo(qint32, qint32, qint32, const QString&) override
    {
        return repondre("Connection_Tarvo", nullptr, 0);
    }
    qint32 ListeModificateurs_Tarvo(TableauAuto*& t) override
    {
        return repondre("ListeModificateurs_Tarvo", &t, sizeof(EnregistrementListe));
    }
    qint32 GetPrixUnitaireActeSupplement_Tarvo(const QString&, qint32, qint32, const QString&, const QString&,
                                               TableauAuto*& t) override
    {
        return repondre("GetPrixUnitaireActeSupplement_Tarvo", &t, sizeof(EnregistrementPrix));
    }
    qint32 GetPriseEnCharge_Tarvo(const QString&, const QString&, TableauAuto*& t) override
    {
        return repondre("GetPriseEnCharge_Tarvo", &t, sizeof(EnregistrementPriseEnCharge));
    }
    qint32 ListeCodeIncompatibilitesActe_Tarvo(const QString&, TableauAuto*& t) override
    {
        return repondre("ListeCodeIncompatibilitesActe_Tarvo", &t, sizeof(EnregistrementListe));
    }
    qint32 ListeCodeAssociationActe_Tarvo(const QString&, qint32, TableauAuto*& t) override
    {
        return repondre("ListeCodeAssociationActe_Tarvo", &t, sizeof(EnregistrementListe));
    }
    qint32 DeConnection_Tarvo() override { return repondre("DeConnection_Tarvo", nullptr, 0); }

private:
    qint32 repondre(const char* point, TableauAuto** tableau, uint32_t taille)
    {
        const QString nom = QString::fromLatin1(point);
        if (nom == enEchec)
            throw Echec(Echec::PointEntreeIntrouvable, S("Point d'entrée %1 introuvable").arg(nom));
        const Reponse reponse = reponses.value(nom);
        if (tableau && !reponse.lignes.isEmpty()) {
            tableauAutoDetruire(*tableau);
            *tableau = tableauAutoCreer(taille, 0, uint32_t(reponse.lignes.size()));
            auto* textes = static_cast<TexteAuto*>((*tableau)->donnees);
            const std::size_t champs = taille / sizeof(TexteAuto);
            for (qsizetype i = 0; i < reponse.lignes.size(); ++i)
                for (qsizetype c = 0; c < reponse.lignes[i].size() && c < qsizetype(champs); ++c)
                    textes[std::size_t(i) * champs + std::size_t(c)] =
                        texteAutoAllouer(reinterpret_cast<const char16_t*>(reponse.lignes[i][c].utf16()),
                                         uint32_t(reponse.lignes[i][c].size()));
        }
        return reponse.nombre;
    }
};

} // namespace

class TestJournal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void commandes_data();
    void commandes();
    void commandeEnEchec_data();
    void commandeEnEchec();
    void sequenceDeLaBibliotheque();
    void sequenceInterrompue();
    void ecritureLigneParLigne();
    void boiteNativeEcriteAvantSaReponse();
    void journalImpossibleAOuvrir();
    void valeurs_data();
    void valeurs();
    void teteLigne_data();
    void teteLigne();
    void tableDesEvenements();

private:
    QList<QJsonObject> journal() const { return evenements(m_sortie->data()); }
    // Every call must have been announced just before it: an announcement left unanswered, or a call made
    // unannounced, shows as a notation of its own, which no table expects.
    QStringList notations() const
    {
        QStringList liste;
        QString annonce;
        for (const QJsonObject& e : journal()) {
            const QString genre = e.value(u"genre").toString();
            const QString appel = e.value(u"membre").toString() + e.value(u"point_entree").toString();
            if (genre == u"appel") {
                if (!annonce.isEmpty())
                    liste << S("sans réponse : ") + annonce;
                annonce = appel;
                continue;
            }
            if ((genre == u"controle" || genre == u"bibliotheque") && !e.contains(u"chargement")) {
                if (annonce != appel)
                    liste << S("non annoncé : ") + appel;
                annonce.clear();
            }
            liste << notation(e);
        }
        if (!annonce.isEmpty())
            liste << S("sans réponse : ") + annonce;
        return liste;
    }
    void cliquer(const char* bouton)
    {
        auto* cible = m_fenetre->findChild<QPushButton*>(QString::fromLatin1(bouton));
        QVERIFY(cible);
        cible->click();
    }

    JournalTest m_trace;
    QBuffer* m_sortie = nullptr;
    std::unique_ptr<JournalAppels> m_journal;
    std::unique_ptr<ServiceMessagesScripte> m_messages;
    std::unique_ptr<ServiceMessagesJournalise> m_messagesJournalises;
    std::unique_ptr<AppelsFactices> m_bibliotheque;
    std::unique_ptr<AppelsJournalises> m_bibliothequeJournalisee;
    std::unique_ptr<SuiviCommandesJournal> m_suivi;
    SondeFixe m_sonde;
    ControleEnregistreur* m_controle = nullptr;
    std::unique_ptr<FrmInit> m_fenetre;
};

void TestJournal::init()
{
    m_trace.vider();
    auto sortie = std::make_unique<QBuffer>();
    sortie->open(QIODevice::WriteOnly);
    m_sortie = sortie.get();
    m_journal = std::make_unique<JournalAppels>(std::move(sortie));
    m_messages = std::make_unique<ServiceMessagesScripte>(&m_trace);
    m_messagesJournalises = std::make_unique<ServiceMessagesJournalise>(*m_messages, *m_journal);
    m_bibliotheque = std::make_unique<AppelsFactices>();
    m_bibliothequeJournalisee = std::make_unique<AppelsJournalises>(*m_bibliotheque, *m_journal);
    m_suivi = std::make_unique<SuiviCommandesJournal>(*m_journal);
    const FabriqueControle enregistreur = [this](QWidget*) {
        auto controle = std::make_unique<ControleEnregistreur>(&m_trace);
        m_controle = controle.get();
        return controle;
    };
    m_fenetre =
        std::make_unique<FrmInit>(*m_messagesJournalises, fabriqueJournalisee(enregistreur, *m_journal),
                                  m_sonde, commandesFrmInit(*m_bibliothequeJournalisee));
    m_fenetre->charger();
    m_fenetre->suivreCommandes(m_suivi.get());
    m_fenetre->controles().DTPicker1->setDate(QDate(2024, 3, 7));
    m_fenetre->controles().txtCodeCCAM->setText(S("AAFA001"));
}

void TestJournal::cleanup()
{
    m_fenetre.reset();
    m_suivi.reset();
    m_bibliothequeJournalisee.reset();
    m_bibliotheque.reset();
    m_messagesJournalises.reset();
    m_messages.reset();
    m_journal.reset();
}

void TestJournal::commandes_data()
{
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<bool>("coche");
    QTest::addColumn<QStringList>("attendu");

    const QString grille = S("GrilleTarifaire <- \"001\"");
    const QString date = S("DateReference <- \"20240307\"");
    const QString chemin = S("CheminConfig <- \"C:\\ProgramData\\santesocial\\fsv\\1.40.12\\conf\"");
    const QString code = S("CodeActe <- \"AAFA001\"");
    for (bool coche : {false, true}) {
        const QStringList srt = coche ? QStringList{S("SRTSeulement <- 0"), S("SRTSeulement <- 1")}
                                      : QStringList{S("SRTSeulement <- 0")};
        const auto ligne = [&](const char* bouton) -> QTestData& {
            return QTest::addRow("%s %s", bouton, coche ? "coché" : "non coché")
                   << QString::fromLatin1(bouton) << coche;
        };
        ligne("cmdSelectActeCCAM") << srt + QStringList{grille,
                                                        S("CodeSpecialite <-& 6"),
                                                        code,
                                                        date,
                                                        chemin,
                                                        S("SelectionActe()"),
                                                        S("CodeActe ->"),
                                                        S("LibelleCourtActe ->"),
                                                        S("LibelleLongActe ->"),
                                                        S("Modificateurs ->"),
                                                        S("ModificateursActivite1 ->"),
                                                        S("ModificateursActivite4 ->"),
                                                        S("ModificateursActivite5 ->"),
                                                        S("PrixActe ->"),
                                                        S("CodeRegroupement ->")};
        ligne("Command1") << srt + QStringList{grille, date, chemin, S("LireModificateurs()")};
        ligne("Command2") << QStringList{srt.first(), grille} + srt.mid(1) +
                                 QStringList{
                                     S("saisie[Recherche Information CCAM] Code Acte CCAM => <annuler>"),
                                     S("CodeActe <-& \"\""),
                                     date,
                                     chemin,
                                     S("LireLibelle()"),
                                     S("message[Banc d'essai CCAM|Aucune] Libelle "),
                                     S("LirePrix()"),
                                     S("message[Banc d'essai CCAM|Aucune] Prix en centimes ")};
        ligne("Command4") << srt + QStringList{grille, date, chemin, code, S("LireModificateursActe()")};
        ligne("Command5") << srt + QStringList{grille, date, chemin, code, S("LireRegroupements()")};
        ligne("Command6") << srt +
                                 QStringList{
                                     grille, date, chemin, code, S("LireLibelle()"), S("LireLibelleLong()")};
        ligne("Command7") << srt + QStringList{date, chemin, code, S("LireActesCompatibles()")};
    }
}

void TestJournal::commandes()
{
    QFETCH(QString, bouton);
    QFETCH(bool, coche);
    QFETCH(QStringList, attendu);
    for (qint32 id = DispId::LireLibelle; id <= DispId::LireActesCompatibles; ++id)
        m_controle->reponses.insert(id, QString());
    m_fenetre->controles().chkSRT->setChecked(coche);
    m_fenetre->controles().TXTCheminSESAM->setText(S("C:\\ProgramData\\santesocial\\fsv\\1.40.12\\conf"));

    cliquer(qPrintable(bouton));

    const QStringList journal = notations();
    QCOMPARE(journal.first(), S("commande ") + bouton);
    QCOMPARE(journal.last(), S("fin_commande %1 aboutie").arg(bouton));
    // Event for event what the command sent and showed, and what the control itself saw.
    QCOMPARE(journal.mid(1, journal.size() - 2), attendu);
    QCOMPARE(m_trace.entrees, attendu);
}

void TestJournal::commandeEnEchec_data()
{
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<int>("membre");
    QTest::addColumn<QString>("dernierAcces");

    QTest::newRow("écriture de CodeActe")
        << S("Command4") << int(DispId::CodeActe) << S("CodeActe <- \"AAFA001\"");
    QTest::newRow("méthode LireLibelle") << S("Command6") << int(DispId::LireLibelle) << S("LireLibelle()");
    QTest::newRow("lecture de PrixActe")
        << S("cmdSelectActeCCAM") << int(DispId::PrixActe) << S("PrixActe ->");
}

void TestJournal::commandeEnEchec()
{
    QFETCH(QString, bouton);
    QFETCH(int, membre);
    QFETCH(QString, dernierAcces);
    m_controle->echecs.insert(membre);

    cliquer(qPrintable(bouton));

    const QList<QJsonObject> e = journal();
    QVERIFY(e.size() >= 4);
    // The failure, then the report box, then the end of the command: nothing ran after the failing step.
    const QJsonObject echec = e.at(e.size() - 3);
    QCOMPARE(notation(echec), dernierAcces);
    const QString description = S("Échec simulé de ") + nomMembre(membre);
    QCOMPARE(echec.value(u"echec").toObject(),
             (QJsonObject{{S("numero"), Echec::EchecComposant}, {S("description"), description}}));
    QVERIFY(!echec.contains(u"retour"));
    QCOMPARE(notation(e.at(e.size() - 2)),
             S("message[Banc d'essai CCAM|Critique] Erreur 440 : ") + description);
    QCOMPARE(notation(e.last()), S("fin_commande %1 echouee").arg(bouton));
}

void TestJournal::sequenceDeLaBibliotheque()
{
    m_bibliotheque->reponses = {
        {S("Connection_Tarvo"), {-1, {}}},
        {S("ListeModificateurs_Tarvo"),
         {2, {{S("A"), S("Anesthésie"), S("x")}, {S("B"), S("Bilatéral"), S("")}}}},
        {S("GetPrixUnitaireActeSupplement_Tarvo"), {0, {}}},
        {S("GetPriseEnCharge_Tarvo"), {1, {{S("1"), S("2"), S("3"), S("4"), S("5")}}}},
        {S("ListeCodeIncompatibilitesActe_Tarvo"),
         {3, {{S("I1"), S("i1")}, {S("I2"), S("i2")}, {S("I3"), S("i3")}}}},
        {S("ListeCodeAssociationActe_Tarvo"), {0, {}}},
    };
    m_fenetre->controles().CboGrille->setCurrentIndex(2);

    cliquer("Command3");

    QStringList appels;
    QList<QJsonObject> bibliotheque;
    for (const QJsonObject& e : journal()) {
        const QString genre = e.value(u"genre").toString();
        if (genre == u"bibliotheque") {
            bibliotheque << e;
            appels << e.value(u"point_entree").toString();
        } else if (genre == u"message") {
            appels << S("message");
        }
    }
    QCOMPARE(appels,
             (QStringList{S("Connection_Tarvo"), S("ListeModificateurs_Tarvo"), S("message"),
                          S("GetPrixUnitaireActeSupplement_Tarvo"), S("message"), S("GetPriseEnCharge_Tarvo"),
                          S("message"), S("ListeCodeIncompatibilitesActe_Tarvo"), S("message"), S("message"),
                          S("message"), S("ListeCodeAssociationActe_Tarvo"), S("DeConnection_Tarvo")}));
    const auto tableau = [](int n) {
        return QJsonObject{{S("tableau"), n}};
    };
    QCOMPARE(bibliotheque[0].value(u"arguments").toArray(),
             (QJsonArray{0, 1, 0, S("C:\\ProgramData\\santesocial\\fsv\\1.40.9\\conf")}));
    QCOMPARE(bibliotheque[0].value(u"resultat").toInt(), -1);
    QVERIFY(!bibliotheque[0].contains(u"enregistrements"));
    QCOMPARE(
        bibliotheque[1].value(u"enregistrements").toArray(),
        (QJsonArray{QJsonArray{S("A"), S("Anesthésie"), S("x")}, QJsonArray{S("B"), S("Bilatéral"), S("")}}));
    QCOMPARE(bibliotheque[2].value(u"arguments").toArray(),
             (QJsonArray{S("JLNL001"), 1, 0, S("20240307"), S("002"), tableau(1)}));
    // A count of 0 with the one empty record the sequence handed over.
    QCOMPARE(bibliotheque[2].value(u"enregistrements").toArray(), (QJsonArray{QJsonArray{S(""), S("")}}));
    QCOMPARE(bibliotheque[3].value(u"arguments").toArray(),
             (QJsonArray{S("JLNL001"), S("20080101"), tableau(1)}));
    QCOMPARE(bibliotheque[4].value(u"resultat").toInt(), 3);
    // Step 6 receives the list array as step 5 left it.
    QCOMPARE(bibliotheque[5].value(u"arguments").toArray(), (QJsonArray{S("LHQK005"), 1, tableau(3)}));
    QCOMPARE(bibliotheque[6].value(u"arguments").toArray(), QJsonArray());
    QCOMPARE(notations().last(), S("fin_commande Command3 aboutie"));
}

void TestJournal::sequenceInterrompue()
{
    m_bibliotheque->enEchec = S("GetPriseEnCharge_Tarvo");

    cliquer("Command3");

    const QList<QJsonObject> e = journal();
    QVERIFY(e.size() >= 3);
    const QJsonObject echec = e.at(e.size() - 3);
    QCOMPARE(echec.value(u"point_entree").toString(), S("GetPriseEnCharge_Tarvo"));
    QCOMPARE(echec.value(u"echec").toObject().value(u"numero").toInt(), int(Echec::PointEntreeIntrouvable));
    QVERIFY(!echec.contains(u"resultat"));
    QCOMPARE(notation(e.at(e.size() - 2)), S("message[Banc d'essai CCAM|Critique] Erreur 453 : Point "
                                             "d'entrée GetPriseEnCharge_Tarvo introuvable"));
    QCOMPARE(notation(e.last()), S("fin_commande Command3 echouee"));
}

void TestJournal::ecritureLigneParLigne()
{
    QTemporaryDir dossier;
    QVERIFY(dossier.isValid());
    const QString chemin = dossier.filePath(S("journal.jsonl"));
    QString erreur;
    const std::unique_ptr<JournalAppels> journal = JournalAppels::ouvrir(chemin, erreur);
    QVERIFY2(journal, qPrintable(erreur));
    const auto lignesSurDisque = [&] {
        QFile fichier(chemin);
        return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
    };

    journal->consigner(Genre::message, {{S("texte"), S("Guillemet \" barre \\ et\nretour")}});
    // Already on disk while the journal is still open: a crash now would lose nothing.
    QByteArray contenu = lignesSurDisque();
    QVERIFY(contenu.startsWith("{\"n\":1,\"t\":\""));
    QVERIFY(contenu.endsWith("\n"));
    QCOMPARE(contenu.count('\n'), 1);
    journal->consigner(Genre::commande);
    contenu = lignesSurDisque();
    const QList<QJsonObject> e = evenements(contenu);
    QCOMPARE(e.size(), 2);
    QCOMPARE(e[0].value(u"texte").toString(), S("Guillemet \" barre \\ et\nretour"));
    QCOMPARE(e[1].value(u"n").toInt(), 2);
    QCOMPARE(e[1].value(u"genre").toString(), S("commande"));
    QVERIFY(QDateTime::fromString(e[1].value(u"t").toString(), Qt::ISODateWithMs).isValid());
    QVERIFY(journal->complet());
}

// A control that shows a native box inside its call, and reads what its journal holds on disk meanwhile.
class ControleABoite final : public ControleDispatch
{
public:
    std::function<QByteArray()> surDisque;
    QByteArray pendantLAppel;

    void ecrire(qint32, const QVariant&) override {}
    void ecrireParReference(qint32, QVariant&) override {}
    QVariant lire(qint32) override { return {}; }
    QVariant appeler(qint32) override
    {
        m_observateur({S("CtlAncien"), S("Base introuvable"), {S("OK"), S("Annuler")}, S("OK")});
        pendantLAppel = surDisque();
        return S("suite");
    }
    void observerBoitesNatives(ObservateurBoites observateur) override
    {
        m_observateur = std::move(observateur);
    }

private:
    ObservateurBoites m_observateur;
};

// A box is on disk with the member in flight and the command before it is answered, even in a worker whose
// journal holds its lines until the next announcement: a crash after the box loses nothing of it.
void TestJournal::boiteNativeEcriteAvantSaReponse()
{
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(S("journal.jsonl"));
    QString erreur;
    std::unique_ptr<JournalAppels> journal = JournalAppels::ouvrir(chemin, erreur);
    QVERIFY2(journal, qPrintable(erreur));
    journal->retenirJusquAuxAnnonces();
    auto controle = std::make_unique<ControleABoite>();
    ControleABoite& brut = *controle;
    brut.surDisque = [&] {
        QFile fichier(chemin);
        return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
    };
    ControleJournalise journalise(std::move(controle), *journal);
    journal->consigner(Genre::commande, {{Champ::bouton, S("Command6")}});
    QCOMPARE(journalise.appeler(DispId::LireLibelle), QVariant(S("suite")));

    const QList<QJsonObject> e = evenements(brut.pendantLAppel);
    QCOMPARE(e.size(), 3);
    QCOMPARE(e[2].value(u"genre").toString(), S("boite_native"));
    QCOMPARE(e[2].value(u"texte").toString(), S("Base introuvable"));
    QCOMPARE(e[2].value(u"boutons").toArray(), (QJsonArray{S("OK"), S("Annuler")}));
    QCOMPARE(e[2].value(u"reponse").toString(), S("OK"));
    QCOMPARE(e[2].value(u"membre").toString(), S("LireLibelle"));
    QCOMPARE(e[2].value(u"bouton").toString(), S("Command6"));
}

void TestJournal::journalImpossibleAOuvrir()
{
    QTemporaryDir dossier;
    QString erreur;
    QVERIFY(!JournalAppels::ouvrir(dossier.path(), erreur));
    QVERIFY(erreur.contains(dossier.path()));
}

void TestJournal::valeurs_data()
{
    QTest::addColumn<QVariant>("valeur");
    QTest::addColumn<QJsonValue>("attendu");
    QTest::newRow("texte") << QVariant(S("LHQK005")) << QJsonValue(S("LHQK005"));
    QTest::newRow("texte vide") << QVariant(QString()) << QJsonValue(S(""));
    QTest::newRow("entier") << QVariant(qint32(-6)) << QJsonValue(-6);
    QTest::newRow("rien") << QVariant() << QJsonValue(QJsonValue::Null);
    QTest::newRow("réel") << QVariant(2.5) << QJsonValue(2.5);
    QTest::newRow("autre genre, gardé lisible")
        << QVariant(QDate(2010, 1, 1))
        << QJsonValue(QJsonObject{{S("type"), S("QDate")}, {S("texte"), S("2010-01-01")}});
}

void TestJournal::valeurs()
{
    QFETCH(QVariant, valeur);
    QFETCH(QJsonValue, attendu);
    QCOMPARE(valeurJson(valeur), attendu);
}

// The head as the writer writes it is what the comparison sets aside without parsing the line; a line
// whose head another hand wrote is parsed instead.
void TestJournal::teteLigne_data()
{
    QTest::addColumn<QByteArray>("ligne");
    QTest::addColumn<QByteArray>("genre"); // empty: not a head the reader takes off

    const QDateTime temps(QDate(2026, 1, 1), QTime(10, 0), Qt::UTC);
    QTest::newRow("écrite par le journal")
        << TeteLigne::ecrire(12, temps, Genre::controle) + R"(,"membre":"LirePrix"})"
        << QByteArray("controle");
    QTest::newRow("sans temps") << QByteArray(R"({"n":2,"genre":"commande"})") << QByteArray("commande");
    QTest::newRow("un champ avant le genre")
        << QByteArray(R"({"n":2,"x":1,"genre":"commande"})") << QByteArray();
    QTest::newRow("numéro en texte") << QByteArray(R"({"n":"2","genre":"commande"})") << QByteArray();
    QTest::newRow("temps sans sa fin") << QByteArray(R"({"n":2,"t":"x,"genre":"commande"})") << QByteArray();
    QTest::newRow("sans genre") << QByteArray(R"({"n":2,"t":"x"})") << QByteArray();
}

void TestJournal::teteLigne()
{
    QFETCH(QByteArray, ligne);
    QFETCH(QByteArray, genre);
    const qsizetype debut = TeteLigne::debutGenre(ligne);
    QCOMPARE(debut >= 0, !genre.isEmpty());
    if (debut >= 0)
        QCOMPARE(TeteLigne::genreEnTete('{' + ligne.mid(debut)).toByteArray(), genre);
}

// The README's table of events names every kind and field of the vocabulary and nothing else: the kinds
// in the first column, in the vocabulary's order; the fields, their keys and their values in backquotes in
// the last, a row for kinds that share it. The fields every line carries are named around the table.
void TestJournal::tableDesEvenements()
{
    QFile readme(QStringLiteral(BANC_README));
    QVERIFY(readme.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString texte = QString::fromUtf8(readme.readAll());
    const qsizetype section = texte.indexOf(u"**The journal**");
    const qsizetype debut = texte.indexOf(u"| `genre` |", section);
    const qsizetype finSection = texte.indexOf(u"**A scenario**", debut);
    QVERIFY(section >= 0 && debut > section && finSection > debut);
    for (const QLatin1String champ : {Champ::numeroLigne, Champ::temps, Champ::genre, Champ::acte})
        QVERIFY2(texte.mid(section, finSection - section).contains(u'`' + champ + u'`'), qPrintable(champ));

    const QRegularExpression entreGuillemets(QStringLiteral("`([^`]*)`"));
    const QRegularExpression nom(QStringLiteral("^[a-z_]+$"));
    const QRegularExpression cle(QStringLiteral(R"re("([a-z_]+)":)re"));
    const auto noms = [&](const QString& cellule) {
        QStringList liste;
        for (const QRegularExpressionMatch& m : entreGuillemets.globalMatch(cellule)) {
            if (nom.match(m.captured(1)).hasMatch())
                liste << m.captured(1);
            for (const QRegularExpressionMatch& c : cle.globalMatch(m.captured(1)))
                liste << c.captured(1);
        }
        return liste;
    };
    QStringList genresReadme;
    QMap<QString, QStringList> nomsParLigne; // by the row's kinds
    for (const QString& ligne : texte.mid(debut).split(u'\n').mid(2)) {
        if (!ligne.startsWith(u'|'))
            break;
        const QStringList cellules = ligne.split(u'|');
        QVERIFY(cellules.size() >= 5);
        const QStringList genres = noms(cellules.at(1));
        for (const QString& genre : genres)
            if (!genresReadme.contains(genre))
                genresReadme << genre;
        nomsParLigne[genres.join(u'/')] += noms(cellules.mid(3, cellules.size() - 4).join(u'|'));
    }

    QStringList genresVocabulaire;
    for (const GenreEvenement* genre : genresJournal)
        genresVocabulaire << genre->nom;
    QCOMPARE(genresReadme, genresVocabulaire);
    for (auto ligne = nomsParLigne.cbegin(); ligne != nomsParLigne.cend(); ++ligne) {
        QStringList attendus;
        for (const QString& nomGenre : ligne.key().split(u'/')) {
            const GenreEvenement* genre = genreNomme(nomGenre.toLatin1());
            QVERIFY2(genre, qPrintable(nomGenre));
            for (const DefinitionChamp& champ : genre->champs) {
                attendus << champ.nom;
                for (const QLatin1String sousNom : champ.cles)
                    attendus << sousNom;
                for (const QLatin1String sousNom : champ.valeurs)
                    attendus << sousNom;
            }
        }
        attendus.removeDuplicates();
        attendus.sort();
        QStringList trouves = ligne.value();
        trouves.removeDuplicates();
        trouves.sort();
        QCOMPARE(trouves.join(u' '), attendus.join(u' '));
    }
}

QTEST_MAIN(TestJournal)
#include "tst_journal.moc"
