#pragma once

#include <memory>

class ControleDispatch;
class QWidget;

// Our act-selection component, hosted on `fenetre` (its dialog opens over it).
std::unique_ptr<ControleDispatch> creerCtlTarvo(QWidget* fenetre);
