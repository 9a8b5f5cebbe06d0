#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1String>
#include <array>
#include <span>

class QDateTime;

// The journal's vocabulary: the kinds of event a line can be, the fields each kind carries, and the head
// every line starts with. The writer, the reader, the comparison and every producer of events name kinds
// and fields only through these, and a test holds the README's table of events to them. A new kind is one
// block below (its fields, then its definition) and one entry of `genresJournal`; the reader and the
// comparison take an event of a kind they do not single out as one more event of its command.

namespace Champ {
// Every line starts with these three, in this order (TeteLigne).
inline constexpr QLatin1String numeroLigne("n");
inline constexpr QLatin1String temps("t");
inline constexpr QLatin1String genre("genre");
// Every line of one act of a sweep carries it after its kind.
inline constexpr QLatin1String acte("acte");

inline constexpr QLatin1String programme("programme");
inline constexpr QLatin1String arguments("arguments");
inline constexpr QLatin1String base("base");
inline constexpr QLatin1String controle("controle");
inline constexpr QLatin1String progid("progid");
inline constexpr QLatin1String clsid("clsid");
inline constexpr QLatin1String serveur("serveur");
inline constexpr QLatin1String membre("membre");
inline constexpr QLatin1String attendu("attendu");
inline constexpr QLatin1String trouve("trouve");
inline constexpr QLatin1String ligne("ligne");
inline constexpr QLatin1String etape("etape");
inline constexpr QLatin1String bouton("bouton");
inline constexpr QLatin1String aboutie("aboutie");
inline constexpr QLatin1String dureeUs("duree_us");
inline constexpr QLatin1String dispid("dispid");
inline constexpr QLatin1String acces("acces");
inline constexpr QLatin1String parReference("par_reference");
inline constexpr QLatin1String valeur("valeur");
inline constexpr QLatin1String retour("retour");
inline constexpr QLatin1String echec("echec");
inline constexpr QLatin1String numero("numero");
inline constexpr QLatin1String description("description");
inline constexpr QLatin1String chargement("chargement");
inline constexpr QLatin1String pointEntree("point_entree");
inline constexpr QLatin1String tableau("tableau");
inline constexpr QLatin1String resultat("resultat");
inline constexpr QLatin1String enregistrements("enregistrements");

// The library's sweep: the entry points it calls for each act; an answer that broke the contract, and how
// many did.
inline constexpr QLatin1String pointsEntree("points_entree");
inline constexpr QLatin1String anomalie("anomalie");
inline constexpr QLatin1String anomalies("anomalies");

inline constexpr QLatin1String texte("texte");
inline constexpr QLatin1String titre("titre");
inline constexpr QLatin1String icone("icone");
inline constexpr QLatin1String defaut("defaut");
inline constexpr QLatin1String boutons("boutons");
inline constexpr QLatin1String reponse("reponse");
inline constexpr QLatin1String boite("boite");
inline constexpr QLatin1String statut("statut");
inline constexpr QLatin1String erreur("erreur");
inline constexpr QLatin1String commandes("commandes");
inline constexpr QLatin1String date("date");
inline constexpr QLatin1String grille("grille");
inline constexpr QLatin1String srt("srt");
inline constexpr QLatin1String actes("actes");
inline constexpr QLatin1String echecs("echecs");
inline constexpr QLatin1String interrompu("interrompu");
// A part of a list swept on its own (--tranche): which part, the whole list's length and digest.
inline constexpr QLatin1String tranche("tranche");
inline constexpr QLatin1String actesListe("actes_liste");
inline constexpr QLatin1String empreinteListe("empreinte_liste");

// A sweep run in a worker process: the call in flight when the worker died or hung (membre or point_entree,
// bouton), how it died, and the sweep's counts of both.
inline constexpr QLatin1String codeSortie("code_sortie");
inline constexpr QLatin1String signal("signal");
inline constexpr QLatin1String delaiS("delai_s");
inline constexpr QLatin1String plantages("plantages");
inline constexpr QLatin1String blocages("blocages");
// Native boxes a run answered.
inline constexpr QLatin1String boitesNatives("boites_natives");
} // namespace Champ

// The fields of the control's own events, the steps of its activation and its answers no text is made of.
namespace Champ {
inline constexpr QLatin1String evenement("evenement");
inline constexpr QLatin1String nom("nom");
inline constexpr QLatin1String vartype("vartype");
inline constexpr QLatin1String type("type");
} // namespace Champ

// The texts a field takes, where they are a fixed few.
namespace Valeur {
// acces
inline constexpr QLatin1String ecriture("ecriture");
inline constexpr QLatin1String lecture("lecture");
inline constexpr QLatin1String appel("appel");
// boite: a dialogue; the boxes are named by the kind of their own event.
inline constexpr QLatin1String dialogue("dialogue");
inline constexpr QLatin1String boiteNative("boite_native");
} // namespace Valeur

