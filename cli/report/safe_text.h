// Text from a results file or a results store, made safe for where it goes:
// a terminal, a CSV cell, a Markdown table cell or HTML.  Such text may hold
// anything someone typed or forged; after these functions it reads as text
// and nothing else.  Every place that puts stored text into output uses one
// of them.
#pragma once

#include <string>
#include <string_view>

// For a terminal: valid UTF-8 on one line, with nothing the terminal would
// act on.  C0 controls (line breaks, CR, backspace, escape, ...) and DEL
// become "\x1b"-style escapes; C1 controls (U+0080-U+009F) and the marks
// that reorder or break lines (bidirectional overrides and isolates,
// U+2028, U+2029) become "\u0085"-style escapes; each byte that is not part
// of valid UTF-8 becomes U+FFFD, as a terminal might read a stray byte
// 0x80-0x9F as a C1 control.
std::string terminalText(std::string_view text);

// The columns `text` takes on a terminal: two for each wide East Asian
// character or emoji, none for a combining mark.  For text already made
// safe by terminalText.
std::size_t terminalColumns(std::string_view text);

// `text` in at most `width` columns: cut to end in "\u2026" (one column,
// never inside a character) when it is wider.
std::string cutText(std::string_view text, std::size_t width);

// The same padded with blanks to exactly `width` columns, for a column of
// a table.
std::string fittedText(std::string_view text, std::size_t width);

// One CSV field (RFC 4180) holding text: a field a spreadsheet would take
// for a formula (starting with =, +, -, @, tab or CR) gets a leading
// apostrophe; a field with a comma, quote, CR or LF is quoted, its quotes
// doubled.  Numbers we write go into the file as they are.
std::string csvText(std::string_view text);

// One cell of a Markdown table, on one line: control characters as
// terminalText shows them; backslash, "|" and the characters that start
// emphasis, code or links backslash-escaped; "<", ">" and "&" as entities,
// so that no HTML gets through.
std::string markdownText(std::string_view text);

// HTML text or a quoted attribute value: & < > " ' as entities.
std::string htmlText(std::string_view text);
