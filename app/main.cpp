#include "fabriquectltarvo.h"
#include "lancement.h"

int main(int argc, char* argv[])
{
    return lancerBancCcam(argc, argv, &creerCtlTarvo);
}
