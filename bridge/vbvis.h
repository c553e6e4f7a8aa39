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
// The highest level of either side that vbvis_vu returned since the
// previous call of this function, or -1 when it was not called since. It
// never analyses, so a host that shows the input level takes nothing from
// what the plug-in reads next.
VBVIS_API int16_t vbvis_peak_level(void);
// Kept for the plug-in's declarations; does nothing.
VBVIS_API int32_t vbvis_install_plugin(void);

// The beat tracker: it follows the beat of the current source's audio
// (before any gain) and predicts the next beats. Predicted times are on the
// bridge's clock (vbvis_clock_us) and say when the beat is HEARD: for a
// sound server source the capture latency the server reports is already
// taken off, so a host only takes off its own output latency.
typedef struct {
  double bpm;                // the followed tempo; 0 when not locked
  int32_t confidence;        // 0..100
  int32_t locked;            // 1 when next_beats_us can be fired, else 0
  int64_t period_us;         // one beat; 0 when not locked
  int64_t next_beats_us[4];  // the next beats after the newest audio tracked,
                             // ascending; -1 for none (always when not locked)
} vbvis_tracker_state;
// Writes the latest state into `out` and returns `locked`, or -1 when out is
// NULL. Any thread may call it; it copies, never analyses. A new source
// (vbvis_open) starts the tracker afresh; "script" and "silence" give no beats.
VBVIS_API int32_t vbvis_tracker(vbvis_tracker_state* out);
// The bridge's clock now in microseconds: the simulated clock when one is
// set (vbvis_set_clock, milliseconds * 1000), else the steady clock.
VBVIS_API int64_t vbvis_clock_us(void);
// On the simulated clock (files and the demo track in session scripts): runs
// the tracker over the audio due by the bridge's clock now, on the caller's
// thread; call it every 10 ms or so of simulated time, before reading
// vbvis_tracker. The spectrum and levels the plug-in reads do not change by
// it. Live sources track on their capture thread: there it does nothing.
VBVIS_API void vbvis_tracker_update(void);

// The operator's hands on the beat, from any thread; vbvis_tracker shows
// each at once. A tap at `at_us` on the bridge's clock (vbvis_clock_us):
// from four taps in a row (each within 2 s of the last; one within 150 ms
// is a bounce of the key and does not count) the tempo and the phase are
// those of the line that fits the last eight taps best, and the tracker
// goes on from them (it takes no other tempo or phase against them until
// the music stops). Returns the taps in the row so far.
VBVIS_API int32_t vbvis_tracker_tap(int64_t at_us);
// Moves the beats `us` microseconds later (earlier when negative): a trim
// that adds up (within a second either way) and stays until the next tap
// or source.
VBVIS_API void vbvis_tracker_nudge(int64_t us);
// Moves the beat by half a beat: the tracker goes on from there.
VBVIS_API void vbvis_tracker_nudge_half(void);
// 1: holds the beat at the tempo and phase it has now (none when not
// locked), whatever the audio does, until 0: the tracker leads again. Taps
// and nudges while held move the held beat.
VBVIS_API void vbvis_tracker_hold(int32_t hold);
// 1 while held, else 0.
VBVIS_API int32_t vbvis_tracker_held(void);

// Chooses the source:
//   "pulse"        the monitor of the sound server's default output
//   "pulse:NAME"   a capture source of the sound server by name
//   "file:PATH"    an audio file (WAV, FLAC, OGG, ...)
//   "demo"         the built-in track with a steady 120 BPM beat
//   "silence"      spectrum and levels 0
//   "script"       the values set with vbvis_script_spectrum / _vu
// Returns 0 when the source was taken, -1 when the URI is not understood
// or its file cannot be read (the previous source stays; vbvis_open_error
// says why). A file must be a regular file: a FIFO or device is refused,
// never opened. A sound server that is not there is no error: its source
// reads silence until it answers (see vbvis_state).
VBVIS_API int32_t vbvis_open(const char* uri);
VBVIS_API void vbvis_close(void);
// The URI of the current source.
VBVIS_API const char* vbvis_source_uri(void);
// Why the last vbvis_open failed, one line that the caller puts after the
// URI it passed ("no such file", "a folder, not a file", "a FIFO, not a
// regular file", "an empty file", "a damaged audio file header (...)");
// empty after one that succeeded. Valid until the next vbvis_open.
VBVIS_API const char* vbvis_open_error(void);

