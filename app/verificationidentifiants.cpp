#include "verificationidentifiants.h"

#include "journalappels.h"
#include "servicemessages.h"
#include "vocabulairejournal.h"

#include <QJsonValue>
#include <QTimer>
#include <QWidget>

VerificationIdentifiants::VerificationIdentifiants(JournalAppels* journal)
    : m_journal(journal)
{}

FabriqueControle VerificationIdentifiants::envelopper(FabriqueControle fabrique)
{
    return [fabrique = std::move(fabrique), journal = m_journal,
            ecarts = m_ecarts](QWidget* fenetre) -> std::unique_ptr<ControleDispatch> {
        std::unique_ptr<ControleDispatch> controle = fabrique ? fabrique(fenetre) : nullptr;
        if (!controle)
            return controle;
        *ecarts = ecartsIdentifiants(*controle);
        for (const EcartIdentifiant& e : std::as_const(*ecarts)) {
            if (journal != nullptr)
                journal->consigner(
                    Genre::identifiants,
                    {{Champ::membre, e.membre},
                     {Champ::attendu, texteIdentifiant(e.attendu)},
                     {Champ::trouve, e.trouve ? QJsonValue(texteIdentifiant(e.trouve)) : QJsonValue()}});
        }
        return controle;
    };
}

QString VerificationIdentifiants::avertissement(const QString& progId) const
{
    if (m_ecarts->isEmpty())
        return {};
    QStringList membres;
    for (const EcartIdentifiant& e : std::as_const(*m_ecarts))
        membres.append(e.membre);
    return QStringLiteral("Le contrôle %1 ne donne pas à %2 membre(s) les identifiants attendus : %3.\n"
                          "Leurs appels atteindront d'autres membres ou échoueront (erreur 438). "
                          "Le détail : banc-ccam --diagnostic.")
        .arg(progId)
        .arg(membres.size())
        .arg(membres.join(QStringLiteral(", ")));
}

void VerificationIdentifiants::avertirApresOuverture(QWidget& fenetre, ServiceMessages& messages,
                                                     const QString& progId) const
{
    const QString texte = avertissement(progId);
    if (texte.isEmpty())
        return;
    QTimer::singleShot(0, &fenetre, [&messages, texte] {
        messages.afficherMessage(texte, titreApplication(), IconeMessage::Avertissement);
    });
}
