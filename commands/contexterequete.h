#pragma once

#include <QString>

class QCheckBox;
class QComboBox;
class MembresCtlTarvo;
struct ContexteCommande;

// How the commands take the query context from the window, once for all of them.

// The tick value of chkSRT: 0 unticked, 1 ticked, 2 greyed. Only 1 restricts to SRT.
int valeurCoche(const QCheckBox* caseACocher);

// The restriction: SRTSeulement written 0, then 1 a second time only when chkSRT is ticked.
void ecrireRestrictionSrt(MembresCtlTarvo& ctlTarvo1, const QCheckBox* chkSRT);

// The text of the entry at the selected index of CboGrille (empty when nothing is selected).
QString grilleChoisie(const QComboBox* liste);

// The act code guard: false, after the operator has closed the message box, when txtCodeCCAM
// holds nothing but spaces.
bool codeActePresent(const ContexteCommande& contexte);
