// Velmo: speaker-dependent isolated-word recogniser for the terminal.
#include "velmo.h"

#include "../audio/aygit.h"
#include "../settings/sifirlama.h"
#include "../ui/konsol.h"
#include "../ui/menu.h"

int main(int, char**) {
    KonsolBaslat();
    Sifirla(0);
    SesBaslat();
    AnaMenu();
    return 0;
}
