#include "appelsjournalises.h"
#include "balayagetarvo.h"
#include "echec.h"
#include "enregistrements.h"
#include "journalappels.h"
#include "plateformetest.h"
#include "sequencetarvo.h"
#include "servicemessagesscripte.h"
#include "tarvo.h"
#include "tarvofautif.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibrary>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Reglage
{
    int etape;
    ReponseFautive reponse;
};

QString boite(const QString& titre, IconeMessage icone, const QString& texte)
{
    return titre + QLatin1Char('|') + nomIcone(icone) + QLatin1Char('|') + texte;
}

QString sansTitre(const QString& texte)
{
    return boite(titreApplication(), IconeMessage::Aucune, texte);
}

QString avertissement(const QString& texte)
{
    return boite(titreApplication(), IconeMessage::Avertissement, texte);
}

// The boxes of a run where every step delivers its one record.
const QString boiteModif = sansTitre(QStringLiteral("Modif0.1 Modif0.2"));
const QString boitePrix = sansTitre(QStringLiteral("Prix0.1 / Prix0.2"));
const QString boitePec = sansTitre(QStringLiteral("PEC0.1 / PEC0.3 / PEC0.4 / PEC0.5 / PEC0.2"));

QString boiteIncomp(int n, int i)
{
    return boite(QStringLiteral("%1 Résultat(s)").arg(n), IconeMessage::Information,
                 QStringLiteral("Incomp%1.1 / Incomp%1.2").arg(i));
}

QString boiteAssoc(int rang, int n, int indice)
{
    return boite(QStringLiteral("Association %1 sur %2").arg(rang).arg(n), IconeMessage::Information,
                 QStringLiteral("Assoc%1.1 / Assoc%1.2").arg(indice));
}

// The sweep's journal as the companion writes it: each act's calls tagged with its code.
class SuiviJournalise final : public SuiviBalayageTarvo
{
public:
    explicit SuiviJournalise(JournalAppels& journal)
        : m_journal(journal)
    {}
    QStringList anomalies;

    void connexion(qint32) override {}
    void debutActe(const QString& code) override { m_journal.etiqueter({{QStringLiteral("acte"), code}}); }
    void finActe(qsizetype) override { m_journal.etiqueter({}); }
    void anomalie(const QString& code, const QString& description) override
    {
        anomalies.append(code + QStringLiteral(" : ") + description);
    }

private:
    JournalAppels& m_journal;
};

} // namespace

Q_DECLARE_METATYPE(QList<Reglage>)

class TestSequenceTarvo : public QObject
{
    Q_OBJECT

private:
    QLibrary m_fautive{QStringLiteral(CHEMIN_TARVO_FAUTIF)};
    QTemporaryDir m_dossier;
    FonctionReinitialiser m_reinitialiser = nullptr;
    FonctionRepondre m_repondre = nullptr;
    FonctionJournal m_journal = nullptr;
    SourceContexteSequence m_source;

