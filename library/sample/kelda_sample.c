/* Prints the ReadableText, ElementWidths and ModuleCount of a code, JAN/UPC by default:
 *   kelda_sample [CODE [REQUEST]] */
#include <kelda.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv) {
    const char* code = argc > 1 ? argv[1] : "490123456789";
    const int32_t request = argc > 2 ? (int32_t)atoi(argv[2]) : KELDA_JAN_UPC;

    char* readable = malloc(strlen(code) + 4);
    int32_t count = 0;
    int32_t resolved = CheckBarcode(request, 1, code, readable, &count);
    if (resolved < 0) {
        fprintf(stderr, "CheckBarcode refused \"%s\": %d\n", code, (int)resolved);
        free(readable);
        return 1;
    }

    int32_t* widths = malloc(sizeof(int32_t) * ((size_t)count + 1));
    int32_t parity[KELDA_PARITY_ROOM];
    int32_t modules = BarEncode(resolved, readable, 3, 2, widths, parity);
    if (modules < 0) {
        fprintf(stderr, "BarEncode refused \"%s\": %d\n", readable, (int)modules);
    } else {
        printf("KELDA %d, code %d\nReadableText  %s\nElementWidths", (int)BarcodeVersion(), (int)resolved,
               readable);
        for (int32_t i = 0; i < count; ++i) printf(" %d", (int)widths[i]);
        printf("\nModuleCount   %d\n", (int)modules);
    }
    free(widths);
    free(readable);
    return modules < 0;
}
