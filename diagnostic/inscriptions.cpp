#include "inscriptions.h"

namespace {

QString nomPortee(Portee portee)
{
    switch (portee) {
    case Portee::Utilisateur:
        return QStringLiteral("pour l'utilisateur courant (HKEY_CURRENT_USER)");
    case Portee::Machine:
        return QStringLiteral("pour la machine (HKEY_LOCAL_MACHINE)");
    case Portee::Aucune:
        break;
    }
    return QStringLiteral("aucune");
}

// The class key the merged view gives for `clsid`: the user's first, unless the process is elevated.
std::pair<Portee, InscriptionClasse> classe(const RuchesInscription& ruches, const QString& clsid)
{
    const QString cle = clsid.toUpper();
    if (!ruches.eleve && ruches.classesUtilisateur.contains(cle))
        return {Portee::Utilisateur, ruches.classesUtilisateur.value(cle)};
    if (ruches.classesMachine.contains(cle))
        return {Portee::Machine, ruches.classesMachine.value(cle)};
    return {Portee::Aucune, {}};
}

} // namespace

InscriptionRetenue retenir(const RuchesInscription& ruches)
{
    InscriptionRetenue retenue;
    if (ruches.eleve && !ruches.clsidUtilisateur.isEmpty()) {
        const QString cle = ruches.clsidUtilisateur.toUpper();
        const InscriptionClasse ignoree = ruches.classesUtilisateur.contains(cle)
                                              ? ruches.classesUtilisateur.value(cle)
                                              : ruches.classesMachine.value(cle);
        // Worth a word only when it would have reached another class or another file.
        if (cle != ruches.clsidMachine.toUpper() ||
            ignoree.serveur.compare(classe(ruches, cle).second.serveur, Qt::CaseInsensitive) != 0) {
            retenue.utilisateurIgnore = true;
            retenue.clsidIgnore = ruches.clsidUtilisateur;
            retenue.serveurIgnore = ignoree.serveur;
        }
    }
    if (!ruches.eleve && !ruches.clsidUtilisateur.isEmpty()) {
        retenue.porteeProgId = Portee::Utilisateur;
        retenue.clsid = ruches.clsidUtilisateur;
    } else if (!ruches.clsidMachine.isEmpty()) {
        retenue.porteeProgId = Portee::Machine;
        retenue.clsid = ruches.clsidMachine;
    } else {
        retenue.clsidAutreVue = ruches.clsidAutreVue;
        retenue.bitsAutreVue = ruches.bitsAutreVue;
        return retenue;
    }
    const auto [portee, inscription] = classe(ruches, retenue.clsid);
    retenue.porteeClasse = portee;
    retenue.classe = inscription;

    // What the machine alone would give: hidden when the user's view reaches another class or another file.
    if (ruches.eleve || ruches.clsidMachine.isEmpty())
        return retenue;
    const QString clsidMachine = ruches.clsidMachine.toUpper();
    if (!ruches.classesMachine.contains(clsidMachine))
        return retenue;
    const QString serveurMachine = ruches.classesMachine.value(clsidMachine).serveur;
    if (retenue.clsid.toUpper() != clsidMachine ||
        retenue.classe.serveur.compare(serveurMachine, Qt::CaseInsensitive) != 0) {
        retenue.masqueMachine = true;
        retenue.clsidMasque = ruches.clsidMachine;
        retenue.serveurMasque = serveurMachine;
    }
    return retenue;
}

QStringList lignesInscription(const InscriptionRetenue& retenue)
{
    QStringList lignes;
    if (retenue.utilisateurIgnore)
        lignes.append(
            QStringLiteral(
                "Attention : processus élevé, l'inscription pour l'utilisateur courant (%1, %2) est "
                "ignorée : seule celle pour la machine compte")
                .arg(retenue.clsidIgnore, retenue.serveurIgnore.isEmpty() ? QStringLiteral("sans serveur")
                                                                          : retenue.serveurIgnore));
    if (retenue.porteeProgId == Portee::Aucune) {
        if (!retenue.clsidAutreVue.isEmpty())
            lignes.prepend(
                QStringLiteral("Inscription : aucune dans la vue %1 bits du registre ; la classe %2 "
                               "est inscrite seulement dans la vue %3 bits, que ce programme ne "
                               "voit pas")
                    .arg(96 - retenue.bitsAutreVue)
                    .arg(retenue.clsidAutreVue)
                    .arg(retenue.bitsAutreVue));
        else if (lignes.isEmpty())
            lignes.append(QStringLiteral("Inscription : aucune (ProgID inconnu de ce poste)"));
        return lignes;
    }
    lignes.append(QStringLiteral("Inscription du ProgID : %1").arg(nomPortee(retenue.porteeProgId)));
    lignes.append(QStringLiteral("Inscription de la classe : %1").arg(nomPortee(retenue.porteeClasse)));
    if (retenue.masqueMachine)
        lignes.append(
            QStringLiteral("Attention : l'inscription pour l'utilisateur courant masque celle pour la "
                           "machine (%1, %2)")
                .arg(retenue.clsidMasque, retenue.serveurMasque.isEmpty() ? QStringLiteral("sans serveur")
                                                                          : retenue.serveurMasque));
    return lignes;
}