// A field of a kind, with what the README names beside it: the keys of the object it holds (or of the
// objects of its array), or the texts it takes.
struct DefinitionChamp
{
    QLatin1String nom;
    std::span<const QLatin1String> cles = {};
    std::span<const QLatin1String> valeurs = {};
};

struct GenreEvenement
{
    QLatin1String nom;
    std::span<const DefinitionChamp> champs;
};

// Kinds are told apart by address: `&genre == &Genre::etape`.
namespace Genre {

inline constexpr QLatin1String clesControle[]{Champ::progid, Champ::clsid, Champ::serveur};
inline constexpr DefinitionChamp champsDebut[]{
    {Champ::programme}, {Champ::arguments}, {Champ::base}, {Champ::controle, clesControle}};
// The run's start: the program, its command line, the store and the control it was given.
inline constexpr GenreEvenement debut{QLatin1String("debut"), champsDebut};

inline constexpr DefinitionChamp champsIdentifiants[]{{Champ::membre}, {Champ::attendu}, {Champ::trouve}};
// A member of the control whose dispatch identifier is not the expected one, at start.
inline constexpr GenreEvenement identifiants{QLatin1String("identifiants"), champsIdentifiants};

inline constexpr DefinitionChamp champsEtape[]{{Champ::ligne}, {Champ::etape}};
// A scenario step played or an answer it gave.
inline constexpr GenreEvenement etape{QLatin1String("etape"), champsEtape};

inline constexpr DefinitionChamp champsCommande[]{{Champ::bouton}};
// A button pressed: the events up to its fin_commande are that command's.
inline constexpr GenreEvenement commande{QLatin1String("commande"), champsCommande};

inline constexpr DefinitionChamp champsFinCommande[]{{Champ::bouton}, {Champ::aboutie}, {Champ::dureeUs}};
// The command's end, its error report included.
inline constexpr GenreEvenement finCommande{QLatin1String("fin_commande"), champsFinCommande};

inline constexpr QLatin1String clesEchec[]{Champ::numero, Champ::description};
inline constexpr QLatin1String valeursAcces[]{Valeur::ecriture, Valeur::lecture, Valeur::appel};
// An answer no text is made of (an array, an object, a record) is {"vartype": 8204, "type": "..."}.
inline constexpr QLatin1String clesRetour[]{Champ::vartype, Champ::type};
inline constexpr DefinitionChamp champsControle[]{
    {Champ::membre},           {Champ::dispid}, {Champ::acces, {}, valeursAcces},
    {Champ::parReference},     {Champ::valeur}, {Champ::retour, clesRetour},
    {Champ::echec, clesEchec}, {Champ::dureeUs}};
// A write, a read or a method call on the control.
inline constexpr GenreEvenement controle{QLatin1String("controle"), champsControle};

// The control's own events and its activation, from the COM host.
inline constexpr QLatin1String clesArgumentsEvenement[]{Champ::nom, Champ::valeur};
inline constexpr DefinitionChamp champsEvenement[]{{Champ::evenement},
                                                   {Champ::membre},
                                                   {Champ::dispid},
                                                   {Champ::arguments, clesArgumentsEvenement},
                                                   {Champ::bouton}};
// An event the control fired (its name and arguments), or a property change it notified (OnChanged and the
// member); `bouton` is the command running then.
inline constexpr GenreEvenement evenement{QLatin1String("evenement"), champsEvenement};

inline constexpr DefinitionChamp champsActivation[]{{Champ::etape}, {Champ::resultat}, {Champ::description}};
// A step of the control's creation that failed and that the host went on from, as a form does.
inline constexpr GenreEvenement activation{QLatin1String("activation"), champsActivation};

inline constexpr QLatin1String clesArguments[]{Champ::tableau};
inline constexpr DefinitionChamp champsBibliotheque[]{
    {Champ::chargement}, {Champ::pointEntree},     {Champ::arguments, clesArguments},
    {Champ::resultat},   {Champ::enregistrements}, {Champ::echec, clesEchec},
    {Champ::dureeUs},    {Champ::anomalie}};
// The library loaded (chargement, once), or one call of the library sequence or sweep (the other fields;
// anomalie when its answer broke the contract).
inline constexpr GenreEvenement bibliotheque{QLatin1String("bibliotheque"), champsBibliotheque};

inline constexpr DefinitionChamp champsMessage[]{
    {Champ::texte}, {Champ::titre}, {Champ::icone}, {Champ::boutons}, {Champ::reponse}};
// A message box, once closed.
inline constexpr GenreEvenement message{QLatin1String("message"), champsMessage};

inline constexpr DefinitionChamp champsSaisie[]{
    {Champ::texte}, {Champ::titre}, {Champ::defaut}, {Champ::boutons}, {Champ::reponse}};
// An input box, once closed.
inline constexpr GenreEvenement saisie{QLatin1String("saisie"), champsSaisie};

inline constexpr QLatin1String valeursBoite[]{message.nom, saisie.nom, Valeur::dialogue, Valeur::boiteNative};
inline constexpr DefinitionChamp champsReponseAutomatique[]{{Champ::boite, {}, valeursBoite},
                                                            {Champ::reponse}};
// A box or dialogue no step of the scenario answered.
inline constexpr GenreEvenement reponseAutomatique{QLatin1String("reponse_automatique"),
                                                   champsReponseAutomatique};

inline constexpr DefinitionChamp champsFinScenario[]{{Champ::statut}, {Champ::ligne}, {Champ::erreur}};
// The scenario's end: its status, and the step that could not be played.
inline constexpr GenreEvenement finScenario{QLatin1String("fin_scenario"), champsFinScenario};

inline constexpr DefinitionChamp champsBalayage[]{
    {Champ::commandes},    {Champ::date},    {Champ::grille},     {Champ::srt},           {Champ::actes},
    {Champ::pointsEntree}, {Champ::tranche}, {Champ::actesListe}, {Champ::empreinteListe}};
// A sweep's start: its buttons (the library's sweep: its entry points, and no srt), the query context and the
// number of acts; a part of a list (--tranche) adds which part, and the whole list's length and digest.
inline constexpr GenreEvenement balayage{QLatin1String("balayage"), champsBalayage};

inline constexpr DefinitionChamp champsFinBalayage[]{
    {Champ::statut},    {Champ::actes},     {Champ::echecs},   {Champ::interrompu},
    {Champ::anomalies}, {Champ::plantages}, {Champ::blocages}, {Champ::boitesNatives}};
// A sweep's end: its status, the acts done, the commands (or library calls) failed and whether it was
// stopped; the library's sweep adds the answers that broke the contract, the control's the native boxes.
inline constexpr GenreEvenement finBalayage{QLatin1String("fin_balayage"), champsFinBalayage};

// ---- A call announced, and the worker that never answered it

inline constexpr DefinitionChamp champsAppel[]{
    {Champ::membre}, {Champ::acces, {}, valeursAcces}, {Champ::pointEntree}};
// A call about to be made on the control (membre, acces) or the library (point_entree): written before it,
// so that a call that never returns is still named. Its answer is the controle or bibliotheque line after.
inline constexpr GenreEvenement appel{QLatin1String("appel"), champsAppel};

inline constexpr DefinitionChamp champsPlantage[]{
    {Champ::membre}, {Champ::pointEntree}, {Champ::bouton}, {Champ::codeSortie}, {Champ::signal}};
// The worker of a sweep died during the call named (its last announced): its exit or exception code, or on
// Linux the signal that ended it. A fresh worker goes on with the next act.
inline constexpr GenreEvenement plantage{QLatin1String("plantage"), champsPlantage};

inline constexpr DefinitionChamp champsBlocage[]{
    {Champ::membre}, {Champ::pointEntree}, {Champ::bouton}, {Champ::delaiS}};
// A call of a sweep that had not returned after delai_s seconds: its worker ended, a fresh one goes on.
inline constexpr GenreEvenement blocage{QLatin1String("blocage"), champsBlocage};

inline constexpr DefinitionChamp champsBoiteNative[]{{Champ::titre},   {Champ::texte},  {Champ::boutons},
                                                     {Champ::reponse}, {Champ::membre}, {Champ::bouton}};
// A native box the control showed during the call to `membre` (the command `bouton` running), read and
// answered with the button `reponse`; the call then goes on.
inline constexpr GenreEvenement boiteNative{QLatin1String("boite_native"), champsBoiteNative};

} // namespace Genre