// The state of the current source, for the host's log and status line.
enum {
  VBVIS_STATE_PLAYING = 0,     // audio arrives, or the source needs none (file, demo, silence, script)
  VBVIS_STATE_CONNECTING = 1,  // a sound server source before its first answer
  VBVIS_STATE_NO_SERVER = 2,   // no sound server answers; tried again about every second
  VBVIS_STATE_NO_SOURCE = 3    // the server has no capture source of that name; tried again likewise
};
// Returns the state (VBVIS_STATE_*) and writes one line of text about it
// ("no sound server answering") into `text`: at most length - 1 bytes and
// a closing NUL (nothing when text is NULL or length is 0). May be called
// as often as wanted; the state changes on the capture's own thread.
VBVIS_API int32_t vbvis_state(char* text, int32_t length);

// The clock that the bridge measures time with: simulated time in scripts.
// NULL restores real time. Files and the demo track opened while a clock
// is set follow it; the sound server always runs on real time.
typedef int64_t (*vbvis_clock_fn)(void* context);
VBVIS_API void vbvis_set_clock(vbvis_clock_fn clock, void* context);

// The "script" source: from now on the bridge reports `count` bins with
// `text` (of `length` bytes) as their text, and the given levels.
VBVIS_API void vbvis_script_spectrum(int16_t count, const char* text, int32_t length);
VBVIS_API void vbvis_script_vu(int16_t left, int16_t right);

// 1 when a sound server answers within about a second, else 0.
VBVIS_API int32_t vbvis_sound_server_available(void);
// Calls `visit` once per capture source the sound server offers, with its
// name (as "pulse:NAME" takes it) and description: the monitors of its
// outputs (what they play) first, then its inputs. Returns the number of
// sources, or -1 when no server answers.
typedef void (*vbvis_source_fn)(const char* name, const char* description, void* context);
VBVIS_API int32_t vbvis_list_sources(vbvis_source_fn visit, void* context);
// Number of spectrum bins (pixels) the analysis gives: 288.
VBVIS_API int32_t vbvis_bin_count(void);
// The frequency range of bin `bin` (0-based) in Hz, `from` inclusive, `to`
// exclusive. Returns 0, or -1 when there is no such bin.
VBVIS_API int32_t vbvis_bin_range(int32_t bin, double* from, double* to);

// The gain between the source and the analysis. The spectrum and the levels
// (vbvis_spectrum, vbvis_vu and so vbvis_peak_level) follow it; the "script"
// and "silence" sources do not pass through it. It is the user's: a new
// source (vbvis_open) keeps it. When the library loads it is fixed at 0 dB,
// where the audio passes untouched, bit for bit.
//
// Automatic: brings the RMS of the last 400 ms of the mono mix (above
// 30 Hz), at its highest over the last second, to -16 dBFS, or lower where
// the music's peaks (those of the last second, heard under the gate or
// not) would otherwise come within 1 dB of full scale. A change of more
// than 3 dB is followed quickly: down within about 0.4 s when the music
// gets louder (and at once as far as needed to keep peaks under full
// scale), up over seconds when it gets quieter (a fall of 20 dB is taken
// up within 1 dB in about 4 s); smaller swings of the music only slowly,
// so nothing pumps. Never outside -12..36 dB. The gate lets music through:
// any input above -47 dBFS (it closes under -50 dBFS), and quieter input
// down to -80 dBFS whose level swings by 1.2 dB or more within each of the
// last three seconds, as a quiet player's beats do and a steady noise
// floor does not. Under the gate it learns nothing, so the next song
// starts where the last one stood; it stands still for 2 s (the gaps of a
// sparse intro), then a gain above 0 dB falls back to 0 dB at 24 dB per
// second, so silence and a noise floor are never raised into light. On the
// simulated clock it follows the audio exactly: the same script gives the
// same bytes.
#define VBVIS_GAIN_MIN_DB (-12.0)
#define VBVIS_GAIN_MAX_DB 36.0
// What a level of silence reads, in dBFS, in place of minus infinity.
#define VBVIS_SILENCE_DB (-120.0)
typedef struct vbvis_gain_state {
  int32_t automatic;  // 1 automatic, 0 fixed
  int32_t gated;      // 1 while the input lies under the gate
  double fixed_db;    // the fixed gain last chosen
  double gain_db;     // the gain applied now, dB
  double input_db;    // the input before the gain: RMS of the last 400 ms of the mono mix, dBFS (VBVIS_SILENCE_DB for silence)
  double output_db;   // the same after the gain
} vbvis_gain_state;
// `automatic` not 0: automatic, starting from the gain applied now (a
// second call changes nothing); 0: fixed at `fixed_db`. Returns 0, or -1
// (nothing changed) for a fixed gain outside -12..36 or not a number.
VBVIS_API int32_t vbvis_set_gain(int32_t automatic, double fixed_db);
// Writes the gain's state into `out`; returns 0, or -1 when `out` is NULL.
VBVIS_API int32_t vbvis_gain(vbvis_gain_state* out);

#ifdef __cplusplus
}
#endif
