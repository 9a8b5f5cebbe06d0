#include "lecturetexte.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <cstdio>

namespace {

std::unique_ptr<QIODevice> convertirUtf16(QIODevice& source, QStringDecoder::Encoding encodage,
                                          const QString& chemin, QString& erreur)
{
    auto converti = std::make_unique<QTemporaryFile>();
    if (!converti->open()) {
        erreur = QStringLiteral("%1 : conversion impossible (%2)").arg(chemin, converti->errorString());
        return nullptr;
    }
    // The decoder keeps its state between blocks, so a character cut by a block boundary survives.
    QStringDecoder decodeur(encodage);
    while (!source.atEnd()) {
        const QByteArray bloc = source.read(1 << 16);
        if (bloc.isEmpty())
            break;
        const QString texte = decodeur.decode(bloc);
        if (converti->write(texte.toUtf8()) < 0) {
            erreur = QStringLiteral("%1 : conversion impossible (%2)").arg(chemin, converti->errorString());
            return nullptr;
        }
    }
    if (decodeur.hasError()) {
        erreur = QStringLiteral("%1 : texte UTF-16 invalide").arg(chemin);
        return nullptr;
    }
    converti->seek(0);
    return converti;
}

} // namespace

std::unique_ptr<QIODevice> ouvrirTexteUtf8(const QString& chemin, QString& erreur)
{
    auto fichier = std::make_unique<QFile>();
    bool ouvert = false;
    if (chemin == QLatin1String("-")) {
        ouvert = fichier->open(stdin, QIODevice::ReadOnly);
    } else {
        fichier->setFileName(chemin);
        ouvert = fichier->open(QIODevice::ReadOnly);
    }
    if (!ouvert) {
        erreur = QStringLiteral("%1 : %2").arg(chemin, fichier->errorString());
        return nullptr;
    }
    // peek() rather than seek(): the standard input cannot go back.
    const QByteArray debut = fichier->peek(3);
    if (debut.startsWith("\xEF\xBB\xBF")) {
        fichier->read(3);
        return fichier;
    }
    if (debut.startsWith("\xFF\xFE"))
        return convertirUtf16(*fichier, QStringDecoder::Utf16LE, chemin, erreur);
    if (debut.startsWith("\xFE\xFF"))
        return convertirUtf16(*fichier, QStringDecoder::Utf16BE, chemin, erreur);
    return fichier;
}
