// The diagnostic's report: which registration wins, what counts as a difference, the exit status; and the
// tool's own diagnostic run beside the companion, which must name the same library file.
#include "inscriptions.h"
#include "rapportdiagnostic.h"

#include <QDir>
#include <QProcess>
#include <QTest>

Q_DECLARE_METATYPE(RuchesInscription)
Q_DECLARE_METATYPE(ConstatControle)
Q_DECLARE_METATYPE(ConstatBibliotheque)

using namespace Qt::Literals::StringLiterals;

namespace {

const QString clsidReel = u"{11111111-2222-3333-4444-555555555555}"_s;
const QString clsidNotre = u"{B17E68ED-BC29-49C1-B560-879E09580F45}"_s;
const QString serveurReel = u"C:\\Program Files\\Editeur\\LecTarvo.ocx"_s;
const QString serveurNotre = u"C:\\Users\\testeur\\banc\\LecTarvo.ocx"_s;

ConstatControle controleConforme()
{
    ConstatControle c;
    c.progId = u"LectTarvo.ctlTarvo"_s;
    c.inscription.porteeProgId = Portee::Machine;
    c.inscription.porteeClasse = Portee::Machine;
    c.inscription.clsid = clsidReel;
    c.inscription.classe.serveur = serveurReel;
    c.inscription.classe.modeleThreads = u"Apartment"_s;
    c.serveur = {serveurReel, true, u"4.2.0.7"_s, 32};
    c.cree = true;
    return c;
}

ConstatBibliotheque bibliothequeConforme()
{
    ConstatBibliotheque b;
    b.nom = u"TarvoLib.dll"_s;
    b.chargee = true;
    b.fichier = {u"C:\\Program Files\\Editeur\\TarvoLib.dll"_s, true, u"4.2.0.7"_s, 32};
    b.nombrePoints = 39;
    return b;
}

} // namespace

