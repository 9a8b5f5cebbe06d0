#include "normalisation.h"

QString normaliserTexte(const QString& texte)
{
    const QString decompose = texte.normalized(QString::NormalizationForm_KD);
    QString sortie;
    sortie.reserve(decompose.size());
    bool espaceEnAttente = false;
    for (const QChar c : decompose) {
        if (c.isMark())
            continue;
        if (!c.isLetterOrNumber()) {
            espaceEnAttente = !sortie.isEmpty();
            continue;
        }
        if (espaceEnAttente) {
            sortie.append(QLatin1Char(' '));
            espaceEnAttente = false;
        }
        // NFKD leaves these letters whole; labels spell them both ways ("oeil", "œil").
        switch (c.unicode()) {
        case 0x0152:
        case 0x0153:
            sortie.append(QLatin1String("oe"));
            break;
        case 0x00C6:
        case 0x00E6:
            sortie.append(QLatin1String("ae"));
            break;
        case 0x00DF:
            sortie.append(QLatin1String("ss"));
            break;
        default:
            sortie.append(c.toLower());
        }
    }
    return sortie;
}

QStringList motsRecherche(const QString& texte)
{
    return normaliserTexte(texte).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}
