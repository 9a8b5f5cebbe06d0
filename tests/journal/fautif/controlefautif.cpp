// banc-ccam over a control that misbehaves on chosen acts, built for the tests only: our component wrapped so
// that CTL_FAUTIF_PANNES="ACQK001:LireModificateursActe:plantage,HFFC004:LireLibelle:blocage" crashes or
// hangs the process in those members while that act is in txtCodeCCAM; "*" for the act stands for every act.
#include "controledispatch.h"
#include "fabriquecontrole.h"
#include "fabriquectltarvo.h"
#include "implementations.h"
#include "lancement.h"
#include "sequencetarvo.h"
#include "sondesysteme.h"
#include "tablemembres.h"

#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <chrono>
#include <thread>

namespace {

class ControleFautif final : public ControleDispatch
{
public:
    ControleFautif(std::unique_ptr<ControleDispatch> controle, QWidget* fenetre)
        : m_controle(std::move(controle))
        , m_fenetre(fenetre)
    {}

    void ecrire(qint32 dispId, const QVariant& valeur) override
    {
        panneChoisie(dispId);
        m_controle->ecrire(dispId, valeur);
    }
    void ecrireParReference(qint32 dispId, QVariant& valeur) override
    {
        panneChoisie(dispId);
        m_controle->ecrireParReference(dispId, valeur);
    }
    QVariant lire(qint32 dispId) override
    {
        panneChoisie(dispId);
        return m_controle->lire(dispId);
    }
    QVariant appeler(qint32 dispId) override
    {
        panneChoisie(dispId);
        return m_controle->appeler(dispId);
    }
    std::optional<qint32> identifiantParNom(const QString& nom) override
    {
        return m_controle->identifiantParNom(nom);
    }
    void observerEvenements(ObservateurEvenements observateur) override
    {
        m_controle->observerEvenements(std::move(observateur));
    }
    QList<EtapeActivation> etapesToleres() const override { return m_controle->etapesToleres(); }

private:
    void panneChoisie(qint32 dispId) const
    {
        static const QStringList pannes =
            qEnvironmentVariable("CTL_FAUTIF_PANNES").split(QLatin1Char(','), Qt::SkipEmptyParts);
        const auto* code =
            m_fenetre ? m_fenetre->findChild<QLineEdit*>(QStringLiteral("txtCodeCCAM")) : nullptr;
        const QString acte = code ? code->text().trimmed() : QString();
        const QString membre = nomMembre(dispId);
        for (const QString& panne : pannes) {
            const QStringList parties = panne.split(QLatin1Char(':'));
            if (parties.size() != 3 || (parties.at(0) != acte && parties.at(0) != QLatin1String("*")) ||
                parties.at(1) != membre)
                continue;
            if (parties.at(2) == QLatin1String("plantage"))
                *static_cast<volatile int*>(nullptr) = 0;
            for (;;)
                std::this_thread::sleep_for(std::chrono::seconds(1));
        }
    }

    std::unique_ptr<ControleDispatch> m_controle;
    QPointer<QWidget> m_fenetre;
};

FabriqueControle choixFautif(const QString& nom, QString& erreur)
{
    const FabriqueControle fabrique = fabriqueControle(nom, erreur);
    if (!fabrique)
        return {};
    return [fabrique](QWidget* fenetre) -> std::unique_ptr<ControleDispatch> {
        return std::make_unique<ControleFautif>(fabrique(fenetre), fenetre);
    };
}

} // namespace

int main(int argc, char* argv[])
{
    return lancerBancCcam(
        argc, argv, {&choixFautif, sondePlateforme(), appelsTarvo(), QString::fromUtf16(progIdCtlTarvo)});
}