class TestDiagnostic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The registry's merged view: a key of the user wins; it hides the machine's when it reaches another
    // class or another file.
    void inscriptionRetenue_data()
    {
        QTest::addColumn<RuchesInscription>("ruches");
        QTest::addColumn<int>("portee");
        QTest::addColumn<QString>("serveur");
        QTest::addColumn<bool>("masque");

        RuchesInscription machine;
        machine.clsidMachine = clsidReel;
        machine.classesMachine.insert(clsidReel.toUpper(), {serveurReel, u"Apartment"_s, {}, {}});
        QTest::newRow("aucune inscription")
            << RuchesInscription() << int(Portee::Aucune) << QString() << false;
        QTest::newRow("pour la machine seulement") << machine << int(Portee::Machine) << serveurReel << false;

        RuchesInscription utilisateur;
        utilisateur.clsidUtilisateur = clsidNotre;
        utilisateur.classesUtilisateur.insert(clsidNotre.toUpper(), {serveurNotre, u"Apartment"_s, {}, {}});
        QTest::newRow("pour l'utilisateur seulement")
            << utilisateur << int(Portee::Utilisateur) << serveurNotre << false;

        RuchesInscription lesDeux = machine;
        lesDeux.clsidUtilisateur = clsidNotre;
        lesDeux.classesUtilisateur = utilisateur.classesUtilisateur;
        QTest::newRow("notre substitut pour l'utilisateur masque le contrôle de la machine")
            << lesDeux << int(Portee::Utilisateur) << serveurNotre << true;

        RuchesInscription memeClasse = machine;
        memeClasse.clsidUtilisateur = clsidReel;
        memeClasse.classesUtilisateur.insert(clsidReel.toUpper(), {serveurNotre, u"Apartment"_s, {}, {}});
        QTest::newRow("même CLSID, autre fichier pour l'utilisateur : masque")
            << memeClasse << int(Portee::Utilisateur) << serveurNotre << true;

        RuchesInscription doublon = machine;
        doublon.clsidUtilisateur = clsidReel.toLower();
        QTest::newRow("ProgID en double pour l'utilisateur, même classe : ne masque rien")
            << doublon << int(Portee::Utilisateur) << serveurReel << false;

        // Elevated, the system reads the machine's keys alone: the user's substitute is ignored, not
        // preferred, and the report says so instead of naming it.
        RuchesInscription eleve = lesDeux;
        eleve.eleve = true;
        QTest::newRow("processus élevé : la machine seule, l'utilisateur ignoré")
            << eleve << int(Portee::Machine) << serveurReel << false;
        RuchesInscription eleveUtilisateurSeul = utilisateur;
        eleveUtilisateurSeul.eleve = true;
        QTest::newRow("processus élevé, inscrit pour l'utilisateur seulement : aucune")
            << eleveUtilisateurSeul << int(Portee::Aucune) << QString() << false;
    }
    void inscriptionRetenue()
    {
        QFETCH(RuchesInscription, ruches);
        QFETCH(int, portee);
        QFETCH(QString, serveur);
        QFETCH(bool, masque);
        const InscriptionRetenue retenue = retenir(ruches);
        QCOMPARE(int(retenue.porteeProgId), portee);
        QCOMPARE(retenue.classe.serveur, serveur);
        QCOMPARE(retenue.masqueMachine, masque);
        const QString lignes = lignesInscription(retenue).join(u'\n');
        QCOMPARE(lignes.contains(u"masque celle pour la machine (%1, %2)"_s.arg(clsidReel, serveurReel)),
                 masque);
        QCOMPARE(lignes.contains(u"processus élevé, l'inscription pour l'utilisateur courant (%1, %2) est "
                                 u"ignorée"_s.arg(clsidNotre, serveurNotre)),
                 ruches.eleve);
    }

    void statutEtLignes_data()
    {
        QTest::addColumn<ConstatControle>("controle");
        QTest::addColumn<ConstatBibliotheque>("bibliotheque");
        QTest::addColumn<int>("statut");
        QTest::addColumn<QStringList>("lignes"); // each a whole line of the report

        QTest::newRow("tout conforme") << controleConforme() << bibliothequeConforme() << 0
                                       << QStringList{u"Diagnostic : les deux composants sont conformes."_s};

        ConstatControle decale = controleConforme();
        decale.ecarts = {{u"SelectionActe"_s, 0x60030008, 0x60030108},
                         {u"LirePrix"_s, 0x6003000A, std::nullopt}};
        QTest::newRow("identifiants déplacés : une ligne par membre")
            << decale << bibliothequeConforme() << 1
            << QStringList{u"SelectionActe\t0x60030008\t0x60030108"_s, u"LirePrix\t0x6003000A\t(inconnu)"_s};

        ConstatControle masque = controleConforme();
        masque.inscription.porteeProgId = Portee::Utilisateur;
        masque.inscription.masqueMachine = true;
        masque.inscription.clsidMasque = clsidReel;
        masque.inscription.serveurMasque = serveurReel;
        QTest::newRow("inscription de l'utilisateur qui masque celle de la machine")
            << masque << bibliothequeConforme() << 1
            << QStringList{
                   u"  Attention : l'inscription pour l'utilisateur courant masque celle pour la machine "
                   u"(%1, %2)"_s.arg(clsidReel, serveurReel)};

        ConstatControle large = controleConforme();
        large.serveur.bits = 64;
        QTest::newRow("serveur 64 bits")
            << large << bibliothequeConforme() << 1
            << QStringList{u"  Architecture : 64 bits : ce programme 32 bits ne peut pas le charger"_s};

        ConstatControle refuse = controleConforme();
        refuse.cree = false;
        refuse.echecCreation = u"erreur 429 : Classe non enregistrée"_s;
        QTest::newRow("création refusée")
            << refuse << bibliothequeConforme() << 1
            << QStringList{u"  Création : impossible, erreur 429 : Classe non enregistrée"_s};

        ConstatBibliotheque decoree = bibliothequeConforme();
        decoree.absents = {u"Connection_Tarvo"_s};
        decoree.decoresSeulement = {u"Connection_Tarvo (seulement _Connection_Tarvo@16)"_s};
        QTest::newRow("point d'entrée exporté seulement décoré")
            << controleConforme() << decoree << 1
            << QStringList{
                   u"  Points d'entrée : 1 sur 39 absents sous leur nom nu :"_s,
                   u"  Exporté seulement décoré : Connection_Tarvo (seulement _Connection_Tarvo@16)"_s};

        ConstatBibliotheque introuvable;
        introuvable.nom = u"TarvoLib.dll"_s;
        introuvable.numeroEchec = 53;
        introuvable.echec = u"Fichier introuvable : TarvoLib.dll"_s;
        QTest::newRow("bibliothèque introuvable, contrôle examiné")
            << controleConforme() << introuvable << 1
            << QStringList{u"  Chargement : impossible, erreur 53 : Fichier introuvable : TarvoLib.dll"_s};

        ConstatControle autreVue;
        autreVue.progId = u"LectTarvo.ctlTarvo"_s;
        autreVue.inscription.clsidAutreVue = clsidReel;
        autreVue.inscription.bitsAutreVue = 64;
        QTest::newRow("inscrit seulement dans la vue 64 bits : nommée")
            << autreVue << bibliothequeConforme() << 1
            << QStringList{
                   u"  Inscription : aucune dans la vue 32 bits du registre ; la classe %1 est "
                   u"inscrite seulement dans la vue 64 bits, que ce programme ne voit pas"_s.arg(clsidReel)};

        ConstatControle inconnu;
        inconnu.progId = u"LectTarvo.ctlTarvo"_s;
        QTest::newRow("rien d'examinable")
            << inconnu << introuvable << 2
            << QStringList{u"Diagnostic : aucun des deux composants n'a pu être examiné."_s};
    }
    void statutEtLignes()
    {
        QFETCH(ConstatControle, controle);
        QFETCH(ConstatBibliotheque, bibliotheque);
        QFETCH(QStringList, lignes);
        QStringList rapport;
        QTEST(rapportDiagnostic(controle, bibliotheque, 32, rapport), "statut");
        for (const QString& ligne : lignes)
            QVERIFY2(rapport.contains(ligne), qPrintable(rapport.join(u'\n')));
    }

    // The tool's diagnostic and the companion load the library through the same search: the same file.
    void memeBibliothequeQueLeCompagnon()
    {
        QProcess banc;
        banc.start(QStringLiteral(CHEMIN_BANC_CCAM), {u"--diagnostic"_s});
        QVERIFY(banc.waitForFinished(120000));
        const QString rapport = QString::fromUtf8(banc.readAllStandardOutput()).replace(u"\r\n"_s, u"\n"_s);
        QCOMPARE(banc.exitCode(), 0);
        const QString fichier =
            rapport.section(u"Bibliothèque : "_s, 1).section(u"  Fichier : "_s, 1).section(u'\n', 0, 0);
        QVERIFY2(!fichier.isEmpty(), qPrintable(rapport));
        QVERIFY2(rapport.contains(u"  Notre substitut : oui\n"_s), qPrintable(rapport));
        // Our files carry the project's version on Windows; no system here has such resources.
        const QString version = QStringLiteral(VERSION_COMPOSANTS).isEmpty()
                                    ? u"aucune ressource de version"_s
                                    : QStringLiteral(VERSION_COMPOSANTS);
        QCOMPARE(rapport.count(u"  Version : %1\n"_s.arg(version)), 2);

        QProcess compagnon;
        compagnon.start(QStringLiteral(CHEMIN_TARVO_VERIFIER), {});
        QVERIFY(compagnon.waitForFinished(120000));
        const QString sortie = QString::fromUtf8(compagnon.readAllStandardOutput());
        QCOMPARE(sortie.section(u'\n', 0, 0).trimmed(), u"Bibliothèque : "_s + fichier);
    }
};

QTEST_GUILESS_MAIN(TestDiagnostic)
#include "tst_diagnostic.moc"
