#pragma once
// The audio-analysis bridge: what the plug-in reads (spectrum as hexadecimal
// text, level per side) and what the host uses to choose its source.
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VBVIS_API __attribute__((visibility("default")))

// Without a buffer (or with length 0) returns the number of bins n. With a
// buffer, writes two hexadecimal digits per bin, bin 0 first, at most
// `length` characters, and returns n.
VBVIS_API int16_t vbvis_spectrum(int32_t side, char* buffer, int32_t length);
// Level of one side (0 left, 1 right), full scale 16000.
VBVIS_API int16_t vbvis_vu(int32_t side);
// Kept for the plug-in's declarations; does nothing.
VBVIS_API int32_t vbvis_install_plugin(void);

// Chooses the source: "script", "silence" (more with the real sources).
// Returns 0 when the source was taken, -1 when the URI is not understood.
VBVIS_API int32_t vbvis_open(const char* uri);
VBVIS_API void vbvis_close(void);
// The URI of the current source.
VBVIS_API const char* vbvis_source_uri(void);

// The clock that the bridge measures time with: simulated time in scripts.
// NULL restores real time.
typedef int64_t (*vbvis_clock_fn)(void* context);
VBVIS_API void vbvis_set_clock(vbvis_clock_fn clock, void* context);

// The "script" source: from now on the bridge reports `count` bins with
// `text` (of `length` bytes) as their text, and the given levels.
VBVIS_API void vbvis_script_spectrum(int16_t count, const char* text, int32_t length);
VBVIS_API void vbvis_script_vu(int16_t left, int16_t right);

#ifdef __cplusplus
}
#endif
