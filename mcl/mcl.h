/* libmcl: the media-conversion library. The application hands it two name
 * lists (video and audio inputs) through source callbacks, and it writes one
 * output file on a 25-fps timeline, calling the application back for every
 * timeline frame. Every callback runs on the thread that called MclConvert.
 *
 * Strings are zero-terminated UTF-8. Sample counts and the samples of the
 * progress reports are in a fixed 44100-Hz unit. */
#ifndef MCL_H
#define MCL_H

#include <stddef.h>
#include <stdint.h>

#include "mcl/mcl_timebase.h"

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define MCL_API __attribute__((visibility("default")))
#else
#define MCL_API
#endif

typedef struct MclConverter MclConverter; /* one conversion's settings and run */
typedef struct MclList MclList;           /* a list of input names */
typedef struct MclSource MclSource;       /* a pending request for one input */

/* Format preset kinds and TV systems for MclSetFormatPreset. */
enum { MCL_PRESET_VCD = 0, MCL_PRESET_SVCD = 1, MCL_PRESET_DVD = 2, MCL_PRESET_MP4 = 6 };
enum { MCL_TV_PAL = 0, MCL_TV_NTSC = 1 };

/* Progress codes. */
enum {
    MCL_PROGRESS_DONE = 0,      /* once, at the end; frame and sample are the totals written */
    MCL_PROGRESS_PREPARING = 1, /* once, at the start */
    MCL_PROGRESS_FRAME = 3      /* after every timeline frame: frames done, samples fed */
};

/* Error codes (MclGetError). */
enum {
    MCL_OK = 0,
    MCL_ERROR_ARGUMENT = 1,     /* a bad handle, preset or missing output name */
    MCL_ERROR_INPUT_OPEN = 2,   /* an input entry cannot be opened or holds no usable stream */
    MCL_ERROR_INPUT_DECODE = 3, /* an input entry failed while being decoded */
    MCL_ERROR_OUTPUT = 4,       /* the output file cannot be created or written (fatal) */
    MCL_ERROR_ENCODER = 5       /* an encoder cannot be opened or fails (fatal) */
};

/* Actions an error callback may choose for an input error. */
enum {
    MCL_ACTION_ABORT = 0,   /* stop the conversion (the default) */
    MCL_ACTION_SKIP = 1,    /* leave the entry out (a damaged song: the rest of it) */
    MCL_ACTION_CONTINUE = 2 /* keep going: repeat the last frame, or silence */
};

/* Answers the request for entry `index` with MclSourceSetFile or MclSourceFinished. */
typedef void (*MclSourceFunc)(MclSource* source, int32_t index);
/* Called once per timeline frame, before that frame's entry is read;
 * `frame` is the timeline frame about to be taken, `entry` the index of the
 * video entry it comes from. */
typedef void (*MclVideoFunc)(MclConverter* converter, int64_t frame, int32_t entry);
/* Called once per timeline frame, before its audio is fed; `sample` is the
 * audio position (44100-Hz unit), `entry` the current audio entry or -1. */
typedef void (*MclAudioFunc)(MclConverter* converter, int64_t sample, int32_t entry);
typedef void (*MclProgressFunc)(MclConverter* converter, int32_t code, int64_t frame, int64_t sample);
/* An input error: the error is already set (MclGetError/MclGetErrorStr);
 * `*action` holds MCL_ACTION_ABORT and may be changed. */
typedef void (*MclErrorFunc)(MclConverter* converter, int32_t code, int32_t* action);

MCL_API MclConverter* MclCreate(void);
MCL_API void MclFree(MclConverter* converter);

MCL_API void MclAssignVideoSource(MclConverter* converter, MclSourceFunc func);
MCL_API void MclAssignVideoFunc(MclConverter* converter, MclVideoFunc func);
MCL_API void MclAssignAudioSource(MclConverter* converter, MclSourceFunc func);
MCL_API void MclAssignAudioFunc(MclConverter* converter, MclAudioFunc func);
MCL_API void MclAssignProgress(MclConverter* converter, MclProgressFunc func);
MCL_API void MclAssignError(MclConverter* converter, MclErrorFunc func);

