/* Plain C interface of libOrvinel: conversion of a relay terminal's oscillogram record
 * (".sto" bytes) with its XML description (".dst" text) into COMTRADE 1999 ASCII files.
 *
 * Texts passed in and the error text are NUL-terminated UTF-16 (char16_t). The ".cfg" and
 * ".dat" contents handed back by the buffer functions are the files' bytes (names in code
 * page 1251, lines ended by CR LF) followed by a NUL.
 *
 * Every function returns 1 on success and 0 on failure; on failure `errorText`, when not
 * null, holds the message. The library writes at most ORVINEL_ERROR_TEXT_CAPACITY char16_t
 * units into it, the NUL included, truncating a longer message.
 *
 * The record is not modified: the library works on its own copy.
 *
 * The buffers of the buffer functions belong to the library. They stay valid until the next
 * buffer conversion or FreeMemAfterConvertScadaBuf(); the caller must not free them. The
 * buffer functions may be called from several threads, but each call frees the buffers of
 * the call before it. */
#ifndef ORVINEL_ORVINEL_H
#define ORVINEL_ORVINEL_H

#ifdef __cplusplus
extern "C" {
#else
#include <uchar.h>
#endif

#define ORVINEL_ERROR_TEXT_CAPACITY 512

#if defined(__GNUC__)
#define ORVINEL_API __attribute__((visibility("default")))
#else
#define ORVINEL_API
#endif

/* Writes folder/fileName.cfg, .dat and .hdr. Files that were there are replaced only when
 * the whole conversion succeeded; a failed conversion leaves nothing of its own behind. */
ORVINEL_API int ConvertScadaStoComtrade(const char16_t* description, const void* record, unsigned int recordSize,
                                        const char16_t* folder, const char16_t* fileName, char16_t* errorText);

/* Converts through temporary files, which are removed again, and hands back the ".cfg" and
 * ".dat" contents. On failure both out pointers are set to null. */
ORVINEL_API int ConvertScadaBufStoComtrade(const char16_t* description, const void* record, unsigned int recordSize,
                                           char** cfgText, char** datText, char16_t* errorText);

/* As ConvertScadaBufStoComtrade; on success the lengths (bytes including the NUL) are stored
 * where the length pointers are not null. On failure the lengths are left as they were. */
ORVINEL_API int ConvertScadaBufStoComtradeEx(const char16_t* description, const void* record, unsigned int recordSize,
                                             char** cfgText, char** datText, int* cfgLength, int* datLength,
                                             char16_t* errorText);

/* Frees the buffers of the last buffer conversion. */
ORVINEL_API void FreeMemAfterConvertScadaBuf(void);

#ifdef __cplusplus
}
#endif

#endif