    QStringList journal() const
    {
        QByteArray tampon(1 << 16, '\0');
        const int32_t longueur = m_journal(tampon.data(), static_cast<int32_t>(tampon.size()));
        return QString::fromUtf8(tampon.constData(), longueur).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QStringList executer(const QList<Reglage>& reglages = {})
    {
        for (const Reglage& r : reglages)
            m_repondre(r.etape, r.reponse);
        ServiceMessagesScripte messages;
        executerSequenceTarvo(messages, m_source, appelsTarvo());
        QStringList boites;
        for (const auto& m : messages.messages)
            boites.append(boite(m.titre, m.icone, m.texte));
        return boites;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The same file the module loads: the loader hands back the one instance, so its answers can be set
        // here.
        QVERIFY2(m_fautive.load(), qPrintable(m_fautive.errorString()));
        m_reinitialiser = reinterpret_cast<FonctionReinitialiser>(m_fautive.resolve("Fautif_Reinitialiser"));
        m_repondre = reinterpret_cast<FonctionRepondre>(m_fautive.resolve("Fautif_Repondre"));
        m_journal = reinterpret_cast<FonctionJournal>(m_fautive.resolve("Fautif_Journal"));
        QVERIFY(m_reinitialiser && m_repondre && m_journal);
    }

    void init()
    {
        tarvo::definirCheminBibliotheque(QStringLiteral(CHEMIN_TARVO_FAUTIF));
        m_reinitialiser();
        m_source.dateReference = [] {
            return QStringLiteral("20240315");
        };
        m_source.grilleTarifaire = [] {
            return QStringLiteral("002");
        };
        m_source.apresAppel = nullptr;
    }

    void cleanupTestCase() { tarvo::definirCheminBibliotheque(QString()); }

    void boitesSelonLesComptes_data()
    {
        QTest::addColumn<QList<Reglage>>("reglages");
        QTest::addColumn<QStringList>("attendues");

        const QStringList suite = {boiteIncomp(1, 0), boiteAssoc(1, 1, 0)};
        QTest::newRow("un enregistrement à chaque étape")
            << QList<Reglage>{} << QStringList{boiteModif, boitePrix, boitePec} + suite;
        QTest::newRow("étape 2 à 5 : l'enregistrement 0 seul")
            << QList<Reglage>{{2, {5, 5, 0, Redimensionner}}}
            << QStringList{boiteModif, boitePrix, boitePec} + suite;
        const QString listeVide = sansTitre(QStringLiteral("La liste des modificateurs est vide."));
        QTest::newRow("étape 2 à 0 : liste vide") << QList<Reglage>{{2, {0, 0, 0, Redimensionner}}}
                                                  << QStringList{listeVide, boitePrix, boitePec} + suite;
        QTest::newRow("étape 2 à -1 : liste vide, même si un enregistrement est livré")
            << QList<Reglage>{{2, {-1, 1, 0, Redimensionner}}}
            << QStringList{listeVide, boitePrix, boitePec} + suite;
        const QString pasDePrix = sansTitre(QStringLiteral("Pas d'information de prix pour JLNL001"));
        QTest::newRow("étape 3 à 0") << QList<Reglage>{{3, {0, 0, 0, Redimensionner}}}
                                     << QStringList{boiteModif, pasDePrix, boitePec} + suite;
        QTest::newRow("étape 3 à -1") << QList<Reglage>{{3, {-1, 1, 0, Redimensionner}}}
                                      << QStringList{boiteModif, pasDePrix, boitePec} + suite;
        QTest::newRow("étape 4 à 0 : rien, on passe à l'étape 5")
            << QList<Reglage>{{4, {0, 0, 0, Redimensionner}}} << QStringList{boiteModif, boitePrix} + suite;
        QTest::newRow("étape 5 à 3 : trois boîtes 3 Résultat(s)")
            << QList<Reglage>{{5, {3, 3, 0, Redimensionner}}}
            << QStringList{boiteModif,        boitePrix,         boitePec,           boiteIncomp(3, 0),
                           boiteIncomp(3, 1), boiteIncomp(3, 2), boiteAssoc(1, 1, 0)};
        QTest::newRow("étape 5 à 0 et étape 6 à -1 : rien")
            << QList<Reglage>{{5, {0, 0, 0, Redimensionner}}, {6, {-1, 0, 0, Redimensionner}}}
            << QStringList{boiteModif, boitePrix, boitePec};
        QTest::newRow("étape 6 à 2 : Association 1 sur 2 puis 2 sur 2")
            << QList<Reglage>{{6, {2, 2, 0, Redimensionner}}}
            << QStringList{boiteModif,        boitePrix,           boitePec,
                           boiteIncomp(1, 0), boiteAssoc(1, 2, 0), boiteAssoc(2, 2, 1)};
        QTest::newRow("connexion en échec : toutes les étapes quand même")
            << QList<Reglage>{{1, {-1, 0, 0, Redimensionner}}}
            << QStringList{boiteModif, boitePrix, boitePec} + suite;
    }
    void boitesSelonLesComptes()
    {
        QFETCH(QList<Reglage>, reglages);
        QFETCH(QStringList, attendues);
        QCOMPARE(executer(reglages), attendues);
        QCOMPARE(journal().constLast(), QStringLiteral("DeConnection_Tarvo()"));
    }

    // A library breaking the contract is never read past the records it delivered; each step says once
    // which announced indices it could not read, then the sequence goes on.
    void contratRompu_data()
    {
        QTest::addColumn<QList<Reglage>>("reglages");
        QTest::addColumn<QStringList>("attendues");

        const QStringList debut = {boiteModif, boitePrix, boitePec};
        QTest::newRow("étape 5 annonce 5, en livre 2")
            << QList<Reglage>{{5, {5, 2, 0, Redimensionner}}}
            << debut + QStringList{
                           boiteIncomp(5, 0), boiteIncomp(5, 1),
                           avertissement(QStringLiteral(
                               "ListeCodeIncompatibilitesActe_Tarvo annonce 5 enregistrement(s), mais le "
                               "tableau livré va de l'indice 0 à l'indice 1 ; indice(s) non lu(s) : 2 à 4.")),
                           boiteAssoc(1, 1, 0)};
        QTest::newRow("étape 5 annonce le plus grand compte, en livre 1")
            << QList<Reglage>{{5, {2147483647, 1, 0, Redimensionner}}}
            << debut +
                   QStringList{
                       boiteIncomp(2147483647, 0),
                       avertissement(QStringLiteral(
                           "ListeCodeIncompatibilitesActe_Tarvo annonce 2147483647 enregistrement(s), "
                           "mais le tableau livré va de l'indice 0 à l'indice 0 ; indice(s) non lu(s) : 1 "
                           "à 2147483646.")),
                       boiteAssoc(1, 1, 0)};
        QTest::newRow("étape 6 borne inférieure 1")
            << QList<Reglage>{{6, {3, 3, 1, Redimensionner}}}
            << debut + QStringList{
                           boiteIncomp(1, 0), boiteAssoc(2, 3, 1), boiteAssoc(3, 3, 2),
                           avertissement(QStringLiteral(
                               "ListeCodeAssociationActe_Tarvo annonce 3 enregistrement(s), mais le tableau "
                               "livré va de l'indice 1 à l'indice 3 ; indice(s) non lu(s) : 0."))};
        QTest::newRow("étape 2 borne inférieure 1 : l'enregistrement 0 manque")
            << QList<Reglage>{{2, {1, 1, 1, Redimensionner}}}
            << QStringList{
                   avertissement(QStringLiteral(
                       "ListeModificateurs_Tarvo annonce 1 enregistrement(s), mais le tableau livré va de "
                       "l'indice 1 à l'indice 1 ; indice(s) non lu(s) : 0.")),
                   boitePrix, boitePec, boiteIncomp(1, 0), boiteAssoc(1, 1, 0)};
        QTest::newRow("étape 5 tableau remplacé")
            << QList<Reglage>{{5, {2, 2, 0, Remplacer}}}
            << debut + QStringList{boiteIncomp(2, 0), boiteIncomp(2, 1), boiteAssoc(1, 1, 0)};
        QTest::newRow("étape 3 tableau d'un autre type")
            << QList<Reglage>{{3, {1, 1, 0, AutreType}}}
            << QStringList{
                   boiteModif,
                   avertissement(QStringLiteral("GetPrixUnitaireActeSupplement_Tarvo annonce 1 "
                                                "enregistrement(s), mais le tableau livré contient des "
                                                "enregistrements de %1 octets au lieu de %2 ; indice(s) non "
                                                "lu(s) : 0.")
                                     .arg(3 * sizeof(TexteAuto))
                                     .arg(sizeof(EnregistrementPrix))),
                   boitePec, boiteIncomp(1, 0), boiteAssoc(1, 1, 0)};
        QTest::newRow("étape 4 tableau vidé")
            << QList<Reglage>{{4, {1, 0, 0, Redimensionner}}}
            << QStringList{
                   boiteModif, boitePrix,
                   avertissement(QStringLiteral("GetPriseEnCharge_Tarvo annonce 1 enregistrement(s), mais le "
                                                "tableau livré est vide ; indice(s) non lu(s) : 0.")),
                   boiteIncomp(1, 0), boiteAssoc(1, 1, 0)};
        QTest::newRow("étape 6 sans tableau")
            << QList<Reglage>{{6, {2, 0, 0, Annuler}}}
            << debut +
                   QStringList{boiteIncomp(1, 0),
                               avertissement(QStringLiteral(
                                   "ListeCodeAssociationActe_Tarvo annonce 2 enregistrement(s), mais aucun "
                                   "tableau n'est livré ; indice(s) non lu(s) : 0 à 1."))};
    }
    void contratRompu()
    {
        QFETCH(QList<Reglage>, reglages);
        QFETCH(QStringList, attendues);
        QCOMPARE(executer(reglages), attendues);
        QCOMPARE(journal().constLast(), QStringLiteral("DeConnection_Tarvo()"));
    }

    void appelsEtArgumentsDansLOrdre()
    {
        QStringList lectures;
        m_source.dateReference = [&] {
            lectures.append(QStringLiteral("date après ") +
                            journal().constLast().section(QLatin1Char('('), 0, 0));
            return QStringLiteral("20240315");
        };
        m_source.grilleTarifaire = [&] {
            lectures.append(QStringLiteral("grille"));
            return QStringLiteral("002");
        };
        executer({{5, {3, 3, 0, Redimensionner}}});
        QCOMPARE(lectures, (QStringList{QStringLiteral("date après ListeModificateurs_Tarvo"),
                                        QStringLiteral("grille")}));
        // Steps 2 to 5 get a fresh one-record array; step 6 gets the one step 5 left.
        const QStringList attendu = {
            QStringLiteral("Connection_Tarvo(0,1,0,C:\\ProgramData\\santesocial\\fsv\\1.40.9\\conf)"),
            QStringLiteral("ListeModificateurs_Tarvo() tableau=1@0 premier="),
            QStringLiteral(
                "GetPrixUnitaireActeSupplement_Tarvo(JLNL001,1,0,20240315,002) tableau=1@0 premier="),
            QStringLiteral("GetPriseEnCharge_Tarvo(JLNL001,20080101) tableau=1@0 premier="),
            QStringLiteral("ListeCodeIncompatibilitesActe_Tarvo(JLNL001) tableau=1@0 premier="),
            QStringLiteral("ListeCodeAssociationActe_Tarvo(LHQK005,1) tableau=3@0 premier=Incomp0.1"),
            QStringLiteral("DeConnection_Tarvo()")};
        QCOMPARE(journal(), attendu);
    }

    void deuxExecutionsConnectentEtDeconnectentDeuxFois()
    {
        executer();
        executer();
        QStringList appels;
        for (const QString& ligne : journal())
            if (ligne.startsWith(QStringLiteral("Connection")) ||
                ligne.startsWith(QStringLiteral("DeConnection")))
                appels.append(ligne.section(QLatin1Char('('), 0, 0));
        QCOMPARE(appels,
                 (QStringList{QStringLiteral("Connection_Tarvo"), QStringLiteral("DeConnection_Tarvo"),
                              QStringLiteral("Connection_Tarvo"), QStringLiteral("DeConnection_Tarvo")}));
    }

    void etapesSignaleesALAppelant()
    {
        QStringList etapes;
        m_source.apresAppel = [&](int etape, const QString& pointEntree, qint32 resultat) {
            etapes.append(QStringLiteral("%1 %2 %3").arg(etape).arg(pointEntree).arg(resultat));
        };
        executer({{4, {0, 0, 0, Redimensionner}}, {7, {-4, 0, 0, Redimensionner}}});
        QCOMPARE(etapes, (QStringList{QStringLiteral("1 Connection_Tarvo 1"),
                                      QStringLiteral("2 ListeModificateurs_Tarvo 1"),
                                      QStringLiteral("3 GetPrixUnitaireActeSupplement_Tarvo 1"),
                                      QStringLiteral("4 GetPriseEnCharge_Tarvo 0"),
                                      QStringLiteral("5 ListeCodeIncompatibilitesActe_Tarvo 1"),
                                      QStringLiteral("6 ListeCodeAssociationActe_Tarvo 1"),
                                      QStringLiteral("7 DeConnection_Tarvo -4")}));
    }

    // The run stops at the missing entry point: the earlier boxes stay, the disconnection never comes.
    void pointEntreeManquantArreteLaSequence()
    {
        tarvo::definirCheminBibliotheque(QStringLiteral(CHEMIN_TARVO_INCOMPLET));
        ServiceMessagesScripte messages;
        try {
            executerSequenceTarvo(messages, m_source, appelsTarvo());
            QFAIL("la séquence aurait dû échouer");
        } catch (const Echec& echec) {
            QCOMPARE(echec.numero(), int{Echec::PointEntreeIntrouvable});
            QVERIFY2(echec.description().contains(QStringLiteral("GetPriseEnCharge_Tarvo")),
                     qPrintable(echec.description()));
            QVERIFY2(echec.description().contains(QDir::toNativeSeparators(
                         QFileInfo(QStringLiteral(CHEMIN_TARVO_INCOMPLET)).absoluteFilePath())),
                     qPrintable(echec.description()));
        }
        QCOMPARE(messages.messages.size(), 2);
        QCOMPARE(messages.messages.at(1).texte, QStringLiteral("Prix0.1 / Prix0.2"));
    }

    void bibliothequeNonChargee_data()
    {
        QTest::addColumn<QString>("chemin");
        QTest::addColumn<int>("numero");
        QTest::addColumn<QString>("raison");
        QTest::newRow("fichier absent")
            << QStringLiteral("/nulle/part/" FICHIER_TARVOLIB) << int{Echec::FichierIntrouvable}
            << QStringLiteral("Fichier introuvable : ") +
                   QDir::toNativeSeparators(
                       QFileInfo(QStringLiteral("/nulle/part/" FICHIER_TARVOLIB)).absoluteFilePath());
        QTest::newRow("chemin relatif, pris dans le répertoire courant et montré en entier")
            << QStringLiteral("nulle-part/" FICHIER_TARVOLIB) << int{Echec::FichierIntrouvable}
            << QDir::toNativeSeparators(
                   QDir::current().absoluteFilePath(QStringLiteral("nulle-part/" FICHIER_TARVOLIB)));
        QTest::newRow("fichier qui n'est pas une bibliothèque")
            << QStringLiteral(CHEMIN_SOURCE_TEST) << int{Echec::ChargementImpossible}
            << QStringLiteral("ou l'une de ses dépendances (%1)")
                   .arg(QDir::toNativeSeparators(
                       QFileInfo(QStringLiteral(CHEMIN_SOURCE_TEST)).absoluteFilePath()));
        QVERIFY(m_dossier.isValid());
        const QString autreLargeur = m_dossier.filePath(QStringLiteral(FICHIER_TARVOLIB));
        QVERIFY(PlateformeTest::ecrireBibliothequeAutreLargeur(autreLargeur));
        const int bits = sizeof(void*) == 8 ? 32 : 64;
        QTest::newRow("bibliothèque de l'autre largeur")
            << autreLargeur << int{Echec::ChargementImpossible}
            << QStringLiteral("%1 est un fichier %2 bits, qu'un programme %3 bits ne peut pas charger")
                   .arg(QDir::toNativeSeparators(autreLargeur))
                   .arg(bits)
                   .arg(sizeof(void*) * 8);
    }
    void bibliothequeNonChargee()
    {
        QFETCH(QString, chemin);
        QFETCH(int, numero);
        QFETCH(QString, raison);
        tarvo::definirCheminBibliotheque(chemin);
        ServiceMessagesScripte messages;
        try {
            executerSequenceTarvo(messages, m_source, appelsTarvo());
            QFAIL("la séquence aurait dû échouer");
        } catch (const Echec& echec) {
            QCOMPARE(echec.numero(), numero);
            QVERIFY2(echec.description().contains(QStringLiteral("TarvoLib")),
                     qPrintable(echec.description()));
            QVERIFY2(echec.description().contains(raison), qPrintable(echec.description()));
        }
        QVERIFY(messages.messages.isEmpty());
        QVERIFY(tarvo::fichierCharge().isEmpty());
    }

    void chargeeAuPremierAppelSeulement()
    {
        QVERIFY(tarvo::fichierCharge().isEmpty());
        executer();
        QCOMPARE(QFileInfo(tarvo::fichierCharge()).absoluteFilePath(),
                 QFileInfo(QStringLiteral(CHEMIN_TARVO_FAUTIF)).absoluteFilePath());
    }

    // Each act's four calls with the act in place of the fixed codes, the date for the price and the
    // coverage; the price, coverage and incompatibility arrays reset for every act, the associations given
    // the list array as the incompatibilities left it.
    void balayageAppelsDansLOrdre()
    {
        m_repondre(5, {3, 3, 0, Redimensionner});
        JournalAppels inutilise(std::make_unique<QBuffer>());
        SuiviJournalise suivi(inutilise);
        BalayageTarvo balayage({{QStringLiteral("AAFA001"), QStringLiteral("HFFC004")},
                                QStringLiteral("20240315"),
                                QStringLiteral("002")},
                               appelsTarvo(), suivi);
        balayage.executer();
        QStringList attendu{
            QStringLiteral("Connection_Tarvo(0,1,0,C:\\ProgramData\\santesocial\\fsv\\1.40.9\\conf)")};
        for (const char* acte : {"AAFA001", "HFFC004"})
            attendu << QStringLiteral(
                           "GetPrixUnitaireActeSupplement_Tarvo(%1,1,0,20240315,002) tableau=1@0 premier=")
                           .arg(QLatin1String(acte))
                    << QStringLiteral("GetPriseEnCharge_Tarvo(%1,20240315) tableau=1@0 premier=")
                           .arg(QLatin1String(acte))
                    << QStringLiteral("ListeCodeIncompatibilitesActe_Tarvo(%1) tableau=1@0 premier=")
                           .arg(QLatin1String(acte))
                    << QStringLiteral("ListeCodeAssociationActe_Tarvo(%1,1) tableau=3@0 premier=Incomp0.1")
                           .arg(QLatin1String(acte));
        attendu << QStringLiteral("DeConnection_Tarvo()");
        QCOMPARE(journal(), attendu);
        QCOMPARE(balayage.actesFaits(), 2);
        QCOMPARE(balayage.connexion(), 1);
    }

    // A count above the records delivered, or an array not starting at index 0, is recorded in the call's
    // event and counted, the sweep going on; the journal holds the records the array holds, never more.
    void balayageHorsContrat_data()
    {
        QTest::addColumn<QList<Reglage>>("reglages");
        QTest::addColumn<QStringList>("anomalies");
        QTest::addColumn<QList<int>>("enregistrements"); // journalled, per call: price, coverage, lists

        QTest::newRow("réponses dans le contrat")
            << QList<Reglage>{} << QStringList{} << QList<int>{1, 1, 1, 1};
        QTest::newRow("incompatibilités : 5 annoncés, 2 livrés")
            << QList<Reglage>{{5, {5, 2, 0, Redimensionner}}}
            << QStringList{QStringLiteral(
                   "JLNL001 : ListeCodeIncompatibilitesActe_Tarvo annonce 5 "
                   "enregistrement(s), mais le tableau livré va de l'indice 0 à l'indice 1 "
                   "; indice(s) non lu(s) : 2 à 4.")}
            << QList<int>{1, 1, 2, 1};
        QTest::newRow("prix : le plus grand compte, un livré")
            << QList<Reglage>{{3, {2147483647, 1, 0, Redimensionner}}}
            << QStringList{QStringLiteral(
                   "JLNL001 : GetPrixUnitaireActeSupplement_Tarvo annonce 2147483647 "
                   "enregistrement(s), mais le tableau livré va de l'indice 0 à l'indice 0 "
                   "; indice(s) non lu(s) : 1 à 2147483646.")}
            << QList<int>{1, 1, 1, 1};
        QTest::newRow("associations : borne inférieure 1")
            << QList<Reglage>{{6, {3, 3, 1, Redimensionner}}}
            << QStringList{QStringLiteral(
                   "JLNL001 : ListeCodeAssociationActe_Tarvo annonce 3 enregistrement(s), "
                   "mais le tableau livré va de l'indice 1 à l'indice 3 ; indice(s) non "
                   "lu(s) : 0.")}
            << QList<int>{1, 1, 1, 3};
        QTest::newRow("prise en charge : rien annoncé, borne inférieure 1")
            << QList<Reglage>{{4, {0, 1, 1, Redimensionner}}}
            << QStringList{QStringLiteral(
                   "JLNL001 : GetPriseEnCharge_Tarvo annonce 0 enregistrement(s), mais le "
                   "tableau livré va de l'indice 1 à l'indice 1 au lieu de commencer à "
                   "l'indice 0.")}
            << QList<int>{1, 1, 1, 1};
        QTest::newRow("prise en charge : un annoncé, tableau vidé")
            << QList<Reglage>{{4, {1, 0, 0, Redimensionner}}}
            << QStringList{QStringLiteral(
                   "JLNL001 : GetPriseEnCharge_Tarvo annonce 1 enregistrement(s), mais le "
                   "tableau livré est vide ; indice(s) non lu(s) : 0.")}
            << QList<int>{1, 0, 1, 1};
    }
    void balayageHorsContrat()
    {
        QFETCH(QList<Reglage>, reglages);
        QFETCH(QStringList, anomalies);
        QFETCH(QList<int>, enregistrements);
        for (const Reglage& r : reglages)
            m_repondre(r.etape, r.reponse);
        auto sortie = std::make_unique<QBuffer>();
        sortie->open(QIODevice::WriteOnly);
        QBuffer* const lignes = sortie.get();
        JournalAppels journalAppels(std::move(sortie));
        AppelsJournalises appels(appelsTarvo(), journalAppels);
        SuiviJournalise suivi(journalAppels);
        BalayageTarvo balayage(
            {{QStringLiteral("JLNL001")}, QStringLiteral("20240315"), QStringLiteral("001")}, appels, suivi);

        balayage.executer();

        QCOMPARE(suivi.anomalies, anomalies);
        QCOMPARE(balayage.anomalies(), anomalies.size());
        QStringList recues;
        QList<int> tailles;
        for (const QByteArray& ligne : lignes->data().split('\n')) {
            const QJsonObject e = QJsonDocument::fromJson(ligne).object();
            if (e.value(u"acte").toString() != u"JLNL001" || e.value(u"genre").toString() != u"bibliotheque")
                continue;
            tailles << int(e.value(u"enregistrements").toArray().size());
            if (e.contains(u"anomalie"))
                recues << QStringLiteral("JLNL001 : ") + e.value(u"anomalie").toString();
        }
        QCOMPARE(recues, anomalies);
        QCOMPARE(tailles, enregistrements);
        QCOMPARE(journal().constLast(), QStringLiteral("DeConnection_Tarvo()"));
    }

    // Many runs, failing ones among them: the leak checker of the sanitizer build counts every text.
    void executionsRepeteesSansFuite()
    {
        for (int i = 0; i < 20; ++i) {
            m_reinitialiser();
            executer({{5, {4, 4, 0, Remplacer}}, {6, {9, 3, 1, Redimensionner}}, {3, {1, 2, 0, AutreType}}});
        }
        tarvo::definirCheminBibliotheque(QStringLiteral(CHEMIN_TARVO_INCOMPLET));
        for (int i = 0; i < 20; ++i)
            QVERIFY_THROWS_EXCEPTION(Echec, executer());
    }
};

QTEST_GUILESS_MAIN(TestSequenceTarvo)
#include "tst_sequencetarvo.moc"
