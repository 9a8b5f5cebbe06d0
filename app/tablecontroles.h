#pragma once

#include <QMargins>
#include <QRect>
#include <QStringView>
#include <span>

// Twips to pixels at 96 dpi, 15 twips per pixel, rounded to the nearest pixel (halves away from
// zero, so a control placed across its frame's edge keeps its place). Qt scales for HiDPI.
constexpr int pixelsDepuisTwips(int twips)
{
    return twips >= 0 ? (twips + 7) / 15 : -((-twips + 7) / 15);
}

QRect rectangleDepuisTwips(int gauche, int haut, int largeur, int hauteur);

// Where to move a window (its frame's top-left corner) so that the whole window, frame and title bar
// included, is centred in the available area; cadre is the frame around the client area.
QPoint positionCentree(const QRect& disponible, const QSize& client, const QMargins& cadre);

enum class GenreControle
{
    Etiquette,
    Zone,
    ZoneLectureSeule,
    ZoneMultiligne,
    ListeDeroulante,
    Calendrier,
    ListeSimple,
    Cadre,
    CaseACocher,
    Bouton,
    BoutonImage,
    BoutonCache,
};

enum class Police
{
    Fenetre, // the window's default font
    Normale, // Arial 9 pt
    GrasItalique,
    Italique,
};

enum class Alignement
{
    Gauche,
    Centre,
    Droite,
};

// One control of the window as the window's own table gives it.
struct DescriptionControle
{
    QStringView nom;
    GenreControle genre;
    QStringView conteneur; // a frame's name, or empty for the window's client area
    int gauche;            // twips, relative to the container's inner area
    int haut;
    int largeur;
    int hauteur;
    int tabulation;
    QStringView texte; // caption, initial text, or a list's entries one per line
    Police police = Police::Normale;
    Alignement alignement = Alignement::Gauche;
    QStringView etiquette = {};     // the label that names it on the window
    QStringView nomAccessible = {}; // for a control that no label names
    QStringView note = {};          // a label that adds a remark beside it

    QRect rectanglePixels() const;
    // Every control but labels and frames; Qt passes over the hidden Command3 in the tab order.
    bool recoitLeFocus() const;
};

namespace TableFrmInit {

inline constexpr QStringView Nom = u"frmInit";
inline constexpr QStringView Titre = u"Sélection acte CCAM - Version MultiTarifs";
inline constexpr int LargeurClientTwips = 10815;
inline constexpr int HauteurClientTwips = 5445;

// In the order they are created: every frame comes before what it contains.
std::span<const DescriptionControle> controles();
const DescriptionControle* controle(QStringView nom);

} // namespace TableFrmInit
