#pragma once

#include <QString>
#include <memory>

class QIODevice;

// Opens a text file as a tester's editor may have written it: UTF-8 with or without its byte-order mark,
// or UTF-16 with its mark (a Windows editor, PowerShell 5's redirection). What it returns reads as UTF-8
// without the mark, line ends as written (CR LF included); UTF-16 is converted through a temporary file,
// so a long file costs no memory. "-" is the standard input. Null with `erreur` set when unreadable.
std::unique_ptr<QIODevice> ouvrirTexteUtf8(const QString& chemin, QString& erreur);
