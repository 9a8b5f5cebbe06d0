// A code list of any content: either refused with a reason and a line inside the file, or read as codes
// of letters and digits only, none empty.
#include "commun/exigence.h"
#include "listecodes.h"

#include <QBuffer>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    QByteArray octets(reinterpret_cast<const char*>(donnees), qsizetype(taille));
    QBuffer tampon(&octets);
    tampon.open(QIODevice::ReadOnly);
    const ListeCodes liste = lireListeCodes(tampon);
    if (!liste.erreur.isEmpty()) {
        exiger(liste.codes.isEmpty(), "aucun code quand la liste est refusée");
        exiger(liste.ligneErreur >= 0 && liste.ligneErreur <= octets.count('\n') + 1,
               "la ligne de l'erreur est dans le fichier");
        return 0;
    }
    exiger(!liste.codes.isEmpty(), "une liste acceptée a au moins un code");
    for (const QString& code : liste.codes) {
        exiger(!code.isEmpty() && code.size() <= 32, "un code n'est ni vide ni trop long");
        for (const QChar c : code)
            exiger(c.isLetterOrNumber() && c.unicode() < 128, "un code n'a que des lettres et des chiffres");
    }
    return 0;
}
