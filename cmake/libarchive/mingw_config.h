/* libarchive's configuration for the Windows tool (MinGW-w64, 32 and 64 bits): only what
 * the ISO writer, the entries and the strings use. No iconv, zlib or XML; temporary files
 * get their random names from the system's CryptGenRandom. */
#pragma once

#define HAVE_DECL_INT32_MAX 1
#define HAVE_DECL_INT32_MIN 1
#define HAVE_DECL_INT64_MAX 1
#define HAVE_DECL_INT64_MIN 1
#define HAVE_DECL_INTMAX_MAX 1
#define HAVE_DECL_INTMAX_MIN 1
#define HAVE_DECL_SIZE_MAX 1
#define HAVE_DECL_SSIZE_MAX 1
#define HAVE_DECL_UINT32_MAX 1
#define HAVE_DECL_UINT64_MAX 1
#define HAVE_DECL_UINTMAX_MAX 1
#define HAVE_EILSEQ 1
#define HAVE_ERRNO_H 1
#define HAVE_FCNTL_H 1
#define HAVE_INTTYPES_H 1
#define HAVE_LIMITS_H 1
#define HAVE_MBRTOWC 1
#define HAVE_STDINT_H 1
#define HAVE_STDLIB_H 1
#define HAVE_STRING_H 1
#define HAVE_SYS_STAT_H 1
#define HAVE_SYS_TYPES_H 1
#define HAVE_WCHAR_H 1
#define HAVE_WCRTOMB 1
#define HAVE_WCSCPY 1
#define HAVE_WCSLEN 1
#define HAVE_WCTOMB 1
#define HAVE_WINCRYPT_H 1
#define HAVE_WMEMCMP 1
#define HAVE_WMEMCPY 1
#define HAVE_WMEMMOVE 1
#define HAVE__CTIME64_S 1
#define HAVE__LOCALTIME64_S 1

/* Types Windows lacks, as libarchive's own configuration gives them. */
#define gid_t short
#define id_t short
#define uid_t short

/* Names reach libarchive in UTF-8, as on Linux, so that both tools write the same image.
 * libarchive takes its multibyte code page from the name of the C library's locale, and
 * msvcrt has no UTF-8 locale to set: libarchive is told one is set. Its own code only
 * reads the locale's name. */
#include <locale.h>
#define setlocale(category, locale) "C.utf8"
