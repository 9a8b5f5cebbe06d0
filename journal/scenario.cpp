#include "scenario.h"

#include "lecturetexte.h"

#include <QDate>
#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>

namespace {

struct Forme
{
    const char* action;
    EtapeScenario::Genre genre;
    const char* complement; // the second key the step needs, or nullptr
};

constexpr Forme formes[] = {
    {"remplir", EtapeScenario::Genre::Remplir, "texte"},
    {"cocher", EtapeScenario::Genre::Cocher, "valeur"},
    {"choisir", EtapeScenario::Genre::Choisir, "index"},
    {"date", EtapeScenario::Genre::Date, "valeur"},
    {"cliquer", EtapeScenario::Genre::Cliquer, nullptr},
    {"repondre", EtapeScenario::Genre::Repondre, nullptr},
    {"saisir", EtapeScenario::Genre::Saisir, nullptr},
    {"selectionner", EtapeScenario::Genre::Selectionner, nullptr},
    {"boite_native", EtapeScenario::Genre::BoiteNative, "bouton"},
};

QString cles()
{
    QStringList noms;
    for (const Forme& f : formes)
        noms << QString::fromLatin1(f.action);
    return noms.join(QStringLiteral(", "));
}

bool entier(const QJsonValue& valeur, int& resultat)
{
    if (!valeur.isDouble())
        return false;
    const double d = valeur.toDouble();
    // The range first: converting a huge number to an integer is undefined.
    if (!(d >= -1e9 && d <= 1e9) || d != double(qint64(d)))
        return false;
    resultat = int(d);
    return true;
}

// The step the object describes, or the reason it describes none.
QString lireEtape(const QJsonObject& objet, EtapeScenario& etape)
{
    const Forme* forme = nullptr;
    for (const Forme& f : formes) {
        if (objet.contains(QLatin1String(f.action))) {
            if (forme)
                return QStringLiteral("deux actions sur une ligne (%1 et %2)")
                    .arg(QLatin1String(forme->action), QLatin1String(f.action));
            forme = &f;
        }
    }
    if (!forme)
        return QStringLiteral("aucune action ; attendu l'une de : %1").arg(cles());
    for (auto it = objet.begin(); it != objet.end(); ++it) {
        if (it.key() != QLatin1String(forme->action) &&
            (forme->complement == nullptr || it.key() != QLatin1String(forme->complement)))
            return QStringLiteral("clé inattendue « %1 » pour « %2 »")
                .arg(it.key(), QLatin1String(forme->action));
    }
    etape.genre = forme->genre;
    etape.action = QLatin1String(forme->action);
    etape.objet = objet;
    const QJsonValue action = objet.value(QLatin1String(forme->action));
    const QJsonValue complement =
        forme->complement ? objet.value(QLatin1String(forme->complement)) : QJsonValue(QJsonValue::Undefined);
    if (forme->complement && complement.isUndefined())
        return QStringLiteral("« %1 » demande « %2 »")
            .arg(QLatin1String(forme->action), QLatin1String(forme->complement));

    switch (etape.genre) {
    case EtapeScenario::Genre::Selectionner:
        if (action.isNull())
            return {};
        if (!action.isString() || action.toString().trimmed().isEmpty())
            return QStringLiteral("« selectionner » attend un code d'acte ou null");
        etape.acte = action.toString();
        return {};
    case EtapeScenario::Genre::Repondre:
        if (action.toString() != QLatin1String("OK") && action.toString() != QLatin1String("Annuler"))
            return QStringLiteral("« repondre » attend \"OK\" ou \"Annuler\"");
        etape.texte = action.toString();
        return {};
    case EtapeScenario::Genre::Saisir:
        if (!action.isString())
            return QStringLiteral("« saisir » attend un texte");
        etape.texte = action.toString();
        return {};
    case EtapeScenario::Genre::BoiteNative:
        if (!action.isString() || action.toString().trimmed().isEmpty() || !complement.isString() ||
            complement.toString().trimmed().isEmpty())
            return QStringLiteral(
                "« boite_native » attend le texte de la boîte et « bouton » le libellé d'un "
                "bouton");
        etape.texte = action.toString();
        etape.bouton = complement.toString();
        return {};
    default:
        break;
    }

    if (!action.isString() || action.toString().isEmpty())
        return QStringLiteral("« %1 » attend le nom d'un contrôle").arg(QLatin1String(forme->action));
    etape.cible = action.toString();
    switch (etape.genre) {
    case EtapeScenario::Genre::Remplir:
        if (!complement.isString())
            return QStringLiteral("« texte » doit être un texte");
        etape.texte = complement.toString();
        break;
    case EtapeScenario::Genre::Cocher:
        if (!entier(complement, etape.entier) || etape.entier < 0 || etape.entier > 2)
            return QStringLiteral("« valeur » d'une case à cocher : 0, 1 ou 2");
        break;
    case EtapeScenario::Genre::Choisir:
        if (!entier(complement, etape.entier) || etape.entier < 0)
            return QStringLiteral("« index » doit être un entier positif ou nul");
        break;
    case EtapeScenario::Genre::Date:
        etape.texte = complement.toString();
        if (!complement.isString() || etape.texte.size() != 8 ||
            !QDate::fromString(etape.texte, QStringLiteral("yyyyMMdd")).isValid())
            return QStringLiteral("« valeur » d'une date : AAAAMMJJ, une date qui existe");
        break;
    default:
        break;
    }
    return {};
}

} // namespace

LectureScenario lireScenario(QIODevice& source)
{
    LectureScenario lecture;
    int numero = 0;
    while (!source.atEnd()) {
        QByteArray ligne = source.readLine();
        ++numero;
        if (ligne.trimmed().isEmpty())
            continue;
        QJsonParseError erreur{};
        const QJsonDocument document = QJsonDocument::fromJson(ligne, &erreur);
        EtapeScenario etape;
        etape.ligne = numero;
        QString raison;
        if (erreur.error != QJsonParseError::NoError)
            raison = QStringLiteral("JSON invalide (%1, colonne %2)")
                         .arg(erreur.errorString())
                         .arg(erreur.offset + 1);
        else if (!document.isObject())
            raison = QStringLiteral("une étape est un objet JSON");
        else
            raison = lireEtape(document.object(), etape);
        if (!raison.isEmpty()) {
            lecture.etapes.clear();
            lecture.erreur = raison;
            lecture.ligneErreur = numero;
            return lecture;
        }
        lecture.etapes.append(etape);
    }
    return lecture;
}

LectureScenario lireFichierScenario(const QString& chemin)
{
    QString raison;
    const std::unique_ptr<QIODevice> fichier = ouvrirTexteUtf8(chemin, raison);
    if (!fichier) {
        LectureScenario lecture;
        lecture.erreur = QStringLiteral("impossible de lire le scénario : %1").arg(raison);
        return lecture;
    }
    return lireScenario(*fichier);
}
