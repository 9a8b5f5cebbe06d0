#pragma once

#include "controledispatch.h"
#include "scenario.h"
#include "servicemessages.h"

#include <QObject>
#include <QPointer>

class JournalAppels;
class QDialog;
class QWidget;

// Plays a scenario on the window without an operator. It is also the window's message service: a box
// or input box a command shows takes the next step when that step answers it; a box the scenario does
// not answer is answered OK (an input box with its default text) and noted in the journal. The control's
// selection dialog is worked the same way, by the names of its widgets; one the scenario does not answer
// is cancelled.
class LecteurScenario final : public QObject, public ServiceMessages
{
    Q_OBJECT

public:
    // `journal` may be null: nothing is then recorded.
    LecteurScenario(QList<EtapeScenario> etapes, JournalAppels* journal);
    ~LecteurScenario() override;

    // Plays the steps in order on `fenetre`. True when every step ran; otherwise stops at the first that
    // could not be played and erreur() says which and why.
    bool jouer(QWidget& fenetre);
    const QString& erreur() const { return m_erreur; }
    int ligneErreur() const { return m_ligneErreur; }

    // How the control's native boxes are answered: by the next step when it is a boite_native whose text the
    // box holds, else as `parDefaut` says (--boites-natives), noted in the journal.
    ChoixBoiteNative choixBoitesNatives(ReponseBoiteNative::Mode parDefaut);

    void afficherMessage(const QString& texte, const QString& titre, IconeMessage icone) override;
    QString saisirTexte(const QString& invite, const QString& titre, const QString& defaut) override;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    QString jouerEtape(QWidget& fenetre, const EtapeScenario& etape);
    // The next step when it answers a box of this kind; it is then taken and recorded.
    const EtapeScenario* reponse(EtapeScenario::Genre genre, EtapeScenario::Genre autre);
    void noterEtape(const EtapeScenario& etape);
    void noterReponseAutomatique(const QString& boite, const QJsonValue& reponse);
    void repondreAuDialogue(QDialog* dialogue);
    ReponseBoiteNative repondreBoiteNative(const BoiteNative& boite, ReponseBoiteNative::Mode parDefaut);
    void echouer(const EtapeScenario& etape, const QString& raison);

    QList<EtapeScenario> m_etapes;
    qsizetype m_prochaine = 0;
    JournalAppels* m_journal;
    QString m_erreur;
    int m_ligneErreur = 0;
};
