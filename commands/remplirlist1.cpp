#include "remplirlist1.h"

#include "echec.h"

#include <QListView>
#include <QStringListModel>

void remplirList1(QListView* liste, QStringList lignes)
{
    auto* modele = qobject_cast<QStringListModel*>(liste->model());
    if (!modele)
        throw Echec(Echec::EchecComposant, QStringLiteral("List1 n'a pas de liste de lignes à remplir"));
    // One reset of the model, not one row at a time: 100,000 lines show in a blink.
    modele->setStringList(std::move(lignes));
}
