#include "tablecontroles.h"

#include <algorithm>
#include <array>

QRect rectangleDepuisTwips(int gauche, int haut, int largeur, int hauteur)
{
    return {pixelsDepuisTwips(gauche), pixelsDepuisTwips(haut), pixelsDepuisTwips(largeur),
            pixelsDepuisTwips(hauteur)};
}

QPoint positionCentree(const QRect& disponible, const QSize& client, const QMargins& cadre)
{
    QRect fenetre(QPoint(), client.grownBy(cadre));
    fenetre.moveCenter(disponible.center());
    return fenetre.topLeft();
}

QRect DescriptionControle::rectanglePixels() const
{
    return rectangleDepuisTwips(gauche, haut, largeur, hauteur);
}

bool DescriptionControle::recoitLeFocus() const
{
    // Labels and frames are numbered in the tab order without ever taking focus.
    return genre != GenreControle::Etiquette && genre != GenreControle::Cadre;
}

namespace {

using G = GenreControle;
using P = Police;
using A = Alignement;

// ctlTarvo1 (Left 10275, Top 360) has no visible presence: the window creates it through its
// factory, not from this table.
// clang-format off
constexpr std::array Controles = {
    // Path row and frames, on the window.
    DescriptionControle{u"Label25", G::Etiquette, u"", 2400, 60, 1980, 270, 65, u"Chemin du Sesam.ini", P::Normale, A::Gauche},
    DescriptionControle{u"TXTCheminSESAM", G::Zone, u"", 4320, 30, 5715, 315, 66, u"", P::Normale, A::Gauche, u"Label25"},
    DescriptionControle{u"fraCCAM", G::Cadre, u"", 240, 390, 9765, 4935, 28, u"", P::Fenetre},
    DescriptionControle{u"Frame1", G::Cadre, u"", 210, 5400, 9765, 1410, 52, u"", P::Fenetre},
    DescriptionControle{u"Command6", G::Bouton, u"", 195, 10365, 1815, 450, 63, u"Recherche Libellé", P::Normale, A::Centre},
    DescriptionControle{u"txtLibCCAM", G::Zone, u"", 2130, 10080, 7095, 330, 61, u"", P::Normale, A::Gauche, u"", u"Libellé trouvé"},
    DescriptionControle{u"txtLibLongCCAM", G::Zone, u"", 2130, 10650, 7095, 330, 62, u"", P::Normale, A::Gauche, u"", u"Libellé long trouvé"},
    DescriptionControle{u"Command7", G::Bouton, u"", 2130, 11055, 3045, 450, 64, u"Test Liste des Actes Comptatibles", P::Normale, A::Centre},

    // In fraCCAM.
    DescriptionControle{u"chkSRT", G::CaseACocher, u"fraCCAM", 255, -75, 2070, 375, 29, u"Restreindre aux SRT", P::GrasItalique},
    DescriptionControle{u"Label16", G::Etiquette, u"fraCCAM", 180, 435, 2220, 225, 32, u"Acte CCAM :", P::GrasItalique, A::Droite},
    DescriptionControle{u"txtCodeCCAM", G::Zone, u"fraCCAM", 2445, 390, 1245, 330, 30, u"", P::Normale, A::Centre, u"Label16"},
    DescriptionControle{u"cmdSelectActeCCAM", G::BoutonImage, u"fraCCAM", 3705, 390, 540, 345, 31, u"", P::Fenetre, A::Centre, u"", u"Sélectionner un acte CCAM"},
    DescriptionControle{u"Label22", G::Etiquette, u"fraCCAM", 4335, 480, 1440, 225, 49, u"Prix de l'acte  :", P::GrasItalique, A::Droite},
    DescriptionControle{u"TxtPrix", G::ZoneLectureSeule, u"fraCCAM", 5895, 450, 1260, 330, 48, u"", P::Normale, A::Droite, u"Label22"},
    DescriptionControle{u"Label23", G::Etiquette, u"fraCCAM", 4335, 915, 1440, 225, 51, u"Regroupement  :", P::GrasItalique, A::Droite},
    DescriptionControle{u"TxtRegroupement", G::ZoneLectureSeule, u"fraCCAM", 5895, 885, 3645, 330, 50, u"", P::Normale, A::Gauche, u"Label23"},
    DescriptionControle{u"Label21", G::Etiquette, u"fraCCAM", 180, 930, 2220, 225, 47, u"Date de Référence :", P::GrasItalique, A::Droite},
    DescriptionControle{u"DTPicker1", G::Calendrier, u"fraCCAM", 2520, 900, 1425, 315, 46, u"", P::Normale, A::Gauche, u"Label21"},
    DescriptionControle{u"TxtLibCourt", G::Zone, u"fraCCAM", 2445, 1365, 7095, 330, 41, u"", P::Normale, A::Gauche, u"", u"Libellé court"},
    DescriptionControle{u"TextLiblong", G::ZoneMultiligne, u"fraCCAM", 2445, 1950, 7095, 975, 42, u"", P::Normale, A::Gauche, u"", u"Libellé long"},
    DescriptionControle{u"Label17", G::Etiquette, u"fraCCAM", 180, 3135, 2220, 225, 33, u"Modificateurs :", P::GrasItalique, A::Droite},
    DescriptionControle{u"cboMod", G::ListeDeroulante, u"fraCCAM", 2445, 3060, 2685, 345, 38, u"", P::Normale, A::Gauche, u"Label17"},
    DescriptionControle{u"Label24", G::Etiquette, u"fraCCAM", 6285, 3135, 2220, 225, 58, u"Grille Tarifaire :", P::GrasItalique, A::Droite},
    DescriptionControle{u"CboGrille", G::ListeDeroulante, u"fraCCAM", 8565, 3060, 885, 345, 57, u"000\n001\n002", P::Normale, A::Gauche, u"Label24"},
    DescriptionControle{u"Label18", G::Etiquette, u"fraCCAM", 180, 3525, 2220, 225, 34, u"Modificateurs Activité 1 :", P::GrasItalique, A::Droite},
    DescriptionControle{u"cboModAct1", G::ListeDeroulante, u"fraCCAM", 2445, 3465, 2685, 345, 37, u"", P::Normale, A::Gauche, u"Label18"},
    DescriptionControle{u"Label2", G::Etiquette, u"fraCCAM", 7200, 3825, 1440, 225, 44, u"Code Spécialité :", P::GrasItalique, A::Droite},
    DescriptionControle{u"txtSpecialite", G::Zone, u"fraCCAM", 8790, 3750, 645, 330, 43, u"06", P::Normale, A::Centre, u"Label2"},
    DescriptionControle{u"Label19", G::Etiquette, u"fraCCAM", 180, 3915, 2220, 225, 35, u"Modificateurs Activité 4 :", P::GrasItalique, A::Droite},
    DescriptionControle{u"cboModAct4", G::ListeDeroulante, u"fraCCAM", 2460, 3870, 2685, 345, 39, u"", P::Normale, A::Gauche, u"Label19"},
    DescriptionControle{u"Command3", G::BoutonCache, u"fraCCAM", 5715, 4035, 1035, 615, 56, u"Command3", P::Fenetre, A::Centre},
    DescriptionControle{u"cmdQuitter", G::Bouton, u"fraCCAM", 7620, 4185, 1815, 450, 45, u"Quitter", P::Normale, A::Centre},
    DescriptionControle{u"Label20", G::Etiquette, u"fraCCAM", 180, 4290, 2220, 225, 36, u"Modificateurs Activité 5 :", P::GrasItalique, A::Droite},
    DescriptionControle{u"cboModAct5", G::ListeDeroulante, u"fraCCAM", 2445, 4260, 2685, 345, 40, u"", P::Normale, A::Gauche, u"Label20"},

    // In Frame1, below the visible area.
    DescriptionControle{u"Command1", G::Bouton, u"Frame1", 195, 270, 1815, 450, 53, u"Test Modificateurs", P::Normale, A::Centre},
    DescriptionControle{u"List1", G::ListeSimple, u"Frame1", 2340, 255, 4935, 1035, 54, u"", P::Fenetre, A::Gauche, u"", u"Résultats"},
    DescriptionControle{u"Command4", G::Bouton, u"Frame1", 7350, 255, 2340, 450, 59, u"Test Modificateurs Acte", P::Normale, A::Centre},
    DescriptionControle{u"Command2", G::Bouton, u"Frame1", 195, 765, 1815, 450, 55, u"Test Prix", P::Normale, A::Centre},
    DescriptionControle{u"Command5", G::Bouton, u"Frame1", 7350, 810, 2340, 450, 60, u"Code Regroupement Acte", P::Normale, A::Centre},

    // NGAP entry block, on the window below the visible area.
    DescriptionControle{u"Label5", G::Etiquette, u"", 135, 7020, 1860, 270, 7, u"Code Activité ", P::Normale, A::Droite},
    DescriptionControle{u"TxtActivite", G::Zone, u"", 2115, 6945, 660, 390, 6, u"1", P::Normale, A::Centre, u"Label5"},
    DescriptionControle{u"Label7", G::Etiquette, u"", 135, 7455, 1860, 270, 11, u"Code Phase", P::Normale, A::Droite},
    DescriptionControle{u"TxtPhase", G::Zone, u"", 2115, 7380, 660, 390, 10, u"0", P::Normale, A::Centre, u"Label7"},
    DescriptionControle{u"Label3", G::Etiquette, u"", 4290, 7590, 1380, 270, 3, u"Code NGAP", P::Normale, A::Droite},
    DescriptionControle{u"TxtCodeNGAP", G::Zone, u"", 5745, 7500, 660, 390, 2, u"Z", P::Normale, A::Centre, u"Label3"},
    DescriptionControle{u"Label9", G::Etiquette, u"", 120, 7890, 1860, 270, 15, u"Code Modificateur 1", P::Normale, A::Droite},
    DescriptionControle{u"TxtModificateur", G::Zone, u"", 2115, 7815, 660, 390, 14, u"B", P::Normale, A::Centre, u"Label9"},
    DescriptionControle{u"Label1", G::Etiquette, u"", 7275, 7980, 1440, 270, 1, u"Date des Soins ", P::Normale, A::Gauche},
    DescriptionControle{u"TxtDateDesSoins", G::Zone, u"", 8790, 7890, 1830, 390, 0, u"20040502", P::Normale, A::Centre, u"Label1"},
    DescriptionControle{u"Label4", G::Etiquette, u"", 3825, 7995, 1860, 270, 5, u"Nature Assurance", P::Normale, A::Droite},
    DescriptionControle{u"TxtAssurance", G::Zone, u"", 5745, 7935, 660, 390, 4, u"AS", P::Normale, A::Centre, u"Label4"},
    DescriptionControle{u"Label11", G::Etiquette, u"", 135, 8325, 1860, 270, 19, u"Code Modificateur 2", P::Normale, A::Droite},
    DescriptionControle{u"TxtModificateur2", G::Zone, u"", 2130, 8250, 660, 390, 18, u"D", P::Normale, A::Centre, u"Label11"},
    DescriptionControle{u"Label8", G::Etiquette, u"", 7275, 8385, 1440, 270, 13, u"Date Naissance", P::Normale, A::Gauche},
    DescriptionControle{u"TxtDateDeNaissance", G::Zone, u"", 8790, 8295, 1830, 390, 12, u"20040502", P::Normale, A::Centre, u"Label8"},
    DescriptionControle{u"Label6", G::Etiquette, u"", 3405, 8430, 2280, 270, 9, u"Code Agrément 1 (Radio) ", P::Normale, A::Droite},
    DescriptionControle{u"TxtCodeAgrementRadio", G::Zone, u"", 5760, 8370, 660, 390, 8, u"0", P::Normale, A::Centre, u"Label6"},
    DescriptionControle{u"Label12", G::Etiquette, u"", 135, 8820, 1860, 270, 21, u"No de Dents", P::Normale, A::Droite},
    DescriptionControle{u"TxtNoDents", G::Zone, u"", 2130, 8760, 2205, 390, 20, u"1,2,3,4,5,6,10,12,15", P::Normale, A::Centre, u"Label12", u"", u"Label13"},
    DescriptionControle{u"Label13", G::Etiquette, u"", 4455, 8850, 1995, 270, 22, u"(Séparées par  Virgule)", P::Italique, A::Gauche},
    DescriptionControle{u"Label10", G::Etiquette, u"", 3405, 8880, 2280, 270, 17, u"Code Caisse ", P::Normale, A::Droite},
    DescriptionControle{u"TxtCaisse", G::Zone, u"", 5760, 8820, 660, 390, 16, u"622", P::Normale, A::Centre, u"Label10"},
    DescriptionControle{u"Label14", G::Etiquette, u"", 3405, 9315, 2280, 270, 24, u"Code Conventionnel", P::Normale, A::Droite},
    DescriptionControle{u"TxtConvention", G::Zone, u"", 5760, 9255, 660, 390, 23, u"0", P::Normale, A::Centre, u"Label14"},
    DescriptionControle{u"Label15", G::Etiquette, u"", 540, 9345, 1440, 270, 26, u"NO PS Identif.", P::Normale, A::Droite},
    DescriptionControle{u"TxtIdentPS", G::Zone, u"", 2130, 9270, 1035, 390, 25, u"99999999", P::Normale, A::Centre, u"Label15"},
    DescriptionControle{u"TxtClefIdentPS", G::Zone, u"", 3255, 9270, 375, 390, 27, u"8", P::Normale, A::Centre, u"", u"Clé NO PS Identif."},
};
// clang-format on

} // namespace

namespace TableFrmInit {

std::span<const DescriptionControle> controles()
{
    return Controles;
}

const DescriptionControle* controle(QStringView nom)
{
    const auto it = std::find_if(Controles.begin(), Controles.end(),
                                 [nom](const DescriptionControle& d) { return d.nom == nom; });
    return it == Controles.end() ? nullptr : &*it;
}

} // namespace TableFrmInit
