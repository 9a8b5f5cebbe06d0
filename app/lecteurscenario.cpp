#include "lecteurscenario.h"

#include "journalappels.h"
#include "nomsselectionacte.h"
#include "vocabulairejournal.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// The act code the dialog shows as highlighted, by the name of its detail label.
QString codeSurligne(QDialog* dialogue)
{
    const auto* code = dialogue->findChild<QLabel*>(NomsSelectionActe::lblCodeActe);
    return code ? code->text().trimmed() : QString();
}

} // namespace

LecteurScenario::LecteurScenario(QList<EtapeScenario> etapes, JournalAppels* journal)
    : m_etapes(std::move(etapes))
    , m_journal(journal)
{}

LecteurScenario::~LecteurScenario() = default;

bool LecteurScenario::jouer(QWidget& fenetre)
{
    qApp->installEventFilter(this);
    while (m_prochaine < m_etapes.size() && m_erreur.isEmpty()) {
        const EtapeScenario& etape = m_etapes.at(m_prochaine++);
        noterEtape(etape);
        if (!fenetre.isVisible()) {
            echouer(etape, QStringLiteral("la fenêtre est fermée"));
            break;
        }
        const QString raison = jouerEtape(fenetre, etape);
        if (!raison.isEmpty() && m_erreur.isEmpty())
            echouer(etape, raison);
    }
    qApp->removeEventFilter(this);
    if (m_journal) {
        QJsonObject fin{{Champ::statut, m_erreur.isEmpty() ? 0 : 1}};
        if (!m_erreur.isEmpty()) {
            fin.insert(Champ::ligne, m_ligneErreur);
            fin.insert(Champ::erreur, m_erreur);
        }
        m_journal->consigner(Genre::finScenario, fin);
    }
    return m_erreur.isEmpty();
}

QString LecteurScenario::jouerEtape(QWidget& fenetre, const EtapeScenario& etape)
{
    using Genre = EtapeScenario::Genre;
    if (etape.genre == Genre::BoiteNative)
        return QStringLiteral("aucune boîte native du contrôle n'est venue pour cette réponse");
    if (etape.estReponse())
        return etape.genre == Genre::Selectionner
                   ? QStringLiteral("aucun dialogue de sélection ne s'est ouvert pour cette réponse")
                   : QStringLiteral("aucune boîte n'est venue pour cette réponse");

    QWidget* cible = fenetre.findChild<QWidget*>(etape.cible);
    const auto absent = [&](const char* genre) {
        return QStringLiteral("la fenêtre n'a pas de %1 nommé(e) « %2 »")
            .arg(QLatin1String(genre), etape.cible);
    };
    switch (etape.genre) {
    case Genre::Remplir:
        if (auto* zone = qobject_cast<QLineEdit*>(cible)) {
            if (zone->isReadOnly())
                return QStringLiteral("la zone « %1 » est en lecture seule").arg(etape.cible);
            zone->setText(etape.texte);
            return {};
        }
        if (auto* zone = qobject_cast<QPlainTextEdit*>(cible)) {
            if (zone->isReadOnly())
                return QStringLiteral("la zone « %1 » est en lecture seule").arg(etape.cible);
            zone->setPlainText(etape.texte);
            return {};
        }
        return absent("zone de texte");
    case Genre::Cocher: {
        auto* caseACocher = qobject_cast<QCheckBox*>(cible);
        if (!caseACocher)
            return absent("case à cocher");
        if (etape.entier == 2)
            caseACocher->setTristate(true);
        caseACocher->setCheckState(etape.entier == 0   ? Qt::Unchecked
                                   : etape.entier == 1 ? Qt::Checked
                                                       : Qt::PartiallyChecked);
        return {};
    }
    case Genre::Choisir: {
        auto* liste = qobject_cast<QComboBox*>(cible);
        if (!liste)
            return absent("liste déroulante");
        if (etape.entier >= liste->count())
            return QStringLiteral("la liste « %1 » n'a que %2 entrée(s)")
                .arg(etape.cible)
                .arg(liste->count());
        liste->setCurrentIndex(etape.entier);
        return {};
    }
    case Genre::Date: {
        auto* date = qobject_cast<QDateEdit*>(cible);
        if (!date)
            return absent("sélecteur de date");
        const QDate valeur = QDate::fromString(etape.texte, QStringLiteral("yyyyMMdd"));
        if (valeur < date->minimumDate() || valeur > date->maximumDate())
            return QStringLiteral("la date %1 sort des bornes de « %2 »").arg(etape.texte, etape.cible);
        date->setDate(valeur);
        return {};
    }
    case Genre::Cliquer: {
        auto* bouton = qobject_cast<QPushButton*>(cible);
        if (!bouton)
            return absent("bouton");
        if (!bouton->isEnabled())
            return QStringLiteral("le bouton « %1 » est désactivé").arg(etape.cible);
        // Runs the command to its end: the boxes and the dialog it opens take the steps that follow.
        bouton->click();
        return {};
    }
    case Genre::Repondre:
    case Genre::Saisir:
    case Genre::Selectionner:
    case Genre::BoiteNative:
        break;
    }
    return {};
}

const EtapeScenario* LecteurScenario::reponse(EtapeScenario::Genre genre, EtapeScenario::Genre autre)
{
    if (m_prochaine >= m_etapes.size() || !m_erreur.isEmpty())
        return nullptr;
    const EtapeScenario& etape = m_etapes.at(m_prochaine);
    if (etape.genre != genre && etape.genre != autre)
        return nullptr;
    ++m_prochaine;
    noterEtape(etape);
    return &etape;
}