// Every kind, in the order the README's table shows them.
inline constexpr std::array genresJournal{
    &Genre::debut,        &Genre::identifiants, &Genre::activation,  &Genre::etape,
    &Genre::commande,     &Genre::finCommande,  &Genre::controle,    &Genre::evenement,
    &Genre::bibliotheque, &Genre::message,      &Genre::saisie,      &Genre::reponseAutomatique,
    &Genre::finScenario,  &Genre::balayage,     &Genre::finBalayage, &Genre::appel,
    &Genre::plantage,     &Genre::blocage,      &Genre::boiteNative};

// The kind named `nom`; nullptr for a name this vocabulary does not have (a line of a later release).
const GenreEvenement* genreNomme(QByteArrayView nom);

// The head every line starts with: its number, its time (UTC, milliseconds) and its kind, in this order, so
// that a line reads left to right and a reader takes the kind without parsing the line:
//   {"n":12,"t":"2026-01-01T10:00:00.000Z","genre":"controle"
// The rest of the line follows, then "}". A line written by another hand may lack the time.
namespace TeteLigne {

QByteArray ecrire(qint64 numero, const QDateTime& temps, const GenreEvenement& genre);

// Where "genre" starts when only a head's number and time (or number alone) stand before it; -1 otherwise.
// What stands before it changes from run to run.
qsizetype debutGenre(QByteArrayView ligne);

// The kind's name of a line that opens with it, {"genre":"controle"..., as a line does once its number and
// time are taken off; empty when it does not.
QByteArrayView genreEnTete(QByteArrayView ligne);

} // namespace TeteLigne
