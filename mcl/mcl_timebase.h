/* The album's time base: 25 frames a second, a frame is 0.04 s. The one
 * seconds-to-frames rule of the whole program and of libmcl. */
#ifndef MCL_TIMEBASE_H
#define MCL_TIMEBASE_H

#include <math.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The integer part of seconds / 0.04. The seconds are first rounded to
 * whole microseconds, so that exact inputs such as 0.12 s give 3 frames
 * (a plain 0.12 / 0.04 in doubles is 2.999...). Negative or NaN gives 0. */
static inline int64_t MclSecondsToFrames(double seconds)
{
    if (!(seconds > 0.0)) return 0;
    int64_t us = (int64_t)llround(seconds * 1e6);
    return us / 40000;
}

#ifdef __cplusplus
}
#endif

#endif
