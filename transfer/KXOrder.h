#pragma once

// The plain C interface of the transfer library libKXOrder.so, loaded by the
// program at run time. Every text is UTF-8. Booleans are int: 0 is false.
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Appends one progress line to the caller's information list. May be called
// from the thread that called the export; the caller forwards it.
typedef void (*KxInfoLine)(void *context, const char *line);

// Fetches the distributor's packages into the working folders. ids points at
// the sub-customer list, lastIndex is the index of its last element.
typedef int (*KxGetFtpFiles)(KxInfoLine info, void *context, const int32_t *ids, int32_t lastIndex, int invoices,
                             int passive);
// Uploads the outgoing package of the orders folder, then deletes it.
typedef int (*KxPutFtpFiles)(KxInfoLine info, void *context, int passive);

#define KX_GET_FTP_FILES "InternalGetFTPFiles"
#define KX_PUT_FTP_FILES "InternalPutFTPFiles"

#ifdef __cplusplus
}
#endif
