#pragma once
/* Trackprobe: reads a disc's session record and raw CD-Text for a drive given by its
   device id. Two exports, standard calling convention on Windows, no return value: the
   error code (0 = success) goes into the byte the caller passes. */
#include <stdint.h>

#if defined(_WIN32)
#define TRACKPROBE_CALL __stdcall
#define TRACKPROBE_API
#else
#define TRACKPROBE_CALL
#define TRACKPROBE_API __attribute__((visibility("default")))
#endif

/* The session record: flags (16 bits, little-endian), first session, last session, first
   track of the last session, start LBA of that track (32 bits, little-endian). */
#define TRACKPROBE_SESSION_INFO_SIZE 9
/* The raw CD-Text reply: 2-byte length, 2 reserved bytes, up to 255 packs of 18 bytes. */
#define TRACKPROBE_CD_TEXT_SIZE 4594

#ifdef __cplusplus
extern "C" {
#endif

TRACKPROBE_API void TRACKPROBE_CALL SessionInfo(uint32_t deviceId, void *sessionInfo, uint8_t *error);
TRACKPROBE_API void TRACKPROBE_CALL ReadCdText(uint32_t deviceId, void *buffer, uint8_t *error);

#ifdef __cplusplus
}
#endif
