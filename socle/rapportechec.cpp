#include "rapportechec.h"

#include "echec.h"
#include "servicemessages.h"

#include <exception>
#include <new>

void rapporterEchec(ServiceMessages& messages, const Echec& echec)
{
    messages.afficherMessage(texteRapport(echec), titreApplication(), IconeMessage::Critique);
}

QString texteRapport(const Echec& echec)
{
    // Joined rather than formatted with arg(), so a description holding "%1" is shown as it is.
    return QStringLiteral("Erreur ") + QString::number(echec.numero()) + QStringLiteral(" : ") +
           echec.description();
}

bool executerCommande(ServiceMessages& messages, const std::function<void()>& gestionnaire)
{
    try {
        gestionnaire();
        return true;
    } catch (const Echec& echec) {
        rapporterEchec(messages, echec);
    } catch (const std::bad_alloc&) {
        rapporterEchec(messages, Echec(Echec::MemoireInsuffisante, QStringLiteral("Mémoire insuffisante")));
    } catch (const std::exception& exception) {
        rapporterEchec(messages, Echec(Echec::ErreurInterne, QString::fromUtf8(exception.what())));
    } catch (...) {
        rapporterEchec(messages, Echec(Echec::ErreurInterne, QStringLiteral("Erreur interne inconnue")));
    }
    return false;
}
