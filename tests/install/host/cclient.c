/* A converter host in plain C, built against the installed tree with pkg-config orvinel
 * alone: it asks for a conversion the library must refuse, with its reason. */
#include <stdio.h>

#include "orvinel/Orvinel.h"

int main(void) {
    char16_t error[ORVINEL_ERROR_TEXT_CAPACITY] = {0};
    char* cfg = NULL;
    char* dat = NULL;
    const unsigned char junk[4] = {1, 2, 3, 4};
    if (ConvertScadaBufStoComtrade(u"", junk, sizeof junk, &cfg, &dat, error) != 0 || error[0] == 0 || cfg || dat) {
        fprintf(stderr, "cclient: a junk record was not refused with a reason\n");
        return 1;
    }
    FreeMemAfterConvertScadaBuf();
    printf("cclient: all well\n");
    return 0;
}
