/// @file
/// MIDI events as the host and the plug-in exchange them.
#pragma once
#include <stddef.h>
#include <windows.h>

///@{
/// Event type bits (word 0 of an event record). The filter masks are OR-sets of them.
#define QEV_NONE           0x00000001u  ///< empty record
#define QEV_PACKED_NRPN    0x00000002u  ///< packed NRPN (parameter number and 14-bit value in one event)
#define QEV_PACKED_RPN     0x00000004u  ///< packed RPN
#define QEV_PATCH          0x00000008u  ///< bank MSB, bank LSB and program in one event
#define QEV_SHORT_MSG      0x00000010u  ///< other short message
#define QEV_NOTE_OFF       0x00000020u  ///< note off
#define QEV_NOTE           0x00000040u  ///< note on with its off velocity and duration
#define QEV_POLY_PRESSURE  0x00000080u  ///< polyphonic key pressure
#define QEV_CONTROL        0x00000100u  ///< control change
#define QEV_PROGRAM        0x00000200u  ///< program change
#define QEV_CHAN_PRESSURE  0x00000400u  ///< channel pressure
#define QEV_PITCH_BEND     0x00000800u  ///< pitch bend
#define QEV_SYSEX          0x00010000u  ///< system exclusive
#define QEV_SYSEX_CONT     0x00020000u  ///< system exclusive continuation
#define QEV_MCI            0x00040000u  ///< device command
#define QEV_LONG_MSG       0x00080000u  ///< other long message
#define QEV_META           0x00100000u  ///< meta event
#define QEV_WAVE           0x00200000u  ///< audio data
///@}

#define QEV_SHORT_KINDS    0x00000FFFu  ///< every short-message kind
/// Every long-message kind
#define QEV_LONG_KINDS     (QEV_SYSEX | QEV_SYSEX_CONT | QEV_MCI | QEV_LONG_MSG | QEV_META)

/// The 64-byte event record (16 little-endian 32-bit words).
typedef struct QUILLET_EVENT {
  DWORD type;          ///< word 0: one type bit; QEV_NONE marks an empty record
  DWORD reserved1[2];  ///< words 1-2
  DWORD attribute;     ///< word 3: sub-track attribute copied from the sub-track
  LONG channel;        ///< word 4: MIDI channel 0-15 (-1: the sub-track plays on every channel)
  DWORD subTrack;      ///< word 5: key of the sub-track the event belongs to
  LONGLONG time;       ///< words 6-7: host time
  DWORD duration;      ///< word 8: note length in host ticks (notes)
  DWORD reserved9;     ///< word 9
  DWORD dataLength;    ///< word 10: long kinds: bytes in the data block (non-zero: the record owns it)
  union {              ///< word 11
    BYTE* data;        ///< long kinds: task-allocated data block
    BYTE bytes[4];     ///< short kinds: packed data bytes
    DWORD packed;
  };
  DWORD reserved12[4];  ///< words 12-15
} QUILLET_EVENT;

#ifdef __cplusplus
static_assert(sizeof(void*) != 4 || sizeof(QUILLET_EVENT) == 64, "event record is 64 bytes");
static_assert(sizeof(void*) != 4 || offsetof(QUILLET_EVENT, time) == 24, "time is words 6-7");
static_assert(sizeof(void*) != 4 || offsetof(QUILLET_EVENT, data) == 44, "data is word 11");
#endif

///@{
/// Processing flags of the buffer information.
#define QBUF_PLAYBACK      0x00000001u
#define QBUF_INPUT         0x00000040u
#define QBUF_FIRST         0x00010000u
#define QBUF_FORCE_OK      0x00020000u
///@}

/// What the host says about a playback buffer.
typedef struct QUILLET_BUFFERINFO {
  LONGLONG start;      ///< words 0-1: time of the buffer's start
  DWORD reserved[4];   ///< words 2-5
  DWORD flags;         ///< word 6
  DWORD reserved7;  ///< reserved
} QUILLET_BUFFERINFO;

///@{
/// A notification (72 bytes): its kind, then data.
typedef struct QUILLET_NOTIFICATION {
  GUID kind;             ///< words 0-3
  DWORD words[14];       ///< words 4-17; words[5] (word 9) holds flags, words[7] (word 11) the change kind
} QUILLET_NOTIFICATION;
#define QNOTIFY_WORD(n, i) ((n)->words[(i) - 4])  ///< word `i` (4 to 17) of notification `n`
#define QNOTIFY_FORCE_FORWARD 0x80000000u  ///< word 9 flag: forward the notification to the observer
///@}

#ifdef __cplusplus
static_assert(sizeof(QUILLET_NOTIFICATION) == 72, "notification record is 72 bytes");
#endif

/// A sub-track as the host describes it (36 bytes).
typedef struct QUILLET_SUBTRACK {
  DWORD key;           ///< identifies the sub-track
  LONG channel;        ///< 0-15, or -1 for every channel
  DWORD attribute;  ///< attribute copied to the events made on it
  DWORD mute;  ///< non-zero: muted
  DWORD solo;  ///< non-zero: soloed
  WCHAR* name;         ///< task-allocated by whoever fills the record
  DWORD reserved[3];  ///< reserved
} QUILLET_SUBTRACK;

#ifdef __cplusplus
static_assert(sizeof(void*) != 4 || sizeof(QUILLET_SUBTRACK) == 36, "sub-track description is 36 bytes");
#endif

///@{
/// Change mask of a sub-track change.
#define QSUB_CHANNEL  0x20u
#define QSUB_NAME     0x200u
#define QSUB_SOLO     0x1000u
#define QSUB_MUTE     0x2000u
///@}
