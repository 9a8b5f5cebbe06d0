// The start's check of the control's identifiers, over a control whose members answer other identifiers by
// name: one journal event per difference, and one warning box once the window has opened.
#include "journalappels.h"
#include "servicemessagesscripte.h"
#include "tablemembres.h"
#include "verificationidentifiants.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

// A control rebuilt elsewhere: the names it was given new identifiers for, the names it lost.
class ControleRenumerote final : public ControleDispatch
{
public:
    QHash<QString, std::optional<qint32>> renumerotes;

    void ecrire(qint32, const QVariant&) override {}
    void ecrireParReference(qint32, QVariant&) override {}
    QVariant lire(qint32) override { return {}; }
    QVariant appeler(qint32) override { return {}; }
    std::optional<qint32> identifiantParNom(const QString& nom) override
    {
        return renumerotes.contains(nom) ? renumerotes.value(nom) : ControleDispatch::identifiantParNom(nom);
    }
};

using Renumerotes = QHash<QString, std::optional<qint32>>;

} // namespace

class TestVerificationIdentifiants : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void signaleAuDemarrage_data()
    {
        QTest::addColumn<Renumerotes>("renumerotes");
        QTest::addColumn<QStringList>("evenements"); // membre attendu trouve
        QTest::newRow("rien ne diffère : ni événement ni boîte") << Renumerotes() << QStringList();
        QTest::newRow("une méthode déplacée, une propriété perdue")
            << Renumerotes{{u"CodeActe"_s, std::nullopt}, {u"LireLibelle"_s, 0x60030109}}
            << QStringList{u"CodeActe 0x4003001F null"_s, u"LireLibelle 0x60030009 0x60030109"_s};
    }
    void signaleAuDemarrage()
    {
        QFETCH(Renumerotes, renumerotes);
        QFETCH(QStringList, evenements);
        QTemporaryDir dossier;
        QVERIFY(dossier.isValid());
        const QString chemin = dossier.filePath(u"j.jsonl"_s);
        ServiceMessagesScripte messages;
        {
            QString erreur;
            const std::unique_ptr<JournalAppels> journal = JournalAppels::ouvrir(chemin, erreur);
            QVERIFY(journal);
            VerificationIdentifiants verification(journal.get());
            const FabriqueControle fabrique = verification.envelopper([&renumerotes](QWidget*) {
                auto controle = std::make_unique<ControleRenumerote>();
                controle->renumerotes = renumerotes;
                return std::unique_ptr<ControleDispatch>(std::move(controle));
            });
            QWidget fenetre;
            const std::unique_ptr<ControleDispatch> controle = fabrique(&fenetre);
            QVERIFY(controle);
            verification.avertirApresOuverture(fenetre, messages, u"LectTarvo.ctlTarvo"_s);
            QVERIFY(messages.messages.isEmpty()); // not before the window has opened
            QCoreApplication::processEvents();
        }
        QStringList lus;
        QFile f(chemin);
        QVERIFY(f.open(QIODevice::ReadOnly));
        while (!f.atEnd()) {
            const QJsonObject e = QJsonDocument::fromJson(f.readLine()).object();
            QCOMPARE(e.value(u"genre").toString(), u"identifiants"_s);
            lus << u"%1 %2 %3"_s.arg(e.value(u"membre").toString(), e.value(u"attendu").toString(),
                                     e.value(u"trouve").isNull() ? u"null"_s : e.value(u"trouve").toString());
        }
        QCOMPARE(lus, evenements);
        QCOMPARE(messages.messages.size(), evenements.isEmpty() ? 0 : 1);
        if (!evenements.isEmpty()) {
            QCOMPARE(messages.messages.constFirst().icone, IconeMessage::Avertissement);
            QVERIFY2(messages.messages.constFirst().texte.contains(u"CodeActe, LireLibelle"_s),
                     qPrintable(messages.messages.constFirst().texte));
        }
    }
};

QTEST_MAIN(TestVerificationIdentifiants)
#include "tst_verificationidentifiants.moc"
