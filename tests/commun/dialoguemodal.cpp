#include "dialoguemodal.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

void pendantLeDialogue(std::function<void(QDialog*)> action, bool* vu)
{
    QTimer::singleShot(0, qApp, [action = std::move(action), vu] {
        auto* dialogue = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialogue)
            return;
        if (vu)
            *vu = true;
        action(dialogue);
        if (dialogue->isVisible())
            dialogue->reject();
    });
}

void taper(QWidget* champ, const QString& texte)
{
    for (QChar c : texte)
        QTest::sendKeyEvent(QTest::Click, champ, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}
