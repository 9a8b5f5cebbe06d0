#include "erreursexecution.h"

namespace {

struct ErreurExecution
{
    int numero;
    const char16_t* texte;
};

// In number order.
const ErreurExecution erreurs[] = {
    {5, u"Argument ou appel de procédure incorrect"},
    {6, u"Dépassement de capacité"},
    {7, u"Mémoire insuffisante"},
    {9, u"L'indice n'appartient pas à la sélection"},
    {10, u"Ce tableau est fixe ou temporairement verrouillé"},
    {11, u"Division par zéro"},
    {13, u"Incompatibilité de type"},
    {14, u"Espace de chaîne insuffisant"},
    {17, u"Impossible d'exécuter l'opération requise"},
    {28, u"Espace pile insuffisant"},
    {35, u"Sub ou Function non définie"},
    {48, u"Erreur de chargement de la DLL"},
    {49, u"Convention d'appel de DLL incorrecte"},
    {51, u"Erreur interne"},
    {52, u"Nom ou numéro de fichier incorrect"},
    {53, u"Fichier introuvable"},
    {54, u"Mode d'accès au fichier incorrect"},
    {55, u"Fichier déjà ouvert"},
    {57, u"Erreur d'entrée/sortie de périphérique"},
    {58, u"Ce fichier existe déjà"},
    {61, u"Disque plein"},
    {70, u"Permission refusée"},
    {71, u"Disque non prêt"},
    {76, u"Chemin d'accès introuvable"},
    {91, u"Variable objet ou variable de bloc With non définie"},
    {94, u"Utilisation incorrecte de Null"},
    {380, u"Valeur de propriété non valide"},
    {381, u"Index de tableau de propriétés non valide"},
    {383, u"Set non géré (propriété en lecture seule)"},
    {394, u"Get non géré (propriété en écriture seule)"},
    {422, u"Propriété introuvable"},
    {423, u"Propriété ou méthode introuvable"},
    {424, u"Objet requis"},
    {429, u"Un composant ActiveX ne peut pas créer l'objet"},
    {430, u"Cette classe ne gère pas Automation ou l'interface attendue"},
    {438, u"Propriété ou méthode non gérée par cet objet"},
    {440, u"Erreur Automation"},
    {445, u"Cet objet ne gère pas cette action"},
    {446, u"Cet objet ne gère pas les arguments nommés"},
    {447, u"Cet objet ne gère pas le paramètre régional en cours"},
    {448, u"Argument nommé introuvable"},
    {449, u"Argument non facultatif"},
    {450, u"Nombre d'arguments incorrect ou affectation de propriété incorrecte"},
    {451,
     u"La procédure Property Let n'est pas définie et la procédure Property Get n'a pas renvoyé d'objet"},
    {453, u"Point d'entrée de DLL spécifié introuvable"},
    {458, u"Cette variable utilise un type Automation non géré"},
    {459, u"Cet objet ou cette classe ne gère pas le jeu d'événements"},
    {461, u"Méthode ou membre de données introuvable"},
    {463, u"Classe non inscrite sur l'ordinateur local"},
};

} // namespace

QString texteErreurExecution(int numero)
{
    for (const ErreurExecution& erreur : erreurs) {
        if (erreur.numero == numero)
            return QString::fromUtf16(erreur.texte);
    }
    return {};
}
