#pragma once

#include <functional>

class QDialog;
class QString;
class QWidget;

// Runs `action` on the modal dialog the next call opens, once its own event loop runs: call this just before
// that call. A dialog the action left open is rejected, so a failed check never leaves the caller waiting.
// `vu`, when given, is set once a dialog was found.
void pendantLeDialogue(std::function<void(QDialog*)> action, bool* vu = nullptr);

// Types the text into `champ` key by key, accented letters included (QTest::keyClicks takes ASCII only).
void taper(QWidget* champ, const QString& texte);
