#include "rapportdiagnostic.h"

namespace {

QString ouiNon(bool oui)
{
    return oui ? QStringLiteral("oui") : QStringLiteral("non");
}

// The file's lines; true when it is there and of the program's width.
bool decrireFichier(const FichierComposant& fichier, int bitsProgramme, QStringList& lignes)
{
    lignes.append(QStringLiteral("  Fichier : %1%2")
                      .arg(fichier.chemin.isEmpty() ? QStringLiteral("(inconnu)") : fichier.chemin,
                           fichier.existe ? QString() : QStringLiteral(" (absent)")));
    if (!fichier.existe)
        return false;
    lignes.append(QStringLiteral("  Version : %1")
                      .arg(fichier.version.isEmpty() ? QStringLiteral("aucune ressource de version")
                                                     : fichier.version));
    if (fichier.bits == 0) {
        lignes.append(QStringLiteral("  Architecture : illisible"));
        return false;
    }
    const bool largeur = fichier.bits == bitsProgramme;
    lignes.append(
        QStringLiteral("  Architecture : %1 bits%2")
            .arg(fichier.bits)
            .arg(largeur
                     ? QString()
                     : QStringLiteral(" : ce programme %1 bits ne peut pas le charger").arg(bitsProgramme)));
    return largeur;
}

// True when the control is as expected; false when something differs. `examine` tells whether anything of
// it could be looked at.
bool rapportControle(const ConstatControle& c, int bitsProgramme, QStringList& lignes, bool& examine)
{
    bool conforme = true;
    if (c.integre) {
        lignes.append(QStringLiteral("Contrôle : composant intégré au programme"));
        examine = true;
    } else {
        lignes.append(QStringLiteral("Contrôle : %1").arg(c.progId));
        const InscriptionRetenue& r = c.inscription;
        if (r.porteeProgId == Portee::Aucune) {
            // What hides it from this program, the other view of the registry or elevation, when anything
            // does.
            if (r.clsidAutreVue.isEmpty() && !r.utilisateurIgnore)
                lignes.append(QStringLiteral("  Inscription : aucune, le ProgID %1 est inconnu de ce poste")
                                  .arg(c.progId));
            else
                for (const QString& ligne : lignesInscription(r))
                    lignes.append(QStringLiteral("  ") + ligne);
            examine = false;
            return false;
        }
        examine = true;
        lignes.append(QStringLiteral("  CLSID : %1").arg(r.clsid));
        for (const QString& ligne : lignesInscription(r))
            lignes.append(QStringLiteral("  ") + ligne);
        if (r.masqueMachine || r.utilisateurIgnore)
            conforme = false;
        if (r.porteeClasse == Portee::Aucune) {
            lignes.append(QStringLiteral("  Serveur : aucune classe inscrite sous ce CLSID"));
            conforme = false;
        }
    }
    if (!decrireFichier(c.serveur, bitsProgramme, lignes))
        conforme = false;
    if (!c.integre) {
        lignes.append(QStringLiteral("  Modèle de threads : %1")
                          .arg(c.inscription.classe.modeleThreads.isEmpty()
                                   ? QStringLiteral("non précisé (thread principal)")
                                   : c.inscription.classe.modeleThreads));
        lignes.append(c.inscription.classe.libid.isEmpty()
                          ? QStringLiteral("  Bibliothèque de types : aucune inscrite")
                          : QStringLiteral("  Bibliothèque de types : %1, version %2")
                                .arg(c.inscription.classe.libid, c.inscription.classe.versionTypes.isEmpty()
                                                                     ? QStringLiteral("inconnue")
                                                                     : c.inscription.classe.versionTypes));
    }
    lignes.append(QStringLiteral("  Notre substitut : %1").arg(ouiNon(c.notreSubstitut)));
    if (!c.cree) {
        lignes.append(QStringLiteral("  Création : impossible, %1").arg(c.echecCreation));
        return false;
    }
    lignes.append(QStringLiteral("  Création : réussie"));
    if (c.ecarts.isEmpty()) {
        lignes.append(QStringLiteral("  Identifiants : les 22 membres ont ceux attendus"));
        return conforme;
    }
    lignes.append(QStringLiteral("  Identifiants : %1 membre(s) sur 22 diffèrent (membre, attendu, trouvé) :")
                      .arg(c.ecarts.size()));
    for (const EcartIdentifiant& e : c.ecarts)
        lignes.append(QStringLiteral("%1\t%2\t%3")
                          .arg(e.membre, texteIdentifiant(e.attendu), texteIdentifiant(e.trouve)));
    return false;
}

bool rapportBibliotheque(const ConstatBibliotheque& b, int bitsProgramme, QStringList& lignes, bool& examine)
{
    lignes.append(QStringLiteral("Bibliothèque : %1").arg(b.nom));
    if (!b.chargee) {
        // A file found but refused was examined all the same: its width often says why.
        examine = b.fichier.existe;
        lignes.append(
            QStringLiteral("  Chargement : impossible, erreur %1 : %2").arg(b.numeroEchec).arg(b.echec));
        if (b.fichier.existe)
            decrireFichier(b.fichier, bitsProgramme, lignes);
        return false;
    }
    examine = true;
    bool conforme = decrireFichier(b.fichier, bitsProgramme, lignes);
    lignes.append(QStringLiteral("  Notre substitut : %1").arg(ouiNon(b.notreSubstitut)));
    if (b.absents.isEmpty()) {
        lignes.append(
            QStringLiteral("  Points d'entrée : les %1 sont présents sous leur nom nu").arg(b.nombrePoints));
        return conforme;
    }
    lignes.append(QStringLiteral("  Points d'entrée : %1 sur %2 absents sous leur nom nu :")
                      .arg(b.absents.size())
                      .arg(b.nombrePoints));
    for (const QString& nom : b.absents)
        lignes.append(QStringLiteral("  - %1").arg(nom));
    for (const QString& decore : b.decoresSeulement)
        lignes.append(QStringLiteral("  Exporté seulement décoré : %1").arg(decore));
    return false;
}

} // namespace

int rapportDiagnostic(const ConstatControle& controle, const ConstatBibliotheque& bibliotheque,
                      int bitsProgramme, QStringList& lignes)
{
    bool controleExamine = false;
    bool bibliothequeExaminee = false;
    const bool controleConforme = rapportControle(controle, bitsProgramme, lignes, controleExamine);
    lignes.append(QString());
    const bool bibliothequeConforme =
        rapportBibliotheque(bibliotheque, bitsProgramme, lignes, bibliothequeExaminee);
    lignes.append(QString());
    int statut = StatutDiagnostic::Conforme;
    if (!controleExamine && !bibliothequeExaminee)
        statut = StatutDiagnostic::RienVerifie;
    else if (!controleConforme || !bibliothequeConforme)
        statut = StatutDiagnostic::Ecarts;
    switch (statut) {
    case StatutDiagnostic::Conforme:
        lignes.append(QStringLiteral("Diagnostic : les deux composants sont conformes."));
        break;
    case StatutDiagnostic::Ecarts:
        lignes.append(QStringLiteral("Diagnostic : des écarts ou des absences ont été trouvés."));
        break;
    default:
        lignes.append(QStringLiteral("Diagnostic : aucun des deux composants n'a pu être examiné."));
        break;
    }
    return statut;
}
