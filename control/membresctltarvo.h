#pragma once

#include <QString>
#include <QtGlobal>

class ControleDispatch;
class QVariant;

// The members of the act-selection control under their own names, each reaching the control
// through its dispatch identifier. Every value read is taken as text (see texteLu); a member
// that fails throws Echec.
class MembresCtlTarvo
{
public:
    explicit MembresCtlTarvo(ControleDispatch& controle);

    // Property writes.
    void setCheminConfig(const QString& valeur);
    void setSRTSeulement(qint32 valeur);
    // Hands the caller's own variable over; what the control writes back lands in it.
    void setCodeSpecialite(qint32& valeur);
    void setCodeActe(const QString& valeur);
    void setCodeActeParReference(QString& valeur);
    void setDateReference(const QString& valeur);
    void setGrilleTarifaire(const QString& valeur);

    // Property reads.
    QString CodeActe();
    QString LibelleLongActe();
    QString LibelleCourtActe();
    QString Modificateurs();
    QString ModificateursActivite1();
    QString ModificateursActivite4();
    QString ModificateursActivite5();
    QString PrixActe();
    QString CodeRegroupement();

    // Methods without arguments. SelectionActe's result, if any, is ignored.
    void SelectionActe();
    QString LireLibelle();
    QString LirePrix();
    QString LireModificateurs();
    QString LireModificateursActe();
    QString LireRegroupements();
    QString LireLibelleLong();
    QString LireActesCompatibles();

private:
    QString lire(qint32 dispId);
    QString appeler(qint32 dispId);

    ControleDispatch& m_controle;
};

// A value the control answered, as the runtime takes it for a text: a text as it is, Empty as "", an integer
// in decimal without grouping, a double or a float as the system's automation runtime writes it in the
// operator's locale (nombretexte.h), a boolean or a date in that locale. Null throws Echec 94; anything else
// cannot be taken as text and throws Echec 13, an array, an object or a record naming its automation type:
// "Incompatibilité de type (tableau de variants)".
QString texteLu(const QVariant& valeur, qint32 dispId);
