/*
 * KELDA - barcode encoding library (its version: kelda_version.h).
 *
 * Three calls turn a typed code into bars:
 *
 *   char readable[INPUT_LENGTH + 4];
 *   int32_t count;
 *   int32_t code = CheckBarcode(KELDA_JAN_UPC, 1, "490123456789", readable, &count);
 *   if (code > 0) {
 *       int32_t widths[count + 1];          // ElementCount entries and the terminator
 *       int32_t parity[KELDA_PARITY_ROOM];
 *       int32_t modules = BarEncode(code, readable, 3, 2, widths, parity);
 *   }
 *
 * Calling contract (the interface carries no buffer sizes):
 *   - CheckBarcode writes at most strlen(input) + 4 bytes into `readable`
 *     (the ReadableText and its NUL).  It writes `*elementCount` on success only.
 *   - BarEncode writes at most ElementCount + 1 entries into `widths`, where
 *     ElementCount is what CheckBarcode reported for `text`, and at most
 *     KELDA_PARITY_ROOM entries into `parity` (codes 50 to 63 only; codes 1 to 6
 *     leave `parity` untouched).
 *   - Every array that is filled ends with KELDA_TERMINATOR.
 *   - Texts are NUL-terminated single-byte strings.  Bytes 0x80 to 0xFF lie outside
 *     every character set and are refused.
 *   - Nothing is allocated, nothing is kept between calls; every call is safe from
 *     any thread.
 *
 * ElementWidths: entry i is bar (even i) or space (odd i), its magnitude the width in
 * modules.  A negative entry is an element of an EAN/UPC guard pattern, drawn as a
 * long bar.  Guard elements are -1, or +1 when BarEncode gets `wide` < 0 and `gap` < 0.
 */
#ifndef KELDA_H
#define KELDA_H

#include "kelda_version.h"

#include <stdint.h>

#if defined(_WIN32)
#define KELDA_API __declspec(dllexport)
#else
#define KELDA_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* SymbologyCode: 0 to 6 are requests, 1 to 6 and 50 to 63 are resolved codes. */
typedef enum KeldaSymbology {
    KELDA_JAN_UPC = 0, /* request only: the JAN/UPC family, variant recognised */
    KELDA_NW7 = 1,     /* NW-7 (Codabar) */
    KELDA_CODE39 = 2,
    KELDA_ITF = 3,            /* Interleaved 2 of 5 */
    KELDA_CODE128_TEXT = 4,   /* every character 0x20-0x7E one code set B symbol */
    KELDA_CODE128_VALUES = 5, /* "A"/"B"/"C" start, then two hex digits per symbol value */
    KELDA_CODE93 = 6,         /* "a" to "d" stand for the four shift characters */
    KELDA_EAN13 = 50,         /* EAN-13 / JAN-13 / UPC-A (leading 0) */
    KELDA_EAN8 = 51,
    KELDA_UPCE = 52, /* number system 0 */
    KELDA_UPCE_ADDON2 = 53,
    KELDA_EAN8_ADDON2 = 54,
    KELDA_EAN13_ADDON2 = 55,
    KELDA_UPCE_ADDON5 = 56,
    KELDA_EAN8_ADDON5 = 57,
    KELDA_EAN13_ADDON5 = 58,
    KELDA_UPCD1 = 59,
    KELDA_UPCD2 = 60,
    KELDA_UPCD3 = 61,
    KELDA_UPCD4 = 62,
    KELDA_UPCD5 = 63
} KeldaSymbology;

/* Result codes: every failure is one of these negative values. */
typedef enum KeldaResult {
    /* CheckBarcode: request outside 0-6 with empty input; add-on split failed;
       Code 39 check character over an inner '*'.
       BarEncode: code names no symbology; a text of codes 50-63 whose length, digits
       or '.' positions are not the code's (nothing is written then);
       NW-7 or Code 39 given an empty text; NW-7, Code 39 or ITF widths whose
       ModuleCount would not fit in 32 bits. */
    KELDA_E_GENERAL = -1,
    KELDA_E_REQUEST = -2,   /* CheckBarcode: request outside 0-6 */
    KELDA_E_JAN_SHAPE = -3, /* JAN/UPC: length and '.' positions fit no variant,
                               or a UPC-D input has a '.' off its separators */
    KELDA_E_JAN_CHAR = -11, /* JAN/UPC: not a digit or '.'; add-on not digits */
    KELDA_E_ITF_CHAR = -12,
    KELDA_E_NW7_CHAR = -13,
    KELDA_E_CODE39_CHAR = -14,
    KELDA_E_CODE128_CHAR = -15,
    KELDA_E_CODE128_VALUES = -16, /* not hex, even length, or start other than A/B/C */
    KELDA_E_CODE93_CHAR = -17,
    KELDA_E_NW7_TABLE = -50,      /* BarEncode: character without an NW-7 pattern */
    KELDA_E_NW7_START_STOP = -51, /* BarEncode: A-D inside an NW-7 text */
    KELDA_E_CODE39_TABLE = -60,   /* BarEncode: character without a Code 39 pattern */
    KELDA_E_CODE39_STAR = -61,    /* BarEncode: '*' inside a Code 39 text */
    KELDA_E_ITF_TABLE = -70,      /* BarEncode: non-digit in an ITF text, or an odd
                                     digit count (the last digit would have no pair) */
    KELDA_E_TABLE = -80,          /* BarEncode: Code 128 text or Code 93 character
                                     outside the encoder's table */
    KELDA_E_CODE128_HEX = -90     /* BarEncode: Code 128 values: a pair that is not hex
                                     or lacks its second digit, a value above 102 (no
                                     symbol character), or a start other than A/B/C */
} KeldaResult;

enum {
    KELDA_TERMINATOR = -255, /* ends ElementWidths and ParityFlags */
    KELDA_PARITY_ROOM = 33   /* ParityFlags entries BarEncode may write */
};

/* Checks `input` for the requested symbology (0-6), writes the ReadableText and
   ElementCount, and returns the resolved SymbologyCode or a negative KeldaResult. */
KELDA_API int32_t CheckBarcode(int32_t requested, int32_t addCheck, const char* input, char* readable,
                               int32_t* elementCount);

/* Encodes the ReadableText of a successful CheckBarcode call into ElementWidths (and
   ParityFlags for codes 50-63); returns the ModuleCount or a negative KeldaResult.
   `wide` and `gap` are in modules (NW-7, Code 39, ITF); their signs pick the guard value. */
KELDA_API int32_t BarEncode(int32_t code, const char* text, int32_t wide, int32_t gap, int32_t* widths,
                            int32_t* parity);

/* Returns KELDA_VERSION. */
KELDA_API int32_t BarcodeVersion(void);

#ifdef __cplusplus
}
#endif

#endif /* KELDA_H */
