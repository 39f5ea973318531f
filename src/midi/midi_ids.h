// String ids of the MIDI vocabulary (src/midi/midi.rc).
#pragma once

// Voice sets.
#define IDS_MIDI_VOICESET_GM        0
#define IDS_MIDI_VOICESET_XG        1
#define IDS_MIDI_VOICESET_GS        2
#define IDS_MIDI_VOICESET_UNKNOWN   3
// General MIDI voices: IDS_MIDI_GM_VOICE_FIRST + program (0-127).
#define IDS_MIDI_GM_VOICE_FIRST     4
#define IDS_MIDI_GM_VOICE_LAST      131
// Drum sets (vocabulary of the dialogs).
#define IDS_MIDI_DRUMSET_FIRST      132
#define IDS_MIDI_DRUMSET_LAST       140

// Type names and the dialog labels that sit among them.
#define IDS_MIDI_TYPE_NONE          141
#define IDS_MIDI_TYPE_PACKED_NRPN   142
#define IDS_MIDI_TYPE_PACKED_RPN    143
#define IDS_MIDI_TYPE_PATCH         145
#define IDS_MIDI_LABEL_PATCH        146
#define IDS_MIDI_TYPE_SHORT_MSG     147
#define IDS_MIDI_TYPE_NOTE_OFF      148
#define IDS_MIDI_LABEL_NOTE         149
#define IDS_MIDI_TYPE_NOTE          150
#define IDS_MIDI_NOTE_OF            151
#define IDS_MIDI_TYPE_POLY_PRESSURE 152
#define IDS_MIDI_TYPE_CONTROL       153
#define IDS_MIDI_LABEL_CONTROLLER   154
#define IDS_MIDI_LABEL_VALUE        155
#define IDS_MIDI_TYPE_PROGRAM       156
#define IDS_MIDI_TYPE_CHAN_PRESSURE 157
#define IDS_MIDI_LABEL_PRESSURE     158
#define IDS_MIDI_TYPE_PITCH_BEND    159
#define IDS_MIDI_LABEL_PITCH        160
#define IDS_MIDI_TYPE_SYSEX         161
#define IDS_MIDI_TYPE_SYSEX_CONT    162
#define IDS_MIDI_TYPE_MCI           163
#define IDS_MIDI_TYPE_LONG_MSG      164
#define IDS_MIDI_TYPE_META          165
#define IDS_MIDI_TYPE_WAVE          166

// Controllers: IDS_MIDI_CONTROLLER_FIRST + controller (0-127).
#define IDS_MIDI_CONTROLLER_UNDEFINED 167
#define IDS_MIDI_CONTROLLER_FIRST   168
#define IDS_MIDI_CONTROLLER_LAST    295
#define IDS_MIDI_LABEL_DATA_LSB     206  // the name of controller 38

// Patch and NRPN labels.
#define IDS_MIDI_LABEL_BANK_MSB     296
#define IDS_MIDI_LABEL_BANK_LSB     297
#define IDS_MIDI_LABEL_NRP_LSB      298
#define IDS_MIDI_LABEL_NRP_MSB      299

// Meta events.
#define IDS_MIDI_META_SEQ_NUMBER    300
#define IDS_MIDI_META_SEQ_NUMBER_LABEL 301
#define IDS_MIDI_META_TEXT          302
#define IDS_MIDI_META_TEXT_LABEL    303
#define IDS_MIDI_META_COPYRIGHT     304
#define IDS_MIDI_META_COPYRIGHT_LABEL 305
#define IDS_MIDI_META_SEQ_NAME      306
#define IDS_MIDI_META_TRACK_NAME    307
#define IDS_MIDI_META_INSTRUMENT    308
#define IDS_MIDI_META_LYRIC         309
#define IDS_MIDI_META_MARKER        310
#define IDS_MIDI_META_CUE_POINT     311
#define IDS_MIDI_META_CHAN_PREFIX   312
#define IDS_MIDI_META_CHAN_PREFIX_LABEL 313
#define IDS_MIDI_META_END_OF_TRACK  314
#define IDS_MIDI_META_TEMPO         315
#define IDS_MIDI_META_TEMPO_LABEL   316
#define IDS_MIDI_META_SMPTE         317
#define IDS_MIDI_META_SMPTE_LABEL   318
#define IDS_MIDI_META_TIME_SIG      319
#define IDS_MIDI_META_TIME_SIG_LABEL 320
#define IDS_MIDI_META_KEY_SIG       321
#define IDS_MIDI_META_KEY_SIG_LABEL 322
#define IDS_MIDI_META_MAJOR_MINOR_LABEL 323
#define IDS_MIDI_META_SEQ_SPECIFIC  324
#define IDS_MIDI_META_UNKNOWN       325

// RPN names.
#define IDS_MIDI_RPN_UNKNOWN        326
#define IDS_MIDI_RPN_FIRST          327  // LSB 0-4 of parameter MSB 0
#define IDS_MIDI_RPN_LAST           331

// Numbers and composed texts.
#define IDS_MIDI_FMT_PARAMETER      332
#define IDS_MIDI_FMT_PARAM_VALUE    333
#define IDS_MIDI_BANK_PROGRAM       334
#define IDS_MIDI_MSB                337
#define IDS_MIDI_LSB                338
#define IDS_MIDI_FMT_PROGRAM        339
#define IDS_MIDI_ON_VELOCITY        340
#define IDS_MIDI_LABEL_ON_VELOCITY  341
#define IDS_MIDI_OFF_VELOCITY       342
#define IDS_MIDI_LABEL_OFF_VELOCITY 343
#define IDS_MIDI_LABEL_DURATION     344
#define IDS_MIDI_FMT_CLOCK          345
#define IDS_MIDI_FMT_SMPTE          346
#define IDS_MIDI_FMT_MBT            347
#define IDS_MIDI_FMT_NUMBER         357
#define IDS_MIDI_FMT_PAREN_NUMBER   358
#define IDS_MIDI_FMT_COLON_NUMBER   359
#define IDS_MIDI_FMT_BPM            360
#define IDS_MIDI_FMT_TIME_SIG       361
#define IDS_MIDI_MINOR              362
#define IDS_MIDI_MAJOR              363
#define IDS_MIDI_FMT_HEX_BYTE       364
#define IDS_MIDI_SEQSPEC_DLS        365
#define IDS_MIDI_SEQSPEC_KEYNOTE    366
#define IDS_MIDI_SEQSPEC_TRACK_ATTR 367
#define IDS_MIDI_SEQSPEC_SUMMARY    368
#define IDS_MIDI_SEQSPEC_UNDEFINED  369
#define IDS_MIDI_LABEL_DATA_MSB     373
#define IDS_MIDI_FMT_MEASURE_BEAT   376
#define IDS_MIDI_MSB_LSB_CONTROL    389
#define IDS_MIDI_FMT_NOTE_SUMMARY   390
#define IDS_MIDI_MMC_NAME           391
#define IDS_MIDI_MMC                392
#define IDS_MIDI_FMT_MMC_COMMAND    393
// MMC commands in the order of the command table (20 names).
#define IDS_MIDI_MMC_FIRST          395
#define IDS_MIDI_MMC_LAST           414
#define IDS_MIDI_FMT_MMC_BYTE       415

// Bank texts of the patch dialogs.
#define IDS_MIDI_BANK_DRUMKITS      1030
#define IDS_MIDI_BANK               1031
