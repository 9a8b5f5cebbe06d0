// List1 filled with 100,000 records of two fields by Command7, against a QStringListModel taking
// the same lines and showing them, in the same run.

#include "commandes.h"
#include "controledispatch.h"
#include "listelignes.h"
#include "rapportratio.h"
#include "servicemessages.h"
#include "sondesysteme.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>

namespace {

constexpr int Enregistrements = 100'000;

QString reponse()
{
    QString texte;
    for (int i = 0; i < Enregistrements; ++i)
        texte += QStringLiteral("AAFA%1 | Libellé de l'acte compatible numéro %1|")
                     .arg(i, 6, 10, QLatin1Char('0'));
    texte.chop(1);
    return texte;
}

QStringList lignesAttendues()
{
    QStringList lignes;
    lignes.reserve(Enregistrements);
    for (int i = 0; i < Enregistrements; ++i)
        lignes.append(
            QStringLiteral("AAFA%1\tLibellé de l'acte compatible numéro %1").arg(i, 6, 10, QLatin1Char('0')));
    return lignes;
}

// A control that answers the compatible acts at once, so only the command's own work is measured.
class ControleImmediat : public ControleDispatch
{
public:
    explicit ControleImmediat(QString reponse)
        : m_reponse(std::move(reponse))
    {}
    void ecrire(qint32, const QVariant&) override {}
    void ecrireParReference(qint32, QVariant&) override {}
    QVariant lire(qint32) override { return QString(); }
    QVariant appeler(qint32) override { return m_reponse; }

private:
    QString m_reponse;
};

class MessagesMuets : public ServiceMessages
{
public:
    void afficherMessage(const QString&, const QString&, IconeMessage) override {}
    QString saisirTexte(const QString&, const QString&, const QString&) override { return {}; }
};

// A plain list box of List1's size, 329 x 69 pixels, over a string list model: the baselines' view.
QListView* nouvelleListe(QWidget* parent)
{
    auto* liste = new QListView(parent);
    liste->setModel(new QStringListModel(liste));
    liste->setUniformItemSizes(true);
    liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    liste->setGeometry(0, 0, 329, 69);
    return liste;
}

// List1 as the window builds it: its own view, whose extent covers the widest line.
QListView* nouvelleList1(QWidget* parent)
{
    auto* liste = new ListeLignes(parent);
    liste->setModel(new QStringListModel(liste));
    liste->setGeometry(0, 0, 329, 69);
    return liste;
}

// Shown as the operator sees it: the event loop lays the reset view out, paints and flushes it.
void montrer()
{
    QApplication::processEvents();
}

// The baseline: a QStringListModel taking the finished lines in a list view, as one would set it up
// without further thought (every row measured), or as List1 is set up (rows of one height).
void baseQStringListModel(benchmark::State& etat, bool lignesUniformes)
{
    QWidget fenetre;
    QListView* liste = nouvelleListe(&fenetre);
    liste->setUniformItemSizes(lignesUniformes);
    fenetre.show();
    auto* modele = static_cast<QStringListModel*>(liste->model());
    const QStringList lignes = lignesAttendues();
    for (auto _ : etat) {
        modele->setStringList(lignes);
        montrer();
        etat.PauseTiming();
        modele->setStringList({});
        etat.ResumeTiming();
    }
}

void BM_Base_QStringListModelPrendEtMontre(benchmark::State& etat)
{
    baseQStringListModel(etat, false);
}

void BM_Base_QStringListModelLignesUniformes(benchmark::State& etat)
{
    baseQStringListModel(etat, true);
}

void BM_List1ParCommand7(benchmark::State& etat)
{
    QWidget fenetre;
    ControlesFenetre controles;
    controles.frmInit = &fenetre;
    controles.chkSRT = new QCheckBox(&fenetre);
    controles.CboGrille = new QComboBox(&fenetre);
    controles.txtCodeCCAM = new QLineEdit(QStringLiteral("AAFA001"), &fenetre);
    controles.DTPicker1 = new QDateEdit(QDate(2024, 3, 7), &fenetre);
    controles.List1 = nouvelleList1(&fenetre);
    fenetre.show();
    ControleImmediat controle(reponse());
    MessagesMuets messages;
    const ContexteCommande contexte{controles, controle, messages, sondePlateforme()};
    auto* modele = static_cast<QStringListModel*>(controles.List1->model());
    for (auto _ : etat) {
        Commandes::testListeActesCompatibles(contexte);
        montrer();
        etat.PauseTiming();
        if (modele->rowCount() != Enregistrements)
            etat.SkipWithError("List1 n'a pas toutes ses lignes");
        modele->setStringList({});
        etat.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_Base_QStringListModelPrendEtMontre)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_Base_QStringListModelLignesUniformes)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_List1ParCommand7)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return executerAvecRatios(argc, argv,
                              {{"BM_List1ParCommand7", "BM_Base_QStringListModelPrendEtMontre", 1.5},
                               // For information: against a view already told its rows are of one height,
                               // which never reads a line. List1 reads every line once to find the widest
                               // (its horizontal extent), about 4 ms for 100,000 lines in a release build.
                               {"BM_List1ParCommand7", "BM_Base_QStringListModelLignesUniformes", 5.0}});
}
