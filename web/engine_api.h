// The engine's face to the web page: plain C functions that the page's worker
// calls through emscripten's ccall or cwrap. They run the same term request,
// tables, pictures and history rules as Vantel and vantel-cli.
//
// Every text in and out is UTF-8; inside, the engine works in Windows-1252, and a
// character that Windows-1252 cannot hold becomes "?", as in vantel-cli. Each
// function returns a NUL-terminated JSON text owned by the module and valid until
// the next call. Languages: 0 Catalan, 1 English, 2 Spanish (any other number is
// Catalan).
//
// Long texts (a history file's bytes, the history lists) belong in memory from
// _malloc, passed as a pointer and given back with _free: ccall's "string" and
// "array" arguments are copied onto the module's stack, which holds a few
// megabytes only.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// The dialog's term request. want: bit 0 a_n, bit 1 S_n, bit 2 P_n. The formula
// is checked and n read as the n field reads it (blanks around it, "$"
// hexadecimal, "%" binary, empty is 1; 1 to 65535). Gives
//   {"stop":"none","n":3,"nFilled":false,"a":{"code":0,"text":"0.33333333333333331"},"S":...,"P":...}
// with null for a quantity not wanted, or a stop with the message the dialog shows:
//   {"stop":"formula","caption":"Error: Falta operador","text":"2?n","shown":true}
//   ("shown" false for an empty or all-blank formula, refused without a message),
//   {"stop":"n","caption":"* error *","text":"només nombres naturals (enters positius)"}.
// A formula longer than the field's 254 characters is refused, never cut:
// {"stop":"formula","caption":"* error *","text":"the formula is longer than 254
// characters (it has 300)","shown":true}.
const char* vantel_request(const char* formula, const char* n_text, int want, int lang);

// The table of vantel-cli --table for k = 1 to n. form: 0 tab-separated, 1 --csv,
// 2 --csv-semicolon (its byte-order mark and CR LF included). Gives
// {"stop":"none","text":"..."} or a stop as vantel_request gives it.
const char* vantel_table(const char* formula, const char* n_text, int lang, int form);

// The picture of vantel-cli --plot for k = 1 to n, log_axis not 0 for
// --plot-y log: {"stop":"none","svg":"<?xml ..."} or a stop.
const char* vantel_plot(const char* formula, const char* n_text, int lang, int log_axis);

// A history file's bytes read by Vantel's rule: {"whole":true,"entries":["1/n","n^2"]}.
// "whole" is false, with the entries that could be read, where Vantel would
// refuse to replace the file (UTF-16, a NUL, text after a Ctrl-Z, too many lines).
const char* vantel_history_read(const unsigned char* bytes, int length);

// Vantel's merge of two lists, each one entry per line (LF between entries; an
// empty text is no entry): the held entries as they are, then each added entry
// that matches none of them (letter case ignored), at most 65535 in all:
// {"entries":[...],"full":false}, "full" true when added entries were left out.
const char* vantel_history_merge(const char* held, const char* added);

// The bytes of the history file for the entries (one per line, as above):
// Windows-1252, CR LF after each: {"base64":"..."}.
const char* vantel_history_write(const char* entries);

// {"version":"1.0.0.0"}: the version vantel-cli --version gives.
const char* vantel_version(void);

#ifdef __cplusplus
}
#endif
