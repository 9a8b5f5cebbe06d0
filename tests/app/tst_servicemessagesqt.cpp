#include "servicemessagesqt.h"
#include "traductions.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Acts on the modal box once it is open, from inside its own event loop.
void quandModalOuvert(std::function<void(QWidget*)> action)
{
    auto* minuterie = new QTimer;
    minuterie->setInterval(10);
    QObject::connect(minuterie, &QTimer::timeout, minuterie, [minuterie, action = std::move(action)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            minuterie->stop();
            minuterie->deleteLater();
            action(modal);
        }
    });
    minuterie->start();
}

} // namespace

class TestServiceMessagesQt : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // As the program does at start-up.
    void initTestCase() { QVERIFY(installerTraductionsQt(*qApp)); }

    void messageModalAvecOkSeulement_data();
    void messageModalAvecOkSeulement();
    void saisie_data();
    void saisie();
    void boutonsEtMenusEnFrancais();

private:
    ServiceMessagesQt m_service;
};

void TestServiceMessagesQt::messageModalAvecOkSeulement_data()
{
    QTest::addColumn<IconeMessage>("icone");
    QTest::addColumn<QMessageBox::Icon>("iconeQt");

    QTest::newRow("critique") << IconeMessage::Critique << QMessageBox::Critical;
    QTest::newRow("information") << IconeMessage::Information << QMessageBox::Information;
    QTest::newRow("avertissement") << IconeMessage::Avertissement << QMessageBox::Warning;
    QTest::newRow("question") << IconeMessage::Question << QMessageBox::Question;
    QTest::newRow("sans icône") << IconeMessage::Aucune << QMessageBox::NoIcon;
}

void TestServiceMessagesQt::messageModalAvecOkSeulement()
{
    QFETCH(IconeMessage, icone);
    QFETCH(QMessageBox::Icon, iconeQt);
    QString texte, titre;
    QMessageBox::Icon vue = QMessageBox::NoIcon;
    QMessageBox::StandardButtons boutons;
    quandModalOuvert([&](QWidget* modal) {
        auto* boite = qobject_cast<QMessageBox*>(modal);
        QVERIFY(boite);
        texte = boite->text();
        titre = boite->windowTitle();
        vue = boite->icon();
        boutons = boite->standardButtons();
        QTest::keyClick(boite, Qt::Key_Return);
    });

    // Markup in a component's text is shown as it is.
    m_service.afficherMessage(QStringLiteral("<b>Prix</b> : 12,50"), QStringLiteral("ATTENTION"), icone);

    QCOMPARE(texte, QStringLiteral("<b>Prix</b> : 12,50"));
    QCOMPARE(titre, QStringLiteral("ATTENTION"));
    QCOMPARE(vue, iconeQt);
    QCOMPARE(boutons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestServiceMessagesQt::saisie_data()
{
    QTest::addColumn<bool>("valider");
    QTest::addColumn<QString>("tape");
    QTest::addColumn<QString>("resultat");

    QTest::newRow("texte tapé puis OK") << true << QStringLiteral("ABCD001") << QStringLiteral("ABCD001");
    QTest::newRow("valeur par défaut gardée") << true << QString() << QStringLiteral("défaut");
    QTest::newRow("annulation") << false << QStringLiteral("ABCD001") << QString();
}

void TestServiceMessagesQt::saisie()
{
    QFETCH(bool, valider);
    QFETCH(QString, tape);
    QFETCH(QString, resultat);
    QString titre;
    quandModalOuvert([&](QWidget* modal) {
        auto* boite = qobject_cast<QInputDialog*>(modal);
        QVERIFY(boite);
        titre = boite->windowTitle();
        auto* zone = boite->findChild<QLineEdit*>();
        if (!tape.isEmpty()) {
            zone->selectAll();
            QTest::keyClicks(zone, tape);
        }
        if (valider)
            boite->accept();
        else
            boite->reject();
    });

    const QString reponse = m_service.saisirTexte(QStringLiteral("Code acte :"), QStringLiteral("Saisie"),
                                                  QStringLiteral("défaut"));

    QCOMPARE(titre, QStringLiteral("Saisie"));
    QCOMPARE(reponse, resultat);
}

// Qt's own texts read French whatever the locale, which still decides how numbers are written.
void TestServiceMessagesQt::boutonsEtMenusEnFrancais()
{
    QStringList boutons;
    QStringList menu;
    quandModalOuvert([&](QWidget* modal) {
        for (const QPushButton* bouton : modal->findChildren<QPushButton*>())
            boutons.append(bouton->text());
        const std::unique_ptr<QMenu> contextuel(modal->findChild<QLineEdit*>()->createStandardContextMenu());
        for (const QAction* action : contextuel->actions())
            if (!action->isSeparator())
                menu.append(action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0));
        qobject_cast<QDialog*>(modal)->reject();
    });
    m_service.saisirTexte(QStringLiteral("Code acte :"), QStringLiteral("Saisie"), QString());

    boutons.sort();
    QCOMPARE(boutons, (QStringList{QStringLiteral("Annuler"), QStringLiteral("OK")}));
    QVERIFY2(menu.contains(QStringLiteral("Coller")) && menu.contains(QStringLiteral("Tout sélectionner")),
             qPrintable(menu.join(QLatin1Char('|'))));
}

QTEST_MAIN(TestServiceMessagesQt)
#include "tst_servicemessagesqt.moc"