ChoixBoiteNative LecteurScenario::choixBoitesNatives(ReponseBoiteNative::Mode parDefaut)
{
    return [this, parDefaut](const BoiteNative& boite) {
        return repondreBoiteNative(boite, parDefaut);
    };
}

ReponseBoiteNative LecteurScenario::repondreBoiteNative(const BoiteNative& boite,
                                                        ReponseBoiteNative::Mode parDefaut)
{
    if (m_prochaine < m_etapes.size() && m_erreur.isEmpty()) {
        const EtapeScenario& etape = m_etapes.at(m_prochaine);
        if (etape.genre == EtapeScenario::Genre::BoiteNative &&
            boite.texte.contains(etape.texte.trimmed(), Qt::CaseInsensitive)) {
            ++m_prochaine;
            noterEtape(etape);
            if (boite.boutons.contains(etape.bouton.trimmed(), Qt::CaseInsensitive))
                return {ReponseBoiteNative::Mode::Bouton, etape.bouton.trimmed()};
            echouer(etape, QStringLiteral("la boîte « %1 » n'a pas de bouton « %2 » (ses boutons : %3)")
                               .arg(boite.texte, etape.bouton, boite.boutons.join(QStringLiteral(", "))));
            return {parDefaut, {}};
        }
    }
    noterReponseAutomatique(Valeur::boiteNative, parDefaut == ReponseBoiteNative::Mode::Annulation
                                                     ? QStringLiteral("annuler")
                                                     : QStringLiteral("ok"));
    return {parDefaut, {}};
}

void LecteurScenario::afficherMessage(const QString&, const QString&, IconeMessage)
{
    // A box has only OK: "repondre" closes it, whichever answer it names.
    if (!reponse(EtapeScenario::Genre::Repondre, EtapeScenario::Genre::Repondre))
        noterReponseAutomatique(Genre::message.nom, QStringLiteral("OK"));
}

QString LecteurScenario::saisirTexte(const QString&, const QString&, const QString& defaut)
{
    const EtapeScenario* etape = reponse(EtapeScenario::Genre::Saisir, EtapeScenario::Genre::Repondre);
    if (!etape) {
        noterReponseAutomatique(Genre::saisie.nom, defaut);
        return defaut;
    }
    if (etape->genre == EtapeScenario::Genre::Saisir)
        return etape->texte;
    return etape->texte == QLatin1String("OK") ? defaut : QString();
}

bool LecteurScenario::eventFilter(QObject* objet, QEvent* evenement)
{
    if (evenement->type() == QEvent::Show) {
        if (auto* dialogue = qobject_cast<QDialog*>(objet); dialogue && dialogue->isModal()) {
            // Answered once its own event loop runs, as an operator would.
            QTimer::singleShot(0, dialogue, [this, dialogue] { repondreAuDialogue(dialogue); });
        }
    }
    return QObject::eventFilter(objet, evenement);
}

void LecteurScenario::repondreAuDialogue(QDialog* dialogue)
{
    if (!dialogue->isVisible())
        return;
    const EtapeScenario* etape =
        reponse(EtapeScenario::Genre::Selectionner, EtapeScenario::Genre::Selectionner);
    if (!etape) {
        noterReponseAutomatique(Valeur::dialogue, QJsonValue::Null);
        dialogue->reject();
        return;
    }
    if (!etape->acte) {
        dialogue->reject();
        return;
    }
    const QString code = etape->acte->trimmed();
    auto* recherche = dialogue->findChild<QLineEdit*>(NomsSelectionActe::txtRecherche);
    auto* resultats = dialogue->findChild<QListView*>(NomsSelectionActe::lstResultats);
    auto* choisir = dialogue->findChild<QPushButton*>(NomsSelectionActe::cmdChoisir);
    if (!recherche || !resultats || !resultats->model() || !choisir) {
        echouer(*etape, QStringLiteral("le dialogue ouvert n'est pas celui de la sélection d'acte"));
        dialogue->reject();
        return;
    }
    recherche->setText(code);
    for (int ligne = 0; ligne < resultats->model()->rowCount(); ++ligne) {
        resultats->setCurrentIndex(resultats->model()->index(ligne, 0));
        if (codeSurligne(dialogue).compare(code, Qt::CaseInsensitive) == 0 && choisir->isEnabled()) {
            choisir->click();
            return;
        }
    }
    echouer(*etape, QStringLiteral("l'acte %1 n'est pas proposé par le dialogue de sélection").arg(code));
    dialogue->reject();
}

void LecteurScenario::noterEtape(const EtapeScenario& etape)
{
    if (m_journal)
        m_journal->consigner(Genre::etape, {{Champ::ligne, etape.ligne}, {Champ::etape, etape.objet}});
}

void LecteurScenario::noterReponseAutomatique(const QString& boite, const QJsonValue& reponse)
{
    if (m_journal)
        m_journal->consigner(Genre::reponseAutomatique, {{Champ::boite, boite}, {Champ::reponse, reponse}});
}

void LecteurScenario::echouer(const EtapeScenario& etape, const QString& raison)
{
    if (!m_erreur.isEmpty())
        return;
    m_erreur = QStringLiteral("« %1 » : %2").arg(etape.action, raison);
    m_ligneErreur = etape.ligne;
}
