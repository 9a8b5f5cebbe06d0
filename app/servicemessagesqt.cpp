#include "servicemessagesqt.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon iconeQt(IconeMessage icone)
{
    switch (icone) {
    case IconeMessage::Aucune:
        return QMessageBox::NoIcon;
    case IconeMessage::Information:
        return QMessageBox::Information;
    case IconeMessage::Avertissement:
        return QMessageBox::Warning;
    case IconeMessage::Critique:
        return QMessageBox::Critical;
    case IconeMessage::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void ServiceMessagesQt::afficherMessage(const QString& texte, const QString& titre, IconeMessage icone)
{
    QMessageBox boite(iconeQt(icone), titre, texte, QMessageBox::Ok, QApplication::activeWindow());
    boite.setTextFormat(Qt::PlainText); // texts from the components are shown as they are, never as markup
    boite.exec();
}

QString ServiceMessagesQt::saisirTexte(const QString& invite, const QString& titre, const QString& defaut)
{
    QInputDialog boite(QApplication::activeWindow());
    boite.setInputMode(QInputDialog::TextInput);
    boite.setWindowTitle(titre);
    boite.setLabelText(invite);
    boite.setTextValue(defaut);
    if (boite.exec() != QDialog::Accepted)
        return {};
    return boite.textValue();
}
