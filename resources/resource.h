// Identifiers shared by the resource scripts, the programs and their tests.
#pragma once

// --- The dialog and its controls ----------------------------------------------
#define IDD_START "START"
#define IDC_RUN 3
#define IDC_PROGRAM_LIST 1000
#define IDC_PATH_LABEL 1001

// --- Bitmaps ------------------------------------------------------------------
#define IDB_LOGO 102

// --- Strings shown by both programs -------------------------------------------
#define IDS_NO_VALID_FILE 100
#define IDS_ERROR 101

// --- Strings of menucheck: calling it -------------------------------------------
#define IDS_USAGE 200
#define IDS_UNKNOWN_OPTION 201
#define IDS_TOO_MANY_FOLDERS 202
#define IDS_NO_SUCH_FOLDER 203

// --- Strings of menucheck: the report (%1 to %4 stand for the details) --------
#define IDS_FILE_HEADING 300
#define IDS_ENTRY_LINE 301
#define IDS_SHOWN 302
#define IDS_PATH_NOT_FOUND 303
#define IDS_PATH_TOO_LONG 304
#define IDS_PATH_EMPTY 305
#define IDS_FILE_HEADING_OPENED_AS 306
#define IDS_WARNING_AT_LINE 307
#define IDS_NOTE_AT_LINE 308
#define IDS_SUMMARY 309
#define IDS_ENTRY_ONE 310
#define IDS_ENTRY_MANY 311
#define IDS_FILE_ONE 312
#define IDS_FILE_MANY 313
#define IDS_VERB_ONE 314
#define IDS_VERB_MANY 315
#define IDS_SKIPPED_LINE 316
#define IDS_NOTHING_SHOWN 317
#define IDS_PATH_NOT_ANSI 318
#define IDS_SKIP_DEVICE 319

// --- Strings of menucheck: what it warns about or notes ---------------------------
#define IDS_FILE_HELD_OPEN 400
#define IDS_FILE_NO_ACCESS 401
#define IDS_FILE_IS_FOLDER 402
#define IDS_FILE_NOT_OPENED 403
#define IDS_FILE_NOT_READ 404
#define IDS_TEXT_AFTER_NUL 405
#define IDS_UTF8 406
#define IDS_UTF16 407
#define IDS_NAME_CUT 408
#define IDS_NAME_EMPTY 409
#define IDS_NAME_LINE_BREAK 410
#define IDS_PATH_WILDCARD 411
#define IDS_CAPITAL_MARKER 412
#define IDS_SYSTEM_FOLDER 413
#define IDS_SKIP_NOT_MENU_NAME 414
#define IDS_SKIP_NO_ANSI_NAME 415
#define IDS_SKIP_PATH_TOO_LONG 416
#define IDS_PATH_MARKER_TAKEN 417
#define IDS_NAME_MARKER_TAKEN 418
#define IDS_PATH_DEVICE 419
#define IDS_FULL_PATH_TOO_LONG 420
#define IDS_NAME_NOT_ANSI 421
#define IDS_QUOTES_NOT_NEEDED 422
#define IDS_DAMAGED_UTF8 423

// --- Strings of menucheck: why a path is not found, with a tip -------------------
#define IDS_CAUSE_VARIABLE 424
#define IDS_CAUSE_URL 425
#define IDS_CAUSE_LEADING_BLANK 426
#define IDS_CAUSE_STRAY_QUOTE 427
#define IDS_CAUSE_BARE_DRIVE 428
#define IDS_CAUSE_RELATIVE 429
#define IDS_CAUSE_PARAMETERS 430