MCL_API MclList* MclListCreate(void);
MCL_API void MclListFree(MclList* list);
MCL_API int MclListAdd(MclList* list, const char* name);
MCL_API int32_t MclListCount(const MclList* list);
/* Copies entry `index` into buffer (size bytes, always terminated);
 * non-zero while the entry exists and fits. */
MCL_API int MclListGetName(const MclList* list, int32_t index, char* buffer, size_t size);
/* Images count 1 frame each, media files floor(D / 0.04) for their probed
 * duration D. */
MCL_API int64_t MclListGetFrameCount(const MclList* list);
/* Images count nothing, video files their frames' length, audio files their
 * probed duration; in 44100-Hz samples. */
MCL_API int64_t MclListGetSampleCount(const MclList* list);

/* Non-zero when kind and tv name a preset. Without one the output is AVI. */
MCL_API int MclSetFormatPreset(MclConverter* converter, int32_t kind, int32_t tv);
/* Non-zero: NTSC output keeps the timeline's duration (frames repeated by
 * timestamp); zero: one output frame per timeline frame. Default non-zero. */
MCL_API void MclVideoSetKeepDuration(MclConverter* converter, int32_t flag);
MCL_API void MclVideoSetFileName(MclConverter* converter, const char* name);
MCL_API void MclAudioSetFileName(MclConverter* converter, const char* name);

/* Runs the conversion on the calling thread; returns when the inputs are
 * exhausted, after MclAbort, or on a fatal error. Returns the error code
 * (MCL_OK after a normal end or an abort). */
MCL_API int32_t MclConvert(MclConverter* converter);
/* Sticky; callable at any time and from any callback. Takes effect at the
 * next frame boundary. */
MCL_API void MclAbort(MclConverter* converter);

/* The calling thread's last error, and its text ("" when none). */
MCL_API int32_t MclGetError(void);
MCL_API const char* MclGetErrorStr(void);
/* What lies behind the last error: the system's error number (errno, 0 when
 * none is known) and the file it concerns ("" when none): the output file
 * for MCL_ERROR_OUTPUT, the entry for the input errors. */
MCL_API int32_t MclGetErrorSystemCode(void);
MCL_API const char* MclGetErrorFile(void);
/* The list entry the calling thread's last error belongs to: its index, and
 * in *audio non-zero for the audio list, zero for the video list; -1 when
 * the error is no input entry's. */
MCL_API int32_t MclGetErrorEntry(int32_t* audio);

MCL_API void MclSourceSetFile(MclSource* source, const char* name);
/* With MclSourceSetFile: the entry's length in seconds as the application
 * knows it (0: none). An audio entry whose sound ends more than half a
 * second before it, or before its own header's length, is an input error
 * (MCL_ERROR_INPUT_DECODE), and continuing pads it with silence. */
MCL_API void MclSourceSetLength(MclSource* source, double seconds);
MCL_API void MclSourceFinished(MclSource* source);

/* Seconds since MclConvert started (the whole run once it has ended). */
MCL_API double MclGetElapsedTime(const MclConverter* converter);
/* elapsed * (1 - f) / f, where f is the larger of the frame and sample
 * fractions done; 0 when nothing can be estimated. */
MCL_API double MclGetRemainingTime(const MclConverter* converter, int64_t totalFrames, int64_t totalSamples);
/* The remaining-time rule on its own. */
MCL_API double MclEstimateRemaining(double elapsed, int64_t frames, int64_t totalFrames, int64_t samples,
                                    int64_t totalSamples);
/* "hh:mm:ss" (hours grow past two digits); non-zero when it fits in size. */
MCL_API int MclMakeTimeStr(double seconds, char* buffer, size_t size);

/* The probed duration of a media file in seconds, as the media player
 * reports it; 0 for unreadable files. */
MCL_API double MclProbeDuration(const char* path);

#ifdef __cplusplus
}
#endif

#endif
